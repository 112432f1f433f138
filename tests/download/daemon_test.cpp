// The download engine against the real daemon (Debian's aria2c behind the
// stand-in "aria2c.exe"), started by EnsureDownloadDaemon from a temporary
// program folder, downloading from a local HTTP server.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <mutex>

#include "daemon_fixture.h"
#include "download/add_downloads.h"
#include "download/daemon_control.h"
#include "download/daemon_endpoint.h"
#include "download/download_start.h"
#include "download/engine_bindings.h"
#include "download/notifications.h"
#include "download/rpc_request.h"
#include "download/status_queries.h"
#include "download_test_constants.h"

namespace {

using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

std::atomic<int> completions{0};
std::mutex completionMutex;
std::string lastCompletion;
void OnComplete(const std::string& text) {
    std::lock_guard<std::mutex> lock(completionMutex);
    lastCompletion = text;
    ++completions;
}

class Daemon : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(PortAccepts(kDaemonPort)) << "port 36510 is taken before the test";
        completions = 0;
    }

    // Waits until the daemon reports the download complete.
    bool WaitForComplete(const std::string& gid, int timeoutMs = 30000) {
        return WaitFor(
            [&] {
                std::vector<DownloadStatus> statuses;
                Aria2TellStatusBatch({gid}, statuses);
                return statuses.size() == 1 && statuses[0].status == "complete";
            },
            timeoutMs);
    }
};

TEST_F(Daemon, EnsureStartsTheDaemonOnceAndThenFindsItRunning) {
    TestProgramFolder folder;  // its name holds a blank, so the quoted path matters
    EXPECT_TRUE(EnsureDownloadDaemon());
    EXPECT_TRUE(PortAccepts(kDaemonPort));
    EXPECT_TRUE(EnsureDownloadDaemon());
    EXPECT_TRUE(EnsureDownloadDaemon());
    EXPECT_EQ(folder.StartCount(), 1);
    EXPECT_TRUE(folder.StopDaemon()) << "shutdown and force shutdown did not stop the daemon";
}

TEST_F(Daemon, EnsureGivesUpAfterItsAttemptsWhenNothingStarts) {
    TestProgramFolder folder(false);
    DWORD start = GetTickCount();
    EXPECT_FALSE(EnsureDownloadDaemon());
    DWORD took = GetTickCount() - start;
    EXPECT_GE(took, (DWORD)(kDaemonStartAttempts * kDaemonAttemptPauseMs * 8 / 10));
    EXPECT_LT(took, 10000u);
}

TEST_F(Daemon, AddsUnpausesAndReportsARealDownload) {
    TestProgramFolder folder;
    std::string content = TestBytes(300 * 1024, 1);
    ASSERT_TRUE(WriteFileBytes(folder.FilesFolder() + "\\a.bin", content));
    RangeHttpServer server(folder.FilesFolder());
    ASSERT_GT(server.port(), 0);
    ASSERT_TRUE(EnsureDownloadDaemon());

    std::vector<std::string> gids;
    std::string reply = AddUriBatch({{server.Url("a.bin"), "a.bin", folder.Path(), 4, 4, "", 0}}, gids);
    ASSERT_EQ(gids.size(), 1u) << reply;
    EXPECT_EQ(gids[0].size(), 16u) << reply;
    std::string unpause = UnpauseBatch(gids);
    EXPECT_EQ(unpause.front(), '[') << unpause;

    ASSERT_TRUE(WaitForComplete(gids[0]));
    EXPECT_TRUE(SameBytes(ReadFileBytes(folder.File("a.bin")), content));

    std::vector<DownloadStatus> statuses;
    Aria2TellStatusBatch({"00000000000000ff", gids[0]}, statuses);
    ASSERT_EQ(statuses.size(), 2u);
    EXPECT_EQ(statuses[0].gid, "");
    EXPECT_EQ(statuses[0].totalLength, 0);
    EXPECT_EQ(statuses[1].gid, gids[0]);
    EXPECT_EQ(statuses[1].status, "complete");
    EXPECT_EQ(statuses[1].path, "a.bin");
    EXPECT_EQ(statuses[1].dir, folder.Path());
    EXPECT_EQ(statuses[1].totalLength, (int64_t)content.size());
    EXPECT_EQ(statuses[1].completedLength, (int64_t)content.size());

    GlobalStat stat = Aria2GetGlobalStat();
    EXPECT_EQ(stat.numStopped, 1);
    EXPECT_EQ(stat.numActive, 0);
}

TEST_F(Daemon, EmptyTaskListPostsAnEmptyBatch) {
    TestProgramFolder folder;
    ASSERT_TRUE(EnsureDownloadDaemon());
    std::vector<std::string> gids{"old"};
    EXPECT_EQ(AddUriBatch({{"", "x", "", 0, 0, "", 0}}, gids), "[]");
    EXPECT_TRUE(gids.empty());
    EXPECT_EQ(Aria2GetGlobalStat().numWaiting, 0);
    std::vector<std::string> none;
    EXPECT_EQ(UnpauseBatch(none), "");
}

TEST_F(Daemon, WrongSecretGivesATopLevelErrorAndLeavesOutputAlone) {
    TestProgramFolder folder;
    ASSERT_TRUE(EnsureDownloadDaemon());
    folder.Bind("WrongSecret0123456789");
    // The daemon answers a wrong secret on purpose late: one to two seconds
    // (its one-second pause ends on its next once-a-second round), a little
    // more on a busy machine. A request that gives up sooner reads nothing.
    JSON request = NewRpcRequest("aria2.getGlobalStat");
    std::string reply = Aria2PostRequest(request.toString());
    EXPECT_NE(reply.find("\"error\""), std::string::npos) << reply;
    GlobalStat stat;
    stat.numActive = 42;
    EXPECT_FALSE(ParseGlobalStat(reply, stat));
    EXPECT_EQ(stat.numActive, 42);

    // A batch is refused member by member: no download, no identifier.
    std::vector<std::string> gids{"old"};
    AddUriBatch({{"http://127.0.0.1:1/x", "x", folder.Path(), 0, 0, "", 0}}, gids);
    EXPECT_EQ(gids, std::vector<std::string>{""});
    folder.Bind(kTestSecret);
    EXPECT_EQ(Aria2GetGlobalStat().numActive, 0);
    std::vector<DownloadStatus> statuses;
    Aria2TellStatusBatch({"0000000000000001"}, statuses);
    EXPECT_EQ(statuses.size(), 1u);
}

TEST_F(Daemon, RepliesAreEmptyAndFastOnceTheDaemonHasStopped) {
    TestProgramFolder folder;
    ASSERT_TRUE(EnsureDownloadDaemon());
    ASSERT_TRUE(folder.StopDaemon());
    DWORD start = GetTickCount();
    EXPECT_EQ(Aria2Shutdown(), "");
    EXPECT_EQ(Aria2ForceShutdown(), "");
    EXPECT_EQ(Aria2GetGlobalStat().numActive, 0);
    EXPECT_LT(GetTickCount() - start, 3000u);
}

TEST_F(Daemon, StartDownloadWorksForEveryThreadSetting) {
    TestProgramFolder folder;
    std::string content = TestBytes(2 * 1024 * 1024 + 17, 2);
    ASSERT_TRUE(WriteFileBytes(folder.FilesFolder() + "\\c.zip", content));
    RangeHttpServer server(folder.FilesFolder());
    ASSERT_GT(server.port(), 0);
    size_t expectedGids = 0;
    for (int threads : {0, 16, 64}) {
        SCOPED_TRACE(threads);
        std::string out = "t" + std::to_string(threads) + ".zip";
        std::string dir = folder.Path();
        StartDownload(server.Url("c.zip"), dir, out, threads);
        ASSERT_EQ(folder.gids.Size(), ++expectedGids);
        EXPECT_EQ(folder.gids.Snapshot().back().size(), 16u);
        ASSERT_TRUE(WaitForComplete(folder.gids.Snapshot().back()));
        EXPECT_TRUE(SameBytes(ReadFileBytes(folder.File(out)), content));
    }
    EXPECT_EQ(folder.StartCount(), 1);
}

TEST_F(Daemon, DownloadLandsInTheProgramFolderAndCompletionIsReported) {
    TestProgramFolder folder;
    std::vector<std::string> display;
    DownloadEngineBindings bindings = DownloadEngine();
    bindings.onDownloadComplete = OnComplete;
    bindings.display.setProgressTimerInterval = [&](int ms) { display.push_back("timer " + std::to_string(ms)); };
    bindings.display.setPauseButtonVisible = [&](bool on) { display.push_back(on ? "visible" : "hidden"); };
    bindings.display.setPauseButtonEnabled = [&](bool on) { display.push_back(on ? "enabled" : "disabled"); };
    bindings.display.setImageButtonWidth = [&](int w) { display.push_back("width " + std::to_string(w)); };
    bindings.display.setImageButtonLeft = [&](int l) { display.push_back("left " + std::to_string(l)); };
    BindDownloadEngine(bindings);

    std::string content = TestBytes(5 * 1024 * 1024, 3);
    ASSERT_TRUE(WriteFileBytes(folder.FilesFolder() + "\\temp-client.zip", content));
    // A leftover of an earlier run without a control file must not be resumed.
    ASSERT_TRUE(WriteFileBytes(folder.File("temp-client.zip"), std::string(1024 * 1024, 'X')));
    RangeHttpServer server(folder.FilesFolder());
    ASSERT_GT(server.port(), 0);

    std::string dir;  // empty: the program folder
    StartDownload(server.Url("temp-client.zip"), dir, "temp-client.zip", 16);
    EXPECT_EQ(dir, folder.Path());
    EXPECT_EQ(display, (std::vector<std::string>{"timer 100", "visible", "enabled", "width 256", "left 704"}));
    ASSERT_EQ(folder.gids.Size(), 1u);
    ASSERT_TRUE(WaitFor([] { return completions.load() > 0; }, 30000)) << "no completion notification";
    EXPECT_EQ(completions.load(), 1);
    {
        std::lock_guard<std::mutex> lock(completionMutex);
        EXPECT_NE(lastCompletion.find("\"method\":\"aria2.onDownloadComplete\""), std::string::npos) << lastCompletion;
        EXPECT_NE(lastCompletion.find(folder.gids.Snapshot()[0]), std::string::npos) << lastCompletion;
        EXPECT_EQ(lastCompletion.front(), '[');
    }
    EXPECT_TRUE(SameBytes(ReadFileBytes(folder.File("temp-client.zip")), content));
    EXPECT_FALSE(testsupport::ReadFileBytes(folder.File("temp-client.1.zip")).size());
}

TEST_F(Daemon, NotificationsReconnectAfterTheDaemonClosedTheSocket) {
    TestProgramFolder folder;
    ASSERT_TRUE(EnsureDownloadDaemon());
    EXPECT_TRUE(NotificationSubscribe("aria2.onDownloadComplete", OnComplete));
    EXPECT_NE(folder.socket.LocalPort(), -1);
    int port = folder.socket.LocalPort();
    EXPECT_TRUE(NotificationSubscribe("aria2.onDownloadComplete", OnComplete));  // already open: same connection
    EXPECT_EQ(folder.socket.LocalPort(), port);
    EXPECT_EQ(NotificationLoopsRunning(), 1);

    folder.StopDaemon();
    EXPECT_TRUE(WaitFor([&] { return folder.socket.LocalPort() == -1 && NotificationLoopsRunning() == 0; }, 10000))
        << "the receive loop did not end when the daemon went away";
    EXPECT_FALSE(NotificationSubscribe("aria2.onDownloadComplete", OnComplete));

    ASSERT_TRUE(EnsureDownloadDaemon());
    EXPECT_TRUE(NotificationSubscribe("aria2.onDownloadComplete", OnComplete));
    EXPECT_NE(folder.socket.LocalPort(), -1);
    EXPECT_EQ(folder.StartCount(), 2);
}

void OtherCompletion(const std::string&) {}

TEST_F(Daemon, StartDownloadWithoutADaemonStillRegistersAndSwitchesTheDisplay) {
    TestProgramFolder folder(false);  // no daemon to start
    int displayCalls = 0;
    DownloadEngineBindings bindings = DownloadEngine();
    bindings.onDownloadComplete = OnComplete;
    bindings.display.setProgressTimerInterval = [&](int) { ++displayCalls; };
    bindings.display.setImageButtonLeft = [&](int) { ++displayCalls; };
    BindDownloadEngine(bindings);
    folder.gids.Append("earlier");
    NotificationCallbacks[3] = OtherCompletion;  // as the add-on download leaves it

    std::string dir;
    StartDownload("http://127.0.0.1:1/x.zip", dir, "x.zip", 0);
    EXPECT_EQ(dir, folder.Path());
    EXPECT_EQ(NotificationCallbacks[3].load(), &OnComplete);
    EXPECT_EQ(folder.gids.Snapshot(), std::vector<std::string>{"earlier"});
    EXPECT_EQ(displayCalls, 2);
}

TEST(StaleOutput, RemovesALeftoverButKeepsAPartialWithItsControlFile) {
    testsupport::TempFolder folder;
    WriteFileBytes(folder.File("stale.zip"), "old");
    WriteFileBytes(folder.File("partial.zip"), "part");
    WriteFileBytes(folder.File("partial.zip.aria2"), "control");
    RemoveStaleDownloadOutput(folder.Path(), "stale.zip");
    RemoveStaleDownloadOutput(folder.Path(), "partial.zip");
    RemoveStaleDownloadOutput(folder.Path(), "missing.zip");
    RemoveStaleDownloadOutput("", "partial.zip");
    EXPECT_EQ(GetFileAttributesA(folder.File("stale.zip").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadFileBytes(folder.File("partial.zip")), "part");
}

TEST(DaemonCommandLine, QuotesThePathAndListensOnLoopbackOnly) {
    EXPECT_EQ(BuildDaemonCommandLine("C:\\Program Files\\Q", "S3cret"),
              "\"C:\\Program Files\\Q\\aria2c.exe\" -q --enable-rpc=true --rpc-allow-origin-all=true "
              "--rpc-listen-port=36510 --file-allocation=falloc --continue=true --rpc-secret=S3cret");
}

}  // namespace
