// The settings file as a user may leave it: missing, partial, with odd values.
#include <gtest/gtest.h>
#include <windows.h>

#include "launcher/app/globals.h"
#include "launcher/app/launcher_settings.h"
#include "support/test_support.h"

namespace {

using testsupport::TempFolder;

std::string ReadKey(const std::string& ini, const char* section, const char* key) {
    char buffer[1024] = {};
    GetPrivateProfileStringA(section, key, "<missing>", buffer, sizeof buffer, ini.c_str());
    return buffer;
}

// The keys of a section in file order, as "key=value" lines.
std::string SectionLines(const std::string& ini, const char* section) {
    char buffer[4096] = {};
    DWORD n = GetPrivateProfileSectionA(section, buffer, sizeof buffer, ini.c_str());
    std::string out;
    for (DWORD i = 0; i < n; ++i) out += buffer[i] ? buffer[i] : '\n';
    return out;
}

void ResetSettings() {
    DownloadThreads = LowSpeedLimitKB = DownloadServer = -99;
    ColorProgressBar = true;
    FiveMFolder = "unset";
}

TEST(LauncherSettings, MissingFileIsCreatedWithTheFiveDefaultsInOrder) {
    TempFolder folder;
    ResetSettings();
    LoadLauncherSettings(folder.Path());

    std::string ini = folder.File("launcher_config.ini");
    EXPECT_EQ(SectionLines(ini, "download"), "threads=16\nlowspeed=0\ncolor_processbar=false\nserver=1\n");
    EXPECT_EQ(SectionLines(ini, "fivem"), "path=" + folder.Path() + "\\FiveM\n");
    std::string text = testsupport::ReadFileBytes(ini);
    EXPECT_LT(text.find("[download]"), text.find("[fivem]"));

    EXPECT_EQ(DownloadThreads, 16);
    EXPECT_EQ(LowSpeedLimitKB, 0);
    EXPECT_FALSE(ColorProgressBar);
    EXPECT_EQ(DownloadServer, 1);
    EXPECT_EQ(FiveMFolder, folder.Path() + "\\FiveM");
}

struct ThreadsCase {
    const char* stored;
    int used;
};

class ThreadsClamp : public testing::TestWithParam<ThreadsCase> {};

TEST_P(ThreadsClamp, IsClampedInMemoryAndTheFileKeepsItsValue) {
    TempFolder folder;
    std::string ini = folder.File("launcher_config.ini");
    testsupport::WriteFileBytes(ini, std::string("[download]\r\nthreads=") + GetParam().stored +
                                         "\r\nlowspeed=0\r\ncolor_processbar=false\r\nserver=1\r\n");
    ResetSettings();
    LoadLauncherSettings(folder.Path());
    EXPECT_EQ(DownloadThreads, GetParam().used);
    EXPECT_EQ(ReadKey(ini, "download", "threads"), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Values, ThreadsClamp,
                         testing::Values(ThreadsCase{"0", 1}, ThreadsCase{"100", 64}, ThreadsCase{"1", 1},
                                         ThreadsCase{"64", 64}, ThreadsCase{"-5", 1}, ThreadsCase{"abc", 1},
                                         ThreadsCase{"8 threads", 8}));

TEST(LauncherSettings, MissingKeysAreWrittenBackWithTheirDefaults) {
    TempFolder folder;
    std::string ini = folder.File("launcher_config.ini");
    testsupport::WriteFileBytes(ini, "[download]\r\nlowspeed=30\r\n");
    ResetSettings();
    LoadLauncherSettings(folder.Path());

    EXPECT_EQ(ReadKey(ini, "download", "threads"), "16");
    EXPECT_EQ(ReadKey(ini, "download", "server"), "1");
    EXPECT_EQ(ReadKey(ini, "download", "lowspeed"), "30");
    EXPECT_EQ(ReadKey(ini, "download", "color_processbar"), "false");
    EXPECT_EQ(ReadKey(ini, "fivem", "path"), folder.Path() + "\\FiveM");
    EXPECT_EQ(DownloadThreads, 16);
    EXPECT_EQ(DownloadServer, 1);
    EXPECT_EQ(LowSpeedLimitKB, 30);
}

TEST(LauncherSettings, NonNumbersReadAsZeroAndAreNotRepaired) {
    TempFolder folder;
    std::string ini = folder.File("launcher_config.ini");
    testsupport::WriteFileBytes(ini,
                                "[download]\r\nthreads=x\r\nlowspeed=slow\r\nserver=two\r\ncolor_processbar=false\r\n"
                                "[fivem]\r\npath=C:\\Games\r\n");
    ResetSettings();
    LoadLauncherSettings(folder.Path());
    EXPECT_EQ(DownloadThreads, 1);
    EXPECT_EQ(LowSpeedLimitKB, 0);
    EXPECT_EQ(DownloadServer, 0);
    EXPECT_EQ(ReadKey(ini, "download", "server"), "two");
}

struct ColourCase {
    const char* stored;  // null: the line is "color_processbar=" with nothing after it
    bool on;
    const char* fileAfter;
};

class ColourOption : public testing::TestWithParam<ColourCase> {};

TEST_P(ColourOption, OnlyLowerCaseTrueSwitchesItOnAndEmptyBecomesFalse) {
    TempFolder folder;
    std::string ini = folder.File("launcher_config.ini");
    std::string value = GetParam().stored ? GetParam().stored : "";
    testsupport::WriteFileBytes(
        ini, "[download]\r\nthreads=16\r\nlowspeed=0\r\ncolor_processbar=" + value + "\r\nserver=1\r\n");
    ResetSettings();
    LoadLauncherSettings(folder.Path());
    EXPECT_EQ(ColorProgressBar, GetParam().on);
    EXPECT_EQ(ReadKey(ini, "download", "color_processbar"), GetParam().fileAfter);
}

INSTANTIATE_TEST_SUITE_P(Values, ColourOption,
                         testing::Values(ColourCase{"true", true, "true"}, ColourCase{"TRUE", false, "TRUE"},
                                         ColourCase{"True", false, "True"}, ColourCase{"1", false, "1"},
                                         ColourCase{"false", false, "false"}, ColourCase{nullptr, false, "false"}));

struct FolderCase {
    const char* what;
    bool hasFiveMExe;
    const char* suffix;  // written after the folder in [fivem] path
    bool kept;
};

class ConfiguredFolder : public testing::TestWithParam<FolderCase> {};

TEST_P(ConfiguredFolder, IsKeptOnlyWhenItHoldsFiveMExeAndTheFileKeepsIt) {
    TempFolder folder;
    TempFolder game;
    if (GetParam().hasFiveMExe) testsupport::WriteFileBytes(game.File("FiveM.exe"), "MZ");
    std::string configured = game.Path() + GetParam().suffix;
    std::string ini = folder.File("launcher_config.ini");
    testsupport::WriteFileBytes(ini,
                                "[download]\r\nthreads=16\r\nlowspeed=0\r\ncolor_processbar=false\r\nserver=1\r\n"
                                "[fivem]\r\npath=" +
                                    configured + "\r\n");
    ResetSettings();
    LoadLauncherSettings(folder.Path());
    EXPECT_EQ(FiveMFolder, GetParam().kept ? configured : folder.Path() + "\\FiveM");
    EXPECT_EQ(ReadKey(ini, "fivem", "path"), configured);
}

INSTANTIATE_TEST_SUITE_P(Folders, ConfiguredFolder,
                         testing::Values(FolderCase{"with FiveM.exe", true, "", true},
                                         FolderCase{"without FiveM.exe", false, "", false},
                                         // a name ending in "\" is no directory entry
                                         FolderCase{"with a trailing backslash", true, "\\", false},
                                         FolderCase{"missing", false, "\\gone", false}),
                         [](const testing::TestParamInfo<FolderCase>& info) { return std::to_string(info.index); });

}  // namespace
