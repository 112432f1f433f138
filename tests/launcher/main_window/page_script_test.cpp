// Page scripts from any thread reach the view on the UI thread and bring
// their own value back; values put into scripts are escaped.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "launcher/app/globals.h"
#include "launcher/main_window/main_window.h"
#include "launcher/main_window/page_script.h"
#include "launcher/ui/tray_icon.h"
#include "support/test_support.h"
#include "utilities/process_windows.h"
#include "webview/engine_loader.h"
#include "webview_test_support.h"

namespace {

using webviewtest::EngineChannel;

// Where the JavaScript string literal that starts at the quote text[0] ends,
// read as the engine reads it: after code page 936 made UTF-16 of it.
size_t LiteralEnd(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(MultiByteToWideChar(936, 0, text.data(), (int)text.size(), &wide[0], (int)wide.size()));
    for (size_t at = 1; at < wide.size(); ++at) {
        if (wide[at] == L'\\')
            ++at;
        else if (wide[at] == wide[0])
            return at + 1 == wide.size() ? text.size() : at;
        else if (wide[at] == L'\n' || wide[at] == L'\r')
            return at;
    }
    return std::string::npos;
}

TEST(ScriptText, EscapesWhatWouldEndTheStringAndKeepsTwoByteCharactersWhole) {
    const struct {
        const char* value;
        const char* escaped;
    } table[] = {
        {"plain 2372 text.rpf", "plain 2372 text.rpf"},  // the common case is unchanged
        {"it's", "it\\'s"},
        {"say \"hi\"", "say \\\"hi\\\""},
        {"a\\b", "a\\\\b"},
        {"line\r\nbreak", "line\\r\\nbreak"},
        {"tab\tnul\x01", "tab\\x09nul\\x01"},
        {"\xD6\xD0\xCE\xC4", "\xD6\xD0\xCE\xC4"},           // 中文
        {"\x81\x5C'", "\x81\x5C\\'"},                       // 乗: its trail byte is no backslash
        {"\xFE\x5C\"", "\xFE\x5C\\\""},                     // the highest lead byte, the same
        {"\x81'); alert(1);//", "\\x81\\'); alert(1);//"},  // a lone lead byte cannot swallow the escape
        {"\x81\x7F", "\\x81\\x7F"},                         // 0x7F ends no character
        {"end\x81", "end\\x81"},                            // nor does the closing quote
        {"');alert(document.cookie);('", "\\');alert(document.cookie);(\\'"},
    };
    for (const auto& row : table) {
        const std::string escaped = ScriptText(row.value);
        EXPECT_EQ(escaped, row.escaped) << testsupport::Hex(row.value);
        for (const char* quote : {"'", "\""}) {
            const std::string literal = quote + escaped + quote;
            EXPECT_EQ(LiteralEnd(literal), literal.size()) << testsupport::Hex(literal);
        }
    }
}

class PageScript : public testing::Test {
protected:
    static void SetUpTestSuite() { EngineChannel::Get(); }
    void SetUp() override {
        CreateGlobals();
        FiveMFolder = folder.Path();
        SetEngineDllPath(testsupport::BinDir() + "\\node.dll");
    }
    void TearDown() override {
        MainWindow.Destroy();
        EngineChannel::Get().SendWithoutPumping("jsclear");
        testsupport::DiscardPendingMessages();
    }
    testsupport::TempFolder folder;
};

TEST_F(PageScript, BeforeTheViewExistsNothingRunsAndTheResultIsEmpty) {
    EngineChannel::Get().ClearLog();
    EXPECT_EQ(RunPageScript("1 + 1"), "");
    EXPECT_TRUE(EngineChannel::Get().LogLinesStarting("wkeRunJSW").empty());
}

TEST_F(PageScript, ScriptsFromTwoThreadsAtOnceEachGetTheirOwnValue) {
    ASSERT_TRUE(LoadMainWindow());
    ASSERT_NE(MainWindow.webview, nullptr);
    EngineChannel::Get().SendWithoutPumping("jsrule first()\tone");
    EngineChannel::Get().SendWithoutPumping("jsrule second()\ttwo");
    constexpr int kRounds = 25;
    std::atomic<int> wrong{0}, done{0};
    auto caller = [&](const char* script, const char* expected) {
        for (int i = 0; i < kRounds; ++i)
            if (RunPageScript(script) != expected) ++wrong;
        ++done;
    };
    std::thread a(caller, "first()", "one"), b(caller, "second()", "two");
    // This thread is the UI thread: it runs both threads' scripts.
    EXPECT_TRUE(webviewtest::PumpUntil([&] { return done == 2; }, 60000));
    a.join();
    b.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(EngineChannel::Get().LogLinesStarting("wkeRunJSW").size(), 2u * kRounds);
    // On the UI thread itself the script runs inside the call.
    EXPECT_EQ(RunPageScript("first()"), "one");
}

TEST_F(PageScript, ChineseTextReachesThePageAsTheSameCharacters) {
    ASSERT_TRUE(LoadMainWindow());
    EngineChannel::Get().ClearLog();
    // "Swal.fire('安装成功')" in GBK; the engine logs what it got as UTF-8.
    RunPageScript("Swal.fire('\xB0\xB2\xD7\xB0\xB3\xC9\xB9\xA6')");
    std::vector<std::string> runs = EngineChannel::Get().LogLinesStarting("wkeRunJSW");
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_NE(runs[0].find("Swal.fire('\xE5\xAE\x89\xE8\xA3\x85\xE6\x88\x90\xE5\x8A\x9F')"), std::string::npos)
        << runs[0];
}

// The shell reports a click on the tray icon to the window; every kind of
// click opens the same menu, read here while it is open.
using MainWindowTray = PageScript;

// The captions of this process's open pop-up menu, which is then closed;
// empty when none opens before stop is set or 10 s have passed.
std::vector<std::string> ReadAndCloseMenu(const std::atomic<bool>& stop) {
    for (DWORD start = GetTickCount(); !stop && GetTickCount() - start < 10000; Sleep(20)) {
        HWND menu = FindProcessWindow(GetCurrentProcessId(), [](HWND window) {
            char name[16] = {};
            GetClassNameA(window, name, sizeof name);
            return std::string(name) == "#32768" && IsWindowVisible(window);
        });
        if (!menu) continue;
        std::vector<std::string> captions;
        HMENU items = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(items); ++i) {
            char caption[64] = {};
            GetMenuStringA(items, i, caption, sizeof caption, MF_BYPOSITION);
            captions.push_back(caption);
        }
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        return captions;
    }
    return {};
}

TEST_F(MainWindowTray, AnyClickOnTheIconOpensTheMenuWithItsTwoItems) {
    ASSERT_TRUE(LoadMainWindow());
    ShowMainWindowTrayIcon();
    const std::vector<std::string> menu = {"\xCF\xD4\xCA\xBE\xD6\xF7\xBD\xE7\xC3\xE6",  // 显示主界面
                                           "\xCD\xCB\xB3\xF6"};                         // 退出
    const struct {
        UINT mouse;
        bool opens;
    } clicks[] = {{WM_LBUTTONUP, true},   {WM_LBUTTONDBLCLK, true}, {WM_RBUTTONUP, true},
                  {WM_CONTEXTMENU, true}, {WM_MOUSEMOVE, false},    {WM_LBUTTONDOWN, false}};
    for (const auto& click : clicks) {
        std::atomic<bool> stop{false};
        std::vector<std::string> seen;
        std::thread reader([&] { seen = ReadAndCloseMenu(stop); });
        // As the shell sends it; the menu runs inside this call until closed.
        SendMessageA(MainWindow.Handle(), kTrayMessage, 1, click.mouse);
        stop = true;
        reader.join();
        EXPECT_EQ(seen, click.opens ? menu : std::vector<std::string>{}) << "mouse message " << click.mouse;
    }
    MainWindow.托盘.Remove();
}

}  // namespace
