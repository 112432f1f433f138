// Input of a hosted view's window goes on to its page in the browser, so a
// person (or a test's real mouse) uses the page through the view.
#include "standin.h"

namespace standin {

namespace {

// The browser's modifier bits: Alt 1, Ctrl 2, Meta 4, Shift 8.
int Modifiers() {
    return (GetKeyState(VK_MENU) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_LWIN) < 0 || GetKeyState(VK_RWIN) < 0 ? 4 : 0) | (GetKeyState(VK_SHIFT) < 0 ? 8 : 0);
}

}  // namespace

void ForwardInput(View& view, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            // The release belongs to the page even when the cursor has left the view meanwhile.
            SetCapture(view.window);
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            if (GetCapture() == view.window) ReleaseCapture();
            break;
        case WM_MOUSEWHEEL: {
            // A wheel message carries a screen position; the page wants the view's own.
            POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
            ScreenToClient(view.window, &point);
            lParam = MAKELPARAM(point.x, point.y);
            break;
        }
        case WM_MOUSEMOVE:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
        case WM_CHAR: break;
        default: return;
    }
    PageHostSend({"input", std::to_string(view.handle), std::to_string(message), std::to_string(wParam),
                  std::to_string((unsigned long)lParam), std::to_string(Modifiers())});
}

}  // namespace standin
