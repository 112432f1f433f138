// The actions whose work lives elsewhere: each writes what its worker reads,
// then starts it, or calls the switch on the UI thread.
#include "launcher/app/globals.h"
#include "launcher/app/worker_thread.h"
#include "launcher/main_window/main_window.h"
#include "launcher/page_actions/game_launch.h"
#include "launcher/page_actions/page_action_entries.h"
#include "launcher/page_actions/page_action_handlers.h"
#include "launcher/page_actions/page_bridge.h"

void StartGameAction(const std::string& argument) {
    GameServerAddress = UrlDecode(argument);
    StartGameOnce(GameServerAddress);
}

void GetAddonsListAction(const std::string&) { StartWorkerThread(FillAddonsList); }
void GetModsListAction(const std::string&) { StartWorkerThread(FillModsList); }

void DisableAddonsAction(const std::string& argument) { DisableAddon(argument); }
void EnableAddonsAction(const std::string& argument) { EnableAddon(argument); }
void DisableModsAction(const std::string& argument) { DisableMod(argument); }
void EnableModsAction(const std::string& argument) { EnableMod(argument); }

void GetSteamInfoAction(const std::string&) {
    // The overlay stays away whatever the report finds.
    if (MainWindow.遮罩层) MainWindow.遮罩层->SetVisible(false);
    StartWorkerThread(ReportSteamInfo);
}
