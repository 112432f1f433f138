// The update flows' decisions and texts, without the daemon or the service.
#include <gtest/gtest.h>

#include "launcher/install/client_update.h"
#include "launcher/install/core_components.h"
#include "launcher/install/download_complete_script.h"
#include "launcher/install/update_flow.h"
#include "launcher/install/update_flow_download.h"
#include "support/test_support.h"
#include "utilities/whole_file.h"

namespace {

using testsupport::TempFolder;
using testsupport::WriteFileBytes;

TEST(UpdateFlowDecisions, LauncherUpdatesOnlyToAHigherNonZeroBuild) {
    const struct {
        int latest;
        bool update;
    } table[] = {{0, false}, {-5, false}, {1013, false}, {1014, false}, {1015, true}, {99999, true}};
    for (const auto& row : table) EXPECT_EQ(LauncherUpdateNeeded(row.latest), row.update) << row.latest;
}

TEST(UpdateFlowDecisions, ServicePathsCarryChoiceServerAndLocalVersion) {
    EXPECT_EQ(PackageDownloadPath(1, 1), "/v1/fivemclient/download?server=1");
    EXPECT_EQ(PackageDownloadPath(2, 2), "/v1/fivemclient/download/nocache?server=2");
    EXPECT_EQ(PackageDownloadPath(3, 1), "");
    EXPECT_EQ(PackageDownloadPath(4, 1), "");
    EXPECT_EQ(LauncherUpdatePath(0), "/v1/fivemclient/update/launcher?server=0");
    EXPECT_EQ(ClientUpdatePath(0, 1), "/v1/fivemclient/update?local=0&server=1");
    EXPECT_EQ(ClientUpdatePath(2372, 2), "/v1/fivemclient/update?local=2372&server=2");
}

TEST(UpdateFlowDecisions, FolderOfTheChosenFileEndsBeforeItsLastBackslash) {
    const struct {
        std::string path, folder;
    } table[] = {
        {"D:\\Games\\FiveM\\FiveM.exe", "D:\\Games\\FiveM"},
        {"C:\\FiveM.exe", "C:"},
        {"FiveM.exe", ""},
        // A GBK character whose trail byte is 0x5C is no separator.
        {"D:\\A\x95\x5C"
         "B\\FiveM.exe",
         "D:\\A\x95\x5C"
         "B"},
        {"D:\\x\x95\x5C"
         "FiveM.exe",
         "D:"},
    };
    for (const auto& row : table) EXPECT_EQ(FolderOfFile(row.path), row.folder) << testsupport::Hex(row.path);
}

TEST(CachesVersion, ValueBetweenVersionQuoteAndQuoteSlashIsRead) {
    const struct {
        std::string text;
        int version;
    } table[] = {
        {"<Cache Name=\"fivem\" Version=\"2372\" />", 2372},
        {"<?xml?>\r\n<Caches>\r\n  <Cache Version=\"100\" />\r\n</Caches>", 100},
        {"<Cache Version=\"7\" /><Cache Version=\"8\" />", 7},
        {"<Cache Version=\"abc\" />", 0},
        {"<Cache Version=\"\" />", 0},
        {"", 0},
        {"no attribute at all", 0},
        // Case matters, and the quote must follow directly.
        {"<Cache version=\"12\" />", 0},
    };
    for (const auto& row : table) EXPECT_EQ(CachesVersionOfText(row.text), row.version) << row.text;
}

TEST(CachesVersion, MissingFileGivesZeroAndAFileItsVersion) {
    TempFolder folder;
    EXPECT_EQ(ReadCachesVersion(folder.File("caches.xml")), 0);
    ASSERT_TRUE(WriteFileBytes(folder.File("caches.xml"), "<Caches><Cache Name=\"x\" Version=\"2372\" /></Caches>"));
    EXPECT_EQ(ReadCachesVersion(folder.File("caches.xml")), 2372);
}

TEST(SelfUpdateScript, PlainNameGivesTheSevenLinesWithoutSubfolderDeletes) {
    EXPECT_EQ(BuildSelfUpdateScript(4242, "launcher.exe"),
              "@echo off\r\n"
              "taskkill /f /PID 4242\r\n"
              "ping -n 2 127.0.0.1\r\n"
              "del /q launcher.exe\r\n"
              "move /Y temp-launcher.exe launcher.exe\r\n"
              "start launcher.exe\r\n"
              "del /q %0");
}

TEST(SelfUpdateScript, NameWithBlanksIsQuotedAndStartedWithAnEmptyTitle) {
    std::string script = BuildSelfUpdateScript(7, "My Launcher.exe");
    EXPECT_NE(script.find("\r\ndel /q \"My Launcher.exe\"\r\n"), std::string::npos) << script;
    EXPECT_NE(script.find("\r\nmove /Y temp-launcher.exe \"My Launcher.exe\"\r\n"), std::string::npos) << script;
    EXPECT_NE(script.find("\r\nstart \"\" \"My Launcher.exe\"\r\n"), std::string::npos) << script;
    EXPECT_EQ(script.find("/s"), std::string::npos) << script;
}

TEST(SelfUpdateScript, FileNamesAreQuotedUnlessPlain) {
    const struct {
        std::string name, written;
    } table[] = {
        {"launcher.exe", "launcher.exe"}, {"Quillmere_Launcher-2.exe", "Quillmere_Launcher-2.exe"},
        {"a b.exe", "\"a b.exe\""},       {"a&b.exe", "\"a&b.exe\""},
        {"100%.exe", "\"100%%.exe\""},    {"\xC6\xF4\xB6\xAF.exe", "\"\xC6\xF4\xB6\xAF.exe\""},
    };
    for (const auto& row : table) EXPECT_EQ(ScriptFileName(row.name), row.written) << row.name;
}

TEST(UnpackCommandLine, FolderIsQuotedWithItsTrailingBackslash) {
    EXPECT_EQ(BuildUnpackCommandLine("temp-client.zip", "D:\\Games\\FiveM"),
              "7z x -aoa temp-client.zip -o\"D:\\Games\\FiveM\\\"");
    EXPECT_EQ(BuildUnpackCommandLine("temp-update.zip", "C:\\Program Files\\FiveM"),
              "7z x -aoa temp-update.zip -o\"C:\\Program Files\\FiveM\\\"");
}

TEST(DownloadedLauncher, OnlyANonEmptyImageBeginningWithMZCounts) {
    const struct {
        std::string bytes;
        bool executable;
    } table[] = {{"", false},          {"M", false},    {"MZ", true},
                 {"MZ\x90\x00", true}, {"ZM..", false}, {"<html>404</html>", false},
                 {"mz..", false}};
    for (const auto& row : table) EXPECT_EQ(IsWindowsExecutableImage(row.bytes), row.executable) << row.bytes;
}

TEST(HelperTools, FirstMissingToolIsNamedInTestOrder) {
    TempFolder folder;
    EXPECT_EQ(MissingHelperTool(folder.Path()), "aria2c.exe");
    for (const char* tool : {"aria2c.exe", "7z.exe", "node.dll", "zip.dll"})
        ASSERT_TRUE(WriteFileBytes(folder.File(tool), "x"));
    // 7z.dll alone missing still counts.
    EXPECT_EQ(MissingHelperTool(folder.Path()), "7z.dll");
    ASSERT_TRUE(WriteFileBytes(folder.File("7z.dll"), "x"));
    EXPECT_EQ(MissingHelperTool(folder.Path()), "");
    DeleteFilePath(folder.File("node.dll"));
    EXPECT_EQ(MissingHelperTool(folder.Path()), "node.dll");
}

TEST(HelperTools, RestartNamesTheLauncherByItsQuotedFullPath) {
    EXPECT_EQ(RestartCommandLine("C:\\Quillmere FiveM\\launcher.exe"), "\"C:\\Quillmere FiveM\\launcher.exe\"");
}

TEST(CurrentDownload, NotificationGidIsReadFromTheParams) {
    const struct {
        std::string text, gid;
    } table[] = {
        {"[{\"jsonrpc\":\"2.0\",\"method\":\"aria2.onDownloadComplete\",\"params\":[{\"gid\":\"2089b05ecca3d829\"}]}]",
         "2089b05ecca3d829"},
        {"[{\"method\":\"aria2.onDownloadError\",\"params\":[{\"gid\":\"\"}]}]", ""},
        {"[{\"method\":\"aria2.onDownloadComplete\",\"params\":[]}]", ""},
        {"", ""},
        {"{\"gid\":\"unterminated", ""},
    };
    for (const auto& row : table) EXPECT_EQ(NotificationGid(row.text), row.gid) << row.text;
}

TEST(CurrentDownload, OnlyAGidOfTheCurrentDownloadIsClaimedAndOnlyOnce) {
    SetCurrentDownloadGids({"aaaa000000000001"});
    EXPECT_FALSE(ClaimCurrentDownloadGid(""));
    // An add-on package's or an earlier download's completion.
    EXPECT_FALSE(ClaimCurrentDownloadGid("bbbb000000000002"));
    EXPECT_TRUE(ClaimCurrentDownloadGid("aaaa000000000001"));
    EXPECT_FALSE(ClaimCurrentDownloadGid("aaaa000000000001"));

    SetCurrentDownloadGids({});
    EXPECT_FALSE(ClaimCurrentDownloadGid("aaaa000000000001"));
}

}  // namespace
