// The low-speed watchdog against a stand-in for the daemon's port whose
// reported speed the test chooses (the real daemon's speed cannot be set).
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>

#include "download/daemon_endpoint.h"
#include "download/engine_bindings.h"
#include "download/low_speed_watchdog.h"
#include "download_test_constants.h"
#include "support/test_http_server.h"

namespace {

std::string MethodOf(const std::string& body) {
    size_t at = body.find("\"method\":\"");
    if (at == std::string::npos) return {};
    at += 10;
    return body.substr(at, body.find('"', at) - at);
}

class Watchdog : public ::testing::Test {
protected:
    void SetUp() override {
        DownloadEngineBindings bindings;
        bindings.rpcSecret = kTestSecret;
        bindings.rpcRequestId = kTestRequestId;
        bindings.lowSpeedLimitKB = &limit_;
        bindings.downloadPaused = &paused_;
        bindings.lowSpeedStrikes = &strikes_;
        BindDownloadEngine(bindings);
        daemon_.reset(new FakeHttpServer(kDaemonPort, [this](const ReceivedRequest&) {
            return "{\"result\":{\"downloadSpeed\":\"" + std::to_string(speed_.load()) +
                   "\",\"numActive\":\"1\",\"numStopped\":\"0\",\"numWaiting\":\"0\",\"uploadSpeed\":\"0\"}}";
        }));
        ASSERT_TRUE(daemon_->listening());
    }
    void TearDown() override {
        daemon_.reset();
        BindDownloadEngine(DownloadEngineBindings());
    }

    // Runs one tick and gives the strike count and the methods it posted.
    std::pair<int, std::vector<std::string>> Tick() {
        size_t before = daemon_->bodies().size();
        LowSpeedWatchdogTick();
        std::vector<std::string> methods;
        auto bodies = daemon_->bodies();
        for (size_t i = before; i < bodies.size(); ++i) methods.push_back(MethodOf(bodies[i]));
        return {strikes_, methods};
    }

    int32_t limit_ = 100;
    int32_t strikes_ = 0;
    std::atomic<bool> paused_{false};
    std::atomic<long long> speed_{50 * 1024};
    std::unique_ptr<FakeHttpServer> daemon_;
};

int nestedTicks = 0;
void CALLBACK TickFromTimer(HWND, UINT, UINT_PTR, DWORD) {
    ++nestedTicks;
    LowSpeedWatchdogTick();
}

const std::vector<std::string> kStatOnly{"aria2.getGlobalStat"};
const std::vector<std::string> kRestart{"aria2.getGlobalStat", "aria2.pauseAll", "aria2.unpauseAll"};

TEST_F(Watchdog, RestartsOnEverySixthSlowTick) {
    for (int round = 0; round < 2; ++round) {
        for (int strike = 1; strike <= 5; ++strike) {
            auto [strikes, methods] = Tick();
            EXPECT_EQ(strikes, strike);
            EXPECT_EQ(methods, kStatOnly);
        }
        DWORD start = GetTickCount();
        auto [strikes, methods] = Tick();
        EXPECT_EQ(strikes, 0);
        EXPECT_EQ(methods, kRestart);
        EXPECT_GE(GetTickCount() - start, 900u);  // the pause between pause and resume
    }
}

TEST_F(Watchdog, AFastTickStartsTheCountAgain) {
    for (int i = 0; i < 5; ++i) Tick();
    speed_ = 100 * 1024;  // exactly the limit: not slow
    EXPECT_EQ(Tick(), std::make_pair(0, kStatOnly));
    speed_ = 10;
    for (int strike = 1; strike <= 5; ++strike) EXPECT_EQ(Tick().first, strike);
    EXPECT_EQ(Tick().second, kRestart);
}

TEST_F(Watchdog, LimitZeroNeverCountsButStillAsks) {
    limit_ = 0;
    speed_ = 0;
    for (int i = 0; i < 8; ++i) EXPECT_EQ(Tick(), std::make_pair(0, kStatOnly));
}

TEST_F(Watchdog, LeavesADownloadThatTheUserPausedAlone) {
    speed_ = 0;
    for (int i = 0; i < 4; ++i) Tick();
    paused_ = true;
    for (int i = 0; i < 12; ++i) EXPECT_EQ(Tick(), std::make_pair(0, kStatOnly));
    paused_ = false;
    for (int strike = 1; strike <= 5; ++strike) EXPECT_EQ(Tick().first, strike);
    EXPECT_EQ(Tick().second, kRestart);
}

TEST_F(Watchdog, ATickDuringTheRestartWaitIsSkipped) {
    // A window timer that ticks the watchdog while the restart waits. Only
    // that wait dispatches messages here, so every tick it counts is nested.
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    nestedTicks = 0;
    SetTimer(window, 1, 20, TickFromTimer);
    for (int i = 0; i < 5; ++i) Tick();
    auto [strikes, methods] = Tick();
    KillTimer(window, 1);
    DestroyWindow(window);
    // A second of waiting holds dozens of 20 ms ticks; one is proof enough.
    EXPECT_GE(nestedTicks, 1) << "timers stopped during the wait";
    EXPECT_EQ(strikes, 0);
    // The nested ticks asked nothing: one restart and nothing else.
    EXPECT_EQ(methods, kRestart);
}

TEST_F(Watchdog, WithNoDaemonEverySixthTickRestarts) {
    daemon_.reset();
    for (int strike = 1; strike <= 5; ++strike) {
        LowSpeedWatchdogTick();
        EXPECT_EQ(strikes_, strike);
    }
    LowSpeedWatchdogTick();
    EXPECT_EQ(strikes_, 0);
}

}  // namespace
