// The unit's host window and engine view against the stand-in engine: the
// order of engine calls at creation, input, resizing, destruction, and the
// run-time effect of the properties.
#include "webview_test_support.h"

#include "webview/commands.h"
#include "webview/saved_properties.h"
#include "webview/view_events.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace webviewtest;

namespace {

// The engine calls of a log (lines naming an export), with the view handle
// replaced by "V" so that expectations read the same for every view.
std::vector<std::string> EngineCalls(const std::vector<std::string>& log, wkeWebView view) {
    std::vector<std::string> calls;
    std::string handle = " " + Num(view);
    for (std::string line : log) {
        if (line.compare(0, 3, "wke") != 0) continue;
        size_t at = line.find(handle);
        if (at != std::string::npos && (at + handle.size() == line.size() || line[at + handle.size()] == ' '))
            line.replace(at, handle.size(), " V");
        calls.push_back(line);
    }
    return calls;
}

class WebViewHostTest : public testing::Test {
protected:
    void SetUp() override { EngineChannel::Get(); }

    // Makes the next view the first of a fresh engine, whatever views came
    // before: the engine's channel opens with its first view, and the
    // stand-in then forgets that it was initialised.
    void FreshEngine(HWND form) {
        ASSERT_NE(CreateUnit(form, 9, 99), nullptr);
        ASSERT_EQ(channel.SendFirstLine("forgetinit"), "OK");
        channel.ClearLog();
    }

    EngineChannel& channel = EngineChannel::Get();
};

const char kFirstInitialisation[] = "wkeInitializeEx mask=4 reserved-zero=1";

TEST_F(WebViewHostTest, CreationCallsTheEngineInItsOrder) {
    TestForm form;
    SavedUnitProperties saved;
    saved.url = "about:blank";
    saved.userAgent = "TestAgent/1.0";
    saved.cacheFolder = "C:\\cache\\";
    saved.cookieFolder = "C:\\cookies\\";
    saved.allowNewWindows = 0;
    std::string data = WriteSavedProperties(saved);
    FreshEngine(form.window());
    HWND unit = CreateUnit(form.window(), 1, 1, data, 400, 300);
    ASSERT_NE(unit, nullptr);
    wkeWebView view = StateOfUnit(unit)->view();
    std::vector<std::string> calls = EngineCalls(channel.Log(), view);
    std::vector<std::string> expected = {
        "wkeIsInitialize 0",
        kFirstInitialisation,
        "wkeCreateWebWindow 2 " + Num((uintptr_t)unit) + " 0 0 400 300",
        "wkeShowWindow V 1",
        "wkeSetTransparent V 0",
        "wkeGetWindowHandle V",
        "wkeOnPaintUpdated V set",
        "wkeSetCspCheckEnable V 0",
        "wkeSetNpapiPluginsEnabled V 1",
        "wkeSetNavigationToNewWindowEnable V 1",
        "wkeGetWindowHandle V",
        "wkeSetUserAgent V TestAgent/1.0",
        "wkeSetLocalStorageFullPath V C:\\cache\\",
        "wkeSetCookieJarPath V C:\\cookies\\",
        "wkeLoadURL V about:blank",
        "wkeSetNavigationToNewWindowEnable V 0",
        "wkeOnTitleChanged V set",
        "wkeOnMouseOverUrlChanged V set",
        "wkeOnURLChanged2 V set",
        "wkeOnAlertBox V set",
        "wkeOnConfirmBox V set",
        "wkeOnPromptBox V set",
        "wkeOnNavigation V set",
        "wkeOnCreateView V set",
        "wkeOnDocumentReady2 V set",
        "wkeOnLoadingFinish V set",
        "wkeOnDownload V set",
        "wkeOnConsole V set",
        "wkeOnLoadUrlBegin V set",
        "wkeOnLoadUrlEnd V set",
    };
    EXPECT_EQ(calls, expected);
}

TEST_F(WebViewHostTest, LaterViewsDoNotInitialiseTheEngineAgain) {
    TestForm form;
    FreshEngine(form.window());
    for (uint32_t id = 1; id <= 3; ++id) ASSERT_NE(CreateUnit(form.window(), 2, id), nullptr);
    EXPECT_EQ(channel.LogLinesStarting("wkeIsInitialize"),
              (std::vector<std::string>{"wkeIsInitialize 0", "wkeIsInitialize 1", "wkeIsInitialize 1"}));
    EXPECT_EQ(channel.LogLinesStarting("wkeInitializeEx"), std::vector<std::string>{kFirstInitialisation});
}

TEST_F(WebViewHostTest, ViewWindowClassGainsDoubleClicksAndKeepsItsOtherStyles) {
    TestForm form;
    HWND unit = CreateUnit(form.window(), 3, 1);
    ASSERT_NE(unit, nullptr);
    HWND viewWindow = StateOfUnit(unit)->viewWindow;
    ASSERT_TRUE(IsWindow(viewWindow));
    EXPECT_EQ(GetParent(viewWindow), unit);
    // The stand-in registers its class with CS_HREDRAW | CS_VREDRAW only.
    EXPECT_EQ(GetClassLongPtrW(viewWindow, GCL_STYLE), (ULONG_PTR)(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
}

TEST_F(WebViewHostTest, RealDoubleClickReachesTheView) {
    TestForm form;
    HWND unit = CreateUnit(form.window(), 4, 1);
    ASSERT_NE(unit, nullptr);
    EventRecorder events(4, 1);
    events.Answer(kEventLeftButtonDoubleClick, std::nullopt);
    PumpMessages(200);
    channel.ClearLog();
    ASSERT_EQ(channel.SendFirstLine("dblclick 60 40"), "OK");
    PumpUntil([&]() { return !events.Of(kEventLeftButtonDoubleClick).empty(); }, 3000);
    PumpMessages(100);
    auto clicks = events.Of(kEventLeftButtonDoubleClick);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].ints[0], 60);
    EXPECT_EQ(clicks[0].ints[1], 40);
    std::vector<std::string> seen = channel.LogLinesStarting("input WM_LBUTTONDBLCLK");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], "input WM_LBUTTONDBLCLK " + Num(StateOfUnit(unit)->view()) + " 1 60 40");
}

TEST_F(WebViewHostTest, ViewInputMessagesRaiseTheirEventsWithPositionsAndKeys) {
    struct {
        const char* name;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        int event;  // -1: no event, the message goes on unchanged
        std::vector<int64_t> ints;
    } cases[] = {
        {"mouse move", WM_MOUSEMOVE, 0, MAKELPARAM(5, 6), kEventMouseMove, {5, 6, 0}},
        {"left down", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 8), kEventLeftButtonDown, {7, 8, 0}},
        {"left up", WM_LBUTTONUP, 0, MAKELPARAM(9, 10), kEventLeftButtonUp, {9, 10, 0}},
        {"left double", WM_LBUTTONDBLCLK, 0, MAKELPARAM(-3, 4), kEventLeftButtonDoubleClick, {-3, 4, 0}},
        {"right down", WM_RBUTTONDOWN, 0, MAKELPARAM(1, 2), kEventRightButtonDown, {1, 2, 0}},
        {"right up", WM_RBUTTONUP, 0, MAKELPARAM(3, 4), kEventRightButtonUp, {3, 4, 0}},
        {"key down", WM_KEYDOWN, 'Q', 0, kEventKeyDown, {'Q', 0}},
        {"system key up", WM_SYSKEYUP, VK_F10, 0, kEventKeyUp, {VK_F10, 0}},
        {"vertical scroll", WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 42), 0, kEventCharInput, {42, 0}},
        {"focus gained", WM_SETFOCUS, 0, 0, kEventFocusGained, {}},
        {"focus lost", WM_KILLFOCUS, 0, 0, kEventFocusLost, {}},
        {"middle down", WM_MBUTTONDOWN, 0, MAKELPARAM(1, 1), -1, {}},
    };
    TestForm form;
    HWND unit = CreateUnit(form.window(), 15, 1);
    ASSERT_NE(unit, nullptr);
    EventRecorder events(15, 1);
    for (int number = kEventLeftButtonDown; number <= kEventCharInput; ++number) events.Answer(number, 0);
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        events.seen.clear();
        channel.ClearLog();
        // Every one of these reaches the view through the host window.
        SendMessageW(unit, c.message, c.wParam, c.lParam);
        size_t reachedEngine = channel.LogLinesStarting("input ").size();
        if (c.event < 0) {
            EXPECT_TRUE(events.seen.empty());
            EXPECT_EQ(reachedEngine, 1u) << "the page still gets it";
            continue;
        }
        ASSERT_EQ(events.seen.size(), 1u);
        EXPECT_EQ(events.seen[0].number, c.event);
        EXPECT_EQ(events.seen[0].ints, c.ints);
        EXPECT_EQ(reachedEngine, 0u) << "the handler's 0 swallows the message";
    }
}

struct CharCase {
    const char* name;
    bool bind;
    std::optional<int> answer;
    const char* reachesView;  // the WM_CHAR line the engine sees, or "" when swallowed
};

TEST_F(WebViewHostTest, CharInputHandlerReplacesOrSwallowsCharacters) {
    const CharCase cases[] = {
        {"no handler", false, std::nullopt, "120"},
        {"no value", true, std::nullopt, "120"},
        {"replace with A", true, 'A', "65"},
        {"swallow", true, 0, ""},
    };
    TestForm form;
    HWND unit = CreateUnit(form.window(), 5, 1);
    ASSERT_NE(unit, nullptr);
    std::string view = Num(StateOfUnit(unit)->view());
    for (const CharCase& c : cases) {
        SCOPED_TRACE(c.name);
        EventRecorder events(5, 1);
        if (c.bind) events.Answer(kEventCharInput, c.answer);
        channel.ClearLog();
        // Through the host window, as keyboard input reaches a child control.
        SendMessageW(unit, WM_CHAR, 'x', 0);
        auto lines = channel.LogLinesStarting("input WM_CHAR");
        if (*c.reachesView) {
            ASSERT_EQ(lines.size(), 1u);
            EXPECT_EQ(lines[0], "input WM_CHAR " + view + " " + c.reachesView + " 0 0");
        } else {
            EXPECT_TRUE(lines.empty());
        }
        if (c.bind) {
            ASSERT_EQ(events.Of(kEventCharInput).size(), 1u);
            EXPECT_EQ(events.Of(kEventCharInput)[0].ints[0], 'x');
        }
    }
}

TEST_F(WebViewHostTest, F5ReloadsEvenWhenKeyDownIsSwallowedUnlessTurnedOff) {
    TestForm form;
    HWND unit = CreateUnit(form.window(), 6, 1);
    ASSERT_NE(unit, nullptr);
    EventRecorder events(6, 1);
    events.Answer(kEventKeyDown, 0);
    HWND viewWindow = StateOfUnit(unit)->viewWindow;
    channel.ClearLog();
    SendMessageW(viewWindow, WM_KEYDOWN, VK_F5, 0);
    EXPECT_EQ(channel.LogLinesStarting("wkeReload").size(), 1u);
    EXPECT_TRUE(channel.LogLinesStarting("input WM_KEYDOWN").empty()) << "the handler's 0 swallows the key";
    PropertyValue on;
    on.number = 1;
    WriteWebViewProperty(unit, kPropertyNoF5Reload, on);
    channel.ClearLog();
    SendMessageW(viewWindow, WM_KEYDOWN, VK_F5, 0);
    EXPECT_TRUE(channel.LogLinesStarting("wkeReload").empty());
}

TEST_F(WebViewHostTest, ResizingTheHostResizesTheView) {
    TestForm form;
    HWND unit = CreateUnit(form.window(), 7, 1);
    ASSERT_NE(unit, nullptr);
    channel.ClearLog();
    MoveWindow(unit, 10, 10, 320, 200, TRUE);
    std::vector<std::string> resizes = channel.LogLinesStarting("wkeResize");
    ASSERT_EQ(resizes.size(), 1u);
    EXPECT_EQ(resizes[0], "wkeResize " + Num(StateOfUnit(unit)->view()) + " 320 200");
    RECT client;
    GetClientRect(StateOfUnit(unit)->viewWindow, &client);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 200);
}

TEST_F(WebViewHostTest, FailedViewCreationLeavesNoHostWindow) {
    TestForm form;
    ASSERT_EQ(channel.SendFirstLine("failcreate"), "OK");
    channel.ClearLog();
    EXPECT_EQ(CreateUnit(form.window(), 8, 1), nullptr);
    EXPECT_EQ(FindWindowExW(form.window(), nullptr, L"TarnwkeCtrl", nullptr), nullptr);
    EXPECT_TRUE(channel.LogLinesStarting("wkeGetWindowHandle").empty());
    EXPECT_EQ(GetWebView(8, 1), 0u);
}

TEST_F(WebViewHostTest, DestroyedHostTakesItsCallbacksBackAndIsReportedOnce) {
    TestForm form;
    HWND unit = CreateUnit(form.window(), 9, 1);
    ASSERT_NE(unit, nullptr);
    wkeWebView view = StateOfUnit(unit)->view();
    EventRecorder events(9, 1);
    events.Answer(kEventConsoleMessage, std::nullopt);
    int destroyed = 0;
    SetUnitDestroyedListener([&](uint32_t formId, uint32_t unitId) {
        if (formId == 9 && unitId == 1) ++destroyed;
    });
    FileDialogUnit = StateOfUnit(unit);
    channel.ClearLog();
    DestroyWindow(unit);
    SetUnitDestroyedListener(nullptr);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(FileDialogUnit, nullptr);
    EXPECT_EQ(GetWebView(9, 1), 0u);
    auto cleared = channel.LogLinesStarting("wkeOnConsole");
    ASSERT_EQ(cleared.size(), 1u);
    EXPECT_EQ(cleared[0], "wkeOnConsole " + Num(view) + " cleared");
    EXPECT_EQ(channel.LogLinesStarting("wkeOnPaintUpdated " + Num(view) + " cleared").size(), 1u);
    // The engine's view outlives the host window; a late message must find no callback.
    EXPECT_EQ(channel.SendFirstLine("@" + Num(view) + " console 1 late"), "OK");
    EXPECT_TRUE(events.Of(kEventConsoleMessage).empty());
    EXPECT_EQ(channel.LogLinesStarting("console " + Num(view) + " no-callback").size(), 1u);
}

TEST_F(WebViewHostTest, DestroyingTheFormEndsEachUnitExactlyOnce) {
    std::map<uint32_t, int> destroyed;
    SetUnitDestroyedListener([&](uint32_t formId, uint32_t unitId) {
        if (formId == 16) ++destroyed[unitId];
    });
    {
        TestForm form;
        ASSERT_NE(CreateUnit(form.window(), 16, 1), nullptr);
        ASSERT_NE(CreateUnit(form.window(), 16, 2), nullptr);
    }
    SetUnitDestroyedListener(nullptr);
    EXPECT_EQ(destroyed, (std::map<uint32_t, int>{{1, 1}, {2, 1}}));
    EXPECT_EQ(GetWebView(16, 1), 0u);
    EXPECT_EQ(GetWebView(16, 2), 0u);
}

TEST_F(WebViewHostTest, UserAgentLabelGivesItsAgentStringAndReloads) {
    TestForm form;
    HWND unit = CreateUnit(form.window(), 10, 1);
    ASSERT_NE(unit, nullptr);
    std::string view = Num(StateOfUnit(unit)->view());
    const std::string ipad =
        "Mozilla/5.0 (iPad; CPU OS 11_0 like Mac OS X) AppleWebKit/604.1.34 (KHTML, like Gecko) Version/11.0 "
        "Mobile/15A5341f Safari/604.1";
    struct {
        std::string written, agent;
    } cases[] = {{"iPad Pro", ipad}, {"ipad pro", "ipad pro"}, {"", ""}};
    for (auto& c : cases) {
        SCOPED_TRACE(c.written);
        channel.ClearLog();
        PropertyValue value;
        value.text = c.written;
        WriteWebViewProperty(unit, kPropertyUserAgent, value);
        std::vector<std::string> calls = EngineCalls(channel.Log(), StateOfUnit(unit)->view());
        EXPECT_EQ(calls, (std::vector<std::string>{"wkeSetUserAgent V " + c.agent, "wkeReload V"}));
        PropertyValue read;
        EXPECT_TRUE(ReadWebViewProperty(unit, kPropertyUserAgent, read));
        EXPECT_EQ(read.text, c.agent);
    }
}

TEST_F(WebViewHostTest, UrlPropertyLoadsUtf8AndEmptyShowsBlankPage) {
    TestForm form;
    HWND unit = CreateUnit(form.window(), 11, 1);
    ASSERT_NE(unit, nullptr);
    wkeWebView view = StateOfUnit(unit)->view();
    channel.ClearLog();
    PropertyValue url;
    url.text = Gbk("http://127.0.0.1:1/中文");
    WriteWebViewProperty(unit, kPropertyUrl, url);
    PropertyValue empty;
    WriteWebViewProperty(unit, kPropertyUrl, empty);
    // The unit command passes its bytes through unconverted.
    LoadUrl(11, 1, Gbk("http://127.0.0.1:1/中文"));
    std::vector<std::string> calls = EngineCalls(channel.Log(), view);
    EXPECT_EQ(calls, (std::vector<std::string>{"wkeLoadURL V http://127.0.0.1:1/中文", "wkeLoadHTML V  ",
                                               "wkeLoadURL V " + Gbk("http://127.0.0.1:1/中文")}));
    EXPECT_EQ(GetWebView(11, 1), view);
    EXPECT_EQ(GetWebView(11, 99), 0u);
}

TEST_F(WebViewHostTest, FolderPropertiesAreNormalisedStoredAndApplied) {
    TestForm form;
    HWND unit = CreateUnit(form.window(), 12, 1);
    ASSERT_NE(unit, nullptr);
    wkeWebView view = StateOfUnit(unit)->view();
    channel.ClearLog();
    PropertyValue cache, cookies, none;
    cache.text = "C:\\launcher_cache";
    cookies.text = "relative";
    WriteWebViewProperty(unit, kPropertyCacheFolder, cache);
    WriteWebViewProperty(unit, kPropertyCookieFolder, cookies);
    WriteWebViewProperty(unit, kPropertyCookieFolder, none);
    EXPECT_EQ(EngineCalls(channel.Log(), view),
              (std::vector<std::string>{"wkeSetLocalStorageFullPath V C:\\launcher_cache\\",
                                        "wkeSetCookieJarPath V relative\\"}));
    PropertyValue read;
    ReadWebViewProperty(unit, kPropertyCacheFolder, read);
    EXPECT_EQ(read.text, "C:\\launcher_cache\\");
    ReadWebViewProperty(unit, kPropertyCookieFolder, read);
    EXPECT_EQ(read.text, "");
}

TEST_F(WebViewHostTest, NewerSavedFormatMakesNoUnit) {
    TestForm form;
    std::string version2 = WriteSavedProperties(SavedUnitProperties());
    version2[0] = 2;
    EXPECT_EQ(CreateUnit(form.window(), 13, 1, version2), nullptr);
    EXPECT_EQ(FindWindowExW(form.window(), nullptr, L"TarnwkeCtrl", nullptr), nullptr);
}

// What the host framework asks of the unit type besides its properties.
TEST_F(WebViewHostTest, FrameworkQueriesAnswerAsTheUnitTypeDoes) {
    TestForm form;
    HWND unit = CreateUnit(form.window(), 15, 1);
    ASSERT_NE(unit, nullptr);
    PropertyValue url;
    url.text = "about:blank";
    WriteWebViewProperty(unit, kPropertyUrl, url);
    for (HWND asked : {unit, form.window()}) {  // a unit, and a window that is none
        for (int number = kPropertyUrl; number <= kPropertyAllowNewWindows; ++number)
            EXPECT_TRUE(WebViewPropertyEditable(asked, number)) << number;
        EXPECT_FALSE(WebViewCustomizeDialogSetup(asked));
    }
    PropertyValue read;
    ReadWebViewProperty(unit, kPropertyUrl, read);
    EXPECT_EQ(read.text, "about:blank") << "the dialog set-up changes nothing";
    const struct {
        int index;
        bool answers;
        int width, height;
    } sizing[] = {{0, true, 200, 100}, {1, false, -1, -1}, {-1, false, -1, -1}};
    for (const auto& row : sizing) {
        int width = -1, height = -1;
        EXPECT_EQ(WebViewSizingQuery(row.index, &width, &height), row.answers) << row.index;
        EXPECT_EQ(width, row.width);
        EXPECT_EQ(height, row.height);
    }
}

TEST_F(WebViewHostTest, DesignerUnitLoadsNothingUntilLiveInDesigner) {
    TestForm form;
    SavedUnitProperties saved;
    saved.url = "about:blank";
    std::string data = WriteSavedProperties(saved);
    UnitCreation creation;
    creation.savedData = data.data();
    creation.savedLength = data.size();
    creation.parent = form.window();
    creation.width = 200;
    creation.height = 100;
    creation.formId = 14;
    creation.unitId = 1;
    creation.inDesigner = true;
    channel.ClearLog();
    HWND unit = CreateWebViewUnit(creation);
    ASSERT_NE(unit, nullptr);
    EXPECT_TRUE(channel.LogLinesStarting("wkeLoadURL").empty());
    EXPECT_TRUE(channel.LogLinesStarting("wkeOnConsole").empty());
    PropertyValue live;
    live.number = 1;
    WriteWebViewProperty(unit, kPropertyLiveInDesigner, live);
    EXPECT_EQ(channel.LogLinesStarting("wkeLoadURL").size(), 1u);
    PropertyValue read;
    EXPECT_FALSE(ReadWebViewProperty(unit, kPropertyLiveInDesigner, read)) << "this read reports failure";
    EXPECT_EQ(read.number, 1);
}

}  // namespace
