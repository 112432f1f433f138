// What the user reads while the flow works, and the flow's failures that end
// in the main window or a box: each step is held at the service, so the
// status line of that step stays until the test has read it.
#include <gtest/gtest.h>

#include "e2e/e2e_support.h"
#include "e2e/e2e_texts.h"
#include "utilities/path_helpers.h"

namespace {

using namespace e2e;
using driver::LauncherProcess;
using testsupport::WriteFileBytes;

const char kApi[] = "/v1/fivemclient/";

class FlowStatus : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(service.Running()); }

    // An installed client of version 99, older than the service's.
    void InstallOlderClient() { ASSERT_TRUE(InstallClient(folder, "99")); }

    // Holds path, waits for the launcher's request of it, reads the status
    // line and lets the request go on.
    std::string StatusWhileHeld(const std::string& path) {
        if (!service.WaitForRequests(path, 1, kStepMs)) return "(no request of " + path + ")";
        std::string line = StatusLine(launcher.Pid());
        service.Release(path);
        return line;
    }

    bool MainWindowOpens() {
        return WaitFor([&] { return HasVisibleWindowOfSize(launcher.Pid(), 1280, 720); }, kStepMs);
    }

    // The download failure box for name, the status line, then quitting.
    void ExpectDownloadFailureAndQuit(const std::string& name) {
        driver::MessageBoxText box = driver::ReadMessageBox(launcher.Pid(), kStepMs);
        ASSERT_TRUE(box.found);
        EXPECT_EQ(box.title, kFailureTitle);
        EXPECT_EQ(box.text.rfind(std::string(kFailureTextStart) + name, 0), 0u) << box.text;
        ASSERT_TRUE(driver::PressMessageBoxOk(launcher.Pid()));
        EXPECT_TRUE(WaitFor([&] { return StatusLine(launcher.Pid()) == kFailedLine; }, 5000));
        ASSERT_TRUE(driver::ClickButton(launcher.Pid(), kUpdaterTitle, kQuitCaption));
        EXPECT_EQ(launcher.WaitForExit(kStepMs), 0);
    }

    ProgramFolder folder;
    Service service;
    LauncherProcess launcher;
};

TEST_F(FlowStatus, EachStepOfAClientUpdateShowsItsLine) {
    InstallOlderClient();
    const std::string steps[] = {std::string(kApi) + "version/launcher", std::string(kApi) + "version",
                                 std::string(kApi) + "update", "/files/update.zip"};
    for (const std::string& path : steps) ASSERT_TRUE(service.Hold(path));
    ASSERT_TRUE(launcher.Start(folder.Path()));
    EXPECT_EQ(StatusWhileHeld(steps[0]), kCheckingLine);
    EXPECT_EQ(StatusWhileHeld(steps[1]), kCheckingLine);
    EXPECT_EQ(StatusWhileHeld(steps[2]), kUpdatingLine);
    // The daemon asks for the archive; the refresh then shows the bytes.
    ASSERT_TRUE(service.WaitForRequests(steps[3], 1, kStepMs));
    EXPECT_TRUE(WaitFor([&] { return StatusLine(launcher.Pid()).rfind(kDownloadingLine, 0) == 0; }, kStepMs));
    service.Release(steps[3]);
    // Unpacked, then two seconds of this before the main window.
    EXPECT_TRUE(WaitFor([&] { return StatusLine(launcher.Pid()) == kLoadingLine; }, kStepMs));
    EXPECT_TRUE(MainWindowOpens());
}

TEST_F(FlowStatus, FetchingTheFullClientsAddressShowsItsLine) {
    const std::string path = std::string(kApi) + "download/nocache";
    ASSERT_TRUE(service.Hold(path));
    ASSERT_TRUE(launcher.Start(folder.Path()) && driver::WaitForWindow(launcher.Pid(), kDialogTitle, kStepMs));
    ASSERT_TRUE(ClickDialogUnit(launcher.Pid(), kFullClientOption));
    ASSERT_TRUE(ClickDialogUnit(launcher.Pid(), kConfirm));
    EXPECT_EQ(StatusWhileHeld(path), kFetchingInfoLine);
}

// The service cannot tell the client's version: the user is told where to
// look, and the launcher goes on to its main window.
TEST_F(FlowStatus, ClientVersionZeroOrEmptyIsAFailedCheckThenTheMainWindow) {
    for (const char* answer : {"0", ""}) {
        SCOPED_TRACE(std::string("answer \"") + answer + "\"");
        ASSERT_TRUE(service.SetAnswer(std::string(kApi) + "version", answer));
        LauncherProcess run;
        ASSERT_TRUE(run.Start(folder.Path()));
        driver::MessageBoxText box = driver::ReadMessageBox(run.Pid(), kStepMs);
        ASSERT_TRUE(box.found);
        EXPECT_EQ(box.title, kFailureTitle);
        EXPECT_EQ(box.text.rfind(std::string(kCheckFailedStart) + "127.0.0.1:36580 ", 0), 0u) << box.text;
        EXPECT_EQ(StatusLine(run.Pid()), kCheckFailedLine);
        ASSERT_TRUE(driver::PressMessageBoxOk(run.Pid()));
        EXPECT_TRUE(WaitFor([&] { return HasVisibleWindowOfSize(run.Pid(), 1280, 720); }, kStepMs));
        EXPECT_EQ(service.CountRequests("/files/"), 0);
    }
}

TEST_F(FlowStatus, FailingLauncherUpdateAddressIsShownAndTheUserCanQuit) {
    ASSERT_TRUE(service.SetAnswer(std::string(kApi) + "version/launcher", "2000"));
    ASSERT_TRUE(service.SetAnswer(std::string(kApi) + "update/launcher", ""));
    ASSERT_TRUE(launcher.Start(folder.Path()));
    ExpectDownloadFailureAndQuit("temp-launcher.exe");
    EXPECT_FALSE(FileExists(folder.File("temp-update.cmd")));
}

TEST_F(FlowStatus, FailingUpdatePackageDownloadIsShownAndTheUserCanQuit) {
    InstallOlderClient();
    ASSERT_TRUE(service.SetAnswer(std::string(kApi) + "update", service.Url("/files/no-such-update.zip")));
    ASSERT_TRUE(launcher.Start(folder.Path()));
    ExpectDownloadFailureAndQuit("temp-update.zip");
    EXPECT_EQ(testsupport::ReadFileBytes(folder.FiveMFile("launcher_version.txt")), "99");
}

}  // namespace
