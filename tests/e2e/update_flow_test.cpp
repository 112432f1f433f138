// A user who has the client already: the launcher brings the client up to
// the service's version, or replaces itself with a newer build first.
#include <gtest/gtest.h>

#include "e2e/e2e_support.h"
#include "e2e/e2e_texts.h"
#include "utilities/path_helpers.h"

namespace {

using namespace e2e;
using driver::LauncherProcess;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;


// The built launcher with bytes after its image: still a program, and
// recognisably the newer build.
const char kNewBuildMark[] = "quillmere-newer-build";

class InstalledClient : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.Running());
        ASSERT_TRUE(CreateDirectoryA(folder.File("FiveM").c_str(), nullptr));
        ASSERT_TRUE(
            CopyFileA((testsupport::BinDir() + "\\FiveM.exe").c_str(), folder.FiveMFile("FiveM.exe").c_str(), FALSE));
    }

    ProgramFolder folder;
    Service service;
    LauncherProcess launcher;
};

TEST_F(InstalledClient, OlderClientFetchesUnpacksAndRemovesTheUpdateArchive) {
    ASSERT_TRUE(WriteFileBytes(folder.FiveMFile("launcher_version.txt"), "99"));
    ASSERT_TRUE(launcher.Start(folder.Path()));

    ASSERT_TRUE(service.WaitForRequests("/v1/fivemclient/update?local=99&server=1", 1, kStepMs));
    ASSERT_TRUE(FlowFinishes(launcher.Pid(), kStepMs));
    EXPECT_GE(service.CountRequests("/files/update.zip"), 1);
    EXPECT_EQ(ReadFileBytes(folder.FiveMFile("launcher_version.txt")), "100");
    EXPECT_TRUE(FileExists(folder.FiveMFile("FiveM.app\\citizen\\version.txt")));
    EXPECT_TRUE(WaitForNoFile(folder.File("temp-update.zip"), 5000));
    EXPECT_EQ(service.CountRequests("/v1/fivemclient/download"), 0);
}

TEST_F(InstalledClient, DamagedUpdateArchiveShowsTheUnpackErrorAndEnds) {
    ASSERT_TRUE(WriteFileBytes(folder.FiveMFile("launcher_version.txt"), "99"));
    ASSERT_TRUE(WriteFileBytes(service.FilesFolder() + "\\update.zip", "PK but no archive"));
    ASSERT_TRUE(launcher.Start(folder.Path()));

    driver::MessageBoxText box = driver::ReadMessageBox(launcher.Pid(), kStepMs);
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.title, kUnpackErrorTitle);
    EXPECT_NE(box.text.find("7z x -aoa temp-update.zip -o\""), std::string::npos) << box.text;
    ASSERT_TRUE(driver::PressMessageBoxOk(launcher.Pid()));
    EXPECT_EQ(launcher.WaitForExit(kStepMs), 0);
    EXPECT_EQ(ReadFileBytes(folder.FiveMFile("launcher_version.txt")), "99");
    EXPECT_FALSE(HasVisibleWindowOfSize(launcher.Pid(), 1280, 720));
}

TEST_F(InstalledClient, CurrentClientAsksForNothing) {
    ASSERT_TRUE(WriteFileBytes(folder.FiveMFile("launcher_version.txt"), "100"));
    ASSERT_TRUE(launcher.Start(folder.Path()));

    ASSERT_TRUE(FlowFinishes(launcher.Pid(), kStepMs));
    EXPECT_EQ(service.CountRequests("/v1/fivemclient/update?"), 0);
    EXPECT_EQ(service.CountRequests("/files/"), 0);
    EXPECT_EQ(service.CountRequests("/v1/fivemclient/version"), 2);  // launcher build and client version
    EXPECT_FALSE(driver::ReadMessageBox(launcher.Pid(), 300).found);
}

TEST_F(InstalledClient, NewerLauncherReplacesTheRunningOneAndStarts) {
    ASSERT_TRUE(WriteFileBytes(folder.FiveMFile("launcher_version.txt"), "100"));
    // A file of the launcher's name elsewhere must survive the replacement.
    ASSERT_TRUE(WriteFileBytes(folder.FiveMFile("launcher.exe"), "not the launcher"));
    std::string newBuild = ReadFileBytes(testsupport::BinDir() + "\\launcher.exe") + kNewBuildMark;
    ASSERT_TRUE(WriteFileBytes(service.FilesFolder() + "\\launcher.exe", newBuild));
    ASSERT_TRUE(service.SetAnswer("/v1/fivemclient/version/launcher", "1015"));
    LauncherKiller killer(folder.File("launcher.exe"));
    DWORD oldPid = StartLauncherWithoutHandle(folder.Path());
    ASSERT_NE(oldPid, 0u);

    // The script ends the old launcher and puts the new one in its place.
    // Watched by size only until the flow is done: reading the file would hold it open, and the
    // script's del and move then fail for a sharing violation, so the old
    // launcher starts again and fetches the update once more. The service
    // calls the new build the newest only once it is in place.
    ASSERT_TRUE(WaitFor([&] { return testsupport::FileSizeOf(folder.File("launcher.exe")) ==
                                     static_cast<long long>(newBuild.size()); },
                        kStepMs));
    ASSERT_TRUE(service.SetAnswer("/v1/fivemclient/version/launcher", "1014"));
    EXPECT_FALSE(ProcessRuns(oldPid));
    EXPECT_GE(service.CountRequests("/v1/fivemclient/update/launcher?server=1"), 1);

    // The new one starts (a start that came before the answer changed
    // updates itself to the same build once more) and finishes the flow.
    EXPECT_TRUE(WaitFor(
        [&] {
            DWORD pid = driver::FindLauncherProcess(folder.File("launcher.exe"), 0);
            return pid != 0 && pid != oldPid && HasVisibleWindowOfSize(pid, 1280, 720);
        },
        2 * kStepMs));
    EXPECT_EQ(ReadFileBytes(folder.File("launcher.exe")), newBuild);

    EXPECT_EQ(ReadFileBytes(folder.FiveMFile("launcher.exe")), "not the launcher");
    EXPECT_FALSE(FileExists(folder.File("temp-launcher.exe")));
    EXPECT_TRUE(WaitForNoFile(folder.File("temp-update.cmd"), 5000));
}

TEST_F(InstalledClient, DownloadThatIsNoProgramLeavesTheLauncherInPlace) {
    ASSERT_TRUE(WriteFileBytes(folder.FiveMFile("launcher_version.txt"), "100"));
    ASSERT_TRUE(WriteFileBytes(service.FilesFolder() + "\\launcher.exe", "<html>maintenance</html>"));
    ASSERT_TRUE(service.SetAnswer("/v1/fivemclient/version/launcher", "1015"));
    ASSERT_TRUE(launcher.Start(folder.Path()));
    std::string oldBuild = ReadFileBytes(folder.File("launcher.exe"));

    driver::MessageBoxText box = driver::ReadMessageBox(launcher.Pid(), kStepMs);
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.title, kErrorTitle);
    EXPECT_TRUE(launcher.Running());
    EXPECT_FALSE(FileExists(folder.File("temp-update.cmd")));
    ASSERT_TRUE(driver::PressMessageBoxOk(launcher.Pid()));

    // It goes on with the client check as the build it is.
    EXPECT_TRUE(service.WaitForRequests("/v1/fivemclient/version", 2, kStepMs));
    EXPECT_TRUE(FlowFinishes(launcher.Pid(), kStepMs));
    EXPECT_EQ(ReadFileBytes(folder.File("launcher.exe")), oldBuild);
    EXPECT_FALSE(FileExists(folder.File("temp-launcher.exe")));
}

}  // namespace
