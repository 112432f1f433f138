#include "daemon_fixture.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "download/daemon_endpoint.h"
#include "download/engine_bindings.h"
#include "download/notifications.h"
#include "download/rpc_request.h"
#include "utilities/command_line.h"
#include "download_test_constants.h"

TestProgramFolder::TestProgramFolder(bool withStandIn, const std::string& programName) {
    program_ = temp_.File(programName);
    files_ = temp_.File("files");
    CreateDirectoryA(program_.c_str(), nullptr);
    CreateDirectoryA(files_.c_str(), nullptr);
    if (withStandIn) CopyFileA((testsupport::BinDir() + "\\aria2c.exe").c_str(), File("aria2c.exe").c_str(), FALSE);
    Bind(kTestSecret);
    testsupport::EndAtAbortFromPidFile(File("aria2c.pid"));
}

void TestProgramFolder::Bind(const std::string& secret) {
    DownloadEngineBindings bindings;
    bindings.rpcSecret = secret;
    bindings.rpcRequestId = kTestRequestId;
    bindings.programFolder = program_;
    bindings.downloadGids = &gids;
    bindings.notificationSocket = &socket;
    BindDownloadEngine(bindings);
}

int TestProgramFolder::StartCount() const {
    std::string starts = testsupport::ReadFileBytes(File("aria2c.starts"));
    return (int)std::count(starts.begin(), starts.end(), '\n');
}

int TestProgramFolder::DaemonPid() const { return atoi(testsupport::ReadFileBytes(File("aria2c.pid")).c_str()); }

bool TestProgramFolder::StopDaemon() {
    Bind(kTestSecret);
    StopDownloadDaemon();
    bool stopped = WaitForPortClosed(kDaemonPort, 8000) && WaitForDaemonEnd(8000);
    if (!stopped) {
        testsupport::KillUnixProcess(DaemonPid());
        WaitForPortClosed(kDaemonPort, 5000);
        WaitForDaemonEnd(5000);
    }
    return stopped;
}

bool TestProgramFolder::WaitForDaemonEnd(unsigned long timeoutMs) const {
    // The daemon closes its port about a second before it ends (longer on a
    // busy machine). Until then the connections WinInet keeps for reuse
    // still lead to it, and it never answers what comes through them: the
    // next test's first request would get an empty reply.
    return testsupport::WaitForUnixProcessEnd(DaemonPid(), timeoutMs);
}

TestProgramFolder::~TestProgramFolder() {
    // A test that wants the daemon's own way out asks for it (StopDaemon);
    // here a daemon still running ends at once, which spares its seconds of
    // shutting down.
    if (!WaitForDaemonEnd(0)) {
        testsupport::KillUnixProcess(DaemonPid());
        WaitForDaemonEnd(8000);
    }
    WaitForPortClosed(kDaemonPort, 5000);
    socket.Disconnect();
    WaitFor([] { return NotificationLoopsRunning() == 0; }, 5000);
    BindDownloadEngine(DownloadEngineBindings());
    for (auto& slot : NotificationCallbacks) slot = nullptr;
    testsupport::ForgetPidFile(File("aria2c.pid"));
}

// The server starts in folder and serves ".", so no path needs converting.
RangeHttpServer::RangeHttpServer(const std::string& folder)
    : server_("tests/download/range_http_server.py . server.info 600", folder, "server.info") {}

RangeHttpServer::~RangeHttpServer() = default;

std::string TestBytes(size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    unsigned x = seed * 2654435761u + 1;
    for (size_t i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        bytes[i] = (char)(x >> 16);
    }
    return bytes;
}

::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    return ::testing::AssertionFailure() << actual.size() << " bytes where " << expected.size()
                                         << " were expected; first difference at byte " << at;
}
