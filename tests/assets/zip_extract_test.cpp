#include <gtest/gtest.h>
#include <windows.h>

#include "assets/zipdll/zip_extract.h"
#include "support/test_support.h"
#include "support/test_zip.h"
#include "utilities/command_line.h"
#include "utilities/path_helpers.h"

using testsupport::Bytes;
using testsupport::ReadFileBytes;
using testsupport::TempFolder;
using testsupport::WriteZip;

namespace {

const std::string kGbkName = Bytes({0xD6, 0xD0, 0xCE, 0xC4}) + ".txt";  // 中文.txt
const std::string kUtf8Name = Bytes({0xE4, 0xB8, 0xAD, 0xE6, 0x96, 0x87}) + ".txt";

// Runs a command line in folder and returns its exit code (-1 when it did not start).
int RunAndWait(const std::string& commandLine, const std::string& folder) {
    unsigned long code = (unsigned long)-1;
    if (!RunCommandLine(commandLine, SW_HIDE, true, folder, &code)) return -1;
    return (int)code;
}

}  // namespace

TEST(ExtractZipToFolder, RecreatesFoldersAndOverwritesFiles) {
    TempFolder temp;
    ASSERT_TRUE(WriteZip(temp.File("a.zip"),
                         {{"FiveM.exe", "exe"}, {"FiveM.app/citizen/version.txt", "1234"}, {"FiveM.app/empty/", ""}}));
    ASSERT_TRUE(EnsureDirectory(temp.File("out")));
    ASSERT_TRUE(testsupport::WriteFileBytes(temp.File("out\\FiveM.exe"), "old"));
    EXPECT_EQ(ExtractZipToFolder(temp.File("a.zip"), temp.File("out")), ZipExtractResult::Extracted);
    EXPECT_EQ(ReadFileBytes(temp.File("out\\FiveM.exe")), "exe");
    EXPECT_EQ(ReadFileBytes(temp.File("out\\FiveM.app\\citizen\\version.txt")), "1234");
    EXPECT_TRUE(FileExists(temp.File("out\\FiveM.app\\empty")));
}

TEST(ExtractZipToFolder, KeepsChineseNamesFromGbkAndUtf8Archives) {
    TempFolder temp;
    ASSERT_TRUE(WriteZip(temp.File("gbk.zip"), {{kGbkName, "g"}}));
    ASSERT_TRUE(WriteZip(temp.File("utf8.zip"), {{"sub/" + kUtf8Name, "u"}}, true));
    EXPECT_EQ(ExtractZipToFolder(temp.File("gbk.zip"), temp.Path() + "\\"), ZipExtractResult::Extracted);
    EXPECT_EQ(ExtractZipToFolder(temp.File("utf8.zip"), temp.Path()), ZipExtractResult::Extracted);
    EXPECT_EQ(ReadFileBytes(temp.File(kGbkName)), "g");
    EXPECT_EQ(ReadFileBytes(temp.File("sub\\" + kGbkName)), "u");
}

TEST(ExtractZipToFolder, SkipsEntriesThatWouldLeaveTheFolder) {
    TempFolder temp;
    ASSERT_TRUE(EnsureDirectory(temp.File("out")));
    ASSERT_TRUE(WriteZip(
        temp.File("evil.zip"),
        {{"../escaped.txt", "x"}, {"a/../../escaped2.txt", "x"}, {"C:/escaped3.txt", "x"}, {"good.txt", "ok"}}));
    EXPECT_EQ(ExtractZipToFolder(temp.File("evil.zip"), temp.File("out")), ZipExtractResult::Unsafe);
    EXPECT_FALSE(FileExists(temp.File("escaped.txt")));
    EXPECT_FALSE(FileExists(temp.File("escaped2.txt")));
    EXPECT_EQ(ReadFileBytes(temp.File("out\\good.txt")), "ok");
}

TEST(ExtractZipToFolder, ReportsDamagedAndMissingArchives) {
    TempFolder temp;
    std::string big;
    unsigned seed = 1;
    for (int i = 0; i < 200000; ++i) big += (char)('a' + (seed = seed * 1103515245u + 12345u) % 26);
    ASSERT_TRUE(WriteZip(temp.File("good.zip"), {{"big.txt", big}}));
    std::string bytes = ReadFileBytes(temp.File("good.zip"));
    ASSERT_TRUE(testsupport::WriteFileBytes(temp.File("cut.zip"), bytes.substr(0, bytes.size() / 2)));
    std::string corrupt = bytes;
    corrupt[bytes.size() / 2] ^= 0x55;  // inside the compressed data
    ASSERT_TRUE(testsupport::WriteFileBytes(temp.File("corrupt.zip"), corrupt));
    ASSERT_TRUE(testsupport::WriteFileBytes(temp.File("empty.zip"), ""));

    for (const char* name : {"cut.zip", "corrupt.zip", "empty.zip", "missing.zip"})
        EXPECT_EQ(ExtractZipToFolder(temp.File(name), temp.File("out")), ZipExtractResult::Damaged) << name;
}

TEST(ZipDll, ExportsTheExtractionCall) {
    TempFolder temp;
    ASSERT_TRUE(WriteZip(temp.File("a.zip"), {{"dir/f.txt", "content"}}));
    HMODULE dll = LoadLibraryA((testsupport::BinDir() + "\\zip.dll").c_str());
    ASSERT_NE(dll, nullptr);
    using Extract = int(__stdcall*)(const char*, const char*);
    auto extract = reinterpret_cast<Extract>(reinterpret_cast<void*>(GetProcAddress(dll, "MyZip_ExtractFileAll")));
    ASSERT_NE(extract, nullptr);
    EXPECT_EQ(extract(temp.File("a.zip").c_str(), (temp.Path() + "\\").c_str()), 1);
    EXPECT_EQ(ReadFileBytes(temp.File("dir\\f.txt")), "content");
    EXPECT_EQ(extract(temp.File("missing.zip").c_str(), (temp.Path() + "\\").c_str()), 0);
    FreeLibrary(dll);
}

TEST(SevenZipStandIn, ExtractsIntoAQuotedFolderEndingInBackslash) {
    TempFolder temp;
    ASSERT_TRUE(WriteZip(temp.File("temp-client.zip"), {{"FiveM.exe", "exe"}}));
    std::string sevenZip = "\"" + testsupport::BinDir() + "\\7z.exe\"";
    std::string target = temp.File("Fi veM");
    EXPECT_EQ(RunAndWait(sevenZip + " x -aoa temp-client.zip -o\"" + target + "\\\"", temp.Path()), 0);
    EXPECT_EQ(ReadFileBytes(target + "\\FiveM.exe"), "exe");
}

TEST(SevenZipStandIn, ExitCodesFollowSevenZip) {
    TempFolder temp;
    ASSERT_TRUE(testsupport::WriteFileBytes(temp.File("bad.zip"), "not a zip"));
    std::string sevenZip = "\"" + testsupport::BinDir() + "\\7z.exe\"";
    EXPECT_EQ(RunAndWait(sevenZip + " x -aoa bad.zip -o\"" + temp.Path() + "\\out\\\"", temp.Path()), 2);
    EXPECT_EQ(RunAndWait(sevenZip + " x -aoa missing.zip -o\"" + temp.Path() + "\\out\\\"", temp.Path()), 2);
    EXPECT_EQ(RunAndWait(sevenZip + " a x.zip", temp.Path()), 7);
}
