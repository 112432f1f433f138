// A user who has FiveM already picks its FiveM.exe in the file dialog that
// the package choice "我已有 FiveM" opens.
#include <gtest/gtest.h>

#include "e2e/e2e_support.h"
#include "e2e/e2e_texts.h"
#include "utilities/path_helpers.h"
#include "utilities/process_windows.h"

namespace {

using namespace e2e;
using driver::LauncherProcess;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;


HWND WaitForFolderDialog(DWORD pid) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            found = FindProcessWindow(pid, [](HWND window) {
                char title[128] = {};
                GetWindowTextA(window, title, sizeof title);
                return IsWindowVisible(window) && strcmp(title, kFolderDialogTitle) == 0;
            });
            return found != nullptr;
        },
        kStepMs);
    return found;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

// The file name box: the system dialog's edit control, or the edit inside
// its file name combo box.
HWND FileNameBox(HWND dialog) {
    std::vector<HWND> children;
    EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) {
        char className[64] = {};
        GetClassNameA(child, className, sizeof className);
        if (_stricmp(className, "Edit") == 0 && IsWindowVisible(child)) return child;
    }
    return nullptr;
}

class ExistingFolder : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.Running());
        ASSERT_TRUE(CopyFileA((testsupport::BinDir() + "\\FiveM.exe").c_str(), game.File("FiveM.exe").c_str(), FALSE));
        ASSERT_TRUE(CreateDirectoryA(game.File("FiveM.app").c_str(), nullptr));
        ASSERT_TRUE(WriteFileBytes(game.File("FiveM.app\\caches.xml"),
                                   "<Caches>\r\n  <Cache Name=\"fivem\" Version=\"99\" />\r\n</Caches>\r\n"));
    }

    // Chooses "我已有 FiveM" and waits for the file dialog.
    HWND ChooseCustomClient() {
        if (!launcher.Start(folder.Path()) || !driver::WaitForWindow(launcher.Pid(), kDialogTitle, kStepMs) ||
            !ClickDialogUnit(launcher.Pid(), kCustomOption) || !ClickDialogUnit(launcher.Pid(), kConfirm))
            return nullptr;
        return WaitForFolderDialog(launcher.Pid());
    }

    testsupport::TempFolder game;
    ProgramFolder folder;
    Service service;
    LauncherProcess launcher;
};

TEST_F(ExistingFolder, ChosenFiveMFolderIsKeptVersionedAndUpdated) {
    HWND dialog = ChooseCustomClient();
    ASSERT_NE(dialog, nullptr);
    // The updater window steps aside while the dialog is up.
    EXPECT_FALSE(HasVisibleWindowOfSize(launcher.Pid(), 960, 540));
    HWND fileName = FileNameBox(dialog);
    ASSERT_NE(fileName, nullptr);
    ASSERT_TRUE(SetWindowTextA(fileName, game.File("FiveM.exe").c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);

    // The version of its caches file is older than the service's.
    ASSERT_TRUE(service.WaitForRequests("/v1/fivemclient/update?local=99&server=1", 1, kStepMs));
    ASSERT_TRUE(FlowFinishes(launcher.Pid(), kStepMs));
    EXPECT_EQ(ReadFileBytes(game.File("launcher_version.txt")), "100");
    EXPECT_TRUE(FileExists(game.File("FiveM.app\\citizen\\version.txt")));
    EXPECT_TRUE(FileExists(game.File("launcher_cache")));
    std::string settings = ReadFileBytes(folder.File("launcher_config.ini"));
    EXPECT_NE(settings.find("path=" + game.Path() + "\r\n"), std::string::npos) << settings;
    EXPECT_FALSE(FileExists(folder.File("FiveM\\FiveM.exe")));
    EXPECT_EQ(service.CountRequests("/v1/fivemclient/download"), 0);
}

TEST_F(ExistingFolder, CancelledChoiceShowsNotFoundAndEnds) {
    HWND dialog = ChooseCustomClient();
    ASSERT_NE(dialog, nullptr);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);

    driver::MessageBoxText box = driver::ReadMessageBox(launcher.Pid(), kStepMs);
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.title, kNotFoundTitle);
    ASSERT_TRUE(driver::PressMessageBoxOk(launcher.Pid()));
    EXPECT_EQ(launcher.WaitForExit(kStepMs), 0);
    EXPECT_FALSE(FileExists(game.File("launcher_version.txt")));
    EXPECT_EQ(service.CountRequests("/v1/fivemclient/update?"), 0);
}

// The dialog takes any file that exists; only FiveM.exe (in any case) names
// a FiveM folder.
TEST_F(ExistingFolder, AnotherProgramIsRefusedAndTheDialogOpensAgain) {
    ASSERT_TRUE(CopyFileA(game.File("FiveM.exe").c_str(), game.File("GTA5.exe").c_str(), FALSE));
    HWND dialog = ChooseCustomClient();
    ASSERT_NE(dialog, nullptr);
    HWND fileName = FileNameBox(dialog);
    ASSERT_NE(fileName, nullptr);
    ASSERT_TRUE(SetWindowTextA(fileName, game.File("GTA5.exe").c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);

    driver::MessageBoxText refused = driver::ReadMessageBox(launcher.Pid(), kStepMs);
    ASSERT_TRUE(refused.found);
    EXPECT_EQ(refused.title, kNotFoundTitle);
    ASSERT_TRUE(driver::PressMessageBoxOk(launcher.Pid()));
    HWND again = WaitForFolderDialog(launcher.Pid());
    ASSERT_NE(again, nullptr);
    PostMessageA(again, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(driver::ReadMessageBox(launcher.Pid(), kStepMs).found);
    ASSERT_TRUE(driver::PressMessageBoxOk(launcher.Pid()));
    EXPECT_EQ(launcher.WaitForExit(kStepMs), 0);
    EXPECT_FALSE(FileExists(game.File("launcher_version.txt")));
    EXPECT_EQ(ReadFileBytes(folder.File("launcher_config.ini")).find(game.Path()), std::string::npos);
}

}  // namespace
