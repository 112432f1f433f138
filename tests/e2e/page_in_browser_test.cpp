// The launcher page in a real browser (headless Chromium behind the stand-in
// engine): what the launcher writes into the page runs against the page's
// own jQuery and SweetAlert2, and the page's clicks drive the launcher.
#include <gtest/gtest.h>

#include "e2e/e2e_support.h"
#include "e2e/e2e_texts.h"
#include "support/page_host_client.h"
#include "utilities/path_helpers.h"

namespace {

using namespace e2e;
using driver::LauncherProcess;
using testsupport::WriteFileBytes;

const DWORD kStepMs = 60000;

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
    ASSERT_TRUE(host->WaitForPage(kPagePath, kStepMs));

    // The page asks for the version when it has loaded; the launcher's
    // answer is a jQuery call.
    EXPECT_TRUE(host->WaitForText("#gameversion", "2372", kStepMs)) << host->Text("#gameversion");

    // The remove-border patch: unpacked into the FiveM folder, and the page's
    // SweetAlert2 dialog says so.
    ASSERT_TRUE(host->Click(".tab[data-tab=addons]"));
    ASSERT_TRUE(host->Click("#remove-border"));
    ASSERT_TRUE(host->WaitForDialog(true, kStepMs));
    testsupport::PageDialog dialog = host->Dialog();
    EXPECT_EQ(dialog.title, "\xE5\xAE\x89\xE8\xA3\x85\xE6\x88\x90\xE5\x8A\x9F");  // 安装成功
    EXPECT_EQ(dialog.icon, "success");
    EXPECT_TRUE(FileExists(folder.FiveMFile("FiveM.app\\citizen\\platform\\data\\tune\\playerinfo.ymt")));
    EXPECT_TRUE(host->ConfirmDialog());
}

}  // namespace
