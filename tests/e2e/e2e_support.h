// End-to-end scenarios: the real launcher.exe in a temporary program folder
// with its helper tools, the real download daemon behind the aria2c stand-in,
// and the project's local service on the port the launcher is built for.
// Every process a scenario starts is ended when its objects go away, also
// when the test fails.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "driver/driver_client.h"
#include "e2e/e2e_texts.h"
#include "support/linux_process.h"
#include "support/test_support.h"

namespace e2e {

// The port of the launcher's built-in service hosts.
constexpr int kServicePort = 36580;
// How long one step of the launcher (a flow, a page load, an action) may
// take on a loaded machine before a test gives up on it.
constexpr DWORD kStepMs = 30000;

using testsupport::PortsLock;

// stand-ins/service/service.py with its default content, in a folder of its own.
class Service {
public:
    Service();
    ~Service();
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;

    bool Running() const { return pid_ != 0; }
    // Windows path of the served "/files/" folder.
    std::string FilesFolder() const { return root_.File("files"); }
    std::string Url(const std::string& path) const;

    bool SetAnswer(const std::string& path, const std::string& body);
    // Requests of path wait until Release (or the service's own limit).
    bool Hold(const std::string& path);
    bool Release(const std::string& path);

    // "GET /path?query" lines, in order.
    std::vector<std::string> Log() const;
    // Log lines that begin with "GET " + prefix.
    int CountRequests(const std::string& prefix) const;
    // Waits until CountRequests(prefix) reaches count.
    bool WaitForRequests(const std::string& prefix, int count, DWORD timeoutMs);

private:
    bool Control(const std::string& what, const std::string& path, const std::string& body = {});

    PortsLock ports_;
    testsupport::TempFolder root_;
    int pid_ = 0;
};

// A program folder with launcher.exe's helper tools, less those named.
// Ends every launcher run from it and stops the daemon the launcher started
// from it when it goes.
class ProgramFolder {
public:
    explicit ProgramFolder(const std::vector<std::string>& withoutTools = {});
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }
    // A file of the FiveM folder the launcher installs into by default.
    std::string FiveMFile(const std::string& name) const { return File("FiveM\\" + name); }

private:
    PortsLock ports_;
    testsupport::TempFolder temp_;
    std::string path_;
};

// Kills the daemon started from programFolder, asks it to stop (with the
// launcher's own secret) if that did not end it; waits until its port is free.
void StopDaemon(const std::string& programFolder);

// Binds this process's download engine to the daemon a launcher started
// from programFolder: the launcher's secret and request id come from the
// launcher's own globals, which this process shares.
void BindToLaunchersDaemon(const std::string& programFolder);

// Has the daemon the launcher started download url into its program folder
// as name, as some other part of the program would; returns its gid, empty
// on failure.
std::string StartOtherDownload(const std::string& programFolder, const std::string& url, const std::string& name);

bool WaitForFile(const std::string& path, DWORD timeoutMs);
bool WaitForNoFile(const std::string& path, DWORD timeoutMs);

// A top-level window of the process of that size (visible ones only, or
// hidden ones too); null when there is none.
HWND WindowOfSize(DWORD pid, int width, int height, bool visibleOnly);
// True when the process shows a visible top-level window of that size.
bool HasVisibleWindowOfSize(DWORD pid, int width, int height);
// The window's layered alpha, 0 to 255; -1 when it has none.
int WindowAlpha(HWND window);

// An installed client in the program folder's FiveM folder: FiveM.exe (the
// stand-in) and launcher_version.txt holding version.
bool InstallClient(const ProgramFolder& folder, const std::string& version);

using testsupport::WaitFor;

// Starts the program exePath in folder without keeping any handle to its
// process: Wine keeps a program's file in use while a handle to its process
// is open, also after the process has ended, which no user's system does.
// Returns the process id; 0 on failure.
DWORD StartWithoutHandle(const std::string& exePath, const std::string& folder);
// The same for launcher.exe, copied into folder first.
DWORD StartLauncherWithoutHandle(const std::string& folder);

bool ProcessRuns(DWORD pid);

// Writes the Steam values of the launcher's user as Steam does, with the
// ANSI functions: the name as UTF-8 bytes. A null name or an id of -1
// leaves that value out.
bool SetSteamAccount(const char* name, long long id);

// Ends every launcher.exe run from exePath when it goes.
class LauncherKiller {
public:
    explicit LauncherKiller(std::string exePath) : exePath_(std::move(exePath)) {}
    ~LauncherKiller();
    LauncherKiller(const LauncherKiller&) = delete;
    LauncherKiller& operator=(const LauncherKiller&) = delete;

private:
    std::string exePath_;
};

// The updater window's status line.
std::string StatusLine(DWORD pid);

// True once the start-up flow has finished: the 1280x720 main window shows.
bool FlowFinishes(DWORD pid, DWORD timeoutMs);

// Clicks the centre of a unit of the package-choice dialog.
bool ClickDialogUnit(DWORD pid, const UnitRect& unit);

}  // namespace e2e
