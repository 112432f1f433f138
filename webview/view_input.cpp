// Input of the engine's view window: each message becomes a unit event
// whose result may swallow it or, for typed characters, replace it.
#include "webview/engine_loader.h"
#include "webview/event_call.h"
#include "webview/host_window.h"

namespace {

int ModifierKeys() {
    int keys = 0;
    if (GetAsyncKeyState(VK_CONTROL) < 0) keys |= 1;
    if (GetAsyncKeyState(VK_SHIFT) < 0) keys |= 2;
    if (GetAsyncKeyState(VK_MENU) < 0) keys |= 4;
    return keys;
}

int MouseEventOf(UINT message) {
    switch (message) {
        case WM_MOUSEMOVE: return kEventMouseMove;
        case WM_LBUTTONDOWN: return kEventLeftButtonDown;
        case WM_LBUTTONUP: return kEventLeftButtonUp;
        case WM_LBUTTONDBLCLK: return kEventLeftButtonDoubleClick;
        case WM_RBUTTONDOWN: return kEventRightButtonDown;
        case WM_RBUTTONUP: return kEventRightButtonUp;
        default: return -1;
    }
}

}  // namespace

bool IsViewInputMessage(UINT message) {
    switch (message) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
        case WM_HSCROLL:
        case WM_VSCROLL: return true;
        default: return message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK;
    }
}

bool HandleViewInput(WebViewUnitState& state, UINT message, WPARAM& wParam, LPARAM lParam, LRESULT& result) {
    EventOutcome outcome;
    switch (message) {
        case WM_SETFOCUS: outcome = EventCall(state, kEventFocusGained).Raise(); break;
        case WM_KILLFOCUS: outcome = EventCall(state, kEventFocusLost).Raise(); break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            outcome = EventCall(state, kEventKeyDown).Int((int)wParam).Int(ModifierKeys()).Raise();
            // F5 reloads whatever the handler said; only the property turns it off.
            if (message == WM_KEYDOWN && wParam == VK_F5 && !state.noF5Reload && state.view())
                ENGINE_CALL(wkeReload)(state.view());
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP: outcome = EventCall(state, kEventKeyUp).Int((int)wParam).Int(ModifierKeys()).Raise(); break;
        case WM_CHAR:
            outcome = EventCall(state, kEventCharInput).Int((int)wParam).Raise();
            if (outcome.handled && outcome.hasValue && outcome.value != 0) wParam = (WPARAM)(uint32_t)outcome.value;
            break;
        case WM_HSCROLL:
        case WM_VSCROLL:
            // Scrolling shares the character event's number, with its own two arguments.
            outcome = EventCall(state, kEventCharInput).Int(HIWORD(wParam)).Int(ModifierKeys()).Raise();
            break;
        default: {
            int number = MouseEventOf(message);
            // Right double click and the middle button raise nothing and go
            // on to the page unchanged.
            if (number < 0) return false;
            outcome = EventCall(state, number)
                          .Int((short)LOWORD(lParam))
                          .Int((short)HIWORD(lParam))
                          .Int(ModifierKeys())
                          .Raise();
            break;
        }
    }
    if (ReturnedFalse(outcome)) {
        result = 0;
        return true;
    }
    return false;
}
