#include "utilities/command_line.h"

#include <windows.h>

#include <vector>

#include "utilities/win_handles.h"

bool RunCommandLine(const std::string& commandLine, std::optional<int> showMode, bool wait, const std::string& folder,
                    unsigned long* exitCode, std::optional<unsigned long> waitLimitMs) {
    // CreateProcessA may write into the command line buffer.
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = (WORD)showMode.value_or(SW_SHOWNORMAL);
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        return false;
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    if (wait) {
        if (WaitForSingleObject(process.Get(), waitLimitMs.value_or(INFINITE)) == WAIT_TIMEOUT) {
            // Left running, it could still do its work after its caller
            // has reported that it failed.
            TerminateProcess(process.Get(), ERROR_TIMEOUT);
            WaitForSingleObject(process.Get(), 1000);
        }
        DWORD code = 0;
        if (exitCode && GetExitCodeProcess(process.Get(), &code)) *exitCode = code;
    } else
        WaitForInputIdle(process.Get(), 1000);
    return true;
}
