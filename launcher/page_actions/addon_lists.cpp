#include "launcher/page_actions/addon_lists.h"

#include "utilities/win_handles.h"

#include <windows.h>

#include "launcher/app/globals.h"
#include "launcher/main_window/page_script.h"
#include "launcher/page_actions/page_action_entries.h"
#include "utilities/text_search.h"

const FileListKind kAddonList = {"\\FiveM.app\\addons\\", "\\FiveM.app\\addons-disabled\\", ".addons-list",
                                 "disableAddons", "enableAddons"};
const FileListKind kModList = {"\\FiveM.app\\mods\\", "\\FiveM.app\\mods-disabled\\", ".mods-list", "disableMods",
                               "enableMods"};

namespace {

// The name as the text of an HTML element or attribute: a file name may hold
// "&" and "'", and the row's onclick attribute is single-quoted. None of
// these bytes can be the trail byte of a GBK character.
std::string HtmlText(const std::string& text) {
    std::string html;
    for (char c : text) {
        switch (c) {
            case '&': html += "&amp;"; break;
            case '<': html += "&lt;"; break;
            case '>': html += "&gt;"; break;
            case '"': html += "&quot;"; break;
            case '\'': html += "&#39;"; break;
            default: html += c;
        }
    }
    return html;
}

}  // namespace

void FindFileNames(const std::string& folder, const std::string& pattern, std::vector<std::string>& names) {
    const std::string base = EndsWithChar(folder, '\\') ? folder : folder + "\\";
    const std::string search = base + (pattern.empty() ? "*.*" : pattern);
    WIN32_FIND_DATAA entry{};
    FindHandle find(FindFirstFileA(search.c_str(), &entry));
    if (!find.Valid()) return;
    do {
        const DWORD found = entry.dwFileAttributes;
        if (found != 0 && (found & kListedFileAttributes) == 0) continue;
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        const DWORD attributes = GetFileAttributesA((base + name).c_str());
        const DWORD kept = attributes == INVALID_FILE_ATTRIBUTES ? attributes : (attributes & kListedFileAttributes);
        if (kept == FILE_ATTRIBUTE_DIRECTORY)
            FindFileNames(base + name, pattern, names);
        else
            names.push_back(name);
    } while (FindNextFileA(find.Get(), &entry));
}

std::string FileListHeaderScript(const FileListKind& kind) {
    // 文件名, 操作 in GBK.
    return std::string("$('") + kind.table +
           "').html('<tr><th>\xCE\xC4\xBC\xFE\xC3\xFB</th><th>\xB2\xD9\xD7\xF7</th></tr>');";
}

std::string FileListRowScript(const FileListKind& kind, const std::string& name, bool enabled) {
    // The name stands twice: as the cell's text, and as a string argument of
    // the script in the toggle's attribute, all inside this script's string.
    const std::string cell = ScriptText(HtmlText(name));
    const std::string argument = ScriptText(HtmlText(ScriptText(name)));
    const std::string toggle = enabled
                                   ? "</td><td><i class='fa fa-toggle-on' onclick='" + std::string(kind.disableAction)
                                   : "</td><td><i class='fa fa-toggle-off' onclick='" + std::string(kind.enableAction);
    return std::string("$('") + kind.table + "').append(\"<tr><td>" + cell + toggle + "(\\\"" + argument +
           "\\\")'></i></td></tr>\");";
}

void FillFileList(const FileListKind& kind) {
    std::vector<std::string> enabled, disabled;
    RunPageScript(FileListHeaderScript(kind));
    FindFileNames(FiveMFolder + kind.enabledFolder, "*.rpf", enabled);
    for (const std::string& name : enabled) RunPageScript(FileListRowScript(kind, name, true));
    FindFileNames(FiveMFolder + kind.disabledFolder, "*.rpf", disabled);
    for (const std::string& name : disabled) RunPageScript(FileListRowScript(kind, name, false));
}

void FillAddonsList() { FillFileList(kAddonList); }
void FillModsList() { FillFileList(kModList); }
