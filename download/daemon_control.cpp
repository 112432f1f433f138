#include "download/daemon_control.h"

#include <windows.h>

#include "download/daemon_endpoint.h"
#include "download/engine_bindings.h"
#include "utilities/command_line.h"
#include "download/tcp_client_socket.h"

namespace {

bool DaemonAnswers(TcpClientSocket& probe) {
    if (!probe.Connect(kDaemonAddress, kDaemonPort)) return false;
    probe.Disconnect();
    return true;
}

}  // namespace

std::string BuildDaemonCommandLine(const std::string& programFolder, const std::string& secret) {
    // Quoted, so that a program folder with blanks still starts it. No
    // "--rpc-listen-all": the secret is the same in every copy of the
    // program, so the daemon must not be reachable from other machines.
    return "\"" + programFolder + "\\aria2c.exe\" -q --enable-rpc=true --rpc-allow-origin-all=true --rpc-listen-port=" +
           std::to_string(kDaemonPort) + " --file-allocation=falloc --continue=true --rpc-secret=" + secret;
}

bool EnsureDownloadDaemon() {
    TcpClientSocket probe;
    if (DaemonAnswers(probe)) return true;

    const std::string folder = DaemonProgramFolder();
    RunCommandLine(BuildDaemonCommandLine(folder, DownloadEngine().rpcSecret), SW_HIDE, false, folder);
    // A cold daemon needs a moment to open its port; attempts back to back
    // would all fail before it does.
    for (int attempt = 0; attempt < kDaemonStartAttempts; ++attempt) {
        Sleep(kDaemonAttemptPauseMs);
        if (DaemonAnswers(probe)) return true;
    }
    return false;
}
