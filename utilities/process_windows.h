// Finding a top-level window of a given process.
#pragma once

#include <windows.h>

#include <functional>

// The first top-level window of process pid, in z-order (the top one
// first), for which matches is true; null when there is none.
HWND FindProcessWindow(DWORD pid, const std::function<bool(HWND)>& matches);
