#include "launcher/page_actions/file_switches.h"

#include <windows.h>

#include "launcher/app/globals.h"
#include "launcher/page_actions/page_action_entries.h"
#include "utilities/path_helpers.h"

void MoveFilePath(const std::string& from, const std::string& to) { MoveFileA(from.c_str(), to.c_str()); }

void SwitchFile(const FileListKind& kind, const std::string& name, bool disable) {
    if (IsPlainFileName(name)) {
        const std::string from = FiveMFolder + (disable ? kind.enabledFolder : kind.disabledFolder);
        const std::string to = FiveMFolder + (disable ? kind.disabledFolder : kind.enabledFolder);
        CreateDirectoryA(to.c_str(), nullptr);
        MoveFilePath(from + name, to + name);
    }
    FillFileList(kind);
}

void DisableAddon(const std::string& fileName) { SwitchFile(kAddonList, fileName, true); }
void EnableAddon(const std::string& fileName) { SwitchFile(kAddonList, fileName, false); }
void DisableMod(const std::string& fileName) { SwitchFile(kModList, fileName, true); }
void EnableMod(const std::string& fileName) { SwitchFile(kModList, fileName, false); }
