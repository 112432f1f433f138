// The exact JSON-RPC texts the engine posts, and how it reads replies. A
// server inside the test process takes the daemon's port, so the requests
// can be seen byte for byte.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

#include "download/add_downloads.h"
#include "download/daemon_endpoint.h"
#include "download/download_start.h"
#include "download/engine_bindings.h"
#include "download/notifications.h"
#include "download/rpc_request.h"
#include "download/status_queries.h"
#include "download/tcp_client_socket.h"
#include "download_test_constants.h"
#include "support/linux_process.h"
#include "support/test_http_server.h"
#include "support/test_support.h"

namespace {

const std::string kHead = "{\"jsonrpc\":\"2.0\",\"method\":\"";
std::string Request(const std::string& method, const std::string& params = "") {
    return kHead + method + "\",\"id\":\"" + kTestRequestId + "\",\"params\":[\"token:" + kTestSecret + "\"" + params +
           "]}";
}

class RpcCalls : public ::testing::Test {
protected:
    void SetUp() override {
        // Another program on the daemon's port would answer in our place.
        ASSERT_FALSE(testsupport::PortAccepts(kDaemonPort)) << "port 36510 is taken before the test";
        DownloadEngineBindings bindings;
        bindings.rpcSecret = kTestSecret;
        bindings.rpcRequestId = kTestRequestId;
        BindDownloadEngine(bindings);
    }
    void TearDown() override { BindDownloadEngine(DownloadEngineBindings()); }

    // The daemon's port, answered by reply.
    FakeHttpServer& Daemon(std::string reply = "{\"id\":\"1\",\"jsonrpc\":\"2.0\",\"result\":\"OK\"}") {
        reply_ = reply;
        server_.reset();
        server_.reset(new FakeHttpServer(kDaemonPort, [this](const ReceivedRequest&) { return reply_; }));
        EXPECT_TRUE(server_->listening()) << "cannot listen on port 36510";
        return *server_;
    }

    std::string reply_;
    std::unique_ptr<FakeHttpServer> server_;
};

TEST_F(RpcCalls, SingleMethodCallsPostOneCompactRequest) {
    const struct {
        std::string (*call)();
        const char* method;
    } cases[] = {{Aria2PauseAll, "aria2.pauseAll"},
                 {Aria2UnpauseAll, "aria2.unpauseAll"},
                 {Aria2PurgeDownloadResult, "aria2.purgeDownloadResult"},
                 {Aria2Shutdown, "aria2.shutdown"},
                 {Aria2ForceShutdown, "aria2.forceShutdown"}};
    FakeHttpServer& daemon = Daemon("{\"result\":\"OK\"}");
    for (const auto& c : cases) EXPECT_EQ(c.call(), "{\"result\":\"OK\"}") << c.method;
    std::vector<std::string> expected;
    for (const auto& c : cases) expected.push_back(Request(c.method));
    EXPECT_EQ(daemon.bodies(), expected);
    EXPECT_EQ(daemon.requests()[0].requestLine, "POST /jsonrpc HTTP/1.1");
}

TEST_F(RpcCalls, ShutdownSendsShutdownThenForceShutdown) {
    FakeHttpServer& daemon = Daemon();
    StopDownloadDaemon();
    EXPECT_EQ(daemon.bodies(), (std::vector<std::string>{Request("aria2.shutdown"), Request("aria2.forceShutdown")}));
}

TEST_F(RpcCalls, ReplyEndsAtItsFirstZeroByte) {
    Daemon(std::string("{\"result\":\"OK\"}\0garbage", 23));
    EXPECT_EQ(Aria2PauseAll(), "{\"result\":\"OK\"}");
}

TEST_F(RpcCalls, StatusBatchSendsOneRequestPerGidInOnePost) {
    FakeHttpServer& daemon = Daemon("[]");
    std::vector<DownloadStatus> statuses;
    Aria2TellStatusBatch({"a1", "b2", "c3"}, statuses);
    ASSERT_EQ(daemon.bodies().size(), 1u);
    EXPECT_EQ(daemon.bodies()[0], "[" + Request("aria2.tellStatus", ",\"a1\",[]") + "," +
                                      Request("aria2.tellStatus", ",\"b2\",[]") + "," +
                                      Request("aria2.tellStatus", ",\"c3\",[]") + "]");
    Aria2GetGlobalStat();
    EXPECT_EQ(daemon.bodies()[1], Request("aria2.getGlobalStat"));
}

TEST_F(RpcCalls, EmptyListsPostNothing) {
    FakeHttpServer& daemon = Daemon("[]");
    std::vector<DownloadStatus> statuses(2);
    statuses[1].gid = "kept";
    EXPECT_EQ(Aria2TellStatusBatch({}, statuses), "");
    ASSERT_EQ(statuses.size(), 2u);
    EXPECT_EQ(statuses[1].gid, "kept");
    EXPECT_EQ(UnpauseBatch({}), "");
    EXPECT_TRUE(daemon.bodies().empty());
}

TEST_F(RpcCalls, AddUriBatchPutsTheOptionsInTheirOrder) {
    const std::string cookie = ",\"header\":\"Cookie: ******************************\"}";
    const struct {
        const char* what;
        std::vector<DownloadTask> tasks;
        std::string batch;
    } cases[] = {
        {"builder's task, threads 16",
         {MakeStartDownloadTask("http://h/c.zip", "C:\\Q", "temp-client.zip", 16)},
         "[" +
             Request("aria2.addUri",
                     ",[\"http:\\/\\/h\\/c.zip\"],{\"out\":\"temp-client.zip\",\"dir\":\"C:\\\\Q\",\"split\":\"16\","
                     "\"max-connection-per-server\":\"16\",\"file-allocation\":\"none\"" +
                         cookie) +
             "]"},
        {"two uris, a trailing separator, nothing optional",
         {{"http://a/1\r\nhttp://b/1\r\n", "", "", 0, 0, "", 2}},
         "[" +
             Request("aria2.addUri",
                     ",[\"http:\\/\\/a\\/1\",\"http:\\/\\/b\\/1\"],{\"file-allocation\":\"trunc\",\"header\":\"\"}") +
             "]"},
        {"empty pieces stay",
         {{"\r\nhttp://a/\r\n\r\nhttp://b/", "o", "", 3, 1, "H: v", 3}},
         "[" +
             Request("aria2.addUri",
                     ",[\"\",\"http:\\/\\/a\\/\",\"\",\"http:\\/\\/b\\/\"],{\"out\":\"o\",\"split\":\"3\","
                     "\"max-connection-per-server\":\"1\",\"file-allocation\":\"prealloc\",\"header\":\"H: v\"}") +
             "]"},
        {"a task without uris gets no request",
         {{"", "x", "", 0, 0, "", 0}, {"http://c/", "", "", 0, 0, "", 1}},
         "[" + Request("aria2.addUri", ",[\"http:\\/\\/c\\/\"],{\"file-allocation\":\"falloc\",\"header\":\"\"}") +
             "]"},
        {"all skipped", {{"", "x", "", 0, 0, "", 0}}, "[]"},
    };
    for (const auto& c : cases) {
        FakeHttpServer& daemon = Daemon("[]");
        std::vector<std::string> gids;
        AddUriBatch(c.tasks, gids);
        ASSERT_EQ(daemon.bodies().size(), 1u) << c.what;
        EXPECT_EQ(daemon.bodies()[0], c.batch) << c.what;
    }
}

TEST_F(RpcCalls, UrisAreSplitOnlyAtCharacterStarts) {
    // The GBK character 0xB0 0x0D is not a CR.
    EXPECT_EQ(SplitUris("a\xB0\x0D\nb\r\nc"), (std::vector<std::string>{"a\xB0\x0D\nb", "c"}));
    EXPECT_EQ(SplitUris(""), std::vector<std::string>{});
    EXPECT_EQ(SplitUris("\r\n"), (std::vector<std::string>{""}));
}

TEST_F(RpcCalls, UnpauseBatchSendsEveryGidEmptyOnesToo) {
    FakeHttpServer& daemon = Daemon("[]");
    UnpauseBatch({"g1", ""});
    ASSERT_EQ(daemon.bodies().size(), 1u);
    EXPECT_EQ(daemon.bodies()[0],
              "[" + Request("aria2.unpause", ",\"g1\"") + "," + Request("aria2.unpause", ",\"\"") + "]");
}

TEST_F(RpcCalls, StartTaskDoublesThreadsForConnectionsUpToTheCap) {
    const struct {
        int threads, split, connections;
    } cases[] = {{0, 8, 16}, {1, 1, 2}, {7, 7, 14}, {8, 8, 16}, {16, 16, 16}, {64, 64, 16}};
    for (const auto& c : cases) {
        DownloadTask task = MakeStartDownloadTask("u", "d", "o", c.threads);
        EXPECT_EQ(task.split, c.split) << c.threads;
        EXPECT_EQ(task.maxConnectionPerServer, c.connections) << c.threads;
        EXPECT_EQ(task.header, "Cookie: ******************************");
        EXPECT_EQ(task.fileAllocation, 0);
    }
}

TEST(RpcReplies, GlobalStatReadsTheResultMembers) {
    GlobalStat stat;
    EXPECT_TRUE(
        ParseGlobalStat("{\"id\":\"1\",\"jsonrpc\":\"2.0\",\"result\":{\"downloadSpeed\":\"1048576\","
                        "\"numActive\":\"1\",\"numStopped\":\"2\",\"numStoppedTotal\":\"9\",\"numWaiting\":\"0\","
                        "\"uploadSpeed\":\"0\"}}",
                        stat));
    EXPECT_EQ(stat.numActive, 1);
    EXPECT_EQ(stat.numWaiting, 0);
    EXPECT_EQ(stat.numStopped, 2);
    EXPECT_EQ(stat.downloadSpeed, 1048576);
    EXPECT_EQ(stat.uploadSpeed, 0);

    GlobalStat kept;
    kept.numActive = 5;
    EXPECT_FALSE(ParseGlobalStat("{\"error\":{\"code\":1,\"message\":\"Unauthorized\"}}", kept));
    EXPECT_EQ(kept.numActive, 5);
    EXPECT_FALSE(ParseGlobalStat("", kept));
    EXPECT_EQ(kept.numActive, 0);
}

TEST(RpcReplies, StatusBatchFillsRecordsByPosition) {
    std::string reply =
        "[{\"error\":{\"code\":1,\"message\":\"GID 0 is not found\"}},"
        "{\"result\":{\"gid\":\"2089b05ecca3d829\",\"status\":\"active\",\"dir\":\"C:\\\\\xE4\xB8\xAD\xE6\x96\x87\","
        "\"files\":[{\"path\":\"C:/Downloads/temp-client.zip\"}],\"totalLength\":\"5368709120\","
        "\"completedLength\":\"1024\",\"downloadSpeed\":\"2048\",\"numPieces\":\"5120\",\"pieceLength\":\"1048576\","
        "\"uploadLength\":\"0\",\"uploadSpeed\":\"0\",\"connections\":\"16\",\"errorCode\":\"0\","
        "\"errorMessage\":\"\xE4\xB8\xAD\xE6\x96\x87\"}},"
        "{\"result\":{\"files\":[{\"path\":\"C:\\\\dl\\\\\"}],\"errorCode\":0}},"
        "{\"result\":{\"files\":[]}}]";
    std::vector<DownloadStatus> statuses(7);
    EXPECT_TRUE(ParseTellStatusBatch(reply, statuses));
    ASSERT_EQ(statuses.size(), 4u);
    EXPECT_EQ(statuses[0].gid, "");
    EXPECT_EQ(statuses[0].totalLength, 0);
    const DownloadStatus& s = statuses[1];
    EXPECT_EQ(s.path, "temp-client.zip");
    EXPECT_EQ(s.dir, "C:\\\xD6\xD0\xCE\xC4");  // 中文 in code page 936
    EXPECT_EQ(s.gid, "2089b05ecca3d829");
    EXPECT_EQ(s.status, "active");
    EXPECT_EQ(s.totalLength, 5368709120LL);
    EXPECT_EQ(s.completedLength, 1024);
    EXPECT_EQ(s.downloadSpeed, 2048);
    EXPECT_EQ(s.numPieces, 5120);
    EXPECT_EQ(s.pieceLength, 1048576);
    EXPECT_EQ(s.connections, 16);
    EXPECT_EQ(s.errorCode, "0");
    EXPECT_EQ(s.errorMessage, "\xE4\xB8\xAD\xE6\x96\x87");  // left in UTF-8
    EXPECT_EQ(statuses[2].path, "");
    EXPECT_EQ(statuses[2].errorCode, "0");
    EXPECT_EQ(statuses[3].path, "");
}

TEST(RpcReplies, StatusBatchReadsChineseTextsOfAnyByteLength) {
    // 中 alone is three UTF-8 bytes: read as GBK it would swallow the quote after it.
    std::string reply =
        "[{\"result\":{\"gid\":\"a1\",\"dir\":\"C:\\\\\xE4\xB8\xAD\",\"files\":[{\"path\":"
        "\"C:/\xE4\xB8\xAD/\xE4\xB8\xAD.zip\"}],\"totalLength\":\"10\",\"errorMessage\":\"\xE4\xB8\xAD\"}}]";
    std::vector<DownloadStatus> statuses;
    EXPECT_TRUE(ParseTellStatusBatch(reply, statuses));
    ASSERT_EQ(statuses.size(), 1u);
    EXPECT_EQ(statuses[0].gid, "a1");
    EXPECT_EQ(statuses[0].dir, "C:\\\xD6\xD0");
    EXPECT_EQ(statuses[0].path, "\xD6\xD0.zip");
    EXPECT_EQ(statuses[0].totalLength, 10);
    EXPECT_EQ(statuses[0].errorMessage, "\xE4\xB8\xAD");
}

TEST(RpcReplies, StatusBatchKeepsTheArrayOnATopLevelError) {
    std::vector<DownloadStatus> statuses(1);
    statuses[0].gid = "kept";
    EXPECT_FALSE(ParseTellStatusBatch("{\"error\":{\"code\":1}}", statuses));
    ASSERT_EQ(statuses.size(), 1u);
    EXPECT_EQ(statuses[0].gid, "kept");
    EXPECT_TRUE(ParseTellStatusBatch("{\"result\":{}}", statuses));  // a single object: no members
    EXPECT_TRUE(statuses.empty());
    statuses.resize(3);
    EXPECT_FALSE(ParseTellStatusBatch("", statuses));
    EXPECT_TRUE(statuses.empty());
}

TEST(RpcReplies, AddUriReplyGivesOneGidPerRequest) {
    std::vector<std::string> gids{"old"};
    EXPECT_TRUE(ParseAddUriReply(
        "[{\"result\":\"aaaa\"},{\"error\":{\"code\":1}},{\"result\":\"cccc\"},{\"result\":7}]", gids));
    EXPECT_EQ(gids, (std::vector<std::string>{"aaaa", "", "cccc", ""}));
    gids = {"old"};
    EXPECT_FALSE(ParseAddUriReply("{\"error\":{\"code\":1,\"message\":\"Unauthorized\"}}", gids));
    EXPECT_EQ(gids, std::vector<std::string>{"old"});
    EXPECT_FALSE(ParseAddUriReply("not json", gids));
    EXPECT_TRUE(gids.empty());
}

TEST_F(RpcCalls, WithTheDaemonStoppedRepliesAreEmptyAndFast) {
    DWORD start = GetTickCount();
    EXPECT_EQ(Aria2Shutdown(), "");
    EXPECT_EQ(Aria2ForceShutdown(), "");
    GlobalStat stat = Aria2GetGlobalStat();
    EXPECT_EQ(stat.numActive, 0);
    EXPECT_EQ(stat.downloadSpeed, 0);
    std::vector<DownloadStatus> statuses(2);
    Aria2TellStatusBatch({"x"}, statuses);
    EXPECT_TRUE(statuses.empty());
    std::vector<std::string> gids{"old"};
    AddUriBatch({MakeStartDownloadTask("http://127.0.0.1:1/x", "", "x", 1)}, gids);
    EXPECT_TRUE(gids.empty());
    EXPECT_LT(GetTickCount() - start, 5000u);
}

std::atomic<int> handshakeCompletions{0};
void CountCompletion(const std::string&) { ++handshakeCompletions; }

class NotificationHandshake : public RpcCalls {
protected:
    void SetUp() override {
        RpcCalls::SetUp();
        DownloadEngineBindings bindings = DownloadEngine();
        bindings.notificationSocket = &socket_;
        BindDownloadEngine(bindings);
        handshakeCompletions = 0;
        for (auto& slot : NotificationCallbacks) slot = nullptr;
    }
    void TearDown() override {
        socket_.Disconnect();
        testsupport::WaitFor([] { return NotificationLoopsRunning() == 0; }, 5000);
        for (auto& slot : NotificationCallbacks) slot = nullptr;
        RpcCalls::TearDown();
    }
    TcpClientSocket socket_;
};

TEST_F(NotificationHandshake, RefusedUpgradeDisconnectsButStoresTheCallback) {
    FakeHttpServer& daemon = Daemon("not a websocket");
    EXPECT_FALSE(NotificationSubscribe("aria2.onDownloadComplete", CountCompletion));
    EXPECT_EQ(socket_.LocalPort(), -1);
    EXPECT_EQ(NotificationCallbacks[3].load(), &CountCompletion);
    ASSERT_EQ(daemon.requests().size(), 1u);
    EXPECT_EQ(daemon.requests()[0].requestLine, "GET /jsonrpc HTTP/1.1");

    // A name that is none of the six stores nothing, but still connects.
    EXPECT_FALSE(NotificationSubscribe("aria2.onSomethingElse", nullptr));
    EXPECT_EQ(daemon.requests().size(), 2u);
    EXPECT_EQ(NotificationCallbacks[3].load(), &CountCompletion);
}

TEST_F(NotificationHandshake, FramesThatCameWithTheReplyAreDispatchedAndTheEndIsNoticed) {
    std::string payload =
        "{\"jsonrpc\":\"2.0\",\"method\":\"aria2.onDownloadComplete\",\"params\":[{\"gid\":\"2089b05ecca3d829\"}]}";
    std::string frame = std::string("\x81") + (char)payload.size() + payload;
    FakeHttpServer& daemon = Daemon();
    daemon.SetRawReply([&](const ReceivedRequest&) {
        return "HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
               "Sec-WebSocket-Accept: x\r\n\r\n" +
               frame + frame;
    });
    EXPECT_TRUE(NotificationSubscribe("aria2.onDownloadComplete", CountCompletion));
    // The server closes after its reply: both notifications arrive, then the
    // loop ends and the socket reads as not connected.
    testsupport::WaitFor([&] { return NotificationLoopsRunning() == 0 && socket_.LocalPort() == -1; }, 5000);
    EXPECT_EQ(handshakeCompletions.load(), 2);
    EXPECT_EQ(socket_.LocalPort(), -1);
    EXPECT_EQ(NotificationLoopsRunning(), 0);
}

}  // namespace
