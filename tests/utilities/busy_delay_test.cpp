// The busy delay and the busy wait on a thread with no window: how long they
// wait, what processor time they take, and the quit request they leave.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

#include "support/test_support.h"
#include "utilities/busy_delay.h"

namespace {

TEST(BusyDelay, ZeroOrLessReturnsAtOnceWithoutTouchingTheQueue) {
    // Any delay at all would have taken the message on its way.
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // gives the thread its queue
    ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0));
    BusyDelay(0);
    BusyDelay(-100);
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE));
}

ULONGLONG ThreadCpuMilliseconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ms = [](FILETIME t) { return ((ULONGLONG)t.dwHighDateTime << 32 | t.dwLowDateTime) / 10000; };
    return ms(kernel) + ms(user);
}

TEST(BusyDelay, SleepsInsteadOfSpinning) {
    ULONGLONG before = ThreadCpuMilliseconds();
    BusyDelay(600);
    // A spinning delay burns about the whole 600 ms.
    EXPECT_LT(ThreadCpuMilliseconds() - before, 150u);
}

TEST(BusyDelay, LeavesAQuitRequestForTheMessageLoop) {
    PostQuitMessage(3);
    BusyDelay(30);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

// The flow's worker waits this way for the user's click and for an unpack.
TEST(BusyWaitUntil, WakesAtOnceForAFlagSetWithAWakeFromAnotherThread) {
    // Half the 250 ms fallback per round, on average, is a margin no busy
    // machine uses up, while a lost wake always does.
    const int rounds = 8;
    ULONGLONG cpuBefore = ThreadCpuMilliseconds();
    unsigned long elapsed = testsupport::TimeWokenBusyWaits(rounds, [](std::atomic<bool>& flag) {
        flag = true;
        WakeBusyWaits();
    });
    EXPECT_LT(elapsed, rounds * 250ul / 2);
    EXPECT_LT(ThreadCpuMilliseconds() - cpuBefore, 100u);
}

}  // namespace
