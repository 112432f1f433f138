// The Steam values as the Steam client leaves them in the current user's
// registry. The tests point HKEY_CURRENT_USER of this process at a key of
// their own, so the machine's Steam values are neither read nor changed.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "launcher/page_actions/steam_account.h"
#include "support/test_support.h"

namespace {

using testsupport::Bytes;
using testsupport::Hex;

const char kSteamKey[] = "SOFTWARE\\Valve\\Steam";
const char kActiveProcessKey[] = "SOFTWARE\\Valve\\Steam\\ActiveProcess";

class SteamRegistry : public testing::Test {
protected:
    void SetUp() override {
        root_ = "Software\\QuillmereTests\\steam-" + std::to_string(GetCurrentProcessId());
        HKEY key = nullptr;
        ASSERT_EQ(
            RegCreateKeyExA(HKEY_CURRENT_USER, root_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
        ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, key), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    void TearDown() override {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegDeleteTreeA(HKEY_CURRENT_USER, root_.c_str());
    }

    // Writes the value as Steam does, with the ANSI function; a type of
    // REG_NONE removes it.
    static void Set(const char* keyPath, const char* name, DWORD type, const std::string& bytes) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        if (type == REG_NONE)
            RegDeleteValueA(key, name);
        else
            EXPECT_EQ(
                RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()), (DWORD)bytes.size()),
                ERROR_SUCCESS);
        RegCloseKey(key);
    }
    static std::string Dword(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), sizeof value); }
    static std::string Text(const std::string& text) { return std::string(text.c_str(), text.size() + 1); }

    std::string root_;
};

TEST_F(SteamRegistry, AccountIdIsTheActiveUserInLowerCaseHexadecimal) {
    const struct {
        DWORD type;
        std::string bytes;
        const char* id;
    } table[] = {
        {REG_NONE, "", "0"},  // Steam not running, or not installed
        {REG_DWORD, Dword(0), "0"},
        {REG_DWORD, Dword(255), "ff"},
        {REG_DWORD, Dword(48879), "beef"},
        {REG_DWORD, Dword(305419896), "12345678"},
        {REG_DWORD, Dword(0xFFFFFFFF), "ffffffff"},
        {REG_SZ, Text("255"), "0"},  // only a DWORD counts
        {REG_BINARY, Dword(255), "0"},
    };
    for (const auto& row : table) {
        Set(kActiveProcessKey, "ActiveUser", row.type, row.bytes);
        EXPECT_EQ(ReadSteamUserId(), row.id) << row.type << " " << Hex(row.bytes);
    }
}

TEST_F(SteamRegistry, UserNameIsTheRawTextAndComesToGbk) {
    SetEnvironmentVariableA("QM_STEAM_TEST_NAME", "expanded");
    const std::string chineseUtf8 = Bytes({0xE4, 0xB8, 0xAD, 0xE6, 0x96, 0x87});  // 中文
    const struct {
        DWORD type;
        std::string bytes;
        std::string raw;
        std::string gbk;
    } table[] = {
        {REG_NONE, "", "", ""},
        {REG_SZ, Text(chineseUtf8), chineseUtf8, Bytes({0xD6, 0xD0, 0xCE, 0xC4})},
        {REG_SZ, "no-terminator", "no-terminator", "no-terminator"},
        {REG_EXPAND_SZ, Text("%QM_STEAM_TEST_NAME%-name"), "expanded-name", "expanded-name"},
        {REG_DWORD, Dword(7), "", ""},
    };
    for (const auto& row : table) {
        Set(kSteamKey, "LastGameNameUsed", row.type, row.bytes);
        const std::string raw = ReadSteamUserName();
        EXPECT_EQ(Hex(raw), Hex(row.raw)) << row.bytes;
        EXPECT_EQ(Hex(Utf8ToGbk(raw)), Hex(row.gbk)) << row.bytes;
    }
    // A character that GBK lacks (Hangul) becomes "?".
    EXPECT_EQ(Utf8ToGbk(Bytes({0xED, 0x95, 0x9C, 'a'})), "?a");
}

}  // namespace
