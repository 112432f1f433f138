// The stand-in engine with the page host: a web view shows the real
// launcher page of the local service in a headless Chromium. The page's
// requests take the view's request path, its console comes back as events,
// scripts run against the real jQuery and SweetAlert2, and the view paints
// the browser's frames. One browser serves the whole program.
#include "webview_test_support.h"

#include "support/linux_process.h"
#include "support/page_host_client.h"
#include "support/test_support.h"
#include "webview/commands.h"
#include "webview/paint_surface.h"
#include "webview/unit_state.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <set>

using namespace webviewtest;
using testsupport::PageHost;
using testsupport::ScriptServer;
using testsupport::WaitFor;

namespace {

const uint32_t kFormId = 40;
const int kWidth = 1280, kHeight = 720;

std::string SourceFile(const std::string& relative) {
    const char* source = getenv("QM_SOURCE_DIR");
    return testsupport::ReadFileBytes(testsupport::WindowsPath(std::string(source ? source : "") + "/" + relative));
}

// What the page's own HTML asks for: its src= and href= references.
std::set<std::string> PageReferences() {
    std::set<std::string> references;
    std::string html = SourceFile("stand-ins/page/index.html");
    std::regex reference("(?:src|href)=\"([^\"#]+)\"");
    for (std::sregex_iterator it(html.begin(), html.end(), reference), end; it != end; ++it)
        references.insert((*it)[1]);
    return references;
}

class PageHostTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        EngineChannel::Get();
        host = new PageHost();
        serviceFolder = new testsupport::TempFolder();
        service = new ScriptServer(
            "stand-ins/service/service.py --port 0 --root . --info-file service.info "
            "--max-seconds 600",
            serviceFolder->Path(), "service.info");
        form = new TestForm(kWidth + 20, kHeight + 20);
    }
    static void TearDownTestSuite() {
        delete form;
        delete service;
        delete serviceFolder;
        delete host;
    }

    void SetUp() override {
        ASSERT_TRUE(host->Running()) << "the page host did not start (is chromium installed?)";
        ASSERT_NE(service->port(), 0) << "the service did not start";
        unit = CreateUnit(form->window(), kFormId, ++nextUnitId, std::string(), kWidth, kHeight);
        ASSERT_NE(unit, nullptr);
        view = StateOfUnit(unit)->view();
        events = std::make_unique<EventRecorder>(kFormId, nextUnitId);
        events->Answer(kEventConsoleMessage, std::nullopt);
        events->Answer(kEventLoadingFinish, std::nullopt);
        events->Answer(kEventTitleChanged, std::nullopt);
    }
    void TearDown() override {
        events.reset();
        if (unit) DestroyWindow(unit);
    }

    std::string PageUrl() const { return service->Url("/fivem/launcher/?version=1014"); }
    std::string At(const std::string& command) const { return "@" + Num(view) + "\t" + command; }

    // Loads the launcher page into this test's view and waits for the load's end.
    bool LoadPage() {
        LoadUrl(kFormId, nextUnitId, PageUrl());
        return PumpUntil([&] { return !events->Of(kEventLoadingFinish).empty(); }, 30000);
    }
    bool WaitForConsole(const std::string& message) {
        return PumpUntil([&] { return HasConsole(message); }, 15000);
    }
    bool HasConsole(const std::string& message) const {
        for (auto& seen : events->Of(kEventConsoleMessage))
            if (seen.texts.size() >= 1 && seen.texts[0] == message) return true;
        return false;
    }
    // The page host's test control for this test's page.
    std::vector<std::string> Control(const std::vector<std::string>& fields) {
        std::vector<std::string> withView{"@" + Num(view)};
        withView.insert(withView.end(), fields.begin(), fields.end());
        return host->Command(withView);
    }
    std::string RunScript(const std::string& gbkScript) {
        return JsValueToText(GlobalExec(view), RunJs(view, gbkScript));
    }

    static PageHost* host;
    static testsupport::TempFolder* serviceFolder;
    static ScriptServer* service;
    static TestForm* form;
    static uint32_t nextUnitId;
    HWND unit = nullptr;
    wkeWebView view = 0;
    std::unique_ptr<EventRecorder> events;
};
PageHost* PageHostTest::host = nullptr;
testsupport::TempFolder* PageHostTest::serviceFolder = nullptr;
ScriptServer* PageHostTest::service = nullptr;
TestForm* PageHostTest::form = nullptr;
uint32_t PageHostTest::nextUnitId = 0;

TEST_F(PageHostTest, TheRealPageLoadsThroughTheViewsRequestPath) {
    std::vector<std::string> requested;
    std::map<std::string, std::string> bodies;
    std::map<std::string, std::vector<std::string>> heads;
    events->Handle(kEventLoadUrlBegin, [&](UnitEvent& event) -> std::optional<int> {
        requested.push_back(event.Text(0));
        NetHookRequest((wkeNetJob)event.Int(1));
        return std::nullopt;
    });
    events->Handle(kEventLoadUrlEnd, [&](UnitEvent& event) -> std::optional<int> {
        const char* data = reinterpret_cast<const char*>((intptr_t)event.Int(2));
        bodies[event.Text(0)] = std::string(data ? data : "", (size_t)event.Int(3));
        heads[event.Text(0)] = NetGetRawResponseHead((wkeNetJob)event.Int(1));
        return std::nullopt;
    });
    ASSERT_TRUE(LoadPage());
    auto finished = events->Of(kEventLoadingFinish);
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_EQ(finished[0].texts[0], PageUrl());
    EXPECT_EQ(finished[0].ints[0], 0) << "the load succeeded";
    ASSERT_FALSE(events->Of(kEventTitleChanged).empty());
    EXPECT_EQ(events->Of(kEventTitleChanged).back().texts[0], Gbk("Quillmere 启动器"));
    EXPECT_TRUE(WaitForConsole("action:loadVersion")) << "the page asks for the version once it is loaded";

    ASSERT_FALSE(requested.empty());
    EXPECT_EQ(requested[0], PageUrl());
    for (const std::string& reference : PageReferences())
        EXPECT_NE(std::find(requested.begin(), requested.end(), service->Url("/fivem/launcher/" + reference)),
                  requested.end())
            << reference << " passed the view's request path";
    // The hooked responses carry the real bodies and the service's raw headers.
    EXPECT_EQ(bodies[service->Url("/fivem/launcher/launcher.js")], SourceFile("stand-ins/page/launcher.js"));
    EXPECT_EQ(bodies[service->Url("/fivem/launcher/vendor/jquery.min.js")],
              SourceFile("stand-ins/node_modules/jquery/dist/jquery.min.js"));
    const std::vector<std::string>& head = heads[service->Url("/fivem/launcher/launcher.css")];
    bool cssType = false;
    for (size_t i = 0; i + 1 < head.size(); i += 2)
        cssType |= head[i] == "Content-Type" && head[i + 1] == "text/css; charset=utf-8";
    EXPECT_TRUE(cssType) << "raw headers of launcher.css";
    std::vector<std::string> pages = host->Pages();
    EXPECT_NE(std::find(pages.begin(), pages.end(), Num(view) + " " + PageUrl()), pages.end());
    EXPECT_TRUE(host->WaitForPage("/fivem/launcher/", 5000));
    EXPECT_FALSE(host->WaitForPage("/no/such/page/", 100));
}

TEST_F(PageHostTest, WhatTheHookAnswersIsWhatThePageGets) {
    // launcher.js is answered from the hook's data, SweetAlert2 is cancelled.
    const std::string replacement = "window.fromHook = 'served by the hook ' + $.fn.jquery;";
    events->Handle(kEventLoadUrlBegin, [&](UnitEvent& event) -> std::optional<int> {
        const std::string url = event.Text(0);
        wkeNetJob job = (wkeNetJob)event.Int(1);
        if (url.find("/launcher.js") != std::string::npos) {
            NetHookRequest(job);
            NetSetData(job, replacement);
            NetCancelRequest(job);
        } else if (url.find("sweetalert2.min.js") != std::string::npos) {
            NetCancelRequest(job);
        }
        return std::nullopt;
    });
    ASSERT_TRUE(LoadPage());
    std::string jqueryVersion = Control({"eval", "jQuery.fn.jquery"})[1];
    EXPECT_EQ(Control({"eval", "window.fromHook"})[1], "served by the hook " + jqueryVersion);
    EXPECT_EQ(Control({"eval", "typeof sendAction"})[1], "undefined") << "the real launcher.js never ran";
    EXPECT_EQ(Control({"eval", "typeof Swal"})[1], "undefined") << "the cancelled script never arrived";
    EXPECT_FALSE(HasConsole("action:loadVersion"));
}

TEST_F(PageHostTest, ClicksOnThePageComeBackAsConsoleMessages) {
    ASSERT_TRUE(LoadPage());
    // Through the test control, a field value with ":" travels percent-encoded.
    ASSERT_TRUE(host->Type("#server-address", "10.0.0.7:30120|x"));
    ASSERT_TRUE(host->Click(".launch-btn"));
    EXPECT_TRUE(WaitForConsole("action:startGame|10.0.0.7%3A30120%7Cx"));
    // Through the view's window, as a player's mouse: the message goes on to the page.
    std::string point = Control({"eval",
                                 "(function(){var r=document.querySelector('#minimize')"
                                 ".getBoundingClientRect();return Math.round(r.left+r.width/2)+' '+"
                                 "Math.round(r.top+r.height/2);})()"})[1];
    int x = atoi(point.c_str()), y = atoi(point.substr(point.find(' ') + 1).c_str());
    ASSERT_GT(x, 0);
    std::string position = Num(MAKELPARAM(x, y));
    EngineChannel::Get().Send("@" + Num(view) + " send " + Num(WM_LBUTTONDOWN) + " 1 " + position);
    EngineChannel::Get().Send("@" + Num(view) + " send " + Num(WM_LBUTTONUP) + " 0 " + position);
    EXPECT_TRUE(WaitForConsole("action:minimizeWindow"));
    // Keys typed into the view's window reach the focused field of the page.
    ASSERT_TRUE(host->Type("#server-address", "abc"));
    EngineChannel::Get().Send("@" + Num(view) + " send " + Num(WM_CHAR) + " " + Num('1') + " 1");
    EXPECT_TRUE(WaitFor([&] { return host->Eval("$('#server-address').val()") == "abc1"; }, 5000));
    EngineChannel::Get().Send("@" + Num(view) + " send " + Num(WM_KEYDOWN) + " " + Num(VK_BACK) + " 1");
    EngineChannel::Get().Send("@" + Num(view) + " send " + Num(WM_KEYUP) + " " + Num(VK_BACK) + " 1");
    EXPECT_TRUE(WaitFor([&] { return host->Eval("$('#server-address').val()") == "abc"; }, 5000));
    // The banner sends its press and its release.
    ASSERT_TRUE(host->MouseDown(".brand-name"));
    EXPECT_TRUE(WaitForConsole("action:hoverBanner"));
    ASSERT_TRUE(host->MouseUp(".brand-name"));
    EXPECT_TRUE(WaitForConsole("action:releaseBanner"));
    EXPECT_FALSE(host->Click("#no-such-element")) << "a missing element is refused, not clicked somewhere";
    EXPECT_FALSE(host->Click("#refresh-mods")) << "so is one on a tab that is not shown";
    EXPECT_FALSE(HasConsole("action:getModsList"));
}

TEST_F(PageHostTest, ScriptsRunAgainstTheRealLibrariesAndAnswerTheirTextForm) {
    ASSERT_TRUE(LoadPage());
    std::string tabs = Control({"eval", "document.querySelectorAll('.tab').length"})[1];
    ASSERT_NE(tabs, "0");
    struct Case {
        std::string script, expected;
    } cases[] = {
        {"$('.tab').length", tabs},
        {"$('.tab').first().text()", "首页"},
        {"$('#gameversion').html('1014'); $('#gameversion').text() + '!'", "1014!"},
        {Gbk("$('.addons-list').append('<tr><td>中文.rpf</td></tr>'); $('.addons-list td').last().text()"), "中文.rpf"},
        {"({})", "[object Object]"},
        {"null", "null"},
        {"SteamName='player';SteamID='ff';", "ff"},
        {"throw new Error('x')", "undefined"},
        {"var declared = 5; declared * 2", "10"},
        // Line ends, tabs and backslashes cross both ways unharmed.
        {"var s = 'x\ty\\\\z';\n s.length", "5"},
        {"'a\\tb\\\\c\\nd'", "a\tb\\c\nd"},
    };
    for (const Case& c : cases) EXPECT_EQ(RunScript(c.script), c.expected) << c.script;
    EXPECT_EQ(host->Text("#gameversion"), "1014");
    EXPECT_EQ(host->Text("#steam-name"), "player") << "the page shows what the launcher assigned";
    EXPECT_EQ(RunScript("declared"), "5") << "a script's declarations stay global";
}

TEST_F(PageHostTest, DialogsOpenedByScriptAreReadAndAnswered) {
    ASSERT_TRUE(LoadPage());
    EXPECT_FALSE(host->Dialog().open);
    RunScript(
        Gbk("Swal.fire({title: '安装成功', text: '已成功安装去边界补丁', icon: 'success'})"
            ".then(function (r) { console.log('action:answer|' + r.isConfirmed); });"));
    ASSERT_TRUE(host->WaitForDialog(true, 10000));
    testsupport::PageDialog dialog = host->Dialog();
    EXPECT_EQ(dialog.title, "安装成功");
    EXPECT_EQ(dialog.text, "已成功安装去边界补丁");
    EXPECT_EQ(dialog.icon, "success");
    EXPECT_FALSE(host->CancelDialog()) << "this dialog has no cancel button";
    ASSERT_TRUE(host->ConfirmDialog());
    EXPECT_TRUE(WaitForConsole("action:answer|true"));
    EXPECT_TRUE(host->WaitForDialog(false, 10000));

    RunScript(
        "Swal.fire({title: 'Quit?', text: 'FiveM runs', icon: 'warning', showCancelButton: true})"
        ".then(function (r) { console.log('action:second|' + !!r.value); });");
    ASSERT_TRUE(host->WaitForDialog(true, 10000));
    EXPECT_EQ(host->Dialog().icon, "warning");
    ASSERT_TRUE(host->CancelDialog());
    EXPECT_TRUE(WaitForConsole("action:second|false"));
}

TEST_F(PageHostTest, TheViewPaintsTheBrowsersFrames) {
    ASSERT_TRUE(LoadPage());
    PaintSurface* surface = StateOfUnit(unit)->binding->paintSurface.get();
    ASSERT_NE(surface, nullptr);
    // The page's background colour, as the page computes it: "rgb(R, G, B)".
    std::string background = Control({"eval", "getComputedStyle(document.body).backgroundColor"})[1];
    int r = 0, g = 0, b = 0;
    ASSERT_EQ(sscanf(background.c_str(), "rgb(%d, %d, %d)", &r, &g, &b), 3) << background;
    auto similar = [](COLORREF c, int r, int g, int b) {
        return abs(GetRValue(c) - r) < 12 && abs(GetGValue(c) - g) < 12 && abs(GetBValue(c) - b) < 12;
    };
    // A spot of plain background at the bottom right, and the launch button.
    std::string point = Control({"eval",
                                 "(function(){var r=document.querySelector('.launch-btn')"
                                 ".getBoundingClientRect();return Math.round(r.left+10)+' '+"
                                 "Math.round(r.top+r.height/2);})()"})[1];
    int buttonX = atoi(point.c_str()), buttonY = atoi(point.substr(point.find(' ') + 1).c_str());
    EXPECT_TRUE(PumpUntil(
        [&] {
            return similar(GetPixel(surface->memoryDc(), kWidth - 8, kHeight - 40), r, g, b) &&
                   !similar(GetPixel(surface->memoryDc(), buttonX, buttonY), r, g, b);
        },
        15000))
        << "the painted frame shows the page";
    std::set<COLORREF> colours;
    for (int y = 0; y < kHeight; y += 40)
        for (int x = 0; x < kWidth; x += 40) colours.insert(GetPixel(surface->memoryDc(), x, y));
    EXPECT_GT(colours.size(), 10u) << "not a blank frame";
    testsupport::TempFolder shots;
    ASSERT_TRUE(host->Screenshot(shots.File("page.png")));
    EXPECT_EQ(testsupport::ReadFileBytes(shots.File("page.png")).substr(1, 3), "PNG");
}

TEST_F(PageHostTest, AnEmptyUrlBlanksThePage) {
    ASSERT_TRUE(LoadPage());
    PropertyValue url;
    url.text = "";
    WriteWebViewProperty(unit, kPropertyUrl, url);
    ASSERT_TRUE(PumpUntil([&] { return events->Of(kEventLoadingFinish).size() == 2; }, 15000));
    EXPECT_EQ(events->Of(kEventLoadingFinish)[1].texts[0], "about:blank");
    EXPECT_EQ(Control({"eval", "document.body.innerText.trim() + '|' + typeof jQuery"})[1], "|undefined");
}

}  // namespace
