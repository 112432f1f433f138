// The self-update script run for real by the command interpreter, with a
// stand-in program in the launcher's place whose name needs quoting.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include "e2e/e2e_support.h"
#include "launcher/download_complete_script.h"
#include "utilities/command_line.h"

namespace {

using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

const char kName[] = "My Launcher 100%.exe";

// Process ids of programs named name.
std::vector<DWORD> ProcessesNamed(const std::string& name) {
    std::vector<DWORD> pids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (_stricmp(entry.szExeFile, name.c_str()) == 0) pids.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return pids;
}

// Ends whatever runs under the stand-in's name when the test ends.
struct KillByName {
    ~KillByName() {
        for (DWORD pid : ProcessesNamed(kName)) {
            HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
            if (!process) continue;
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
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

    // No handle to it is kept: under Wine that would keep its file in use.
    std::string commandLine = "\"" + folder.File(kName) + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.Path().c_str(),
                               &startup, &info));
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    const DWORD oldPid = info.dwProcessId;

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
    EXPECT_FALSE(e2e::FileExists(folder.File("temp-launcher.exe")));
    EXPECT_FALSE(e2e::FileExists(folder.File("temp-update.cmd")));
}

}  // namespace
