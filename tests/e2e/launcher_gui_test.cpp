// The real launcher.exe, started from a program folder of its own and driven
// through test_driver.exe as a user would.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "driver/driver_client.h"
#include "e2e/e2e_support.h"
#include "e2e/e2e_texts.h"
#include "launcher/install/core_components.h"
#include "support/test_support.h"
#include "utilities/command_line.h"
#include "utilities/path_helpers.h"

namespace {

using driver::ChildWindow;
using driver::LauncherProcess;
using testsupport::TempFolder;

using e2e::kErrorTitle;
using e2e::kPauseCaption;
using e2e::kQuitCaption;
using e2e::kUpdaterTitle;
// "请不要在含有中文字符的目录下运行启动器（包括上级目录），否则会发生一些不可预料的问题。"
const char kChineseFolderText[] =
    "\xC7\xEB\xB2\xBB\xD2\xAA\xD4\xDA\xBA\xAC\xD3\xD0\xD6\xD0\xCE\xC4\xD7\xD6\xB7\xFB\xB5\xC4\xC4\xBF\xC2\xBC\xCF\xC2"
    "\xD4\xCB\xD0\xD0\xC6\xF4\xB6\xAF\xC6\xF7\xA3\xA8\xB0\xFC\xC0\xA8\xC9\xCF\xBC\xB6\xC4\xBF\xC2\xBC\xA3\xA9\xA3\xAC"
    "\xB7\xF1\xD4\xF2\xBB\xE1\xB7\xA2\xC9\xFA\xD2\xBB\xD0\xA9\xB2\xBB\xBF\xC9\xD4\xA4\xC1\xCF\xB5\xC4\xCE\xCA\xCC\xE2"
    "\xA1\xA3";

bool IsDirectory(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

struct UnitRow {
    const char* what;
    const char* className;
    const char* text;  // null: any
    int left, top, width, height;
    bool visible, enabled, nested;
};

const ChildWindow* FindRow(const std::vector<ChildWindow>& children, const UnitRow& row) {
    for (const ChildWindow& child : children) {
        if (child.className != row.className || child.left != row.left || child.top != row.top) continue;
        if (row.text && child.text != row.text) continue;
        return &child;
    }
    return nullptr;
}

// A launcher started in a fresh program folder; killed at the end of the test.
// Its update flow finds (empty) helper tools and waits on the service's
// version check, which is held, so the updater window stays as it starts.
class LauncherGui : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.Hold("/v1/fivemclient/version/launcher"));
        for (const char* tool : kHelperTools) ASSERT_TRUE(testsupport::WriteFileBytes(folder.File(tool), ""));
    }

    // Starts it and waits until its updater window is shown: the window can
    // be found by its title while its created handler still runs, before a
    // click can reach its units.
    bool StartWithWindow() {
        return launcher.Start(folder.Path()) && driver::WaitForWindow(launcher.Pid(), kUpdaterTitle) &&
               e2e::WaitFor([&] { return e2e::HasVisibleWindowOfSize(launcher.Pid(), 960, 540); }, e2e::kStepMs);
    }

    TempFolder folder;
    e2e::Service service;
    LauncherProcess launcher;
};

TEST_F(LauncherGui, UpdaterWindowShowsEveryUnitAndTheVersion) {
    ASSERT_TRUE(StartWithWindow());

    driver::Result found = driver::Run({"find", "--pid", std::to_string(launcher.Pid()), "--title", kUpdaterTitle});
    EXPECT_NE(found.output.find("\t50\t50\t960\t540\t"), std::string::npos) << found.output;

    std::vector<ChildWindow> children = driver::ListChildren(launcher.Pid(), kUpdaterTitle);
    const UnitRow table[] = {
        // its text follows the update flow
        {"status line", "Quillmere.TransLabel", nullptr, 525, 472, 416, 32, true, true, false},
        {"speed line", "Quillmere.TransLabel", "0.0MB/s", 616, 408, 328, 64, false, true, false},
        {"progress track", "Quillmere.ShapeBox", "", 0, 536, 960, 5, true, true, false},
        {"progress fill", "Quillmere.ShapeBox", "", 0, 0, 8, 16, true, true, true},
        {"version label", "Quillmere.TransLabel", "Quillmere FiveM (1014)", 13, 8, 160, 22, true, true, false},
        {"pause button", "Button", kPauseCaption, 768, 504, 96, 32, false, false, false},
        {"quit button", "Button", kQuitCaption, 864, 504, 96, 32, true, true, false},
        {"close button", "Button", "", 925, 16, 20, 20, true, true, false},
        {"button backdrop", "Button", "", 800, 504, 160, 41, true, true, false},
        {"hand-off label", "Quillmere.Label", "", 720, 24, 56, 24, true, true, false},
    };
    EXPECT_EQ(children.size(), std::size(table));
    for (const UnitRow& row : table) {
        SCOPED_TRACE(row.what);
        const ChildWindow* child = FindRow(children, row);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(child->width, row.width);
        EXPECT_EQ(child->height, row.height);
        EXPECT_EQ(child->visible, row.visible);
        EXPECT_EQ(child->enabled, row.enabled);
        EXPECT_EQ(child->insideAnotherChild, row.nested);
    }

    // The start-up wrote the default settings and made the cache folder.
    std::string settings = testsupport::ReadFileBytes(folder.File("launcher_config.ini"));
    EXPECT_NE(settings.find("path=" + folder.Path() + "\\FiveM"), std::string::npos) << settings;
    EXPECT_TRUE(IsDirectory(folder.File("FiveM\\launcher_cache")));
    EXPECT_TRUE(launcher.Running());
}

TEST_F(LauncherGui, QuitButtonEndsTheProgramWithCodeZero) {
    ASSERT_TRUE(StartWithWindow());
    ASSERT_TRUE(driver::ClickButton(launcher.Pid(), kUpdaterTitle, kQuitCaption));
    EXPECT_EQ(launcher.WaitForExit(), 0);
}

TEST_F(LauncherGui, CloseButtonEndsTheProgramWithCodeZero) {
    ASSERT_TRUE(StartWithWindow());
    // The cross in the top right corner, found by where a user would click.
    ASSERT_TRUE(driver::ClickAt(launcher.Pid(), kUpdaterTitle, 935, 26));
    EXPECT_EQ(launcher.WaitForExit(), 0);
}

TEST_F(LauncherGui, HiddenPauseButtonRefusesAClick) {
    ASSERT_TRUE(StartWithWindow());
    // Refused by the driver: nothing reached the launcher.
    EXPECT_FALSE(driver::ClickButton(launcher.Pid(), kUpdaterTitle, kPauseCaption));
    EXPECT_TRUE(launcher.Running());
}

TEST(LauncherGuiFolder, ChineseProgramFolderIsRefusedWithTheErrorBox) {
    TempFolder root;
    // "中文" anywhere in the path, here as the program folder's parent.
    std::string parent = root.File("\xD6\xD0\xCE\xC4");
    std::string folder = parent + "\\launcher";
    ASSERT_TRUE(CreateDirectoryA(parent.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));

    LauncherProcess launcher;
    ASSERT_TRUE(launcher.Start(folder));
    driver::MessageBoxText box = driver::ReadMessageBox(launcher.Pid());
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.title, kErrorTitle);
    EXPECT_EQ(box.text, kChineseFolderText);
    EXPECT_TRUE(launcher.Running());
    ASSERT_TRUE(driver::PressMessageBoxOk(launcher.Pid()));
    EXPECT_EQ(launcher.WaitForExit(), 0);
    EXPECT_FALSE(FileExists(folder + "\\launcher_config.ini"));
    EXPECT_FALSE(IsDirectory(folder + "\\FiveM"));
}

// The folder test used to read the path in the ANSI code page, where on a
// system whose code page is not 936 the Chinese characters were already "?".
TEST(LauncherGuiFolder, ChineseProgramFolderIsRefusedUnderAnotherCodePage) {
    if (!testsupport::RunningUnderWine()) GTEST_SKIP() << "starts the launcher through Wine's C locale";
    TempFolder root;
    std::string parent = root.File("\xD6\xD0\xCE\xC4");  // "中文"
    std::string folder = parent + "\\launcher";
    ASSERT_TRUE(CreateDirectoryA(parent.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(driver::InstallLauncher(folder));
    std::string exitFile = root.File("exit-code.txt");

    // A Linux script started from here runs the launcher through wine in the C locale.
    const char* source = getenv("QM_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    std::string commandLine =
        std::string(source) + "/tests/e2e/run_in_c_locale.sh " + exitFile + " " + folder + "\\launcher.exe";
    ASSERT_TRUE(RunCommandLine(commandLine));

    LauncherProcess launcher;
    ASSERT_TRUE(launcher.Adopt(driver::FindLauncherProcess(folder + "\\launcher.exe")));
    driver::MessageBoxText box = driver::ReadMessageBox(launcher.Pid());
    ASSERT_TRUE(box.found);
    // Its GBK title shows as Latin letters: it really runs under another code page.
    EXPECT_NE(box.title, kErrorTitle);
    ASSERT_TRUE(driver::PressMessageBoxOk(launcher.Pid()));
    EXPECT_EQ(launcher.WaitForExit(), 0);
    EXPECT_EQ(GetFileAttributesA((folder + "\\launcher_config.ini").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(LauncherGui, AsciiProgramFolderShowsNoBox) {
    ASSERT_TRUE(StartWithWindow());
    // The settings are read right after the folder check, which would have
    // held them back with its box and then ended the launcher.
    ASSERT_TRUE(e2e::WaitForFile(folder.File("launcher_config.ini"), 10000));
    EXPECT_FALSE(driver::ReadMessageBox(launcher.Pid(), 0).found);
    EXPECT_TRUE(launcher.Running());
}

}  // namespace
