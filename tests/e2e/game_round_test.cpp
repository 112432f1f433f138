// The game round as a player meets it, in the real launcher: the page's
// launch starts the stand-in FiveM.exe with "+connect" and the address, the
// launcher hides in the tray while the game runs and comes back, top-most,
// when the game window is closed, handing a crash hash to the page. A start
// while the game runs or is being started, or with an address the command
// interpreter would act on, starts nothing. The stand-in engine's channel plays the page and
// logs the scripts the launcher ran.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "e2e/e2e_support.h"
#include "e2e/e2e_texts.h"
#include "utilities/path_helpers.h"
#include "webview_test_support.h"

namespace {

using namespace e2e;
using driver::LauncherProcess;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;
using webviewtest::EngineChannel;

const char kLaunchButtonScript[] = "$('.launch-btn').html('<i class=\\'fa fa-flash\\'></i>');";
const char kGameRunsDialog[] = u8"Swal.fire('启动失败', 'FiveM 已经在运行中', 'error');";

class GameRound : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.Running());
        // The client the service offers is installed: straight to the main window.
        ASSERT_TRUE(InstallClient(folder, "100"));
    }

    // The main window once it has asked for the page.
    HWND StartLauncher() {
        if (!launcher.Start(folder.Path()) || !FlowFinishes(launcher.Pid(), kStepMs)) return nullptr;
        if (!service.WaitForRequests(kPagePath, 1, kStepMs)) return nullptr;
        return WindowOfSize(launcher.Pid(), 1280, 720, true);
    }

    void PageSends(const std::string& message) {
        EXPECT_EQ(engine.SendFirstLine("console 1 " + message), "OK") << message;
    }

    // Scripts the launcher ran that hold piece (UTF-8).
    int Scripts(const std::string& piece) {
        std::vector<std::string> scripts = engine.LogLinesStarting("wkeRunJSW");
        return (int)std::count_if(scripts.begin(), scripts.end(),
                                  [&](const std::string& line) { return line.find(piece) != std::string::npos; });
    }
    bool WaitForScript(const std::string& piece) {
        return WaitFor([&] { return Scripts(piece) > 0; }, kStepMs);
    }

    // Every command line the stand-in game was started with, one a line.
    std::string GameStarts() const { return ReadFileBytes(folder.FiveMFile("FiveM.command-lines.txt")); }

    // The launcher's tray icon (the window's icon number 1): only an icon
    // that is there can be modified.
    static bool TrayIconShown(HWND window) {
        NOTIFYICONDATAA data{};
        data.cbSize = sizeof data;
        data.hWnd = window;
        data.uID = 1;
        return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
    }

    EngineChannel& engine = EngineChannel::Get();  // before the launcher: it names the channel's port
    ProgramFolder folder;
    Service service;
    LauncherProcess launcher;
};

TEST_F(GameRound, HidesInTheTrayWhileTheGameRunsAndComesBackWithTheCrashHash) {
    HWND window = StartLauncher();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(TrayIconShown(window));
    // The game will end with a crash; the hash holds a quote, which must
    // reach the page as the hash, not as script.
    ASSERT_TRUE(WriteFileBytes(folder.FiveMFile("FiveM.crash-hash.txt"), "zulu-mars-nine'x"));
    engine.ClearLog();

    // Three quick clicks on the launch button, with a join link: one game
    // starts, with the link as it was sent; the other clicks are told so.
    const std::string link = "play.example.net/join/abc123";
    for (int click = 0; click < 3; ++click) PageSends("action:startGame|play.example.net%2Fjoin%2Fabc123");
    HWND game = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (game = FindWindowA("FiveMStandIn", ("FiveM - " + link).c_str())); }, kStepMs));
    EXPECT_TRUE(WaitFor([&] { return Scripts(kGameRunsDialog) == 2; }, kStepMs));
    EXPECT_EQ(GameStarts(), "\"" + folder.FiveMFile("FiveM.exe") + "\" +connect " + link + "\r\n");
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(window); }, kStepMs));
    EXPECT_TRUE(WaitForScript(kLaunchButtonScript));
    EXPECT_TRUE(TrayIconShown(window));
    EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);

    // The game ends: the launcher comes back in front, then the page hears
    // of the crash.
    PostMessageA(game, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(window); }, kStepMs));
    // Shown first, made top-most right after.
    EXPECT_TRUE(WaitFor([&] { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, kStepMs));
    EXPECT_TRUE(WaitForScript("GameCrashDialog('zulu-mars-nine\\'x');"));
    EXPECT_EQ(Scripts("GameCrashDialog("), 1);
    EXPECT_TRUE(TrayIconShown(window));
    EXPECT_TRUE(launcher.Running());
}

TEST_F(GameRound, StartsNothingWhileTheGameRunsOrForAnAddressTheInterpreterWouldObey) {
    HWND window = StartLauncher();
    ASSERT_NE(window, nullptr);

    // A game the player started some other way.
    PROCESS_INFORMATION running{};
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string line = "\"" + folder.FiveMFile("FiveM.exe") + "\" +connect 10.0.0.1:30120";
    ASSERT_TRUE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &running));
    ASSERT_TRUE(WaitFor([&] { return !GameStarts().empty(); }, kStepMs));
    engine.ClearLog();
    PageSends("action:startGame|127.0.0.1%3A30120");
    EXPECT_TRUE(WaitForScript(kGameRunsDialog));
    TerminateProcess(running.hProcess, 0);
    WaitForSingleObject(running.hProcess, kStepMs);
    CloseHandle(running.hThread);
    CloseHandle(running.hProcess);

    // "%26" decodes to "&": what follows would be a command of its own.
    PageSends("action:startGame|127.0.0.1%3A30120%26echo%20owned%3Eowned.txt");
    EXPECT_TRUE(WaitForScript(u8"Swal.fire('启动失败', '服务器地址无效', 'error');"));

    EXPECT_EQ(GameStarts(), line + "\r\n");
    EXPECT_FALSE(FileExists(folder.File("owned.txt")));
    EXPECT_EQ(Scripts(kLaunchButtonScript), 0);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(TrayIconShown(window));  // no game watch was armed
}

}  // namespace
