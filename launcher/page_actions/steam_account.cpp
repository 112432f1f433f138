#include "launcher/page_actions/steam_account.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "launcher/main_window/page_script.h"
#include "launcher/page_actions/page_action_entries.h"
#include "launcher/page_actions/page_dialog.h"

namespace {

class RegistryKey {
public:
    RegistryKey(HKEY parent, const std::string& path) {
        if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_QUERY_VALUE, &key_) != ERROR_SUCCESS) key_ = nullptr;
    }
    ~RegistryKey() {
        if (key_) RegCloseKey(key_);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<char> bytes;
};

// A value of the current user's registry by one path whose last "\" parts
// the key from the value name; type REG_NONE when it cannot be read.
RegistryValue ReadCurrentUserValue(const std::string& path) {
    RegistryValue value;
    const size_t split = path.rfind('\\');
    RegistryKey key(HKEY_CURRENT_USER, path.substr(0, split));
    if (!key.Get()) return value;
    const std::string name = path.substr(split + 1);
    DWORD type = REG_NONE, size = 0;
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return value;
    // Room for a terminator the stored text may lack.
    std::vector<char> bytes(size + 2, 0);
    DWORD filled = (DWORD)bytes.size();
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &filled) !=
        ERROR_SUCCESS)
        return value;
    bytes.resize(filled);
    value.type = type;
    value.bytes = std::move(bytes);
    return value;
}

std::string ExpandEnvironment(const std::string& text) {
    const DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (size == 0) return text;
    std::string expanded(size, '\0');
    ExpandEnvironmentStringsA(text.c_str(), &expanded[0], size);
    return expanded.c_str();
}

}  // namespace

std::string ReadSteamUserName() {
    const RegistryValue value = ReadCurrentUserValue("SOFTWARE\\Valve\\Steam\\LastGameNameUsed");
    if (value.type != REG_SZ && value.type != REG_EXPAND_SZ) return {};
    const std::string text(value.bytes.data(), strnlen(value.bytes.data(), value.bytes.size()));
    return value.type == REG_EXPAND_SZ ? ExpandEnvironment(text) : text;
}

std::string ReadSteamUserId() {
    const RegistryValue value = ReadCurrentUserValue("SOFTWARE\\Valve\\Steam\\ActiveProcess\\ActiveUser");
    DWORD id = 0;
    if (value.type == REG_DWORD && value.bytes.size() == sizeof id) memcpy(&id, value.bytes.data(), sizeof id);
    char text[16];
    snprintf(text, sizeof text, "%lx", (unsigned long)id);
    return text;
}

void ReportSteamInfo() {
    std::string name = Utf8ToGbk(ReadSteamUserName());
    const std::string id = ReadSteamUserId();
    if (name.empty()) name = "Unknown";
    if (id == "0") {
        // 无法获取信息 / 无法获取已登录的 Steam 信息，请检查 Steam 是否已经启动并登录
        ShowPageDialog("\xCE\xDE\xB7\xA8\xBB\xF1\xC8\xA1\xD0\xC5\xCF\xA2",
                       "\xCE\xDE\xB7\xA8\xBB\xF1\xC8\xA1\xD2\xD1\xB5\xC7\xC2\xBC\xB5\xC4 Steam "
                       "\xD0\xC5\xCF\xA2\xA3\xAC\xC7\xEB\xBC\xEC\xB2\xE9 Steam "
                       "\xCA\xC7\xB7\xF1\xD2\xD1\xBE\xAD\xC6\xF4\xB6\xAF\xB2\xA2\xB5\xC7\xC2\xBC",
                       "error");
        return;
    }
    RunPageScript("SteamName='" + ScriptText(name) + "';SteamID='" + ScriptText(id) + "';");
}
