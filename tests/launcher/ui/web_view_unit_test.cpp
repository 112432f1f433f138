// The web view control hosted by the launcher's window layer: its events
// reach handlers set on the unit, and a closed window takes them along.
#include <gtest/gtest.h>
#include <windows.h>

#include "launcher/ui/web_view_unit.h"
#include "launcher/ui/window.h"
#include "webview_test_support.h"

using namespace webviewtest;

namespace {

WindowLayout PageWindowLayout() {
    WindowLayout layout;
    layout.window = {
        "Quillmere.WebViewUnitTest", "page", 20, 20, 640, 400, WS_POPUP, 0, RGB(0, 0, 0), "Arial", 14, false};
    return layout;
}

std::string AtView(HWND control, const std::string& command) {
    return "@" + std::to_string(StateOfUnit(control)->view()) + " " + command;
}

}  // namespace

TEST(WebViewUnit, ConsoleMessagesReachTheHandlerSetOnTheUnitAsGbk) {
    EngineChannel& channel = EngineChannel::Get();
    Window window(PageWindowLayout());
    ASSERT_TRUE(window.Load(false));
    WebViewUnit* webview = WebViewUnit::Create(&window, "webview", 7, 1, 0, 0, 640, 400);
    ASSERT_NE(webview, nullptr);
    EXPECT_EQ(window.FindUnit("webview"), webview);
    EXPECT_EQ(GetParent(webview->Handle()), window.Handle());

    std::string message;
    DWORD handlerThread = 0;
    webview->On(kEventConsoleMessage, [&](UnitEvent& event) -> std::optional<int> {
        message = event.Text(2);  // after the level and the source line
        handlerThread = GetCurrentThreadId();
        return std::nullopt;
    });
    ASSERT_EQ(channel.SendFirstLine(AtView(webview->Handle(), "console 2 action:startGame|中文")), "OK");
    EXPECT_TRUE(PumpUntil([&] { return !message.empty(); }, 5000));
    EXPECT_EQ(message, Gbk("action:startGame|中文"));
    EXPECT_EQ(handlerThread, GetCurrentThreadId());

    // A cleared handler no longer runs. The engine answers the command once
    // it has run it on this thread, and logs that it called into the unit.
    webview->On(kEventConsoleMessage, nullptr);
    message.clear();
    channel.ClearLog();
    ASSERT_EQ(channel.SendFirstLine(AtView(webview->Handle(), "console 1 again")), "OK");
    std::string view = std::to_string(StateOfUnit(webview->Handle())->view());
    EXPECT_EQ(channel.LogLinesStarting("console " + view), std::vector<std::string>{"console " + view + " delivered"});
    EXPECT_TRUE(message.empty());
    window.Destroy();
}

TEST(WebViewUnit, ClosingTheWindowDropsTheUnitsHandlers) {
    EngineChannel::Get();
    int raised = 0;
    {
        Window window(PageWindowLayout());
        ASSERT_TRUE(window.Load(false));
        WebViewUnit* webview = WebViewUnit::Create(&window, "webview", 7, 2, 0, 0, 320, 200);
        ASSERT_NE(webview, nullptr);
        webview->On(kEventConsoleMessage, [&](UnitEvent&) -> std::optional<int> { return ++raised; });
        window.Destroy();
    }
    UnitEvent event;
    event.formId = 7;
    event.unitId = 2;
    event.number = kEventConsoleMessage;
    EXPECT_FALSE(RaiseUnitEvent(event).handled);
    EXPECT_EQ(raised, 0);
}
