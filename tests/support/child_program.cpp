#include "support/child_program.h"

#include "utilities/process_windows.h"

namespace testsupport {

ChildProgram::ChildProgram(const std::string& folder, const std::string& arguments, const std::string& program) {
    std::string commandLine = "\"" + folder + "\\" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    started_ = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                              &process_) != 0;
    if (started_) CloseHandle(process_.hThread);
}

ChildProgram::~ChildProgram() {
    if (!started_) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hProcess);
}

Box ChildProgram::PressNextBox(int timeoutMs) {
    Box box;
    for (int waited = 0; waited < timeoutMs; waited += 50) {
        HWND window = FindChildBox();
        if (window) {
            // Top-level windows come in z-order, the top one first.
            box.inFront = FindProcessWindow(process_.dwProcessId, IsWindowVisible) == window;
            wchar_t buffer[1024] = {};
            GetWindowTextW(window, buffer, 1024);
            box.caption = buffer;
            GetDlgItemTextW(window, 0xFFFF, buffer, 1024);
            box.text = buffer;
            SendMessageW(GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
            for (int i = 0; i < 100 && IsWindow(window); ++i) Sleep(20);
            return box;
        }
        if (WaitForSingleObject(process_.hProcess, 50) == WAIT_OBJECT_0) break;
    }
    return box;
}

long ChildProgram::ExitCode(int timeoutMs) {
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return (long)code;
}

bool ChildProgram::ShowsBox() { return FindChildBox() != nullptr; }

HWND ChildProgram::FindChildBox() {
    return FindProcessWindow(process_.dwProcessId, [](HWND window) {
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        return IsWindowVisible(window) && wcscmp(className, L"#32770") == 0;
    });
}

}  // namespace testsupport
