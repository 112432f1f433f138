// The game start's address check and its command line through the real
// command interpreter; the crash hash read from the game's last log, line
// breaks and all.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "launcher/app/globals.h"
#include "launcher/page_actions/game_launch.h"
#include "launcher/page_actions/game_watch.h"
#include "support/test_support.h"
#include "utilities/command_line.h"

namespace {

using testsupport::ReadFileBytes;
using testsupport::TempFolder;
using testsupport::WriteFileBytes;

TEST(IsServerAddress, TakesWhatThePageSentButNothingTheInterpreterActsOn) {
    const struct {
        std::string address;
        bool accepted;
    } table[] = {
        {"", true},
        {"127.0.0.1:30120", true},
        {"play.quillmere-rp.cn:30120", true},
        {"[fe80::1]:30120", true},
        {"[2001:db8::7]", true},
        {"play.example.net/join/abc123", true},
        {"cfx.re/join/abc", true},
        {"1.2.3.4 -x", true},           // reaches the game as two arguments
        {"\xD6\xD0\xCE\xC4.cn", true},  // 中文
        {"1.2.3.4&calc", false},
        {"1.2.3.4|more", false},
        {"1.2.3.4<in", false},
        {"1.2.3.4>out", false},
        {"1.2.3.4^", false},
        {"%PATH%", false},
        {"\"1.2.3.4\"", false},
        {"(1.2.3.4)", false},
        {"1.2.3.4!x!", false},
        {"1.2.3.4\tx", false},
        {"1.2.3.4\r\ncalc", false},
        {"1.2.3.4\x7F", false},
        {std::string("1.2.3.4\0&calc", 13), false},
    };
    for (const auto& row : table)
        EXPECT_EQ(IsServerAddress(row.address), row.accepted) << testsupport::Hex(row.address);
}

// The stand-in game records how it was started and shows a window titled
// with the address until it is closed.
TEST(GameCommandLine, StartsTheGameFromAFolderWhoseNameTheInterpreterWouldSplit) {
    TempFolder temp;
    const std::string folder = temp.File("Games (x86) & Co");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA((testsupport::BinDir() + "\\FiveM.exe").c_str(), (folder + "\\FiveM.exe").c_str(), FALSE));
    const std::string address = "10.11.12.13:30120";

    ASSERT_TRUE(RunCommandLine(GameCommandLine(folder, address), SW_HIDE));
    const std::string record = folder + "\\FiveM.command-lines.txt";
    ASSERT_TRUE(testsupport::WaitFor([&] { return !ReadFileBytes(record).empty(); }, 30000));
    EXPECT_EQ(ReadFileBytes(record), "\"" + folder + "\\FiveM.exe\" +connect " + address + "\r\n");

    HWND game = nullptr;
    ASSERT_TRUE(testsupport::WaitFor(
        [&] { return (game = FindWindowA("FiveMStandIn", ("FiveM - " + address).c_str())); }, 30000));
    PostMessageA(game, WM_CLOSE, 0, 0);
    EXPECT_TRUE(testsupport::WaitFor([&] { return !IsWindow(game); }, 30000));
}

struct LogFile {
    std::string name;
    std::string text;
    int ageSeconds;  // how long before the game start it was last written
};

struct CrashCase {
    const char* what;
    std::vector<LogFile> logs;
    std::string hash;
};

std::string Prefixed(const std::string& rest) { return "[  812] Legacy crash hash: " + rest; }

TEST(ReadCrashHash, TakesTheLineAfterThePrefixOfThisRunsLastLog) {
    const CrashCase table[] = {
        {"no log", {}, ""},
        {"hash line",
         {{"CitizenFX_log.log", "start\r\n" + Prefixed("juliet-ten-apple\r\nend\r\n"), 0}},
         "juliet-ten-apple"},
        {"no crash", {{"CitizenFX_log.log", "start\r\nShutting down.\r\n", 0}}, ""},
        {"bare line feed", {{"CitizenFX_log.log", Prefixed("abc\nmore"), 0}}, ""},
        {"line breaks inside the line", {{"CitizenFX_log.log", Prefixed("a\nb\r\r\n"), 0}}, "ab"},
        {"two-byte characters", {{"CitizenFX_log.log", Prefixed("\xD6\xD0\n\xCE\xC4\r\n"), 0}}, "\xD6\xD0\xCE\xC4"},
        {"prefix in another case only", {{"CitizenFX_log.log", "legacy crash hash: abc\r\n", 0}}, ""},
        {"first prefix of any case", {{"a.log", "LEGACY CRASH HASH: one\r\n" + Prefixed("two\r\n"), 0}}, "one"},
        {"line end within 9999 bytes",
         {{"a.log", Prefixed(std::string(9997, 'h') + "\r\n"), 0}},
         std::string(9997, 'h')},
        {"line end beyond 9999 bytes", {{"a.log", Prefixed(std::string(9998, 'h') + "\r\n"), 0}}, ""},
        {"the last listed log",
         {{"CitizenFX_log_2026-12-01.log", Prefixed("older\r\n"), 0},
          {"CitizenFX_log_2026-12-07.log", Prefixed("newer\r\n"), 0}},
         "newer"},
        {"a log of an earlier run", {{"CitizenFX_log.log", Prefixed("stale\r\n"), 3600}}, ""},
        {"a log of an earlier run listed last",
         {{"CitizenFX_log_2026-12-01.log", Prefixed("fresh\r\n"), 0},
          {"CitizenFX_log_2026-12-07.log", Prefixed("stale\r\n"), 60}},
         ""},
        {"not a log", {{"crash.txt", Prefixed("abc\r\n"), 0}}, ""},
    };
    for (const CrashCase& row : table) {
        TempFolder temp;
        FiveMFolder = temp.Path();
        const std::string logs = temp.File("FiveM.app\\logs\\");
        ASSERT_TRUE(CreateDirectoryA(temp.File("FiveM.app").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(logs.c_str(), nullptr));
        NoteGameStart();
        for (const LogFile& log : row.logs) {
            ASSERT_TRUE(WriteFileBytes(logs + log.name, log.text));
            if (!log.ageSeconds) continue;
            FILETIME now{};
            GetSystemTimeAsFileTime(&now);
            ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
            time.QuadPart -= uint64_t(log.ageSeconds) * 10000000ULL;
            FILETIME written{time.LowPart, time.HighPart};
            HANDLE file =
                CreateFileA((logs + log.name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(file, INVALID_HANDLE_VALUE);
            EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
            CloseHandle(file);
        }
        EXPECT_EQ(ReadCrashHash(), row.hash) << row.what;
    }
}

}  // namespace
