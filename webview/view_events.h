// The engine callbacks of a unit's view, which become the unit's events.
#pragma once

#include "webview/unit_state.h"

// The unit whose FileDialogRequest event answers the file-open dialog: the
// first unit whose callbacks were bound, until that unit is gone.
extern WebViewUnitState* FileDialogUnit;

// Registers the unit's callbacks on its view, each with the state object as
// parameter (once per unit, at creation outside the designer).
void BindViewEvents(wkeWebView view, WebViewUnitState* state);

// Takes every callback that carries the state object back from the engine:
// those of the view (including painting) and those of its popups.
void UnbindViewEvents(WebViewUnitState& state);

// Gives a popup's window its record and procedure (the new window's
// property "LPTarnWEBKIT_EVENT").
void AttachPopupWindow(HWND window, wkeWebView view);
LRESULT CALLBACK PopupWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The wkeOnCreateView callback, also registered on popups.
wkeWebView WKE_CALL OnCreateView(wkeWebView view, void* param, int navigationType, wkeString url,
                                 const wkeWindowFeatures* features);
