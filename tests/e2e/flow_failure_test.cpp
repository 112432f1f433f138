// Downloads and unpacks that go wrong during a fresh install: the user is
// told in the status line and a box, and can still quit.
#include <gtest/gtest.h>

#include "e2e/e2e_support.h"
#include "e2e/e2e_texts.h"
#include "utilities/path_helpers.h"

namespace {

using namespace e2e;
using driver::LauncherProcess;

const char kClientUrlPath[] = "/v1/fivemclient/download/nocache";

class FailedInstall : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(service.Running()); }

    // Chooses the full client in the dialog.
    bool StartAndChooseFullClient() {
        return launcher.Start(folder.Path()) && driver::WaitForWindow(launcher.Pid(), kDialogTitle, kStepMs) &&
               ClickDialogUnit(launcher.Pid(), kFullClientOption) && ClickDialogUnit(launcher.Pid(), kConfirm);
    }

    // The download failure box, then the status line, then quitting.
    void ExpectFailureShownAndQuit() {
        driver::MessageBoxText box = driver::ReadMessageBox(launcher.Pid(), kStepMs);
        ASSERT_TRUE(box.found);
        EXPECT_EQ(box.title, kFailureTitle);
        EXPECT_EQ(box.text.rfind(std::string(kFailureTextStart) + "temp-client.zip", 0), 0u) << box.text;
        ASSERT_TRUE(driver::PressMessageBoxOk(launcher.Pid()));
        EXPECT_TRUE(WaitFor([&] { return StatusLine(launcher.Pid()) == kFailedLine; }, 5000));
        EXPECT_TRUE(launcher.Running());
        ASSERT_TRUE(driver::ClickButton(launcher.Pid(), kUpdaterTitle, kQuitCaption));
        EXPECT_EQ(launcher.WaitForExit(kStepMs), 0);
        EXPECT_FALSE(FileExists(folder.File("FiveM\\FiveM.exe")));
    }

    ProgramFolder folder;
    Service service;
    LauncherProcess launcher;
};

TEST_F(FailedInstall, EmptyUrlIsNeverDownloaded) {
    ASSERT_TRUE(service.SetAnswer(kClientUrlPath, ""));
    ASSERT_TRUE(StartAndChooseFullClient());
    ExpectFailureShownAndQuit();
    EXPECT_EQ(service.CountRequests("/files/"), 0);
}

TEST_F(FailedInstall, DownloadTheDaemonRefusesIsShown) {
    // The daemon has no protocol of that name and adds nothing.
    ASSERT_TRUE(service.SetAnswer(kClientUrlPath, "quillmere-nothing://client.zip"));
    ASSERT_TRUE(StartAndChooseFullClient());
    ExpectFailureShownAndQuit();
}

TEST_F(FailedInstall, DownloadTheDaemonReportsFailedIsShown) {
    ASSERT_TRUE(service.SetAnswer(kClientUrlPath, service.Url("/files/no-such-client.zip")));
    ASSERT_TRUE(StartAndChooseFullClient());
    ExpectFailureShownAndQuit();
    EXPECT_GE(service.CountRequests("/files/no-such-client.zip"), 1);
}

TEST_F(FailedInstall, DamagedClientArchiveShowsTheUnpackErrorAndEnds) {
    ASSERT_TRUE(testsupport::WriteFileBytes(service.FilesFolder() + "\\client.zip", "PK but not really a zip"));
    ASSERT_TRUE(StartAndChooseFullClient());

    driver::MessageBoxText box = driver::ReadMessageBox(launcher.Pid(), kStepMs);
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.title, kUnpackErrorTitle);
    std::string commandLine = "7z x -aoa temp-client.zip -o\"" + folder.File("FiveM") + "\\\"";
    EXPECT_NE(box.text.find("\\x0D\\x0A"), std::string::npos) << box.text;
    EXPECT_EQ(box.text.substr(box.text.size() - commandLine.size()), commandLine) << box.text;
    ASSERT_TRUE(driver::PressMessageBoxOk(launcher.Pid()));
    EXPECT_EQ(launcher.WaitForExit(kStepMs), 0);
}

}  // namespace
