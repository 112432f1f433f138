// The busy delay and the busy wait on a thread with no window: how long they
// wait, what processor time they take, and the quit request they leave.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "utilities/busy_delay.h"

namespace {

TEST(BusyDelay, ZeroOrLessReturnsAtOnce) {
    DWORD start = GetTickCount();
    BusyDelay(0);
    BusyDelay(-100);
    EXPECT_LT(GetTickCount() - start, 50u);
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
    std::atomic<bool> flag{false};
    std::thread setter([&] {
        Sleep(100);
        flag = true;
        WakeBusyWaits();
    });
    ULONGLONG cpuBefore = ThreadCpuMilliseconds();
    DWORD start = GetTickCount();
    BusyWaitUntil([&] { return flag.load(); });
    DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 90u);
    EXPECT_LT(elapsed, 230u);  // not left for the 250 ms fallback
    EXPECT_LT(ThreadCpuMilliseconds() - cpuBefore, 50u);
    setter.join();
}

}  // namespace
