// Engine callbacks become unit events: the engine's answers for each kind of
// handler result, the texts' code pages, page loads with their requests,
// scripts and popups. The stand-in engine plays the page through its
// control channel.
#include "webview_test_support.h"

#include "support/test_support.h"

#include "webview/commands.h"
#include "webview/view_events.h"

#include <gtest/gtest.h>

using namespace webviewtest;

namespace {

class WebViewEventsTest : public testing::Test {
protected:
    void SetUp() override {
        unit = CreateUnit(form.window(), 20, ++nextUnitId);
        ASSERT_NE(unit, nullptr);
        view = StateOfUnit(unit)->view();
        unitId = nextUnitId;
        channel.Send("jsclear");
        // Let the creation's queued work settle before a case starts.
        PumpMessages(30);
    }
    // The channel command for this unit's view.
    std::string At(const std::string& command) { return "@" + Num(view) + " " + command; }
    // Loads a URL from the page's side and waits for the load to end.
    void Navigate(const std::string& url) {
        channel.ClearLog();
        channel.Send(At("navigate " + url));
    }
    void AllowNewWindows(bool allow) {
        PropertyValue value;
        value.number = allow;
        WriteWebViewProperty(unit, kPropertyAllowNewWindows, value);
    }

    static uint32_t nextUnitId;
    EngineChannel& channel = EngineChannel::Get();
    TestForm form;
    HWND unit = nullptr;
    wkeWebView view = 0;
    uint32_t unitId = 0;
};
uint32_t WebViewEventsTest::nextUnitId = 0;

// How a test binds an event's handler.
enum class Binding { None, True, False, NoValue };

struct AnswerCase {
    const char* name;
    int event;
    Binding binding;
    const char* engineAnswer;  // "1" or "0"
};

class WebViewAnswerTest : public WebViewEventsTest, public testing::WithParamInterface<AnswerCase> {
protected:
    // Plays the event from the page and answers what the engine was told.
    std::string Play(int event) {
        switch (event) {
            case kEventNavigation: {
                Navigate("about:blank");
                auto lines = channel.LogLinesStarting("navigation " + Num(view));
                return lines.size() == 1 ? lines[0].substr(lines[0].size() - 1) : "?";
            }
            case kEventConfirmBox: return channel.SendFirstLine(At("confirm sure?")).substr(3);
            case kEventPromptBox: return channel.SendFirstLine(At("prompt name?\tnobody")).substr(3);
            case kEventDownloadRequest:
                return channel.SendFirstLine(At("download http://127.0.0.1:1/file.zip")).substr(3);
            case kEventLoadUrlBegin: {
                Navigate("about:blank");
                auto lines = channel.LogLinesStarting("LoadUrlBegin");
                return lines.size() == 1 ? lines[0].substr(lines[0].size() - 1) : "?";
            }
            case kEventPopupClosing: {
                AllowNewWindows(true);
                std::string popup = channel.SendFirstLine(At("newwindow about:blank 10 10 200 150")).substr(3);
                channel.ClearLog();
                channel.Send("@" + popup + " close");
                std::vector<std::string> lines;
                if (!PumpUntil([&] { return !(lines = channel.LogLinesStarting("closing " + popup)).empty(); }, 5000))
                    return "?";
                // Close an open popup for good, so it does not outlive the case.
                if (lines[0].back() == '0') BindUnitEvent(20, unitId, kEventPopupClosing, nullptr);
                channel.Send("@" + popup + " close");
                PumpMessages(50);
                return lines[0].substr(lines[0].size() - 1);
            }
        }
        return "?";
    }
};

TEST_P(WebViewAnswerTest, EngineGetsTheAnswerOfTheHandlerResult) {
    const AnswerCase& c = GetParam();
    EventRecorder events(20, unitId);
    if (c.binding == Binding::True) events.Answer(c.event, 1);
    if (c.binding == Binding::False) events.Answer(c.event, 0);
    if (c.binding == Binding::NoValue) events.Answer(c.event, std::nullopt);
    EXPECT_EQ(Play(c.event), c.engineAnswer);
    if (c.binding != Binding::None) {
        EXPECT_FALSE(events.Of(c.event).empty()) << "the handler ran";
    }
}

const AnswerCase kAnswerCases[] = {
    {"NavigationUnbound", kEventNavigation, Binding::None, "1"},
    {"NavigationTrue", kEventNavigation, Binding::True, "1"},
    {"NavigationFalse", kEventNavigation, Binding::False, "0"},
    {"NavigationNoValue", kEventNavigation, Binding::NoValue, "1"},
    {"ConfirmUnbound", kEventConfirmBox, Binding::None, "1"},
    {"ConfirmTrue", kEventConfirmBox, Binding::True, "1"},
    {"ConfirmFalse", kEventConfirmBox, Binding::False, "0"},
    {"ConfirmNoValue", kEventConfirmBox, Binding::NoValue, "1"},
    {"PromptUnbound", kEventPromptBox, Binding::None, "1"},
    {"PromptTrue", kEventPromptBox, Binding::True, "1"},
    {"PromptFalse", kEventPromptBox, Binding::False, "0"},
    {"PromptNoValue", kEventPromptBox, Binding::NoValue, "1"},
    {"DownloadUnbound", kEventDownloadRequest, Binding::None, "0"},
    {"DownloadTrue", kEventDownloadRequest, Binding::True, "0"},
    {"DownloadFalse", kEventDownloadRequest, Binding::False, "1"},
    {"DownloadNoValue", kEventDownloadRequest, Binding::NoValue, "0"},
    {"LoadUrlBeginUnbound", kEventLoadUrlBegin, Binding::None, "0"},
    {"LoadUrlBeginTrue", kEventLoadUrlBegin, Binding::True, "1"},
    {"LoadUrlBeginFalse", kEventLoadUrlBegin, Binding::False, "0"},
    {"LoadUrlBeginNoValue", kEventLoadUrlBegin, Binding::NoValue, "1"},
    {"PopupClosingUnbound", kEventPopupClosing, Binding::None, "1"},
    {"PopupClosingTrue", kEventPopupClosing, Binding::True, "1"},
    {"PopupClosingFalse", kEventPopupClosing, Binding::False, "0"},
    {"PopupClosingNoValue", kEventPopupClosing, Binding::NoValue, "1"},
};

INSTANTIATE_TEST_SUITE_P(Answers, WebViewAnswerTest, testing::ValuesIn(kAnswerCases),
                         [](const testing::TestParamInfo<AnswerCase>& info) { return info.param.name; });

TEST_F(WebViewEventsTest, ChineseConsoleMessageArrivesAsGbk) {
    EventRecorder events(20, unitId);
    events.Answer(kEventConsoleMessage, std::nullopt);
    ASSERT_EQ(channel.SendFirstLine(At("console 2 action:中文消息|参数")), "OK");
    auto seen = events.Of(kEventConsoleMessage);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].ints, (std::vector<int64_t>{2, 1}));  // level, source line
    ASSERT_EQ(seen[0].texts.size(), 3u);
    EXPECT_EQ(seen[0].texts[0], Gbk("action:中文消息|参数")) << testsupport::Hex(seen[0].texts[0]);
    EXPECT_EQ(seen[0].texts[1], "stand-in://console");
}

TEST_F(WebViewEventsTest, DialogTextsArriveAsGbk) {
    EventRecorder events(20, unitId);
    events.Answer(kEventAlertBox, std::nullopt);
    events.Answer(kEventPromptBox, std::nullopt);
    channel.Send(At("alert 警告"));
    channel.Send(At("prompt 名字?\t默认"));
    ASSERT_EQ(events.Of(kEventAlertBox).size(), 1u);
    EXPECT_EQ(events.Of(kEventAlertBox)[0].texts, (std::vector<std::string>{Gbk("警告")}));
    ASSERT_EQ(events.Of(kEventPromptBox).size(), 1u);
    EXPECT_EQ(events.Of(kEventPromptBox)[0].texts, (std::vector<std::string>{Gbk("名字?"), Gbk("默认")}));
}

TEST_F(WebViewEventsTest, PageLoadRaisesItsEventsInOrderWithGbkTexts) {
    LocalHttpServer server;
    server.Serve("/page.html", {"<html><head><title>启动器</title><link rel=\"icon\" href=\"/icon.ico\"></head></html>",
                                {{"Content-Type", "text/html; charset=utf-8"}}});
    server.Serve("/icon.ico", {"ICONDATA", {}});
    EventRecorder events(20, unitId);
    for (int number :
         {kEventUrlChanged, kEventTitleChanged, kEventDocumentReady, kEventLoadingFinish, kEventFaviconReceived})
        events.Answer(number, std::nullopt);
    std::string url = server.Url("/page.html");
    Navigate(url);
    PumpUntil([&]() { return !events.Of(kEventFaviconReceived).empty(); }, 3000);
    std::vector<int> order;
    for (auto& seen : events.seen) order.push_back(seen.number);
    EXPECT_EQ(order, (std::vector<int>{kEventUrlChanged, kEventTitleChanged, kEventDocumentReady, kEventLoadingFinish,
                                       kEventFaviconReceived}));
    ASSERT_EQ(events.seen.size(), 5u);
    EXPECT_EQ(events.seen[0].texts, (std::vector<std::string>{url}));
    EXPECT_EQ(events.seen[0].ints, (std::vector<int64_t>{1}));
    EXPECT_EQ(events.seen[1].texts, (std::vector<std::string>{Gbk("启动器")}));
    EXPECT_EQ(events.seen[3].texts, (std::vector<std::string>{url, ""}));
    EXPECT_EQ(events.seen[3].ints, (std::vector<int64_t>{0}));
    EXPECT_EQ(events.seen[4].texts, (std::vector<std::string>{url}));
    EXPECT_EQ(events.seen[4].ints[1], 8) << "the icon's length";
    EXPECT_NE(events.seen[4].ints[0], 0) << "the icon's address";
    PropertyValue title;
    ReadWebViewProperty(unit, kPropertyTitle, title);
    EXPECT_EQ(title.text, "启动器") << "the title reads back as the engine's UTF-8";
}

TEST_F(WebViewEventsTest, RequestUrlsArriveAsGbkAndDownloadUrlsAsUtf8) {
    EventRecorder events(20, unitId);
    events.Answer(kEventLoadUrlBegin, std::nullopt);
    events.Answer(kEventDownloadRequest, std::nullopt);
    Navigate("about:blank?q=中文");
    channel.Send(At("download http://127.0.0.1:1/中文.zip"));
    ASSERT_EQ(events.Of(kEventLoadUrlBegin).size(), 1u);
    EXPECT_EQ(events.Of(kEventLoadUrlBegin)[0].texts[0], Gbk("about:blank?q=中文"));
    ASSERT_EQ(events.Of(kEventDownloadRequest).size(), 1u);
    EXPECT_EQ(events.Of(kEventDownloadRequest)[0].texts[0], "http://127.0.0.1:1/中文.zip");
}

TEST_F(WebViewEventsTest, DataSetAndCancelledRequestNeverReachesTheServer) {
    LocalHttpServer server;
    server.Serve("/cached.html", {"<title>from server</title>", {}});
    EventRecorder events(20, unitId);
    events.Handle(kEventLoadUrlBegin, [](UnitEvent& event) -> std::optional<int> {
        wkeNetJob job = (wkeNetJob)event.Int(1);
        NetHookRequest(job);
        NetSetData(job, "<title>from cache</title>");
        NetCancelRequest(job);
        return std::nullopt;
    });
    events.Answer(kEventTitleChanged, std::nullopt);
    Navigate(server.Url("/cached.html"));
    EXPECT_EQ(server.RequestCount("/cached.html"), 0);
    ASSERT_EQ(events.Of(kEventTitleChanged).size(), 1u);
    EXPECT_EQ(events.Of(kEventTitleChanged)[0].texts[0], "from cache");
}

TEST_F(WebViewEventsTest, HookedRequestDeliversBodyAndRawHeadersAtLoadUrlEnd) {
    LocalHttpServer server;
    const std::string body = "<html><script src=\"app.js\"></script></html>";
    server.Serve("/hooked.html", {body, {{"X-Quillmere-Test", "yes"}, {"Content-Type", "text/html"}}});
    server.Serve("/app.js", {"console.log(1)", {{"Content-Type", "application/javascript"}}});
    std::vector<std::string> headsAtBegin;
    std::map<std::string, std::string> bodies;
    std::map<std::string, std::vector<std::string>> heads;
    EventRecorder events(20, unitId);
    events.Handle(kEventLoadUrlBegin, [&](UnitEvent& event) -> std::optional<int> {
        wkeNetJob job = (wkeNetJob)event.Int(1);
        NetHookRequest(job);
        headsAtBegin = NetGetRawResponseHead(job);
        return std::nullopt;
    });
    events.Handle(kEventLoadUrlEnd, [&](UnitEvent& event) -> std::optional<int> {
        const char* data = reinterpret_cast<const char*>((intptr_t)event.Int(2));
        bodies[event.Text(0)] = std::string(data, (size_t)event.Int(3));
        heads[event.Text(0)] = NetGetRawResponseHead((wkeNetJob)event.Int(1));
        return std::nullopt;
    });
    Navigate(server.Url("/hooked.html"));
    EXPECT_TRUE(headsAtBegin.empty()) << "no head before the response";
    EXPECT_EQ(server.RequestCount("/hooked.html"), 1);
    EXPECT_EQ(server.RequestCount("/app.js"), 1) << "a resource of the page is requested too";
    ASSERT_EQ(bodies.size(), 2u);
    EXPECT_EQ(bodies[server.Url("/hooked.html")], body);
    EXPECT_EQ(bodies[server.Url("/app.js")], "console.log(1)");
    const std::vector<std::string>& head = heads[server.Url("/hooked.html")];
    ASSERT_EQ(head.size() % 2, 0u) << "names and values alternate";
    bool found = false;
    for (size_t i = 0; i + 1 < head.size(); i += 2)
        if (head[i] == "X-Quillmere-Test" && head[i + 1] == "yes") found = true;
    EXPECT_TRUE(found);
}

TEST_F(WebViewEventsTest, NetSetDataSendsTheDataOrTheClampedLength) {
    struct {
        const char* name;
        std::optional<int> length;
        const char* logged;
    } cases[] = {
        {"omitted", std::nullopt, "11 hello world"},
        {"shorter", 5, "5 hello"},
        {"beyond the data", 4096, "11 hello world"},
        {"negative", -3, "0 "},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        EventRecorder events(20, unitId);
        events.Handle(kEventLoadUrlBegin, [&](UnitEvent& event) -> std::optional<int> {
            NetSetData((wkeNetJob)event.Int(1), "hello world", c.length);
            NetCancelRequest((wkeNetJob)event.Int(1));
            return std::nullopt;
        });
        Navigate("about:blank");
        auto lines = channel.LogLinesStarting("wkeNetSetData");
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].substr(lines[0].find(' ', 14) + 1), c.logged);
    }
}

TEST_F(WebViewEventsTest, ChineseScriptReachesTheEngineAsUtf16AndValueTextStaysUtf8) {
    channel.Send("jsrule getName\t名字");
    channel.ClearLog();
    jsExecState state = GlobalExec(view);
    jsValue value = RunJs(view, Gbk("Swal.fire('安装完成'); getName()"));
    std::string text = JsValueToText(state, value);
    auto runs = channel.LogLinesStarting("wkeRunJSW");
    ASSERT_EQ(runs.size(), 1u);
    // The stand-in logs the UTF-16 it received as UTF-8.
    EXPECT_EQ(runs[0], "wkeRunJSW " + Num(view) + " Swal.fire('安装完成'); getName()");
    EXPECT_EQ(text, "名字") << "UTF-8 bytes, unconverted";
    EXPECT_NE(state, 0u);
}

TEST_F(WebViewEventsTest, ScriptsOnViewZeroNeverReachTheEngine) {
    channel.ClearLog();
    EXPECT_EQ(GlobalExec(0), 0u);
    EXPECT_EQ(RunJs(0, "1+1"), 0);
    EXPECT_TRUE(channel.LogLinesStarting("wkeRunJSW").empty());
    EXPECT_TRUE(channel.LogLinesStarting("wkeGlobalExec").empty());
}

TEST_F(WebViewEventsTest, NewWindowIsRefusedWhenNotAllowedOrRefusedByHandler) {
    EventRecorder events(20, unitId);
    events.Answer(kEventCreateView, std::nullopt);
    events.Answer(kEventBeforePopup, std::nullopt);
    AllowNewWindows(false);
    EXPECT_EQ(channel.SendFirstLine(At("newwindow http://127.0.0.1:1/a 1 2 300 200")), "OK 0");
    EXPECT_EQ(events.Of(kEventCreateView).size(), 1u);
    EXPECT_TRUE(events.Of(kEventBeforePopup).empty());
    AllowNewWindows(true);
    events.Answer(kEventCreateView, 0);
    EXPECT_EQ(channel.SendFirstLine(At("newwindow http://127.0.0.1:1/a 1 2 300 200")), "OK 0");
    EXPECT_EQ(events.Of(kEventCreateView).size(), 2u);
    EXPECT_EQ(events.Of(kEventCreateView)[1].texts[0], "http://127.0.0.1:1/a");
    EXPECT_TRUE(events.Of(kEventBeforePopup).empty());
}

TEST_F(WebViewEventsTest, PopupIsMadeWithTheHandlersGeometryAndReportsItsEnd) {
    EventRecorder events(20, unitId);
    events.Handle(kEventBeforePopup, [](UnitEvent& event) -> std::optional<int> {
        event.IntRef(3) = 333;  // width
        return std::nullopt;
    });
    events.Answer(kEventPopupCreated, std::nullopt);
    events.Answer(kEventPopupDestroyed, std::nullopt);
    AllowNewWindows(true);
    channel.ClearLog();
    std::string reply = channel.SendFirstLine(At("newwindow about:blank 15 25 300 200"));
    ASSERT_EQ(reply.rfind("OK ", 0), 0u);
    wkeWebView popup = (wkeWebView)std::stoul(reply.substr(3));
    ASSERT_NE(popup, 0u);
    auto created = channel.LogLinesStarting("wkeCreateWebWindow");
    ASSERT_EQ(created.size(), 1u);
    EXPECT_EQ(created[0], "wkeCreateWebWindow 0 0 15 25 333 200");
    ASSERT_EQ(events.Of(kEventPopupCreated).size(), 1u);
    EXPECT_EQ(events.Of(kEventPopupCreated)[0].ints[0], (int64_t)popup);
    EXPECT_EQ(channel.LogLinesStarting("wkeSetWindowTitleW " + Num(popup))[0],
              "wkeSetWindowTitleW " + Num(popup) + " 岚石Web浏览器");
    EXPECT_EQ(channel.LogLinesStarting("wkeOnWindowClosing " + Num(popup) + " set").size(), 1u);
    auto state = channel.Send("@" + Num(popup) + " state");
    ASSERT_GE(state.size(), 5u);
    HWND popupWindow = (HWND)(uintptr_t)std::stoull(state[4].substr(7));
    ASSERT_TRUE(IsWindow(popupWindow));
    EXPECT_NE(GetPropW(popupWindow, L"LPTarnWEBKIT_EVENT"), nullptr);
    channel.Send("@" + Num(popup) + " close");
    PumpUntil([&]() { return !events.Of(kEventPopupDestroyed).empty(); }, 2000);
    ASSERT_EQ(events.Of(kEventPopupDestroyed).size(), 1u);
    EXPECT_EQ(events.Of(kEventPopupDestroyed)[0].ints[0], (int64_t)popup);
    EXPECT_FALSE(IsWindow(popupWindow));
}

}  // namespace
