// A new user's first start: no client in the FiveM folder, so the launcher
// asks which package to install and installs it, driven through the
// package-choice dialog as a user would.
#include <gtest/gtest.h>

#include "e2e/e2e_support.h"
#include "e2e/e2e_texts.h"
#include "utilities/path_helpers.h"

namespace {

using namespace e2e;
using driver::LauncherProcess;
using testsupport::ReadFileBytes;

const DWORD kInstallMs = 90000;

class FreshInstall : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(service.Running()); }

    bool StartAndOpenDialog() {
        return launcher.Start(folder.Path()) && driver::WaitForWindow(launcher.Pid(), kDialogTitle, kStepMs);
    }
    bool Click(const UnitRect& unit) { return ClickDialogUnit(launcher.Pid(), unit); }
    bool MainWindowOpens() { return FlowFinishes(launcher.Pid(), kStepMs); }

    ProgramFolder folder;
    Service service;
    LauncherProcess launcher;
};

TEST_F(FreshInstall, FullClientIsDownloadedUnpackedAndTheMainWindowOpens) {
    ASSERT_TRUE(StartAndOpenDialog());
    ASSERT_TRUE(Click(kFullClientOption));
    ASSERT_TRUE(Click(kConfirm));

    ASSERT_TRUE(WaitForFile(folder.FiveMFile("FiveM.exe"), kInstallMs));
    EXPECT_TRUE(MainWindowOpens());
    EXPECT_EQ(ReadFileBytes(folder.FiveMFile("launcher_version.txt")), "100");
    EXPECT_EQ(service.CountRequests("/v1/fivemclient/download/nocache?server=1"), 1);
    EXPECT_GE(service.CountRequests("/files/client.zip"), 1);
    // The client archive carries the service's version: nothing to update.
    EXPECT_EQ(service.CountRequests("/v1/fivemclient/update?"), 0);
    EXPECT_TRUE(launcher.Running());
}

TEST_F(FreshInstall, BackupServerIsSentAsServerTwo) {
    ASSERT_TRUE(StartAndOpenDialog());
    ASSERT_TRUE(Click(kBackupServer));
    ASSERT_TRUE(Click(kFullClientOption));
    ASSERT_TRUE(Click(kConfirm));

    ASSERT_TRUE(service.WaitForRequests("/v1/fivemclient/download/nocache?server=2", 1, kStepMs));
    EXPECT_EQ(service.CountRequests("/v1/fivemclient/download/nocache?server=1"), 0);
    EXPECT_TRUE(WaitForFile(folder.FiveMFile("FiveM.exe"), kInstallMs));
}

TEST_F(FreshInstall, UpdateOnlyPackageIsFetchedFromVersionZeroAndRemoved) {
    ASSERT_TRUE(StartAndOpenDialog());
    ASSERT_TRUE(Click(kUpdateOnlyOption));
    ASSERT_TRUE(Click(kConfirm));

    ASSERT_TRUE(service.WaitForRequests("/v1/fivemclient/update?local=0&server=1", 1, kStepMs));
    ASSERT_TRUE(MainWindowOpens());
    EXPECT_EQ(ReadFileBytes(folder.FiveMFile("launcher_version.txt")), "100");
    EXPECT_TRUE(FileExists(folder.FiveMFile("FiveM.app\\caches.xml")));
    EXPECT_FALSE(FileExists(folder.File("temp-update.zip")));
    EXPECT_EQ(service.CountRequests("/v1/fivemclient/download"), 0);
}

TEST_F(FreshInstall, AnotherDownloadsCompletionLeavesTheClientDownloadRunning) {
    // The client archive waits on the service until released.
    ASSERT_TRUE(service.Hold("/files/client.zip"));
    ASSERT_TRUE(StartAndOpenDialog());
    ASSERT_TRUE(Click(kFullClientOption));
    ASSERT_TRUE(Click(kConfirm));
    ASSERT_TRUE(service.WaitForRequests("/files/client.zip", 1, kStepMs));

    ASSERT_FALSE(StartOtherDownload(folder.Path(), service.Url("/files/update.zip"), "other.zip").empty());
    ASSERT_TRUE(service.WaitForRequests("/files/update.zip", 1, kStepMs));
    ASSERT_TRUE(WaitForFile(folder.File("other.zip"), kStepMs));

    // The daemon tells the launcher of both completions in order, on one
    // connection, so the client's completion is handled after the other
    // one. Taken for the client's, the other completion would have unpacked
    // a held, unfinished archive (an unpack failure box and the end of the
    // launcher), or used up the client's turn, so that nothing would be
    // unpacked now.
    ASSERT_TRUE(service.Release("/files/client.zip"));
    EXPECT_TRUE(WaitForFile(folder.FiveMFile("FiveM.exe"), kInstallMs));
    EXPECT_TRUE(MainWindowOpens());
    EXPECT_TRUE(launcher.Running());
}

TEST_F(FreshInstall, ClosingTheDialogEndsTheLauncherWithoutDownloading) {
    ASSERT_TRUE(StartAndOpenDialog());
    ASSERT_TRUE(Click(kCloseCross));
    EXPECT_EQ(launcher.WaitForExit(kStepMs), 0);
    EXPECT_EQ(service.CountRequests("/v1/fivemclient/download"), 0);
    EXPECT_EQ(service.CountRequests("/files/"), 0);
}

}  // namespace
