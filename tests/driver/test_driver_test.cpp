// test_driver.exe against windows of this process: what the GUI tests rely on.
// The driver runs on a worker thread while the test's thread keeps its
// windows responsive, as the launcher's UI thread would.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "driver/driver_client.h"
#include "support/test_support.h"

namespace {

using testsupport::ServiceUntil;
using testsupport::WhileServicing;

const char kTitle[] = "driver probe";
int clicks = 0;
bool closeAsked = false;
WNDPROC editProc = nullptr;
LPARAM editPressedAt = -1;

LRESULT CALLBACK EditProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_LBUTTONDOWN) editPressedAt = lParam;
    return CallWindowProcW(editProc, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        ++clicks;
        return 0;
    }
    if (msg == WM_CLOSE) {
        closeAsked = true;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class TestDriver : public testing::Test {
protected:
    void SetUp() override {
        clicks = 0;
        closeAsked = false;
        editPressedAt = -1;
        WNDCLASSA wc{};
        wc.lpfnWndProc = ProbeProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "Quillmere.DriverProbe";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, wc.lpszClassName, kTitle, WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, wc.hInstance,
                                 nullptr);
        edit =
            CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, window, nullptr, nullptr, nullptr);
        // Kept a Unicode window: the typed GBK text arrives as wide characters.
        editProc = (WNDPROC)SetWindowLongPtrW(edit, GWLP_WNDPROC, (LONG_PTR)EditProbeProc);
        button = CreateWindowExA(0, "BUTTON", "Press", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 50, 80, 30, window,
                                 (HMENU)101, nullptr, nullptr);
        hidden = CreateWindowExA(0, "BUTTON", "Hidden", WS_CHILD | BS_PUSHBUTTON, 100, 50, 80, 30, window, (HMENU)102,
                                 nullptr, nullptr);
        // "中文" as a disabled button's caption
        CreateWindowExA(0, "BUTTON", "\xD6\xD0\xCE\xC4", WS_CHILD | WS_VISIBLE | WS_DISABLED, 190, 50, 80, 30, window,
                        (HMENU)103, nullptr, nullptr);
        // Shown without activation: a user can see and click it, and Wine
        // does not wait for a window manager when it goes.
        ShowWindow(window, SW_SHOWNOACTIVATE);
    }
    void TearDown() override { DestroyWindow(window); }

    HWND window = nullptr, edit = nullptr, button = nullptr, hidden = nullptr;
    DWORD pid = GetCurrentProcessId();
};

TEST_F(TestDriver, ListsChildrenWithTextPositionVisibilityAndEnabledState) {
    std::vector<driver::ChildWindow> children;
    WhileServicing([&] { children = driver::ListChildren(pid, kTitle, 2000); });
    ASSERT_EQ(children.size(), 4u);
    const driver::ChildWindow* press = driver::FindByText(children, "Press");
    ASSERT_NE(press, nullptr);
    EXPECT_EQ(press->className, "Button");
    EXPECT_EQ(press->left, 10);
    EXPECT_EQ(press->top, 50);
    EXPECT_EQ(press->width, 80);
    EXPECT_EQ(press->height, 30);
    EXPECT_TRUE(press->visible);
    EXPECT_TRUE(press->enabled);
    const driver::ChildWindow* hiddenButton = driver::FindByText(children, "Hidden");
    ASSERT_NE(hiddenButton, nullptr);
    EXPECT_FALSE(hiddenButton->visible);
    const driver::ChildWindow* chinese = driver::FindByText(children, "\xD6\xD0\xCE\xC4");
    ASSERT_NE(chinese, nullptr);
    EXPECT_FALSE(chinese->enabled);
}

TEST_F(TestDriver, ClicksVisibleButtonsAndRefusesHiddenOrDisabledOnes) {
    bool pressed = false, hiddenPressed = true, disabledPressed = true;
    WhileServicing([&] {
        pressed = driver::ClickButton(pid, kTitle, "Press");
        hiddenPressed = driver::ClickButton(pid, kTitle, "Hidden");
        disabledPressed = driver::ClickButton(pid, kTitle, "\xD6\xD0\xCE\xC4");
    });
    EXPECT_TRUE(pressed);
    EXPECT_FALSE(hiddenPressed);
    EXPECT_FALSE(disabledPressed);
    ServiceUntil([] { return clicks != 0; }, 1000);
    EXPECT_EQ(clicks, 1);
}

// A button is pressed; any other child gets the mouse at that very point
// (a web view's page has its own targets inside the one window).
TEST_F(TestDriver, ClickAtAPointFindsTheChildThereAndPressesAtThePoint) {
    bool pressed = false, pressedEdit = false;
    WhileServicing([&] {
        pressed = driver::ClickAt(pid, kTitle, 20, 60);
        pressedEdit = driver::ClickAt(pid, kTitle, 150, 15);
    });
    EXPECT_TRUE(pressed);
    EXPECT_TRUE(pressedEdit);
    ServiceUntil([] { return clicks != 0 && editPressedAt != -1; }, 1000);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(editPressedAt, MAKELPARAM(140, 5));
}

TEST_F(TestDriver, TypesGbkTextIntoAnEdit) {
    bool typed = false;
    // "FiveM 目录"
    WhileServicing([&] { typed = driver::TypeInto(pid, kTitle, "Edit", 0, "FiveM \xC4\xBF\xC2\xBC"); });
    EXPECT_TRUE(typed);
    char text[64] = {};
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ(text, "FiveM \xC4\xBF\xC2\xBC");
}

TEST_F(TestDriver, AsksTheWindowToClose) {
    bool sent = false;
    WhileServicing([&] { sent = driver::CloseWindow(pid, kTitle); });
    EXPECT_TRUE(sent);
    ServiceUntil([] { return closeAsked; }, 1000);
    EXPECT_TRUE(closeAsked);
}

TEST_F(TestDriver, ReadsAMessageBoxAndPressesOk) {
    driver::MessageBoxText box;
    bool pressed = false;
    std::thread reader([&] {
        box = driver::ReadMessageBox(pid, 10000);
        pressed = driver::PressMessageBoxOk(pid);
    });
    // "错误" / "第一行\n第二行"
    int answer = MessageBoxA(nullptr, "\xB5\xDA\xD2\xBB\xD0\xD0\n\xB5\xDA\xB6\xFE\xD0\xD0", "\xB4\xED\xCE\xF3",
                             MB_OK | MB_TASKMODAL);
    reader.join();
    EXPECT_EQ(answer, IDOK);
    ASSERT_TRUE(box.found);
    EXPECT_TRUE(pressed);
    EXPECT_EQ(box.title, "\xB4\xED\xCE\xF3");
    EXPECT_EQ(box.text, "\xB5\xDA\xD2\xBB\xD0\xD0\\x0A\xB5\xDA\xB6\xFE\xD0\xD0");
}

TEST_F(TestDriver, ReportsAWindowThatIsNotThere) {
    driver::Result result;
    WhileServicing([&] { result = driver::Run({"find", "--title", "no such window 4711", "--timeout", "100"}); });
    EXPECT_EQ(result.exitCode, 1);
}

}  // namespace
