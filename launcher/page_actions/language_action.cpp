// switchLanguage: the game's registry value Language, written by "reg".
#include <windows.h>

#include "launcher/page_actions/page_action_handlers.h"
#include "launcher/page_actions/page_action_texts.h"
#include "launcher/page_actions/page_dialog.h"
#include "utilities/command_line.h"
#include "utilities/text_search.h"

namespace {
// advpack.dll's export: BOOL IsNTAdmin(DWORD reserved, DWORD* reserved).
using IsNTAdminFunction = BOOL(WINAPI*)(DWORD, DWORD*);

constexpr unsigned long kRegWaitLimitMs = 10000;
}  // namespace

bool IsAdmin() {
    HMODULE advpack = LoadLibraryA("advpack.dll");
    if (!advpack) return false;
    auto isNTAdmin = reinterpret_cast<IsNTAdminFunction>(reinterpret_cast<void*>(GetProcAddress(advpack, "IsNTAdmin")));
    DWORD reserved = 0;
    bool admin = isNTAdmin && isNTAdmin(0, &reserved);
    FreeLibrary(advpack);
    return admin;
}

bool IsLanguageValue(const std::string& value) { return !value.empty() && IsAsciiWord(value, "-_"); }

void SwitchLanguageAction(const std::string& argument) {
    if (!IsAdmin()) {
        ShowPageDialog(kSwitchFailedTitle, kNeedAdminText, "error");
        return;
    }
    // The value stands unquoted in the command line: anything but a plain
    // name could add switches or a second command.
    if (!IsLanguageValue(argument)) {
        ShowPageDialog(kSwitchFailedTitle, kBadLanguageText, "error");
        return;
    }
    std::string command =
        "reg add \"HKLM\\SOFTWARE\\WOW6432Node\\Rockstar Games\\Grand Theft Auto V\" /v Language /t REG_SZ /d " +
        argument + " /f";
    // The UI thread waits for "reg": one that hangs must not freeze the
    // window and every page script for good.
    unsigned long exitCode = 1;
    if (!RunCommandLine(command, SW_HIDE, true, std::string(), &exitCode, kRegWaitLimitMs) || exitCode != 0) {
        ShowPageDialog(kSwitchFailedTitle, kLanguageNotWrittenText, "error");
        return;
    }
    ShowPageDialog(kSwitchDoneTitle, kSwitchDoneText, "success");
}
