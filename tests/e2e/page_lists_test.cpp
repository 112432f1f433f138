// The add-on and mod tables and the Steam account through the real launcher,
// the page played through the stand-in engine's control channel.
#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/page_session.h"
#include "utilities/path_helpers.h"

namespace {

using namespace e2e;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;
using webviewtest::Gbk;

// The mod table as the engine receives it (UTF-8).
const char kModsHeader[] = "$('.mods-list').html('<tr><th>文件名</th><th>操作</th></tr>');";
const char kQuoteOn[] =
    R"($('.mods-list').append("<tr><td>it&#39;s.rpf</td><td><i class='fa fa-toggle-on' onclick='disableMods(\"it\\&#39;s.rpf\")'></i></td></tr>");)";
const char kQuoteOff[] =
    R"($('.mods-list').append("<tr><td>it&#39;s.rpf</td><td><i class='fa fa-toggle-off' onclick='enableMods(\"it\\&#39;s.rpf\")'></i></td></tr>");)";
const char kChineseOn[] =
    R"($('.mods-list').append("<tr><td>中文.rpf</td><td><i class='fa fa-toggle-on' onclick='disableMods(\"中文.rpf\")'></i></td></tr>");)";
const char kChineseOff[] =
    R"($('.mods-list').append("<tr><td>中文.rpf</td><td><i class='fa fa-toggle-off' onclick='enableMods(\"中文.rpf\")'></i></td></tr>");)";

// A fill's rows come in the folders' order: enabled, then disabled, each
// in the order the system lists them.
Scripts_ Table(Scripts_ enabled, Scripts_ disabled) {
    std::sort(enabled.begin(), enabled.end());
    std::sort(disabled.begin(), disabled.end());
    Scripts_ table{kModsHeader};
    table.insert(table.end(), enabled.begin(), enabled.end());
    table.insert(table.end(), disabled.begin(), disabled.end());
    return table;
}

Scripts_ SortedRows(Scripts_ fill, size_t enabledCount) {
    if (fill.size() > 1 + enabledCount) {
        std::sort(fill.begin() + 1, fill.begin() + 1 + enabledCount);
        std::sort(fill.begin() + 1 + enabledCount, fill.end());
    }
    return fill;
}

TEST_F(PageSession, ModsWithAQuoteAndAChineseNameListAndSwitchBothWays) {
    const std::string mods = folder.FiveMFile("FiveM.app\\mods\\");
    const std::string disabled = folder.FiveMFile("FiveM.app\\mods-disabled\\");
    const std::string quote = "it's.rpf", chinese = Gbk("中文.rpf");
    ASSERT_TRUE(EnsureDirectory(mods));
    ASSERT_TRUE(WriteFileBytes(mods + quote, "q"));
    ASSERT_TRUE(WriteFileBytes(mods + chinese, "c"));
    ASSERT_TRUE(WriteFileBytes(folder.FiveMFile("FiveM.app\\outside.rpf"), "o"));

    // Listed from a worker.
    EXPECT_EQ(SortedRows(Act("action:getModsList", 3), 2), Table({kQuoteOn, kChineseOn}, {}));

    // A name that leaves the folder moves and makes nothing; the table comes again.
    EXPECT_EQ(SortedRows(Act("action:disableMods|..\\outside.rpf"), 2), Table({kQuoteOn, kChineseOn}, {}));
    EXPECT_FALSE(FileExists(disabled));
    EXPECT_EQ(ReadFileBytes(folder.FiveMFile("FiveM.app\\outside.rpf")), "o");

    // The page sends back the names as its rows hold them.
    EXPECT_EQ(Act("action:disableMods|中文.rpf"), Table({kQuoteOn}, {kChineseOff}));
    EXPECT_EQ(ReadFileBytes(disabled + chinese), "c");
    EXPECT_EQ(SortedRows(Act("action:disableMods|it's.rpf"), 0), Table({}, {kQuoteOff, kChineseOff}));
    EXPECT_EQ(ReadFileBytes(disabled + quote), "q");
    EXPECT_EQ(Act("action:enableMods|中文.rpf"), Table({kChineseOn}, {kQuoteOff}));
    EXPECT_EQ(SortedRows(Act("action:enableMods|it's.rpf"), 2), Table({kQuoteOn, kChineseOn}, {}));
    EXPECT_EQ(ReadFileBytes(mods + chinese), "c");
    EXPECT_EQ(ReadFileBytes(mods + quote), "q");

    // A file of that name switched off already is never replaced.
    ASSERT_TRUE(WriteFileBytes(disabled + quote, "old"));
    EXPECT_EQ(SortedRows(Act("action:disableMods|it's.rpf"), 2), Table({kQuoteOn, kChineseOn}, {kQuoteOff}));
    EXPECT_EQ(ReadFileBytes(mods + quote), "q");
    EXPECT_EQ(ReadFileBytes(disabled + quote), "old");
}

// A name with ".." inside is a name like any other; add-ons switch as mods do.
TEST_F(PageSession, AddonsAndModsWithTwoDotsInTheirNameSwitchBothWays) {
    const struct {
        const char *kind, *table, *off, *on, *folder;
    } kinds[] = {
        {"Addons", ".addons-list", "disableAddons", "enableAddons", "addons"},
        {"Mods", ".mods-list", "disableMods", "enableMods", "mods"},
    };
    const std::string name = "v1..2.rpf";
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.kind);
        const std::string enabled = folder.FiveMFile(std::string("FiveM.app\\") + k.folder + "\\");
        const std::string disabled = folder.FiveMFile(std::string("FiveM.app\\") + k.folder + "-disabled\\");
        const std::string header = std::string("$('") + k.table + "').html('<tr><th>文件名</th><th>操作</th></tr>');";
        auto row = [&](bool on) {
            return std::string("$('") + k.table + "').append(\"<tr><td>" + name + "</td><td><i class='fa fa-toggle-" +
                   (on ? "on" : "off") + "' onclick='" + (on ? k.off : k.on) + "(\\\"" + name +
                   "\\\")'></i></td></tr>\");";
        };
        ASSERT_TRUE(EnsureDirectory(enabled));
        ASSERT_TRUE(WriteFileBytes(enabled + name, k.folder));
        EXPECT_EQ(Act(std::string("action:get") + k.kind + "List", 2), (Scripts_{header, row(true)}));
        EXPECT_EQ(Act(std::string("action:") + k.off + "|" + name), (Scripts_{header, row(false)}));
        EXPECT_EQ(ReadFileBytes(disabled + name), k.folder);
        EXPECT_EQ(Act(std::string("action:") + k.on + "|" + name), (Scripts_{header, row(true)}));
        EXPECT_EQ(ReadFileBytes(enabled + name), k.folder);
        EXPECT_FALSE(FileExists(disabled + name));
    }
}

TEST_F(PageSession, SteamAccountComesFromTheRegistryEscapedAndInGbk) {
    const char kNoAccount[] =
        "Swal.fire('无法获取信息', '无法获取已登录的 Steam 信息，请检查 Steam 是否已经启动并登录', 'error');";
    const struct {
        const char* name;  // UTF-8
        long long id;
        const char* script;
    } table[] = {
        {"it's \"me\"", 255, R"(SteamName='it\'s \"me\"';SteamID='ff';)"},
        {"中文", 0x1234ABCD, "SteamName='中文';SteamID='1234abcd';"},
        {nullptr, 7, "SteamName='Unknown';SteamID='7';"},
        {"player", 0, kNoAccount},
        {"player", -1, kNoAccount},
    };
    for (const auto& row : table) {
        ASSERT_TRUE(SetSteamAccount(row.name, row.id));
        EXPECT_EQ(Act("action:getSteamInfo", 1), Scripts_{row.script}) << (row.name ? row.name : "(none)");
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Valve");
}

}  // namespace
