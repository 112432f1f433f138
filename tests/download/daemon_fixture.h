// The real download daemon for tests: a temporary program folder holding the
// stand-in "aria2c.exe" (Debian's aria2c behind a script), and a local HTTP
// server with Range support for the files to download. Whatever a test does,
// the daemon and the server are stopped when these objects go away.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "download/gid_list.h"
#include "download/tcp_client_socket.h"
#include "support/linux_process.h"
#include "support/test_support.h"

using testsupport::PortAccepts;
using testsupport::WaitFor;
using testsupport::WaitForPortClosed;

class TestProgramFolder {
public:
    // programName: the program folder's name inside the temporary folder
    // (with a blank by default, as users' folders may have). withStandIn:
    // copy the stand-in daemon into it.
    explicit TestProgramFolder(bool withStandIn = true, const std::string& programName = "program folder");
    ~TestProgramFolder();
    TestProgramFolder(const TestProgramFolder&) = delete;
    TestProgramFolder& operator=(const TestProgramFolder&) = delete;

    const std::string& Path() const { return program_; }
    std::string File(const std::string& name) const { return program_ + "\\" + name; }
    // Folder whose files the HTTP server serves.
    const std::string& FilesFolder() const { return files_; }

    // How often the stand-in daemon was started from this folder.
    int StartCount() const;

    // Shutdown and force shutdown, then waits for the port to close and the
    // daemon to end; kills it when it does not. True when it went away by itself.
    bool StopDaemon();

    // The bound lists and socket.
    GidList gids;
    TcpClientSocket socket;

    // Binds the engine to this folder, with secret as the RPC secret.
    void Bind(const std::string& secret);

private:
    int DaemonPid() const;
    bool WaitForDaemonEnd(unsigned long timeoutMs) const;

    testsupport::TempFolder temp_;
    std::string program_;
    std::string files_;
};

class RangeHttpServer {
public:
    // Serves the files of folder (Windows path) on a free loopback port.
    explicit RangeHttpServer(const std::string& folder);
    ~RangeHttpServer();
    RangeHttpServer(const RangeHttpServer&) = delete;
    RangeHttpServer& operator=(const RangeHttpServer&) = delete;

    int port() const { return server_.port(); }
    std::string Url(const std::string& name) const { return server_.Url("/" + name); }

private:
    testsupport::ScriptServer server_;
};

// Compares file contents without gtest's diff of megabytes of bytes.
::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected);

// Pseudo-random bytes, the same for the same seed.
std::string TestBytes(size_t size, unsigned seed);
