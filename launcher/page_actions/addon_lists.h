// The client's add-on and mod archives ("*.rpf" in FiveM.app\addons and
// FiveM.app\mods, switched off by moving them into a "-disabled" twin) and
// the two tables of the launcher page that list them.
#pragma once

#include <string>
#include <vector>

// One kind of archive: its two folders under FiveMFolder (with leading and
// trailing "\"), its page table and the page functions its rows call.
struct FileListKind {
    const char* enabledFolder;
    const char* disabledFolder;
    const char* table;
    const char* disableAction;
    const char* enableAction;
};

extern const FileListKind kAddonList;
extern const FileListKind kModList;

// Appends the bare names of the entries of folder matching pattern ("*.*"
// when empty), in the system's order. A sub-folder whose attributes carry
// none of read-only, hidden, system or archive is searched in turn with the
// same pattern instead of being listed. A missing folder adds nothing.
void FindFileNames(const std::string& folder, const std::string& pattern, std::vector<std::string>& names);

// The script that replaces the table's content by its header row.
std::string FileListHeaderScript(const FileListKind& kind);

// The script that appends the row of one file (GBK name): the name, and the
// toggle that calls the disable (enabled file) or enable action with it.
// The name may hold any character a file name can: it is escaped for every
// place it stands in.
std::string FileListRowScript(const FileListKind& kind, const std::string& name, bool enabled);

// Runs the header script, then one row script per enabled file, then one per
// disabled file. Any thread.
void FillFileList(const FileListKind& kind);
