// The self-update script run for real by the command interpreter, with a
// stand-in program in the launcher's place whose name needs quoting.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include "e2e/e2e_support.h"
#include "launcher/install/download_complete_script.h"
#include "utilities/command_line.h"
#include "utilities/path_helpers.h"
#include "utilities/win_handles.h"

namespace {

using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

const char kName[] = "My Launcher 100%.exe";

// Process ids of programs named name.
std::vector<DWORD> ProcessesNamed(const std::string& name) {
    std::vector<DWORD> pids;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.Get(), &entry); more; more = Process32Next(snapshot.Get(), &entry))
        if (_stricmp(entry.szExeFile, name.c_str()) == 0) pids.push_back(entry.th32ProcessID);
    return pids;
}

// Ends whatever runs under the stand-in's name when the test ends.
struct KillByName {
    ~KillByName() {
        for (DWORD pid : ProcessesNamed(kName)) {
            driver::LauncherProcess process;
            if (process.Adopt(pid)) process.Kill();
        }
    }
};

TEST(SelfUpdateScript, ReplacesOnlyTheRunningProgramStartsTheNewOneAndRemovesItself) {
    testsupport::TempFolder folder;
    KillByName guard;
    const std::string standIn = ReadFileBytes(testsupport::BinDir() + "\\FiveM.exe");
    ASSERT_FALSE(standIn.empty());
    const std::string newBuild = standIn + "newer build";
    ASSERT_TRUE(WriteFileBytes(folder.File(kName), standIn));
    ASSERT_TRUE(WriteFileBytes(folder.File("temp-launcher.exe"), newBuild));
    ASSERT_TRUE(CreateDirectoryA(folder.File("FiveM").c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(folder.File(std::string("FiveM\\") + kName), "same name, other folder"));

    const DWORD oldPid = e2e::StartWithoutHandle(folder.File(kName), folder.Path());
    ASSERT_NE(oldPid, 0u);

    ASSERT_TRUE(WriteFileBytes(folder.File("temp-update.cmd"), BuildSelfUpdateScript(oldPid, kName)));
    ASSERT_TRUE(RunCommandLine("cmd /c temp-update.cmd", SW_HIDE, true, folder.Path()));

    EXPECT_FALSE(e2e::ProcessRuns(oldPid));
    EXPECT_TRUE(e2e::WaitFor([&] { return ReadFileBytes(folder.File(kName)) == newBuild; }, 10000));
    EXPECT_TRUE(e2e::WaitFor(
        [&] {
            std::vector<DWORD> running = ProcessesNamed(kName);
            return running.size() == 1 && running[0] != oldPid;
        },
        10000));
    EXPECT_EQ(ReadFileBytes(folder.File(std::string("FiveM\\") + kName)), "same name, other folder");
    EXPECT_FALSE(FileExists(folder.File("temp-launcher.exe")));
    EXPECT_FALSE(FileExists(folder.File("temp-update.cmd")));
}

}  // namespace
