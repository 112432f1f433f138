#include "launcher/page_actions/game_process.h"

#include <windows.h>
#include <tlhelp32.h>

#include "utilities/win_handles.h"

bool FindProcessByName(const std::string& name) {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.Valid()) return false;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.Get(), &entry); more; more = Process32Next(snapshot.Get(), &entry))
        if (lstrcmpiA(entry.szExeFile, name.c_str()) == 0) return true;
    return false;
}
