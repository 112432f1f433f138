// The main window of the real launcher after a start-up with a current
// client: it fades in, loads the page a second later into the cache folder,
// and its tray menu's exit ends the program or, while the game runs, asks
// the page first. The stand-in engine's control channel shows the calls the
// launcher made.
#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/e2e_support.h"
#include "e2e/e2e_texts.h"
#include "launcher/ui/tray_icon.h"
#include "webview_test_support.h"

namespace {

using namespace e2e;
using driver::LauncherProcess;


class MainWindowRun : public testing::Test {
protected:
    void SetUp() override {
        webviewtest::EngineChannel::Get();  // its port goes to the launcher through the environment
        ASSERT_TRUE(service.Running());
        ASSERT_TRUE(InstallClient(folder, "100"));
    }

    HWND WaitForMainWindow() {
        HWND found = nullptr;
        WaitFor([&] { return (found = WindowOfSize(launcher.Pid(), 1280, 720, true)) != nullptr; }, kStepMs);
        return found;
    }

    // Index of the first engine log line starting with prefix; -1 when none.
    static int LogIndex(const std::vector<std::string>& log, const std::string& prefix) {
        for (size_t i = 0; i < log.size(); ++i)
            if (log[i].rfind(prefix, 0) == 0) return (int)i;
        return -1;
    }

    ProgramFolder folder;
    Service service;
    LauncherProcess launcher;
};

TEST_F(MainWindowRun, FadesInThenLoadsThePageIntoTheCacheFolder) {
    ASSERT_TRUE(launcher.Start(folder.Path()));
    HWND window = WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    // Made transparent and faded in; the page comes about a second later.
    const int first = WindowAlpha(window);
    EXPECT_EQ(service.CountRequests(kPagePath), 0) << "the page was asked for at once";
    EXPECT_LT(first, 255);
    EXPECT_TRUE(WaitFor([&] { return WindowAlpha(window) == 255; }, kStepMs));
    ASSERT_TRUE(service.WaitForRequests(kPagePath, 1, kStepMs));

    RECT place{};
    GetWindowRect(window, &place);
    EXPECT_EQ(place.right - place.left, 1280);
    EXPECT_EQ(place.bottom - place.top, 720);
    const std::vector<std::string> log = webviewtest::EngineChannel::Get().Log();
    const std::string cache = folder.File("FiveM\\launcher_cache\\");
    const int cookie = LogIndex(log, "wkeSetCookieJarPath");
    const int storage = LogIndex(log, "wkeSetLocalStorageFullPath");
    const int load = LogIndex(log, "wkeLoadURL");
    ASSERT_GE(cookie, 0);
    EXPECT_LT(cookie, storage);
    EXPECT_LT(storage, load);
    EXPECT_NE(log[cookie].find(cache), std::string::npos) << log[cookie];
    EXPECT_NE(log[storage].find(cache), std::string::npos) << log[storage];
    EXPECT_NE(log[load].find(service.Url(kPagePath)), std::string::npos) << log[load];
}

TEST_F(MainWindowRun, TrayExitAsksThePageWhileTheGameRunsAndEndsOtherwise) {
    ASSERT_TRUE(launcher.Start(folder.Path()));
    HWND window = WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(service.WaitForRequests(kPagePath, 1, kStepMs));

    // The game runs: the page is asked to confirm and the launcher stays.
    PROCESS_INFORMATION game{};
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string gameLine = "\"" + folder.FiveMFile("FiveM.exe") + "\"";
    ASSERT_TRUE(CreateProcessA(nullptr, &gameLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &game));
    webviewtest::EngineChannel::Get().ClearLog();
    PostMessageA(window, WM_COMMAND, kTrayMenuFirstId + 1, 0);
    EXPECT_TRUE(WaitFor(
        [&] {
            std::vector<std::string> scripts = webviewtest::EngineChannel::Get().LogLinesStarting("wkeRunJSW");
            return std::any_of(scripts.begin(), scripts.end(), [](const std::string& line) {
                return line.find("console.log('action:closeWindow')") != std::string::npos;
            });
        },
        kStepMs));
    EXPECT_TRUE(launcher.Running());
    TerminateProcess(game.hProcess, 0);
    WaitForSingleObject(game.hProcess, 5000);
    CloseHandle(game.hThread);
    CloseHandle(game.hProcess);

    // Without the game the same item ends the launcher at once.
    PostMessageA(window, WM_COMMAND, kTrayMenuFirstId + 1, 0);
    EXPECT_EQ(launcher.WaitForExit(kStepMs), 0);
}

}  // namespace
