// Ending the program from any thread, the exit routine, worker threads and
// the Chinese-folder test.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>

#include "launcher/app/chinese_path_check.h"
#include "download/gid_list.h"
#include "launcher/app/globals.h"
#include "launcher/app/program_exit.h"
#include "launcher/app/program_folder.h"
#include "launcher/app/worker_thread.h"
#include "support/test_support.h"

namespace {

using testsupport::TempFolder;

// In the death-test child: the routine marks a file once per run, then lingers,
// so a second thread that got past the guard would mark it again.
std::string MarkerPath() {
    char path[MAX_PATH] = {};
    GetEnvironmentVariableA("QM_EXIT_MARKER", path, sizeof path);
    return path;
}

void MarkingExitRoutine() {
    std::string marker = MarkerPath();
    if (FILE* f = marker.empty() ? nullptr : fopen(marker.c_str(), "ab")) {
        fputs("ran\n", f);
        fclose(f);
    }
    ReleaseGlobals();
    Sleep(300);
}

HANDLE startTogether = nullptr;

DWORD WINAPI EndFromWorker(void*) {
    WaitForSingleObject(startTogether, INFINITE);
    EndProgram(7);
}

DWORD WINAPI UseGlobalsForever(void*) {
    for (;;) {
        DownloadGids->Append(FiveMFolder);
        if (DownloadGids->Size() > 1000) DownloadGids->Clear();
    }
}

void EndFromTwoWorkersWhileAnotherUsesTheGlobals() {
    CreateGlobals();
    FiveMFolder = "C:\\Games\\FiveM";
    RegisterExitRoutine(MarkingExitRoutine);
    startTogether = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CreateThread(nullptr, 0, UseGlobalsForever, nullptr, 0, nullptr);
    CreateThread(nullptr, 0, EndFromWorker, nullptr, 0, nullptr);
    CreateThread(nullptr, 0, EndFromWorker, nullptr, 0, nullptr);
    Sleep(50);
    SetEvent(startTogether);
    Sleep(INFINITE);
}

TEST(ProgramExitDeathTest, EndingFromWorkersRunsTheExitRoutineOnceAndExitsWithTheCode) {
    // The death-test child runs this body again: it must use the parent's
    // marker, which it finds in the environment it inherited.
    std::unique_ptr<TempFolder> folder;
    std::string marker;
    marker = MarkerPath();
    if (marker.empty()) {
        folder = std::make_unique<TempFolder>();
        marker = folder->File("exit-marker.txt");
        SetEnvironmentVariableA("QM_EXIT_MARKER", marker.c_str());
    }
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(EndFromTwoWorkersWhileAnotherUsesTheGlobals(), testing::ExitedWithCode(7), "");
    EXPECT_EQ(testsupport::ReadFileBytes(marker), "ran\n");
}

TEST(ReleaseGlobals, LeavesEverythingAWorkerMayStillUse) {
    CreateGlobals();
    FiveMFolder = "C:\\Games\\FiveM";
    DownloadGids->Append("2089b05ecca3d829");
    ReleaseGlobals();
    ReleaseGlobals();
    ASSERT_NE(DownloadGids, nullptr);
    ASSERT_NE(AddonDownloadGids, nullptr);
    EXPECT_EQ(DownloadGids->Snapshot().back(), "2089b05ecca3d829");
    EXPECT_EQ(FiveMFolder, "C:\\Games\\FiveM");
    AddonDownloadGids->Append("still usable");
    EXPECT_EQ(AddonDownloadGids->Size(), 1u);
}

std::atomic<DWORD> workerThread{0};
void RecordThread() { workerThread = GetCurrentThreadId(); }

TEST(StartWorkerThread, RunsTheRoutineOnAnotherThread) {
    workerThread = 0;
    ASSERT_TRUE(StartWorkerThread(RecordThread));
    for (int i = 0; i < 400 && workerThread == 0; ++i) Sleep(5);
    EXPECT_NE(workerThread.load(), 0u);
    EXPECT_NE(workerThread.load(), GetCurrentThreadId());
}

// Package archives are written, unpacked and deleted in the program folder.
TEST(IsLauncherOwnFileName, NamesWhatTheProgramFolderHoldsInAnySpelling) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const struct {
        std::string name;
        bool own;
    } table[] = {
        {"launcher.exe", true},
        {"7Z.DLL", true},
        {"LAUNCHER_CONFIG.INI", true},
        {"temp-update.cmd", true},
        {"fivem", true},
        {"7z.exe . ", true},              // the file system drops trailing dots and blanks
        {strrchr(self, '\\') + 1, true},  // the running program, whatever its name
        {"7z.exe.rpf", false},
        {"FiveM.zip", false},
        {"my-7z.exe", false},
        {"", false},
    };
    for (const auto& row : table) EXPECT_EQ(IsLauncherOwnFileName(row.name), row.own) << row.name;
}

struct PathCase {
    const wchar_t* path;
    bool chinese;
};

class ChineseFolder : public testing::TestWithParam<PathCase> {};

TEST_P(ChineseFolder, IsFoundInTheUtf16Path) { EXPECT_EQ(PathHasChineseChar(GetParam().path), GetParam().chinese); }

INSTANTIATE_TEST_SUITE_P(Paths, ChineseFolder,
                         testing::Values(PathCase{L"C:\\Games\\Launcher", false},
                                         PathCase{L"C:\\\x6E38\x620F\\Launcher", true},
                                         PathCase{L"D:\\Users\\\x4E2D\x6587", true}, PathCase{L"C:\\\x4E00", true},
                                         PathCase{L"C:\\\x9FA5", true}, PathCase{L"C:\\\x9FA6", false},
                                         PathCase{L"C:\\\x4DFF", false},
                                         PathCase{L"C:\\\x30B2\x30FC\x30E0", false},  // katakana
                                         PathCase{L"C:\\Games\xFF08"
                                                  L"1\xFF09",
                                                  false},  // full-width brackets
                                         PathCase{L"", false}));

}  // namespace
