// A soft drop shadow around a top-level window. The shadow is a second
// window: a layered, click-through, non-activating popup owned by the
// target, grown by the shadow size on every side and painted with per-pixel
// alpha (utilities/shadow_painting.h). The target is subclassed so that the
// shadow follows every move, resize, show and hide. All state lives in
// window properties (utilities/shadow_properties.h).
//
// UI thread only: the thread that owns the target window.
#pragma once

#include <windows.h>

#include <optional>

// Attaches a shadow of colour (0x00BBGGRR) and size (5 when not given) to
// target, or changes the colour and size of the one it has and repaints it.
// A size given below 1 removes the shadow and restores the target's window
// procedure. True when a shadow is attached; false when target is not a
// window, when the shadow was removed, or when the shadow window could not
// be made.
bool SetWindowShadow(HWND target, COLORREF colour, std::optional<int> size = std::nullopt);

// The shadow window of target (made, registered and stored when it has none); null on failure.
HWND CreateShadowWindow(HWND target);

// True when the window class of this name exists for the program's module
// or has now been registered (with the shadow window's procedure).
bool RegisterWindowClassOnce(const char* className);

// Places and repaints the shadow around target, or hides it while target is
// hidden, maximised or minimised. visible defaults to IsWindowVisible(target).
void UpdateShadowPosition(HWND target, std::optional<bool> visible = std::nullopt);

// The procedure installed on the target window.
LRESULT CALLBACK ShadowSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The target's own procedure from before the subclassing (DefWindowProcA when none is stored).
LRESULT CallOriginalWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
