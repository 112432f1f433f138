#include <gtest/gtest.h>
#include <windows.h>

#include "support/test_support.h"
#include "utilities/command_line.h"

using testsupport::TempFolder;

TEST(RunCommandLine, WithWaitReturnsAfterTheProcessHasEnded) {
    TempFolder folder;
    std::string done = folder.File("done.txt");
    // ping delays the echo by about a second.
    ASSERT_TRUE(RunCommandLine("cmd /c ping -n 2 127.0.0.1 >nul & echo finished> \"" + done + "\"", SW_HIDE, true));
    EXPECT_EQ(testsupport::ReadFileBytes(done), "finished\r\n");
}

TEST(RunCommandLine, WithoutWaitStartsAndReturns) {
    TempFolder folder;
    std::string done = folder.File("done.txt");
    ASSERT_TRUE(RunCommandLine("cmd /c echo started> \"" + done + "\"", SW_HIDE, false));
    testsupport::WaitFor([&] { return !testsupport::ReadFileBytes(done).empty(); }, 5000);
    EXPECT_EQ(testsupport::ReadFileBytes(done), "started\r\n");
}

TEST(RunCommandLine, ReportsAProgramThatCannotStart) {
    EXPECT_FALSE(RunCommandLine("qm-no-such-program-4711.exe", std::nullopt, true));
}

TEST(RunCommandLine, WithWaitGivesTheExitCodeWhenAsked) {
    unsigned long code = 12345;
    ASSERT_TRUE(RunCommandLine("cmd /c exit 2", SW_HIDE, true, std::string(), &code));
    EXPECT_EQ(code, 2u);
    ASSERT_TRUE(RunCommandLine("cmd /c exit 0", SW_HIDE, true, std::string(), &code));
    EXPECT_EQ(code, 0u);
}

TEST(RunCommandLine, RunsInTheGivenFolder) {
    TempFolder folder;
    ASSERT_TRUE(RunCommandLine("cmd /c echo here> here.txt", SW_HIDE, true, folder.Path()));
    EXPECT_EQ(testsupport::ReadFileBytes(folder.File("here.txt")), "here\r\n");
}
