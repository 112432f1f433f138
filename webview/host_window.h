// The host window of a web view unit ("TarnwkeCtrl"), the engine view inside
// it, and the procedures of both windows.
#pragma once

#include "webview/unit_state.h"

// Registers the class once per process, creates the host window as a child
// of parent and makes the engine view in it. On failure nothing is left
// behind: a host window whose view could not be made is destroyed again.
bool CreateHostWindow(HWND parent, DWORD style, UINT controlId, int x, int y, int width, int height,
                      WebViewUnitState* state);

// Makes the engine view of a binding inside the host window (initialising
// the engine first), subclasses the view's window and attaches the paint
// surface. The style is not used.
bool CreateEngineView(EngineBinding& binding, HWND hostWindow, DWORD style, int x, int y, int width, int height);

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ViewSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The input messages of the view window that become unit events; answers
// true with the window procedure's result in result when the message was
// swallowed. Called only for units outside the designer.
bool HandleViewInput(WebViewUnitState& state, UINT message, WPARAM& wParam, LPARAM lParam, LRESULT& result);

// Whether a message is one the host forwards to the view and the view turns
// into input events.
bool IsViewInputMessage(UINT message);
