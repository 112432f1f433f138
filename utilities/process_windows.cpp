#include "utilities/process_windows.h"

namespace {

struct Search {
    DWORD pid;
    const std::function<bool(HWND)>* matches;
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || !(*search->matches)(window)) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND FindProcessWindow(DWORD pid, const std::function<bool(HWND)>& matches) {
    Search search{pid, &matches, nullptr};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
