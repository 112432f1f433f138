// The launcher page in a real browser (headless Chromium behind the stand-in
// engine): what the launcher writes into the page runs against the page's
// own jQuery and SweetAlert2, and the page's clicks drive the launcher.
#include <gtest/gtest.h>

#include "e2e/e2e_support.h"
#include "e2e/e2e_texts.h"
#include "launcher/ui/tray_icon.h"
#include "support/page_host_client.h"
#include "utilities/path_helpers.h"
#include "utilities/win_handles.h"
#include "webview_test_support.h"

namespace {

using namespace e2e;
using driver::LauncherProcess;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

// Chromium starting and loading the page on a loaded machine.
const DWORD kBrowserStepMs = 2 * kStepMs;

class PageInBrowser : public testing::Test {
protected:
    static void SetUpTestSuite() { host = new testsupport::PageHost(); }
    static void TearDownTestSuite() {
        delete host;
        host = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(host->Running());
        ASSERT_TRUE(service.Running());
        ASSERT_TRUE(InstallClient(folder, "100"));
        // The page asks for the account when it loads; without one the
        // launcher's error dialog would come up amid the scenario.
        ASSERT_TRUE(SetSteamAccount("player", 7));
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Valve"); }

    // The launcher's cover over the page, which the page's Steam request takes away.
    bool PageCovered() {
        for (const driver::ChildWindow& child : driver::ListChildren(launcher.Pid(), kUpdaterTitle))
            if (child.width == 1296 && child.height == 760) return child.visible;
        ADD_FAILURE() << "the main window has no cover";
        return false;
    }

    static testsupport::PageHost* host;
    ProgramFolder folder;
    Service service;
    LauncherProcess launcher;
};

testsupport::PageHost* PageInBrowser::host = nullptr;

TEST_F(PageInBrowser, VersionAndPatchRunThroughThePage) {
    ASSERT_TRUE(CreateDirectoryA(folder.FiveMFile("FiveM.app").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(folder.FiveMFile("FiveM.app\\citizen").c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(folder.FiveMFile("FiveM.app\\citizen\\version.txt"), "2372\r\n"));
    ASSERT_TRUE(launcher.Start(folder.Path()));
    ASSERT_TRUE(host->WaitForPage(kPagePath, kBrowserStepMs));

    // The page asks for the version and the account when it has loaded; the
    // launcher answers with a jQuery call and an assignment, and uncovers the page.
    EXPECT_TRUE(host->WaitForText("#gameversion", "2372", kBrowserStepMs)) << host->Text("#gameversion");
    EXPECT_TRUE(host->WaitForText("#steam-name", "player", kBrowserStepMs)) << host->Text("#steam-name");
    EXPECT_FALSE(PageCovered());

    // The remove-border patch: unpacked into the FiveM folder, and the page's
    // SweetAlert2 dialog says so.
    ASSERT_TRUE(host->Click(".tab[data-tab=addons]"));
    ASSERT_TRUE(host->Click("#remove-border"));
    ASSERT_TRUE(host->WaitForDialog(true, kBrowserStepMs));
    testsupport::PageDialog dialog = host->Dialog();
    EXPECT_EQ(dialog.title, "\xE5\xAE\x89\xE8\xA3\x85\xE6\x88\x90\xE5\x8A\x9F");  // 安装成功
    EXPECT_EQ(dialog.icon, "success");
    EXPECT_TRUE(FileExists(folder.FiveMFile("FiveM.app\\citizen\\platform\\data\\tune\\playerinfo.ymt")));
    EXPECT_TRUE(host->ConfirmDialog());

    // The launcher names a large package when it is in place; the page shows
    // the name as the text it is.
    host->Eval("installPackageCallback('a&amp;b<i>.zip', 'done')");
    EXPECT_TRUE(host->WaitForText(".swal2-toast .swal2-title", "a&amp;b<i>.zip \xE5\xB7\xB2\xE5\xAE\x89\xE8\xA3\x85",
                                  kBrowserStepMs))  // 已安装
        << host->Html(".swal2-toast");

    ASSERT_TRUE(host->Click("#close"));
    EXPECT_EQ(launcher.WaitForExit(kBrowserStepMs), 0);
}

// Values with quotes, a backslash-like GBK trail byte and Chinese reach the
// page's text as they are, and a row's own onclick sends its name back so
// that the right file moves.
TEST_F(PageInBrowser, QuotedValuesShowUnchangedAndRowsSendTheirNamesBack) {
    // Steam writes UTF-8 through the ANSI functions, so only a name whose
    // bytes pair up as GBK survives the registry: 俓俓 does (GBK B3 5C B3 5C).
    const std::string steamName = "it's \"me\" \xE4\xBF\x93\xE4\xBF\x93";
    const std::string modName = "\xE4\xBF\x93it's.rpf";
    const std::string mods = folder.FiveMFile("FiveM.app\\mods\\");
    const std::string disabled = folder.FiveMFile("FiveM.app\\mods-disabled\\");
    ASSERT_TRUE(SetSteamAccount(steamName.c_str(), 255));
    ASSERT_TRUE(EnsureDirectory(mods));
    ASSERT_TRUE(WriteFileBytes(mods + webviewtest::Gbk(modName), "m"));
    ASSERT_TRUE(launcher.Start(folder.Path()));
    ASSERT_TRUE(host->WaitForPage(kPagePath, kBrowserStepMs));

    ASSERT_TRUE(host->Click(".tab[data-tab=settings]"));
    ASSERT_TRUE(host->Click("#steam-info"));
    EXPECT_TRUE(host->WaitForText("#steam-name", steamName, kBrowserStepMs)) << host->Text("#steam-name");
    EXPECT_EQ(host->Text("#steam-id"), "ff");

    ASSERT_TRUE(host->Click(".tab[data-tab=mods]"));
    EXPECT_TRUE(host->WaitForText(".mods-list td", modName, kBrowserStepMs)) << host->Html(".mods-list");
    ASSERT_TRUE(host->Click(".mods-list .fa-toggle-on"));
    EXPECT_TRUE(WaitForFile(disabled + webviewtest::Gbk(modName), kBrowserStepMs));
    EXPECT_TRUE(WaitFor([&] { return host->Exists(".mods-list .fa-toggle-off"); }, kBrowserStepMs));
    EXPECT_EQ(ReadFileBytes(disabled + webviewtest::Gbk(modName)), "m");
}

// The tray's exit while the game runs asks through the page's own dialog:
// cancel keeps the launcher (it asks again), confirm ends it.
TEST_F(PageInBrowser, TrayExitWhileTheGameRunsAsksThePage) {
    ASSERT_TRUE(launcher.Start(folder.Path()));
    ASSERT_TRUE(host->WaitForPage(kPagePath, kBrowserStepMs));
    HWND window = WindowOfSize(launcher.Pid(), 1280, 720, true);
    ASSERT_NE(window, nullptr);
    DWORD gamePid = StartWithoutHandle(folder.FiveMFile("FiveM.exe"), folder.FiveMFile(""));
    ASSERT_NE(gamePid, 0u);

    for (bool confirm : {false, true}) {
        ASSERT_TRUE(PostMessageA(window, WM_COMMAND, kTrayMenuFirstId + 1, 0));
        ASSERT_TRUE(host->WaitForDialog(true, kBrowserStepMs));
        EXPECT_EQ(
            host->Dialog().title,
            "\xE7\xA1\xAE\xE5\xAE\x9A\xE8\xA6\x81\xE9\x80\x80\xE5\x87\xBA\xE5\x90\x97\xEF\xBC\x9F");  // 确定要退出吗？
        EXPECT_EQ(host->Dialog().icon, "warning");
        ASSERT_TRUE(confirm ? host->ConfirmDialog() : host->CancelDialog());
        ASSERT_TRUE(host->WaitForDialog(false, kBrowserStepMs));
    }
    EXPECT_EQ(launcher.WaitForExit(kBrowserStepMs), 0);

    UniqueHandle game(OpenProcess(PROCESS_TERMINATE, FALSE, gamePid));
    if (game.Get()) TerminateProcess(game.Get(), 0);
}

}  // namespace
