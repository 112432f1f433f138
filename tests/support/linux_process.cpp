#include "support/linux_process.h"

#include <winsock2.h>
#include <windows.h>

#include <cstdlib>
#include <mutex>
#include <set>

#include "support/test_support.h"
#include "utilities/command_line.h"

namespace testsupport {

namespace {

std::mutex pidsMutex;
std::set<int>& Pids() {
    static std::set<int> pids;
    return pids;
}
std::set<std::string>& PidFiles() {
    static std::set<std::string> files;
    return files;
}

void EndAll() {
    std::set<int> pids;
    std::set<std::string> files;
    {
        std::lock_guard<std::mutex> lock(pidsMutex);
        pids.swap(Pids());
        files.swap(PidFiles());
    }
    for (const std::string& file : files) pids.insert(atoi(ReadFileBytes(file).c_str()));
    for (int pid : pids) KillUnixProcess(pid);
}

void HookOnce() {
    static bool hooked = (OnTestProgramAbort(EndAll), true);
    (void)hooked;
}

}  // namespace

bool PortAccepts(int port) {
    static bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started) return false;
    SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (probe == INVALID_SOCKET) return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons((u_short)port);
    bool accepted = connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    closesocket(probe);
    return accepted;
}

bool WaitForPortClosed(int port, unsigned long timeoutMs) {
    return WaitFor([&] { return !PortAccepts(port); }, timeoutMs);
}

bool WaitForUnixProcessEnd(int pid, unsigned long timeoutMs) {
    if (pid < 2) return true;
    const std::string stat = "Z:\\proc\\" + std::to_string(pid) + "\\stat";
    return WaitFor(
        [&] {
            // "PID (NAME) STATE ...": the name may hold blanks and brackets.
            std::string text = ReadFileBytes(stat);
            size_t close = text.rfind(')');
            return close == std::string::npos || text.compare(close, 3, ") Z") == 0;
        },
        timeoutMs);
}

void KillUnixProcess(int pid) {
    if (pid > 1) RunCommandLine("Z:\\bin\\kill -9 " + std::to_string(pid), SW_HIDE);
}

void EndAtAbort(int pid) {
    if (pid < 2) return;
    HookOnce();
    std::lock_guard<std::mutex> lock(pidsMutex);
    Pids().insert(pid);
}

void Forget(int pid) {
    std::lock_guard<std::mutex> lock(pidsMutex);
    Pids().erase(pid);
}

void EndAtAbortFromPidFile(const std::string& path) {
    HookOnce();
    std::lock_guard<std::mutex> lock(pidsMutex);
    PidFiles().insert(path);
}

void ForgetPidFile(const std::string& path) {
    std::lock_guard<std::mutex> lock(pidsMutex);
    PidFiles().erase(path);
}

bool StartSourceScript(const std::string& interpreter, const std::string& scriptAndArguments,
                       const std::string& folder) {
    const char* source = getenv("QM_SOURCE_DIR");
    if (!source) return false;
    return RunCommandLine("Z:\\usr\\bin\\" + interpreter + " " + std::string(source) + "/" + scriptAndArguments,
                          SW_HIDE, false, folder);
}

ScriptServer::ScriptServer(const std::string& scriptAndArguments, const std::string& folder,
                           const std::string& infoName, const std::string& interpreter, DWORD startLimitMs) {
    std::string info = folder + "\\" + infoName;
    DeleteFileA(info.c_str());
    if (!StartSourceScript(interpreter, scriptAndArguments, folder)) return;
    WaitFor([&] { return !ReadFileBytes(info).empty(); }, startLimitMs);
    std::string text = ReadFileBytes(info);
    port_ = atoi(text.c_str());
    size_t blank = text.find(' ');
    if (blank != std::string::npos) pid_ = atoi(text.c_str() + blank + 1);
    EndAtAbort(pid_);
}

ScriptServer::~ScriptServer() {
    KillUnixProcess(pid_);
    Forget(pid_);
}

}  // namespace testsupport
