#include "launcher/page_actions/game_watch.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "launcher/app/globals.h"
#include "launcher/main_window/main_window.h"
#include "launcher/main_window/page_script.h"
#include "launcher/page_actions/game_process.h"
#include "launcher/page_actions/page_action_entries.h"
#include "utilities/busy_delay.h"
#include "utilities/regex_matcher.h"
#include "utilities/text_search.h"
#include "utilities/whole_file.h"
#include "utilities/win_handles.h"

namespace {

const char kCrashPrefix[] = "Legacy crash hash: ";
constexpr int kCrashPrefixBytes = sizeof kCrashPrefix - 1;
constexpr size_t kCrashHashBytes = 9999;

// File times count 100 ns. A log's write time may lag the clock a little
// (coarse file-system clocks, FAT's 2-second steps); the crash log of this
// run comes at the game's end, long after its start.
constexpr uint64_t kWriteTimeSlack = 2ULL * 10000000ULL;

// Written by the game-start worker, read by the watch on the UI thread.
std::atomic<uint64_t> gameStartTime{0};

uint64_t FileTimeNumber(const FILETIME& time) { return (uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime; }

struct LogFile {
    std::string path;  // empty when the folder lists no log
    uint64_t written = 0;
};

LogFile LastListedLog() {
    const std::string folder = FiveMFolder + "\\FiveM.app\\logs\\";
    LogFile last;
    WIN32_FIND_DATAA entry{};
    FindHandle find(FindFirstFileA((folder + "*.log").c_str(), &entry));
    if (!find.Valid()) return last;
    do {
        const std::string name = entry.cFileName;
        if ((entry.dwFileAttributes & kListedFileAttributes) == 0 || name == "." || name == "..") continue;
        last.path = folder + name;
        last.written = FileTimeNumber(entry.ftLastWriteTime);
    } while (FindNextFileA(find.Get(), &entry));
    return last;
}

// The hash of one log's text, as the log names it.
std::string CrashHashOf(const std::string& text) {
    if (FindText(text, kCrashPrefix) < 0) return {};
    const int prefix = FindText(text, kCrashPrefix, 1, true);
    const std::string rest = text.substr(prefix - 1 + kCrashPrefixBytes, kCrashHashBytes);
    const int lineEnd = FindText(rest, "\r\n");
    if (lineEnd < 0) return {};
    return StripLineBreaks(rest.substr(0, lineEnd));
}

}  // namespace

void NoteGameStart() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    gameStartTime = FileTimeNumber(now);
}

std::string ReadCrashHash() {
    const LogFile log = LastListedLog();
    if (log.path.empty()) return {};
    // A log older than this game start tells of an earlier run's crash.
    if (log.written + kWriteTimeSlack < gameStartTime) return {};
    return CrashHashOf(ReadWholeFile(log.path));
}

std::string StripLineBreaks(const std::string& text) {
    {
        // "[\r\n]+" rather than "\n*\r*": both remove every break, but Wine's
        // regular expressions spend seconds and then fail a global search
        // whose pattern can match the empty text.
        RegexMatcher matcher;
        if (matcher.Search("[\\r\\n]+", text)) return matcher.Replace();
    }
    // Without the automation class, drop the bytes: no GBK trail byte is a
    // CR or LF.
    std::string stripped = text;
    stripped.erase(std::remove_if(stripped.begin(), stripped.end(), [](char c) { return c == '\r' || c == '\n'; }),
                   stripped.end());
    return stripped;
}

void WatchGameExit() {
    ShowMainWindowTrayIcon();
    if (!GameLaunched) return;
    BusyDelay(1000);
    if (FindProcessByName("FiveM.exe")) return;

    SetMainWindowVisible(true);
    SetForegroundWindow(MainWindow.Handle());
    MakeTopMost(MainWindow.Handle(), false);
    GameLaunched = false;
    BusyDelay(1500);
    const std::string hash = ReadCrashHash();
    if (!hash.empty()) RunPageScript("GameCrashDialog('" + ScriptText(hash) + "');");
    MainWindow.时钟2->SetInterval(0);
}
