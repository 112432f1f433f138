#include "launcher/page_actions/page_bridge.h"

#include "launcher/page_actions/page_action_handlers.h"
#include "utilities/text_number.h"
#include "utilities/text_search.h"

namespace {

using PageAction = void (*)(const std::string& argument);

struct PageActionEntry {
    const char* name;
    PageAction run;
};

// Looked up in this order, first equal name wins.
const PageActionEntry kPageActions[] = {
    {"minimizeWindow", MinimizeWindowAction},
    {"closeWindow", CloseWindowAction},
    {"hoverBanner", HoverBannerAction},
    {"releaseBanner", ReleaseBannerAction},
    {"loadVersion", LoadVersionAction},
    {"startGame", StartGameAction},
    {"getAddonsList", GetAddonsListAction},
    {"getModsList", GetModsListAction},
    {"disableAddons", DisableAddonsAction},
    {"enableAddons", EnableAddonsAction},
    {"disableMods", DisableModsAction},
    {"enableMods", EnableModsAction},
    {"runCommand", RunCommandAction},
    {"runCommandHidden", RunCommandHiddenAction},
    {"switchLanguage", SwitchLanguageAction},
    {"installPackage", InstallPackageAction},
    {"installBigPackage", InstallBigPackageAction},
    {"getSteamInfo", GetSteamInfoAction},
};

}  // namespace

void OnPageConsoleMessage(const std::string& message) {
    // "actions:..." counts as well: only six bytes are compared, and the
    // first ":" piece is dropped anyway.
    if (message.compare(0, 6, "action") != 0) return;
    std::vector<std::string> pieces = SplitText(message, ':');
    // "action::x" names no action.
    if (pieces.size() < 2 || pieces[1].empty()) return;
    std::vector<std::string> action = SplitText(pieces[1], '|');
    DispatchPageAction(action[0], action.size() >= 2 ? action[1] : std::string());
}

void DispatchPageAction(const std::string& name, const std::string& argument) {
    for (const PageActionEntry& entry : kPageActions) {
        if (name == entry.name) {
            entry.run(argument);
            return;
        }
    }
}

std::vector<std::string> SplitText(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    size_t start = 0;
    size_t at = 0;
    while (at < text.size()) {
        // A two-byte character is stepped over whole: its trail byte may equal the separator.
        if (text[at] == separator) {
            pieces.push_back(text.substr(start, at - start));
            start = ++at;
        } else {
            at = NextGbkCharacter(text, at);
        }
    }
    if (start < text.size()) pieces.push_back(text.substr(start));
    return pieces;
}

std::string UrlDecode(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (size_t at = 0; at < text.size(); ++at) {
        int high = text[at] == '%' && at + 2 < text.size() ? HexDigitValue(text[at + 1]) : -1;
        int low = high >= 0 ? HexDigitValue(text[at + 2]) : -1;
        if (low < 0) {
            // Not an escape (a malformed one is kept as it came, rather than
            // turned into a byte the page never sent).
            result += text[at];
            continue;
        }
        // Texts end at a zero byte, so "%00" stands for nothing.
        if (char byte = (char)(high * 16 + low)) result += byte;
        at += 2;
    }
    return result;
}
