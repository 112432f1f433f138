#include "e2e/e2e_support.h"

#include <tlhelp32.h>

#include <cstdlib>
#include <mutex>
#include <set>
#include <sstream>

#include "download/add_downloads.h"
#include "download/daemon_endpoint.h"
#include "download/download_start.h"
#include "download/engine_bindings.h"
#include "download/http_post.h"
#include "download/rpc_request.h"
#include "e2e/e2e_texts.h"
#include "launcher/install/core_components.h"
#include "launcher/app/globals.h"
#include "launcher/service/http_get.h"
#include "utilities/path_helpers.h"
#include "utilities/process_windows.h"
#include "utilities/win_handles.h"

namespace e2e {

namespace {

using testsupport::KillUnixProcess;
using testsupport::PortAccepts;
using testsupport::WaitForPortClosed;

std::string Env(const char* name) {
    const char* value = getenv(name);
    return value ? value : "";
}

}  // namespace

Service::Service() {
    std::string script = "stand-ins/service/service.py --port " + std::to_string(kServicePort) +
                         " --root . --content " + Env("QM_BIN_DIR") + " --pid-file service.pid --max-seconds 280";
    std::string pidFile = root_.File("service.pid");
    // The port may still be held by a service that is ending, or by a run
    // that does not take the ports lock: try again for a while.
    for (int attempt = 0; attempt < 6 && !pid_; ++attempt) {
        WaitForPortClosed(kServicePort, 20000);
        if (!testsupport::StartPythonScript(script, root_.Path())) return;
        if (WaitFor([&] { return !testsupport::ReadFileBytes(pidFile).empty(); }, 15000))
            pid_ = atoi(testsupport::ReadFileBytes(pidFile).c_str());
    }
    testsupport::EndAtAbort(pid_);
}

Service::~Service() {
    KillUnixProcess(pid_);
    testsupport::Forget(pid_);
    WaitForPortClosed(kServicePort, 5000);
}

std::string Service::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(kServicePort) + path;
}

bool Service::Control(const std::string& what, const std::string& path, const std::string& body) {
    return HttpPostRequest(Url("/_control/" + what + "?path=" + path), body) == "ok";
}

bool Service::SetAnswer(const std::string& path, const std::string& body) { return Control("answer", path, body); }
bool Service::Hold(const std::string& path) { return Control("hold", path); }
bool Service::Release(const std::string& path) { return Control("release", path); }

std::vector<std::string> Service::Log() const {
    std::vector<std::string> lines;
    std::istringstream text(HttpGet(Url("/_control/log")));
    std::string line;
    while (std::getline(text, line))
        if (!line.empty()) lines.push_back(line);
    return lines;
}

int Service::CountRequests(const std::string& prefix) const {
    int count = 0;
    for (const std::string& line : Log()) count += line.rfind("GET " + prefix, 0) == 0;
    return count;
}

bool Service::WaitForRequests(const std::string& prefix, int count, DWORD timeoutMs) {
    return WaitFor([&] { return CountRequests(prefix) >= count; }, timeoutMs);
}

namespace {

std::mutex foldersMutex;
std::set<std::string>& LiveFolders() {
    static std::set<std::string> folders;
    return folders;
}

// Launchers are Windows processes, but the test program's end does not end
// them, and they hold its output open.
void EndLaunchersOfLiveFolders() {
    std::set<std::string> folders;
    {
        std::lock_guard<std::mutex> lock(foldersMutex);
        folders = LiveFolders();
    }
    for (const std::string& folder : folders) LauncherKiller launchers(folder + "\\launcher.exe");
}

}  // namespace

ProgramFolder::ProgramFolder(const std::vector<std::string>& withoutTools) {
    // A blank in the name, as users' folders may have.
    path_ = temp_.File("Quillmere FiveM");
    CreateDirectoryA(path_.c_str(), nullptr);
    for (const char* tool : kHelperTools) {
        bool skip = false;
        for (const std::string& without : withoutTools) skip = skip || without == tool;
        if (!skip) CopyFileA((testsupport::BinDir() + "\\" + tool).c_str(), File(tool).c_str(), FALSE);
    }
    static bool hooked = (testsupport::OnTestProgramAbort(EndLaunchersOfLiveFolders), true);
    (void)hooked;
    {
        std::lock_guard<std::mutex> lock(foldersMutex);
        LiveFolders().insert(path_);
    }
    testsupport::EndAtAbortFromPidFile(File("aria2c.pid"));
}

ProgramFolder::~ProgramFolder() {
    // A launcher that restarted itself or was started by its script is no
    // child of the test, but it holds the test's output open all the same.
    { LauncherKiller launchers(File("launcher.exe")); }
    StopDaemon(path_);
    testsupport::ForgetPidFile(File("aria2c.pid"));
    std::lock_guard<std::mutex> lock(foldersMutex);
    LiveFolders().erase(path_);
}

void BindToLaunchersDaemon(const std::string& programFolder) {
    InitModuleGlobals();
    DownloadEngineBindings bindings;
    bindings.rpcSecret = RpcSecret;
    bindings.rpcRequestId = RpcRequestId;
    bindings.programFolder = programFolder;
    BindDownloadEngine(bindings);
}

std::string StartOtherDownload(const std::string& programFolder, const std::string& url, const std::string& name) {
    BindToLaunchersDaemon(programFolder);
    DownloadTask task;
    task.uris = url;
    task.out = name;
    task.dir = programFolder;
    task.header = kDownloadCookieHeader;
    std::vector<std::string> gids;
    AddUriBatch({task}, gids);
    UnpauseBatch(gids);
    BindDownloadEngine(DownloadEngineBindings());
    return gids.empty() ? std::string() : gids[0];
}

void StopDaemon(const std::string& programFolder) {
    if (!PortAccepts(kDaemonPort)) return;
    // Not asked over RPC first: a daemon that is already shutting down still
    // completes connections and never answers them.
    KillUnixProcess(atoi(testsupport::ReadFileBytes(programFolder + "\\aria2c.pid").c_str()));
    if (WaitForPortClosed(kDaemonPort, 8000)) return;
    BindToLaunchersDaemon(programFolder);
    StopDownloadDaemon();
    BindDownloadEngine(DownloadEngineBindings());
    WaitForPortClosed(kDaemonPort, 8000);
}

bool WaitForFile(const std::string& path, DWORD timeoutMs) {
    return WaitFor([&] { return FileExists(path); }, timeoutMs);
}

bool WaitForNoFile(const std::string& path, DWORD timeoutMs) {
    return WaitFor([&] { return !FileExists(path); }, timeoutMs);
}

HWND WindowOfSize(DWORD pid, int width, int height, bool visibleOnly) {
    return FindProcessWindow(pid, [&](HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        return (!visibleOnly || IsWindowVisible(window)) && r.right - r.left == width && r.bottom - r.top == height;
    });
}

bool HasVisibleWindowOfSize(DWORD pid, int width, int height) { return WindowOfSize(pid, width, height, true); }

bool InstallClient(const ProgramFolder& folder, const std::string& version) {
    return CreateDirectoryA(folder.File("FiveM").c_str(), nullptr) &&
           CopyFileA((testsupport::BinDir() + "\\FiveM.exe").c_str(), folder.FiveMFile("FiveM.exe").c_str(), FALSE) &&
           testsupport::WriteFileBytes(folder.FiveMFile("launcher_version.txt"), version);
}

int WindowAlpha(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    return GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) ? alpha : -1;
}

std::string StatusLine(DWORD pid) {
    for (const driver::ChildWindow& child : driver::ListChildren(pid, kUpdaterTitle, 2000))
        if (child.className == "Quillmere.TransLabel" && child.left == 525 && child.top == 472) return child.text;
    return {};
}

bool FlowFinishes(DWORD pid, DWORD timeoutMs) {
    return WaitFor([&] { return HasVisibleWindowOfSize(pid, 1280, 720); }, timeoutMs);
}

DWORD StartWithoutHandle(const std::string& exePath, const std::string& folder) {
    std::string commandLine = "\"" + exePath + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &info))
        return 0;
    UniqueHandle thread(info.hThread), process(info.hProcess);
    return info.dwProcessId;
}

DWORD StartLauncherWithoutHandle(const std::string& folder) {
    if (!driver::InstallLauncher(folder)) return 0;
    return StartWithoutHandle(folder + "\\launcher.exe", folder);
}

bool SetSteamAccount(const char* name, long long id) {
    RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Valve");
    HKEY steam = nullptr, active = nullptr;
    bool ok = RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Valve\\Steam\\ActiveProcess", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &active, nullptr) == ERROR_SUCCESS &&
              RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Valve\\Steam", 0, KEY_ALL_ACCESS, &steam) == ERROR_SUCCESS;
    if (ok && name)
        ok = RegSetValueExA(steam, "LastGameNameUsed", 0, REG_SZ, (const BYTE*)name, (DWORD)strlen(name) + 1) ==
             ERROR_SUCCESS;
    const DWORD value = (DWORD)id;
    if (ok && id >= 0)
        ok = RegSetValueExA(active, "ActiveUser", 0, REG_DWORD, (const BYTE*)&value, sizeof value) == ERROR_SUCCESS;
    if (steam) RegCloseKey(steam);
    if (active) RegCloseKey(active);
    return ok;
}

bool ProcessRuns(DWORD pid) {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32First(snapshot.Get(), &entry); more && !found;
         more = Process32Next(snapshot.Get(), &entry))
        found = entry.th32ProcessID == pid;
    return found;
}

LauncherKiller::~LauncherKiller() {
    for (int round = 0; round < 5; ++round) {
        DWORD pid = driver::FindLauncherProcess(exePath_, 0);
        if (!pid) return;
        driver::LauncherProcess process;
        if (process.Adopt(pid)) process.Kill();
    }
}

bool ClickDialogUnit(DWORD pid, const UnitRect& unit) {
    return driver::ClickAt(pid, kDialogTitle, unit.CentreX(), unit.CentreY());
}

}  // namespace e2e
