// The page bridge's text rules, the checks that keep page values out of
// command lines and paths, and the remove-border archive the launcher carries.
#include <gtest/gtest.h>

#include "assets/remove_border_image.h"
#include "launcher/page_actions/page_action_handlers.h"
#include "launcher/page_actions/page_bridge.h"
#include "launcher/page_actions/remove_border.h"
#include "support/test_support.h"
#include "utilities/whole_file.h"

namespace {

using testsupport::Hex;
using testsupport::TempFolder;

using Pieces = std::vector<std::string>;

TEST(SplitText, CutsAtSeparatorsThatStartACharacter) {
    const struct {
        std::string text;
        char separator;
        Pieces pieces;
    } table[] = {
        {"", ':', {}},
        {"getModsList", '|', {"getModsList"}},
        {"action:startGame|1.2.3.4", ':', {"action", "startGame|1.2.3.4"}},
        {":a", ':', {"", "a"}},
        {"a::b", ':', {"a", "", "b"}},
        {"a:", ':', {"a"}},
        {":", ':', {""}},
        {"a|b|c|", '|', {"a", "b", "c"}},
        {"http://h/x.rpf>x.rpf", '>', {"http://h/x.rpf", "x.rpf"}},
        // Trail bytes equal to the separator belong to their character.
        {"\xB0\x7C|x", '|', {"\xB0\x7C", "x"}},
        {"\xB0\x7C\xB0\x7C", '|', {"\xB0\x7C\xB0\x7C"}},
        {"a:\xC4\x3A:b", ':', {"a", "\xC4\x3A", "b"}},
        // A lead byte as the last byte has no trail to take.
        {"a|\xB0", '|', {"a", "\xB0"}},
        // A plain byte after a whole character is one again.
        {"\xD6\xD0|\xCE\xC4", '|', {"\xD6\xD0", "\xCE\xC4"}},
    };
    for (const auto& row : table) EXPECT_EQ(SplitText(row.text, row.separator), row.pieces) << Hex(row.text);
}

TEST(UrlDecode, DecodesEscapesAndKeepsEverythingElse) {
    const struct {
        std::string text, decoded;
    } table[] = {
        {"", ""},
        {"plain text", "plain text"},
        {"%41%62", "Ab"},
        {"1.2.3.4%3A30120", "1.2.3.4:30120"},
        {"%3a%7C%3e", ":|>"},
        {"%e4%b8%ad", "\xE4\xB8\xAD"},
        {"a+b", "a+b"},
        {"%00x", "x"},
        {"a%00", "a"},
        // Malformed escapes are kept as they came.
        {"%", "%"},
        {"100%", "100%"},
        {"%4", "%4"},
        {"%zz", "%zz"},
        {"%4g1", "%4g1"},
        {"%%41", "%A"},
        // Bytes above 0x7F are copied, not converted.
        {"\xD6\xD0%41",
         "\xD6\xD0"
         "A"},
    };
    for (const auto& row : table) EXPECT_EQ(UrlDecode(row.text), row.decoded) << row.text;
}

TEST(PageValues, LanguageValueIsAPlainName) {
    const struct {
        std::string value;
        bool accepted;
    } table[] = {
        {"chinese", true}, {"en-US", true}, {"zh_CN", true}, {"1", true},
        {"", false},       {"a b", false},  {"x /f", false}, {"a&calc", false},
        {"a\"b", false},   {"a|b", false},  {"a;b", false},  {"\xD6\xD0\xCE\xC4", false},
        {"a\nb", false},   {"a%b", false},
    };
    for (const auto& row : table) EXPECT_EQ(IsLanguageValue(row.value), row.accepted) << Hex(row.value);
}

// Reads the local headers in archive order: name, method, packed and
// unpacked size.
struct LocalEntry {
    std::string name;
    int method;
    uint32_t packed, size;
};
std::vector<LocalEntry> LocalEntries(const std::string& zip) {
    auto u16 = [&](size_t at) { return (uint32_t)(unsigned char)zip[at] | (uint32_t)(unsigned char)zip[at + 1] << 8; };
    auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
    std::vector<LocalEntry> entries;
    size_t at = 0;
    while (at + 30 <= zip.size() && zip.compare(at, 4, "PK\x03\x04") == 0) {
        LocalEntry entry{zip.substr(at + 30, u16(at + 26)), (int)u16(at + 8), u32(at + 18), u32(at + 22)};
        at += 30 + u16(at + 26) + u16(at + 28) + entry.packed;
        entries.push_back(entry);
    }
    return entries;
}

TEST(RemoveBorderArchive, HoldsTheFoldersThenTheDeflatedTunables) {
    std::string zip((const char*)RemoveBorderArchive(), RemoveBorderArchiveSize());
    std::vector<LocalEntry> entries = LocalEntries(zip);
    const char* folders[] = {"FiveM.app/", "FiveM.app/citizen/", "FiveM.app/citizen/platform/",
                             "FiveM.app/citizen/platform/data/", "FiveM.app/citizen/platform/data/tune/"};
    ASSERT_EQ(entries.size(), 6u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(entries[i].name, folders[i]);
        EXPECT_EQ(entries[i].method, 0);
        EXPECT_EQ(entries[i].size, 0u);
    }
    EXPECT_EQ(entries[5].name, "FiveM.app/citizen/platform/data/tune/playerinfo.ymt");
    EXPECT_EQ(entries[5].method, 8);
    EXPECT_LT(entries[5].packed, entries[5].size);
}

TEST(RemoveBorderArchive, UnpacksOverAnExistingFileIntoATunablesFile) {
    TempFolder folder;
    std::string zip = folder.File("removeBorder.zip");
    ASSERT_TRUE(WriteWholeFile(zip, RemoveBorderArchive(), RemoveBorderArchiveSize()));
    std::string tunables = folder.File("FiveM.app\\citizen\\platform\\data\\tune\\playerinfo.ymt");
    ASSERT_EQ(ZipUnitExtract(zip, folder.Path() + "\\"), 1);
    ASSERT_TRUE(WriteWholeFile(tunables, std::string("old")));
    ASSERT_EQ(ZipUnitExtract(zip, folder.Path() + "\\"), 1);
    std::string xml = ReadWholeFile(tunables);
    const char* parts[] = {
        "<CTuningFile>",
        "<Item type=\"CPlayerInfo__Tunables\">",
        "<Name>CPlayerInfo</Name>",
        "<MaxWorldLimitsPlayerX value=\"999999999\"",
        "<MaxWorldLimitsPlayerY value=\"999999999\"",
        "<MinWorldLimitsPlayerX value=\"-999999999\"",
        "<MinWorldLimitsPlayerY value=\"-999999999\"",
        "<GuardWorldExtents value=\"false\"",
        "</CTuningFile>",
    };
    for (const char* part : parts) EXPECT_NE(xml.find(part), std::string::npos) << part;
}

TEST(ZipUnit, FailsForWhatIsNoZipArchive) {
    TempFolder folder;
    std::string archive((const char*)RemoveBorderArchive(), RemoveBorderArchiveSize());
    const struct {
        const char* what;
        std::string bytes;
    } table[] = {
        {"empty", ""},
        {"text", "not an archive"},
        {"bytes before the archive", "MZ" + archive},
        {"archive cut short", archive.substr(0, archive.size() / 2)},
    };
    for (const auto& row : table) {
        std::string zip = folder.File("x.zip");
        ASSERT_TRUE(WriteWholeFile(zip, row.bytes));
        EXPECT_LE(ZipUnitExtract(zip, folder.File("out")), 0) << row.what;
    }
    EXPECT_LE(ZipUnitExtract(folder.File("missing.zip"), folder.File("out")), 0);
}

}  // namespace
