#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

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

TEST(RunCommandLine, WithoutWaitReturnsWhileTheProcessStillRuns) {
    TempFolder folder;
    std::string ended = folder.File("ended.txt");
    // The child reads a line from a pipe that is written only after the
    // call has returned, so it cannot end before that.
    std::string pipeName = "\\\\.\\pipe\\qm-command-line-" + std::to_string(GetCurrentProcessId());
    HANDLE pipe = CreateNamedPipeA(pipeName.c_str(), PIPE_ACCESS_OUTBOUND | FILE_FLAG_OVERLAPPED,
                                   PIPE_TYPE_BYTE | PIPE_WAIT, 1, 64, 64, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    std::atomic<bool> returned{false};
    bool started = false;
    std::thread caller([&] {
        started =
            RunCommandLine("cmd /c set /p line= < " + pipeName + " & echo ended> \"" + ended + "\"", SW_HIDE, false);
        returned = true;
    });
    EXPECT_TRUE(testsupport::WaitFor([&] { return returned.load(); }, 10000)) << "the call waited for the process";

    // The child opens the pipe, then gets its line and ends.
    OVERLAPPED io{};
    io.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD done = 0;
    bool connected = ConnectNamedPipe(pipe, &io) || GetLastError() == ERROR_PIPE_CONNECTED ||
                     (GetLastError() == ERROR_IO_PENDING && WaitForSingleObject(io.hEvent, 10000) == WAIT_OBJECT_0);
    if (connected) {
        ResetEvent(io.hEvent);
        if (!WriteFile(pipe, "go\r\n", 4, nullptr, &io) && GetLastError() == ERROR_IO_PENDING)
            GetOverlappedResult(pipe, &io, &done, TRUE);
    }
    CloseHandle(pipe);
    CloseHandle(io.hEvent);
    caller.join();
    EXPECT_TRUE(started);
    EXPECT_TRUE(connected);
    EXPECT_TRUE(testsupport::WaitFor([&] { return !testsupport::ReadFileBytes(ended).empty(); }, 10000));
    EXPECT_EQ(testsupport::ReadFileBytes(ended), "ended\r\n");
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
