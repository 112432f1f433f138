// A program folder that lacks one of the helper tools: the launcher fetches
// the core-components archive, unpacks it with its own zip.dll and starts
// again, or says so when the archive does not bring the tool.
#include <gtest/gtest.h>

#include "e2e/e2e_support.h"
#include "e2e/e2e_texts.h"
#include "utilities/path_helpers.h"

namespace {

using namespace e2e;
using driver::LauncherProcess;


TEST(CoreComponents, MissingToolIsFetchedUnpackedAndTheLauncherRestarts) {
    // aria2c.exe needs a run bit that no zip gives, so another tool is the missing one.
    ProgramFolder folder({"node.dll"});
    Service service;
    ASSERT_TRUE(service.Running());
    LauncherProcess launcher, restarted;
    ASSERT_TRUE(launcher.Start(folder.Path()));

    EXPECT_EQ(launcher.WaitForExit(kStepMs), 0);
    EXPECT_EQ(service.CountRequests("/files/launcher_plugin.zip"), 1);
    EXPECT_TRUE(FileExists(folder.File("node.dll")));
    EXPECT_TRUE(FileExists(folder.File("zip.dll")));
    EXPECT_FALSE(FileExists(folder.File("temp-data.zip")));
    ASSERT_TRUE(restarted.Adopt(driver::FindLauncherProcess(folder.File("launcher.exe"), kStepMs)));
    // The new start finds every tool and goes on to the version check.
    EXPECT_TRUE(service.WaitForRequests("/v1/fivemclient/version/launcher", 1, kStepMs));
    EXPECT_EQ(service.CountRequests("/files/launcher_plugin.zip"), 1);
}

TEST(CoreComponents, ArchiveWithoutTheToolShowsABoxAndDoesNotRestart) {
    ProgramFolder folder({"7z.dll"});
    Service service;
    ASSERT_TRUE(service.Running());
    ASSERT_TRUE(service.SetAnswer("/files/launcher_plugin.zip", "this is no zip archive"));
    LauncherProcess launcher;
    ASSERT_TRUE(launcher.Start(folder.Path()));

    driver::MessageBoxText box = driver::ReadMessageBox(launcher.Pid(), kStepMs);
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.title, kErrorTitle);
    ASSERT_TRUE(driver::PressMessageBoxOk(launcher.Pid()));
    EXPECT_EQ(launcher.WaitForExit(kStepMs), 0);

    EXPECT_EQ(driver::FindLauncherProcess(folder.File("launcher.exe"), 2000), 0u);
    EXPECT_EQ(service.CountRequests("/files/launcher_plugin.zip"), 1);
    EXPECT_FALSE(FileExists(folder.File("7z.dll")));
    EXPECT_FALSE(FileExists(folder.File("temp-data.zip")));
}

}  // namespace
