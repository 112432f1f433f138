// The GUI tests' side of test_driver.exe, and the launcher process they drive:
// each test starts the real launcher.exe from a program folder of its own and
// asks the driver to find, read, click and close its windows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "utilities/win_handles.h"

namespace driver {

struct Result {
    int exitCode = -1;   // -1: the driver did not run or did not finish in time
    std::string output;  // GBK
};

// Runs test_driver.exe with args (GBK) and waits at most timeoutMs for it.
Result Run(const std::vector<std::string>& args, DWORD timeoutMs = 30000);

struct ChildWindow {
    std::string className;
    bool visible = false;
    bool enabled = false;
    int left = 0, top = 0, width = 0, height = 0;  // in the direct parent's client area
    std::string text;
    bool insideAnotherChild = false;  // its parent is not the top-level window
};

// Every child window of the process's window titled title, in z-order.
std::vector<ChildWindow> ListChildren(DWORD pid, const std::string& title, DWORD timeoutMs = 10000);

// The first child whose text is text; null when there is none.
const ChildWindow* FindByText(const std::vector<ChildWindow>& children, const std::string& text);

// True when the process shows a window titled title within timeoutMs.
bool WaitForWindow(DWORD pid, const std::string& title, DWORD timeoutMs = 10000);

struct MessageBoxText {
    bool found = false;
    std::string title, text;
};
MessageBoxText ReadMessageBox(DWORD pid, DWORD timeoutMs = 10000);
bool PressMessageBoxOk(DWORD pid);

// Clicks the child of the window titled title whose text is childText.
bool ClickButton(DWORD pid, const std::string& title, const std::string& childText);
// Clicks the child found under the point x,y of the window's client area.
bool ClickAt(DWORD pid, const std::string& title, int x, int y);
bool TypeInto(DWORD pid, const std::string& title, const std::string& editClass, int index, const std::string& text);
bool CloseWindow(DWORD pid, const std::string& title);

// Copies the built launcher.exe into folder, which must exist.
bool InstallLauncher(const std::string& folder);

// The process id of a running launcher.exe whose full path is exePath
// (started by someone else), waiting at most timeoutMs for it; 0 when none.
DWORD FindLauncherProcess(const std::string& exePath, DWORD timeoutMs = 10000);

// A launcher.exe copied into a program folder and started from there. The
// process is killed when the object goes, so a failing test leaves nothing
// running.
class LauncherProcess {
public:
    LauncherProcess() = default;
    ~LauncherProcess();
    LauncherProcess(const LauncherProcess&) = delete;
    LauncherProcess& operator=(const LauncherProcess&) = delete;

    // Copies the built launcher.exe into folder (which must exist) and starts
    // it with environment (a Windows environment block; null: inherited).
    bool Start(const std::string& folder, const char* environment = nullptr);
    // Takes charge of a launcher that another program started.
    bool Adopt(DWORD pid);
    DWORD Pid() const { return pid_; }
    // The exit code, or -1 when the process still runs after timeoutMs.
    int WaitForExit(DWORD timeoutMs = 10000);
    bool Running() const;
    void Kill();

private:
    UniqueHandle process_;
    DWORD pid_ = 0;
};

}  // namespace driver
