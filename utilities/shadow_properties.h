// The window properties through which a drop shadow is kept (values are
// 32-bit numbers): the shadow needs no globals and serves any number of
// windows.
#pragma once

#include <windows.h>

#include <cstdint>

// On the target window: the shadow window's handle, and the target's window
// procedure from before the shadow subclassed it.
constexpr const char* kShadowWindowProperty = "Lumen.WndShadow";
constexpr const char* kShadowProcProperty = "Lumen.WndShadow.Proc";
// On the shadow window: colour 0x00BBGGRR and size in pixels.
constexpr const char* kShadowColorProperty = "Lumen.WndShadow.Color";
constexpr const char* kShadowSizeProperty = "Lumen.WndShadow.Size";

inline uintptr_t GetShadowProperty(HWND hwnd, const char* name) {
    return reinterpret_cast<uintptr_t>(GetPropA(hwnd, name));
}
inline void SetShadowProperty(HWND hwnd, const char* name, uintptr_t value) {
    SetPropA(hwnd, name, reinterpret_cast<HANDLE>(value));
}
