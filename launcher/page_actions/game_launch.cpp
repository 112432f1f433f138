#include "launcher/page_actions/game_launch.h"

#include <windows.h>

#include <atomic>
#include <string_view>

#include "launcher/app/globals.h"
#include "launcher/app/worker_thread.h"
#include "launcher/main_window/main_window.h"
#include "launcher/main_window/page_script.h"
#include "launcher/page_actions/game_process.h"
#include "launcher/page_actions/game_watch.h"
#include "launcher/page_actions/page_action_entries.h"
#include "launcher/page_actions/page_dialog.h"
#include "utilities/busy_delay.h"
#include "utilities/command_line.h"

namespace {

// "启动失败", "FiveM 已经在运行中", "服务器地址无效"
const char kStartFailedTitle[] = "\xC6\xF4\xB6\xAF\xCA\xA7\xB0\xDC";
const char kGameRunsText[] = "FiveM \xD2\xD1\xBE\xAD\xD4\xDA\xD4\xCB\xD0\xD0\xD6\xD0";
const char kBadAddressText[] = "\xB7\xFE\xCE\xF1\xC6\xF7\xB5\xD8\xD6\xB7\xCE\xDE\xD0\xA7";
// The launch button becomes a flash icon while the game runs.
const char kLaunchButtonScript[] = "$('.launch-btn').html('<i class=\\'fa fa-flash\\'></i>');";

// Set by StartGameOnce, cleared when its worker is done.
std::atomic<bool> gameStartUnderWay{false};

}  // namespace

bool IsServerAddress(const std::string& address) {
    for (unsigned char c : address)
        if (c < 0x20 || c == 0x7F || std::string_view("&|<>^%\"()!").find(char(c)) != std::string_view::npos)
            return false;
    return true;
}

void StartGameOnce(const std::string& address) {
    if (gameStartUnderWay.exchange(true)) {
        ShowPageDialog(kStartFailedTitle, kGameRunsText, "error");
        return;
    }
    if (!StartWorkerThread([address] { LaunchGame(address); })) gameStartUnderWay = false;
}

std::string GameCommandLine(const std::string& fiveMFolder, const std::string& address) {
    // The interpreter takes the first and the last quote of the line away
    // whenever the quoted part holds "&", "(" or the like, as in "Program
    // Files (x86)". Quoting the whole line leaves the path's own quotes.
    return "cmd /c \"\"" + fiveMFolder + "\\FiveM.exe\" +connect " + address + "\"";
}

void LaunchGame(const std::string& address) {
    struct StartDone {
        ~StartDone() { gameStartUnderWay = false; }
    } startDone;
    if (FindProcessByName("FiveM.exe")) {
        ShowPageDialog(kStartFailedTitle, kGameRunsText, "error");
        return;
    }
    // The page's address is percent-decoded: "%26" becomes "&", after which
    // the interpreter would run whatever the address goes on with.
    if (!IsServerAddress(address)) {
        ShowPageDialog(kStartFailedTitle, kBadAddressText, "error");
        return;
    }
    NoteGameStart();
    RunCommandLine(GameCommandLine(FiveMFolder, address), SW_HIDE);
    GameLaunched = true;
    BusyDelay(500);
    MainWindow.时钟2->SetInterval(3000);
    if (!FindProcessByName("FiveM.exe")) return;  // not there yet: the watch is armed all the same
    SetMainWindowVisible(false);
    RunPageScript(kLaunchButtonScript);
}
