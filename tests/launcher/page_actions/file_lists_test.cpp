// The add-on and mod folders on real temporary folders: which entries are
// listed and which sub-folders are searched, the rows the page gets for
// awkward names, and which names the switches take from the page.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "launcher/page_actions/addon_lists.h"
#include "support/test_support.h"
#include "webview_test_support.h"

namespace {

using testsupport::TempFolder;
using testsupport::WriteFileBytes;
using webviewtest::Gbk;

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FindFileNames, ListsMatchesAndSearchesOnlyPlainFoldersThatMatch) {
    TempFolder root;
    const std::string addons = root.File("addons");
    const struct {
        const char* path;
        bool isFolder;
        DWORD attributes;  // that it must carry
    } layout[] = {
        {"a.rpf", false, 0},
        {"b.txt", false, 0},
        {"x", true, 0},
        {"x\\in-x.rpf", false, 0},
        {"y.rpf", true, 0},
        {"y.rpf\\in-y.rpf", false, 0},
        {"y.rpf\\in-y.txt", false, 0},
        {".z.rpf", true, FILE_ATTRIBUTE_HIDDEN},  // hidden by its name under Wine
        {".z.rpf\\in-z.rpf", false, 0},
    };
    ASSERT_TRUE(CreateDirectoryA(addons.c_str(), nullptr));
    for (const auto& entry : layout) {
        const std::string path = addons + "\\" + entry.path;
        ASSERT_TRUE(entry.isFolder ? CreateDirectoryA(path.c_str(), nullptr) == TRUE : WriteFileBytes(path, "rpf"));
        if (!entry.attributes) continue;
        SetFileAttributesA(path.c_str(), GetFileAttributesA(path.c_str()) | entry.attributes);
        ASSERT_EQ(GetFileAttributesA(path.c_str()) & entry.attributes, entry.attributes) << path;
    }

    const struct {
        std::string folder;
        std::string pattern;
        std::vector<std::string> expected;
    } table[] = {
        // A folder that does not match is not entered; one that matches and
        // carries no attribute bits is, and its archives come by bare name;
        // one that carries a bit (hidden) is listed itself.
        {addons, "*.rpf", {".z.rpf", "a.rpf", "in-y.rpf"}},
        {addons + "\\", "*.rpf", {".z.rpf", "a.rpf", "in-y.rpf"}},
        {addons, "", {".z.rpf", "a.rpf", "b.txt", "in-x.rpf", "in-y.rpf", "in-y.txt"}},
        {root.File("missing"), "*.rpf", {}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.folder + " " + row.pattern);
        std::vector<std::string> names{"kept"};
        FindFileNames(row.folder, row.pattern, names);
        std::vector<std::string> expected = row.expected;
        expected.push_back("kept");
        EXPECT_EQ(Sorted(names), Sorted(expected));
    }
}

TEST(FileListScripts, NamesThatWouldEndAStringOrAnAttributeAreEscapedForEachPlace) {
    // As the page reads a row: the script's string gives HTML; the cell shows
    // the name, and the toggle's single-quoted attribute holds a call with
    // the name as a double-quoted string.
    const struct {
        const FileListKind* kind;
        std::string name;
        bool enabled;
        std::string script;
    } table[] = {
        {&kAddonList, "plain.rpf", true,
         R"($('.addons-list').append("<tr><td>plain.rpf</td><td><i class='fa fa-toggle-on' onclick='disableAddons(\"plain.rpf\")'></i></td></tr>");)"},
        {&kModList, "plain.rpf", false,
         R"($('.mods-list').append("<tr><td>plain.rpf</td><td><i class='fa fa-toggle-off' onclick='enableMods(\"plain.rpf\")'></i></td></tr>");)"},
        {&kAddonList, "a&b.rpf", false,
         R"($('.addons-list').append("<tr><td>a&amp;b.rpf</td><td><i class='fa fa-toggle-off' onclick='enableAddons(\"a&amp;b.rpf\")'></i></td></tr>");)"},
        {&kModList, Gbk("乗.rpf"), false,
         Gbk(R"($('.mods-list').append("<tr><td>乗.rpf</td><td><i class='fa fa-toggle-off' onclick='enableMods(\"乗.rpf\")'></i></td></tr>");)")},
    };
    for (const auto& row : table)
        EXPECT_EQ(FileListRowScript(*row.kind, row.name, row.enabled), row.script) << testsupport::Hex(row.name);
    EXPECT_EQ(FileListHeaderScript(kAddonList),
              Gbk("$('.addons-list').html('<tr><th>文件名</th><th>操作</th></tr>');"));
    EXPECT_EQ(FileListHeaderScript(kModList), Gbk("$('.mods-list').html('<tr><th>文件名</th><th>操作</th></tr>');"));
}

}  // namespace
