#include <gtest/gtest.h>

#include "support/test_support.h"
#include "utilities/path_helpers.h"

using testsupport::Bytes;
using testsupport::TempFolder;

namespace {
// 乗 (81 5C): a GBK character whose trail byte is "\".
const std::string kTrail5C = Bytes({0x81, 0x5C});
}  // namespace

TEST(PathFileName, SplitsOffTheFileName) {
    struct Case {
        std::string path;
        std::optional<bool> keep;
        std::string expected;
    } cases[] = {
        {"C:\\a\\b\\temp-client.zip", true, "temp-client.zip"},
        {"C:\\a\\b\\temp-client.zip", std::nullopt, "temp-client"},
        {"C:\\a\\b\\temp-client.zip", false, "temp-client"},
        {"C:/a/b/file.zip", true, "file.zip"},
        {"C:\\a\\b\\", true, ""},
        {"C:\\a\\b\\", std::nullopt, ""},
        {"archive.tar.gz", std::nullopt, "archive.tar"},
        {"C:\\a.b\\file", std::nullopt, "file"},
        {"C:\\a\\" + kTrail5C + ".zip", true, kTrail5C + ".zip"},
        {"C:\\a\\" + kTrail5C + ".zip", std::nullopt, kTrail5C},
        // The name ends in the byte 5C but not in "\": it is a name, not a folder path.
        {"C:\\a\\" + kTrail5C, true, kTrail5C},
    };
    for (const Case& c : cases) EXPECT_EQ(PathFileName(c.path, c.keep), c.expected) << testsupport::Hex(c.path);
}

TEST(PathExtension, TakesTheLastExtensionOfTheLastComponent) {
    EXPECT_EQ(PathExtension("C:\\a\\temp-client.zip"), ".zip");
    EXPECT_EQ(PathExtension("archive.tar.gz"), ".gz");
    EXPECT_EQ(PathExtension("C:\\a.b\\file"), "");
    EXPECT_EQ(PathExtension(""), "");
}

TEST(FileExists, FindsFilesAndFolders) {
    TempFolder temp;
    ASSERT_TRUE(testsupport::WriteFileBytes(temp.File("a.txt"), "x"));
    EXPECT_TRUE(FileExists(temp.File("a.txt")));
    EXPECT_TRUE(FileExists(temp.Path()));
    EXPECT_FALSE(FileExists(temp.File("missing.txt")));
    EXPECT_FALSE(FileExists(""));
}

TEST(EnsureDirectory, CreatesTheWholeChainWithOrWithoutTrailingSeparator) {
    TempFolder temp;
    EXPECT_TRUE(EnsureDirectory(temp.File("x\\y")));
    EXPECT_TRUE(FileExists(temp.File("x\\y")));
    EXPECT_TRUE(EnsureDirectory(temp.File("p\\q\\")));
    EXPECT_TRUE(FileExists(temp.File("p\\q")));
    EXPECT_TRUE(EnsureDirectory(temp.File("p\\q")));  // already there
}

TEST(EnsureDirectory, CreatesAFolderWhoseNameEndsInTrailByte5C) {
    TempFolder temp;
    std::string folder = temp.File("cache\\" + kTrail5C);
    EXPECT_TRUE(EnsureDirectory(folder));
    EXPECT_TRUE(FileExists(folder));
}

// Names from the page become package files and switched archives.
TEST(IsPlainFileName, RefusesNamesThatReachOutsideTheFolder) {
    const struct {
        std::string name;
        bool plain;
    } table[] = {
        {"a.rpf", true},
        {"my addon (1).7z", true},
        {"it's & co.rpf", true},
        {"a.b.rpf", true},
        {"\xD6\xD0\xCE\xC4.rpf", true},  // 中文
        {kTrail5C + ".rpf", true},       // 乗: its trail byte 0x5C is no "\"
        {"\xB0\x5C.rpf", true},          // 癨, the same
        {"v1..2.rpf", true},
        {"a..rpf", true},
        {"..a", true},
        {"", false},
        {".", false},
        {"..", false},
        {"...", false},  // the file system drops trailing dots: the folder itself
        {"..\\mods\\a.rpf", false},
        {"../a.rpf", false},
        {"sub\\a.rpf", false},
        {"sub/a.rpf", false},
        {"C:a.rpf", false},
        {"a.rpf:stream", false},
        {"a\tb.rpf", false},
        {"a\x01.rpf", false},
        {"a.rpf\n", false},
        {"a\x7F.rpf", false},
    };
    for (const auto& row : table) EXPECT_EQ(IsPlainFileName(row.name), row.plain) << testsupport::Hex(row.name);
}
