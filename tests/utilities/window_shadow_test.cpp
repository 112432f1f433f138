// The drop shadow window: its place around the target, following moves,
// sizes and visibility, the single level of subclassing and its removal.
#include <gtest/gtest.h>

#include <string>

#include "support/gdiplus_for_tests.h"
#include "support/test_support.h"
#include "utilities/shadow_properties.h"
#include "utilities/window_shadow.h"

namespace {

struct Rect {
    int left, top, width, height;
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
};

std::ostream& operator<<(std::ostream& out, const Rect& r) {
    return out << r.width << "x" << r.height << " at " << r.left << "," << r.top;
}

Rect WindowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

LRESULT CALLBACK TargetProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A shown top-level window that never takes the activation (Wine waits
// about 2 s whenever an active window is hidden without a window manager).
class TargetWindow {
public:
    explicit TargetWindow(int left = 100, int top = 100, int width = 960, int height = 540) {
        static const bool registered = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = TargetProc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "ShadowTestTarget";
            return RegisterClassA(&wc) != 0;
        }();
        (void)registered;
        hwnd_ = CreateWindowExA(WS_EX_NOACTIVATE, "ShadowTestTarget", "target", WS_POPUP, left, top, width, height,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ShowWindow(hwnd_, SW_SHOWNA);
    }
    ~TargetWindow() { DestroyWindow(hwnd_); }
    HWND Get() const { return hwnd_; }
    HWND Shadow() const { return reinterpret_cast<HWND>(GetShadowProperty(hwnd_, kShadowWindowProperty)); }

private:
    HWND hwnd_;
};

class WindowShadow : public testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::StartGdiplusOnce(); }
    void TearDown() override { testsupport::DiscardPendingMessages(); }
};

TEST_F(WindowShadow, ShadowWindowSurroundsTheTargetByItsSize) {
    const struct {
        std::optional<int> size;
        Rect expected;
    } cases[] = {
        {10, {90, 90, 980, 560}},
        {std::nullopt, {95, 95, 970, 550}},  // 5 pixels when no size is given
        {1, {99, 99, 962, 542}},
    };
    for (const auto& c : cases) {
        TargetWindow target;
        ASSERT_TRUE(SetWindowShadow(target.Get(), 0, c.size));
        HWND shadow = target.Shadow();
        ASSERT_TRUE(IsWindow(shadow));
        EXPECT_EQ(WindowRect(shadow), c.expected);
        EXPECT_TRUE(IsWindowVisible(shadow));
        EXPECT_EQ(GetWindow(shadow, GW_OWNER), target.Get());
        char className[64] = {};
        GetClassNameA(shadow, className, sizeof className);
        EXPECT_STREQ(className, "Lumen.Shadow");
        EXPECT_EQ(GetWindowLongA(shadow, GWL_EXSTYLE) & (WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT),
                  WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT);
        EXPECT_TRUE(GetWindowLongA(shadow, GWL_STYLE) & WS_DISABLED);
        EXPECT_EQ(GetShadowProperty(shadow, kShadowSizeProperty), uintptr_t(c.size.value_or(5)));
        // Only the frame around the target belongs to the shadow window.
        int s = c.size.value_or(5);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(shadow, region), ERROR);
        EXPECT_TRUE(PtInRegion(region, s - 1, s - 1));
        EXPECT_TRUE(PtInRegion(region, c.expected.width - 1, c.expected.height / 2));
        EXPECT_FALSE(PtInRegion(region, s, s));
        EXPECT_FALSE(PtInRegion(region, c.expected.width / 2, c.expected.height / 2));
        DeleteObject(region);
    }
}

TEST_F(WindowShadow, ShadowFollowsMovesSizesAndVisibility) {
    TargetWindow target;
    ASSERT_TRUE(SetWindowShadow(target.Get(), 0, 10));
    HWND shadow = target.Shadow();

    SetWindowPos(target.Get(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(WindowRect(shadow), (Rect{290, 190, 980, 560}));
    SetWindowPos(target.Get(), nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(WindowRect(shadow), (Rect{290, 190, 420, 320}));

    ShowWindow(target.Get(), SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(shadow));
    ShowWindow(target.Get(), SW_SHOWNA);
    EXPECT_TRUE(IsWindowVisible(shadow));

    ShowWindow(target.Get(), SW_SHOWMINNOACTIVE);
    EXPECT_FALSE(IsWindowVisible(shadow)) << "minimised";
    ShowWindow(target.Get(), SW_SHOWNOACTIVATE);
    EXPECT_TRUE(IsWindowVisible(shadow)) << "restored";
    EXPECT_EQ(WindowRect(shadow), (Rect{290, 190, 420, 320}));

    SetWindowLongA(target.Get(), GWL_STYLE, GetWindowLongA(target.Get(), GWL_STYLE) | WS_MAXIMIZE);
    SendMessageA(target.Get(), WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(400, 300));
    EXPECT_FALSE(IsWindowVisible(shadow)) << "maximised";
    SetWindowLongA(target.Get(), GWL_STYLE, GetWindowLongA(target.Get(), GWL_STYLE) & ~WS_MAXIMIZE);
    SendMessageA(target.Get(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(400, 300));
    EXPECT_TRUE(IsWindowVisible(shadow)) << "restored from maximised";
}

TEST_F(WindowShadow, SecondCallKeepsOneShadowAndOneSubclassLevelAndTakesTheNewSize) {
    TargetWindow target;
    WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongA(target.Get(), GWL_WNDPROC));
    ASSERT_TRUE(SetWindowShadow(target.Get(), 0, 10));
    HWND first = target.Shadow();
    ASSERT_TRUE(SetWindowShadow(target.Get(), RGB(255, 0, 0), 5));
    EXPECT_EQ(target.Shadow(), first);
    EXPECT_EQ(WindowRect(first), (Rect{95, 95, 970, 550}));
    EXPECT_EQ(GetShadowProperty(first, kShadowColorProperty), uintptr_t(RGB(255, 0, 0)));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongA(target.Get(), GWL_WNDPROC)), ShadowSubclassProc);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetShadowProperty(target.Get(), kShadowProcProperty)), original);

    // Removal destroys the shadow and puts the window's own procedure back.
    EXPECT_FALSE(SetWindowShadow(target.Get(), 0, 0));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongA(target.Get(), GWL_WNDPROC)), original);
    EXPECT_EQ(GetPropA(target.Get(), kShadowWindowProperty), nullptr);
    EXPECT_EQ(GetPropA(target.Get(), kShadowProcProperty), nullptr);

    // A shadow can be attached again after its removal.
    ASSERT_TRUE(SetWindowShadow(target.Get(), 0, 10));
    EXPECT_EQ(WindowRect(target.Shadow()), (Rect{90, 90, 980, 560}));
}

TEST_F(WindowShadow, ShadowNeverTakesTheActivationFromItsWindow) {
    TargetWindow target;
    SetWindowLongA(target.Get(), GWL_EXSTYLE, 0);
    SetActiveWindow(target.Get());
    ASSERT_EQ(GetActiveWindow(), target.Get());
    ASSERT_TRUE(SetWindowShadow(target.Get(), 0, 10));
    EXPECT_EQ(GetActiveWindow(), target.Get());
    EXPECT_TRUE(IsWindowVisible(target.Shadow()));
}

TEST_F(WindowShadow, RefusalsChangeNothing) {
    TargetWindow target;
    WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongA(target.Get(), GWL_WNDPROC));
    for (int size : {0, -4}) {
        EXPECT_FALSE(SetWindowShadow(target.Get(), 0, size)) << "removal without a shadow, size " << size;
        EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongA(target.Get(), GWL_WNDPROC)), original);
        EXPECT_EQ(target.Shadow(), nullptr);
    }
    HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    EXPECT_FALSE(SetWindowShadow(gone, 0, 10));
    EXPECT_FALSE(SetWindowShadow(nullptr, 0, 10));
}

TEST_F(WindowShadow, EmptyTargetRectangleLeavesTheShadowWhereItWas) {
    TargetWindow target;
    ASSERT_TRUE(SetWindowShadow(target.Get(), 0, 10));
    SetWindowPos(target.Get(), nullptr, 0, 0, 0, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(WindowRect(target.Shadow()), (Rect{90, 90, 980, 560}));
}

}  // namespace
