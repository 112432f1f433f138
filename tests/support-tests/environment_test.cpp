// The launcher serves users whose ANSI code page is 936; every GBK-aware test
// means something only when the harness really provides it.
#include <gtest/gtest.h>
#include <windows.h>

TEST(TestEnvironment, AnsiCodePageIsGbk) {
    EXPECT_EQ(GetACP(), 936u) << "the test harness must start Wine in a Chinese locale";
}

TEST(TestEnvironment, DisplayIsAvailableForWindows) {
    HWND hwnd = CreateWindowExA(0, "STATIC", "probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    DestroyWindow(hwnd);
}
