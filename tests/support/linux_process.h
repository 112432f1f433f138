// Programs of the Linux side that tests start from Wine: the helper HTTP
// servers (python3 scripts of the source tree) and the daemon behind the
// aria2c stand-in. They are no Windows processes: TerminateProcess cannot
// reach them, and waiting on them from Wine may fail at once or never return,
// so they are ended by pid and their effect is polled for.
#pragma once

#include <windows.h>

#include <string>

namespace testsupport {

// True when something accepts connections on 127.0.0.1:port.
bool PortAccepts(int port);
// Waits until nothing accepts on port any more; false after timeoutMs.
bool WaitForPortClosed(int port, unsigned long timeoutMs);

// kill -9; does nothing for pids below 2.
void KillUnixProcess(int pid);

// Starts "INTERPRETER SOURCE/scriptAndArguments" (a program of /usr/bin, a
// path relative to the source tree, then its arguments) in folder, without
// waiting. False when the source tree is unknown or the start failed.
bool StartSourceScript(const std::string& interpreter, const std::string& scriptAndArguments,
                       const std::string& folder);
inline bool StartPythonScript(const std::string& scriptAndArguments, const std::string& folder) {
    return StartSourceScript("python3", scriptAndArguments, folder);
}

// Waits until the process pid has ended (gone, or a zombie that nobody
// reaped: its sockets are closed either way); false after timeoutMs.
bool WaitForUnixProcessEnd(int pid, unsigned long timeoutMs);

// Ends pid if the test program has to be ended before it could (see
// OnTestProgramAbort); Forget when it was ended the normal way.
void EndAtAbort(int pid);
void Forget(int pid);
// The same for the pid a file holds (Windows path), read when needed: the
// daemon writes its own when the launcher starts it.
void EndAtAbortFromPidFile(const std::string& path);
void ForgetPidFile(const std::string& path);

// A helper server that writes "PORT PID" into infoName inside folder once
// it listens (within startLimitMs). Killed when the object goes away.
class ScriptServer {
public:
    ScriptServer(const std::string& scriptAndArguments, const std::string& folder, const std::string& infoName,
                 const std::string& interpreter = "python3", DWORD startLimitMs = 10000);
    ~ScriptServer();
    ScriptServer(const ScriptServer&) = delete;
    ScriptServer& operator=(const ScriptServer&) = delete;

    int port() const { return port_; }
    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

private:
    int port_ = 0;
    int pid_ = 0;
};

}  // namespace testsupport
