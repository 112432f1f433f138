// The updater window's download refresh and pause button against the real
// daemon (the aria2c stand-in), downloading from a local server whose files
// stop half way, so the daemon reports downloads that are half done.
#include <winsock2.h>

#include <memory>
#include <string>
#include <vector>

#include "daemon_fixture.h"
#include "download/add_downloads.h"
#include "download/daemon_control.h"
#include "download/daemon_endpoint.h"
#include "download/gid_list.h"
#include "download/status_queries.h"
#include "driver/driver_client.h"
#include "e2e/e2e_support.h"
#include "e2e/e2e_texts.h"
#include "launcher/updater/progress_display.h"
#include "launcher/updater/startup_progress.h"
#include "updater_window_fixture.h"

namespace {

using e2e::kPauseCaption;
using e2e::kResumeCaption;
using e2e::kUpdaterTitle;
using testsupport::ServiceUntil;
using testsupport::WhileServicing;

// "正在下载文件 "
const std::string kDownloadingLine = "\xD5\xFD\xD4\xDA\xCF\xC2\xD4\xD8\xCE\xC4\xBC\xFE ";
// "下载已暂停 "
const std::string kPausedLine = "\xCF\xC2\xD4\xD8\xD2\xD1\xD4\xDD\xCD\xA3 ";

// tests/launcher/updater/half_http_server.py: GET /N sends N / 2 of N bytes and holds.
// The daemon counts what it has of a piece in blocks of 16 KiB, so the
// sizes are multiples of two blocks.
class HalfHttpServer {
public:
    explicit HalfHttpServer(const std::string& folder)
        : server_("tests/launcher/updater/half_http_server.py half.info 300", folder, "half.info") {}
    int port() const { return server_.port(); }
    std::string Url(int total) const { return server_.Url("/" + std::to_string(total)); }

private:
    testsupport::ScriptServer server_;
};

class ProgressTimer : public UpdaterWindowTest {
protected:
    // Other build folders' tests use the daemon's port too; this holds it
    // for the test.
    e2e::PortsLock ports;

    void SetUp() override {
        ASSERT_FALSE(PortAccepts(kDaemonPort)) << "port 36510 is taken before the test";
        UpdaterWindowTest::SetUp();
        DownloadPaused = false;
        DownloadGids->Clear();
    }

    // Starts downloads of the given sizes and waits until the daemon has half
    // of each; their gids go into DownloadGids.
    bool StartHalfDone(const std::vector<int>& totals) {
        if (server.port() <= 0 || !EnsureDownloadDaemon()) return false;
        std::vector<DownloadTask> tasks;
        for (int total : totals)
            tasks.push_back({server.Url(total), "part" + std::to_string(total) + ".bin", daemon.Path(), 1, 1, "", 0});
        std::vector<std::string> gids;
        AddUriBatch(tasks, gids);
        if (gids.size() != totals.size()) return false;
        UnpauseBatch(gids);
        DownloadGids->Append(gids);
        return WaitFor(
            [&] {
                std::vector<DownloadStatus> statuses;
                Aria2TellStatusBatch(gids, statuses);
                if (statuses.size() != totals.size()) return false;
                for (size_t i = 0; i < totals.size(); ++i)
                    if (statuses[i].totalLength != totals[i] || statuses[i].completedLength != totals[i] / 2)
                        return false;
                return true;
            },
            20000);
    }

    std::string StatusOf(const std::string& gid) {
        std::vector<DownloadStatus> statuses;
        Aria2TellStatusBatch({gid}, statuses);
        return statuses.empty() ? "" : statuses[0].status;
    }

    TestProgramFolder daemon;
    HalfHttpServer server{daemon.FilesFolder()};
};

TEST_F(ProgressTimer, TwoHalfDoneDownloadsShowFiftyPercentAndTheirBytes) {
    // An identifier the daemon has forgotten comes first and adds nothing.
    DownloadGids->Append("00000000000000ff");
    ASSERT_TRUE(StartHalfDone({65536, 196608}));

    ProgressTimerTick();
    EXPECT_EQ(DownloadCompletedBytes, 131072);
    EXPECT_EQ(DownloadTotalBytes, 262144);
    EXPECT_DOUBLE_EQ(DownloadPercent, 50.0);
    EXPECT_EQ(StartupWindow.时钟1->Interval(), 0);
    EXPECT_EQ(StartupWindow.状态显示->Caption(), kDownloadingLine + "128.00KB / 256.00KB");
    EXPECT_TRUE(StartupWindow.下载速度->Visible());
    std::string speed = StartupWindow.下载速度->Caption();
    EXPECT_EQ(speed.substr(speed.size() - 3), "B/s") << speed;

    driver::ChildWindow fill = Fill();
    EXPECT_EQ(fill.left, 0);
    EXPECT_EQ(fill.width, 480);
}

TEST_F(ProgressTimer, TheRunningTimerRefreshesTheDisplayFromTheDaemon) {
    ASSERT_TRUE(StartHalfDone({65536}));
    StartupWindow.状态显示->SetCaption("-");
    StartupWindow.时钟2->SetInterval(100);
    EXPECT_TRUE(ServiceUntil([] { return StartupWindow.状态显示->Caption() != "-"; }, 3000));
    EXPECT_EQ(StartupWindow.状态显示->Caption(), kDownloadingLine + "32.00KB / 64.00KB");
    EXPECT_EQ(StartupWindow.进度条->Width(), 480);
    StartupWindow.时钟2->SetInterval(0);
}

// Takes the daemon's port, accepts connections and never answers, as a
// daemon that hangs would.
class SilentDaemon {
public:
    SilentDaemon() {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 2), &wsa);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(kDaemonPort);
        listening_ =
            bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(listener_, 8) == 0;
    }
    ~SilentDaemon() {
        for (SOCKET client : clients_) closesocket(client);
        closesocket(listener_);
    }
    bool listening() const { return listening_; }
    // Accepts what is waiting and reads what every connection sent so far.
    std::string Received() {
        u_long nonBlocking = 1;
        ioctlsocket(listener_, FIONBIO, &nonBlocking);
        for (SOCKET client; (client = accept(listener_, nullptr, nullptr)) != INVALID_SOCKET;) {
            ioctlsocket(client, FIONBIO, &nonBlocking);
            clients_.push_back(client);
        }
        char buffer[4096];
        for (SOCKET client : clients_)
            for (int got; (got = recv(client, buffer, sizeof buffer, 0)) > 0;) received_.append(buffer, got);
        return received_;
    }

private:
    SOCKET listener_ = INVALID_SOCKET;
    bool listening_ = false;
    std::vector<SOCKET> clients_;
    std::string received_;
};

TEST_F(ProgressTimer, WithoutAnswersFromTheDaemonTheMarqueeShowsZeroBytes) {
    for (bool silent : {false, true}) {
        SCOPED_TRACE(silent ? "a daemon that never answers" : "no daemon");
        std::unique_ptr<SilentDaemon> daemon;
        if (silent) daemon = std::make_unique<SilentDaemon>();
        ASSERT_TRUE(!daemon || daemon->listening());
        DownloadGids->Clear();
        DownloadGids->Append("0000000000000001");
        ShowProgress(30, "", "");
        ProgressTimerTick();
        EXPECT_EQ(DownloadCompletedBytes, 0);
        EXPECT_EQ(DownloadTotalBytes, 0);
        EXPECT_EQ(StartupWindow.时钟1->Interval(), 1);
        EXPECT_EQ(StartupWindow.状态显示->Caption(), kDownloadingLine + "0.00B / 0.00B");
        EXPECT_EQ(StartupWindow.下载速度->Caption(), "0.00B/s");
        // The tick gave up on the status and did not wait for the speed too
        // (WinInet may send a request twice, so the methods are counted).
        if (daemon) {
            const std::string received = daemon->Received();
            EXPECT_NE(received.find("aria2.tellStatus"), std::string::npos) << received;
            EXPECT_EQ(received.find("aria2.getGlobalStat"), std::string::npos) << received;
        }
    }
}

TEST_F(ProgressTimer, PauseAndResumeButtonPausesTheDaemonAndStopsTheRefresh) {
    ASSERT_TRUE(StartHalfDone({65536, 196608}));
    const std::string gid = DownloadGids->Snapshot().back();
    ProgressTimerTick();
    // As the start of a download shows it.
    StartupWindow.超级按钮1->SetVisible(true);
    StartupWindow.超级按钮1->SetEnabled(true);
    StartupWindow.时钟2->SetInterval(100);

    bool clicked = false;
    WhileServicing([&] { clicked = driver::ClickButton(pid, kUpdaterTitle, kPauseCaption); });
    ASSERT_TRUE(clicked);
    ASSERT_TRUE(ServiceUntil([] { return DownloadPaused.load(); }, 5000));
    EXPECT_EQ(StartupWindow.超级按钮1->Caption(), kResumeCaption);
    EXPECT_EQ(StartupWindow.时钟2->Interval(), 0);
    EXPECT_TRUE(WaitFor([&] { return StatusOf(gid) == "paused"; }, 5000)) << StatusOf(gid);

    // While paused a tick shows the last figures without asking the daemon.
    ProgressTimerTick();
    EXPECT_EQ(StartupWindow.状态显示->Caption(), kPausedLine + "128.00KB / 256.00KB");
    EXPECT_FALSE(StartupWindow.下载速度->Visible());
    EXPECT_EQ(StartupWindow.进度条->Width(), 480);

    WhileServicing([&] { clicked = driver::ClickButton(pid, kUpdaterTitle, kResumeCaption); });
    ASSERT_TRUE(clicked);
    ASSERT_TRUE(ServiceUntil([] { return !DownloadPaused.load(); }, 5000));
    EXPECT_EQ(StartupWindow.超级按钮1->Caption(), kPauseCaption);
    EXPECT_EQ(StartupWindow.时钟2->Interval(), 100);
    // Out of the paused state; whether it then runs depends on the server
    // (this one holds its connections, and the daemon may give up on it).
    EXPECT_TRUE(WaitFor([&] { return StatusOf(gid) != "paused" && !StatusOf(gid).empty(); }, 5000)) << StatusOf(gid);
    StartupWindow.时钟2->SetInterval(0);
}

}  // namespace
