// A small program of the tests' own, started from a temporary folder, whose
// message boxes the test reads and presses and whose exit code it checks.
#pragma once

#include <windows.h>

#include <string>

namespace testsupport {

struct Box {
    std::wstring caption;
    std::wstring text;
    // No other visible window of the child lay above the box when it was read.
    bool inFront = false;
};

class ChildProgram {
public:
    // Starts folder\program with arguments, in folder.
    ChildProgram(const std::string& folder, const std::string& arguments,
                 const std::string& program = "webview_child.exe");
    ~ChildProgram();
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    bool started() const { return started_; }

    // The next message box of the child, read and closed with its OK button;
    // an empty caption when none came in time.
    Box PressNextBox(int timeoutMs = 15000);

    // The exit code, or -1 when the child is still running after the timeout
    // (a box nobody pressed, for instance).
    long ExitCode(int timeoutMs = 20000);

    // Whether the child shows any dialog box now.
    bool ShowsBox();

private:
    HWND FindChildBox();

    PROCESS_INFORMATION process_ = {};
    bool started_ = false;
};

}  // namespace testsupport
