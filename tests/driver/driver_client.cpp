#include "driver/driver_client.h"

#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "support/test_support.h"

namespace driver {

namespace {

// Quotes one argument so that the C runtime's parser gives it back unchanged.
std::string Quote(const std::string& arg) {
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            out.append(backslashes * 2 + 1, '\\');
        } else {
            out.append(backslashes, '\\');
        }
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

std::string PidText(DWORD pid) { return std::to_string(pid); }

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        out.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) return out;
        start = tab + 1;
    }
}

}  // namespace

Result Run(const std::vector<std::string>& args, DWORD timeoutMs) {
    Result result;
    std::string exe = testsupport::BinDir() + "\\test_driver.exe";
    std::string commandLine = Quote(exe);
    for (const std::string& arg : args) commandLine += " " + Quote(arg);

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readHandle = nullptr, writeHandle = nullptr;
    if (!CreatePipe(&readHandle, &writeHandle, &inherit, 0)) return result;
    UniqueHandle readEnd(readHandle), writeEnd(writeHandle);
    SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = writeEnd.Get();
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION info{};
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    BOOL started = CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                                  &startup, &info);
    // Only the driver may hold the write end now, so the pipe closes when it ends.
    writeEnd.Reset();
    if (!started) return result;
    UniqueHandle process(info.hProcess), thread(info.hThread);
    // The driver writes little; reading until the pipe closes cannot block
    // longer than the driver lives, and the driver's own waits are bounded.
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(readEnd.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0) result.output.append(chunk, got);
    if (WaitForSingleObject(process.Get(), timeoutMs) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process.Get(), &code);
        result.exitCode = (int)code;
    } else {
        TerminateProcess(process.Get(), 1);
    }
    return result;
}

std::vector<ChildWindow> ListChildren(DWORD pid, const std::string& title, DWORD timeoutMs) {
    std::vector<ChildWindow> out;
    Result result = Run({"children", "--pid", PidText(pid), "--title", title, "--timeout", std::to_string(timeoutMs)});
    if (result.exitCode != 0) return out;
    std::istringstream lines(result.output);
    std::string line;
    std::vector<std::string> handles;
    std::vector<std::string> parents;
    while (std::getline(lines, line)) {
        std::vector<std::string> f = Fields(line);
        if (f.size() < 10) continue;
        ChildWindow child;
        child.className = f[2];
        child.visible = f[3] == "1";
        child.enabled = f[4] == "1";
        child.left = atoi(f[5].c_str());
        child.top = atoi(f[6].c_str());
        child.width = atoi(f[7].c_str());
        child.height = atoi(f[8].c_str());
        child.text = f[9];
        handles.push_back(f[0]);
        parents.push_back(f[1]);
        out.push_back(child);
    }
    for (size_t i = 0; i < out.size(); ++i)
        for (const std::string& h : handles)
            if (parents[i] == h) out[i].insideAnotherChild = true;
    return out;
}

const ChildWindow* FindByText(const std::vector<ChildWindow>& children, const std::string& text) {
    for (const ChildWindow& child : children)
        if (child.text == text) return &child;
    return nullptr;
}

bool WaitForWindow(DWORD pid, const std::string& title, DWORD timeoutMs) {
    return Run({"find", "--pid", PidText(pid), "--title", title, "--timeout", std::to_string(timeoutMs)}).exitCode == 0;
}

MessageBoxText ReadMessageBox(DWORD pid, DWORD timeoutMs) {
    MessageBoxText box;
    Result result = Run({"msgbox", "--pid", PidText(pid), "--timeout", std::to_string(timeoutMs)});
    if (result.exitCode != 0) return box;
    size_t firstEnd = result.output.find('\n');
    if (firstEnd == std::string::npos) return box;
    size_t secondEnd = result.output.find('\n', firstEnd + 1);
    box.found = true;
    box.title = result.output.substr(0, firstEnd);
    box.text = result.output.substr(firstEnd + 1,
                                    secondEnd == std::string::npos ? std::string::npos : secondEnd - firstEnd - 1);
    return box;
}

bool PressMessageBoxOk(DWORD pid) {
    return Run({"press-ok", "--pid", PidText(pid), "--timeout", "5000"}).exitCode == 0;
}

bool ClickButton(DWORD pid, const std::string& title, const std::string& childText) {
    return Run({"click", "--pid", PidText(pid), "--title", title, "--child", childText, "--timeout", "5000"})
               .exitCode == 0;
}

bool ClickAt(DWORD pid, const std::string& title, int x, int y) {
    std::string at = std::to_string(x) + "," + std::to_string(y);
    return Run({"click", "--pid", PidText(pid), "--title", title, "--at", at, "--timeout", "5000"}).exitCode == 0;
}

bool TypeInto(DWORD pid, const std::string& title, const std::string& editClass, int index, const std::string& text) {
    return Run({"type", "--pid", PidText(pid), "--title", title, "--child-class", editClass, "--index",
                std::to_string(index), "--text", text, "--timeout", "5000"})
               .exitCode == 0;
}

bool CloseWindow(DWORD pid, const std::string& title) {
    return Run({"close", "--pid", PidText(pid), "--title", title, "--timeout", "5000"}).exitCode == 0;
}

bool InstallLauncher(const std::string& folder) {
    return CopyFileA((testsupport::BinDir() + "\\launcher.exe").c_str(), (folder + "\\launcher.exe").c_str(), FALSE) !=
           FALSE;
}

DWORD FindLauncherProcess(const std::string& exePath, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        PROCESSENTRY32 entry{};
        entry.dwSize = sizeof entry;
        DWORD found = 0;
        for (BOOL more = Process32First(snapshot.Get(), &entry); more && !found;
             more = Process32Next(snapshot.Get(), &entry)) {
            if (_stricmp(entry.szExeFile, "launcher.exe") != 0) continue;
            UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
            if (!process.Valid()) continue;
            char path[MAX_PATH * 2] = {};
            DWORD size = sizeof path;
            if (QueryFullProcessImageNameA(process.Get(), 0, path, &size) && _stricmp(path, exePath.c_str()) == 0)
                found = entry.th32ProcessID;
        }
        if (found || GetTickCount() - start >= timeoutMs) return found;
        Sleep(25);
    }
}

LauncherProcess::~LauncherProcess() { Kill(); }

bool LauncherProcess::Adopt(DWORD pid) {
    Kill();
    process_.Reset(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, pid));
    pid_ = process_.Valid() ? pid : 0;
    return process_.Valid();
}

bool LauncherProcess::Start(const std::string& folder, const char* environment) {
    std::string exe = folder + "\\launcher.exe";
    if (!InstallLauncher(folder)) return false;
    std::string commandLine = Quote(exe);
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, (void*)environment, folder.c_str(),
                        &startup, &info))
        return false;
    CloseHandle(info.hThread);
    process_.Reset(info.hProcess);
    pid_ = info.dwProcessId;
    return true;
}

int LauncherProcess::WaitForExit(DWORD timeoutMs) {
    if (!process_.Valid() || WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.Get(), &code);
    return (int)code;
}

bool LauncherProcess::Running() const {
    return process_.Valid() && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

void LauncherProcess::Kill() {
    if (!process_.Valid()) return;
    if (Running()) {
        TerminateProcess(process_.Get(), 1);
        WaitForSingleObject(process_.Get(), 5000);
    }
    process_.Reset();
}

}  // namespace driver
