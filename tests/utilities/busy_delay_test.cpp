// The busy delay and the busy wait on a thread with no window: how long they
// wait, what processor time they take, and the quit request they leave.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

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
    // Each round the setter waits until the waiter has looked and found
    // nothing, then sets the flag and wakes it. A lost wake leaves the
    // waiter asleep for its whole 250 ms fallback, every round; a working one
    // needs a thread switch. Half the fallback per round, on average, is a
    // margin that no busy machine uses up, while a lost wake always does.
    const int rounds = 8;
    std::atomic<bool> sawNothing{false}, flag{false};
    std::thread setter([&] {
        for (int round = 0; round < rounds; ++round) {
            while (!sawNothing.exchange(false)) Sleep(1);
            flag = true;
            WakeBusyWaits();
        }
    });
    ULONGLONG cpuBefore = ThreadCpuMilliseconds();
    DWORD start = GetTickCount();
    for (int round = 0; round < rounds; ++round) {
        BusyWaitUntil([&] {
            if (flag.exchange(false)) return true;
            sawNothing = true;
            return false;
        });
    }
    DWORD elapsed = GetTickCount() - start;
    setter.join();
    EXPECT_LT(elapsed, (DWORD)(rounds * 250 / 2));
    EXPECT_LT(ThreadCpuMilliseconds() - cpuBefore, 100u);
}

}  // namespace
