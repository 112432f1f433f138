#include "webview/host_window.h"

#include "webview/engine_loader.h"
#include "webview/unit_events.h"
#include "webview/view_events.h"
#include "utilities/guarded_call.h"
#include "utilities/message_box.h"

#include <string>

namespace {

const wchar_t kHostClassName[] = L"TarnwkeCtrl";
bool hostClassRegistered = false;

bool RegisterHostClass() {
    if (hostClassRegistered) return true;
    // Counted as registered from the first attempt on: a failed registration
    // is reported once, and later units fail at window creation.
    hostClassRegistered = true;
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.cbWndExtra = 16;
    windowClass.lpszClassName = kHostClassName;
    if (RegisterClassW(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS) return true;
    DWORD error = GetLastError();
    // TarnwkeCtrl注册类失败\n类名 = %s\n错误代码 = %d
    std::wstring message = L"TarnwkeCtrl\u6ce8\u518c\u7c7b\u5931\u8d25\n\u7c7b\u540d = " +
                           std::wstring(kHostClassName) + L"\n\u9519\u8bef\u4ee3\u7801 = " +
                           std::to_wstring((int)error);
    ShowMessageBoxW(message.c_str(), L"\u7a97\u53e3\u7c7b\u6ce8\u518c\u5931\u8d25" /* 窗口类注册失败 */, MB_OK);
    return false;
}

// Before the engine's callbacks can reach freed memory, take them back, and
// forget the unit wherever the library remembers it.
void LeaveUnit(WebViewUnitState& state) {
    UnbindViewEvents(state);
    if (FileDialogUnit == &state) FileDialogUnit = nullptr;
}

void DeleteUnit(HWND window, WebViewUnitState* state) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    UnregisterUnitWindow(state->formId, state->unitId, window);
    NotifyUnitDestroyed(state->formId, state->unitId);
    delete state;
}

LRESULT HostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WebViewUnitState* state = StateOfHostWindow(window);
    if (!state) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        case WM_NCCALCSIZE: return 0;
        case WM_DESTROY: LeaveUnit(*state); return 0;
        case WM_SIZE:
            if (state->view()) ENGINE_CALL(wkeResize)(state->view(), LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_NCDESTROY: DeleteUnit(window, state); return 0;
    }
    if (IsViewInputMessage(message) && state->viewWindow)
        return SendMessageW(state->viewWindow, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return GuardedCall([&] { return HostMessage(window, message, wParam, lParam); });
}

bool CreateHostWindow(HWND parent, DWORD style, UINT controlId, int x, int y, int width, int height,
                      WebViewUnitState* state) {
    if (!RegisterHostClass()) return false;
    HWND window = CreateWindowExW(0, kHostClassName, nullptr, style, x, y, width, height, parent,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId)), nullptr, state);
    if (!window) return false;
    state->hostWindow = window;
    if (!CreateEngineView(*state->binding, window, style, 0, 0, width, height)) {
        // Without a view there is no unit; never ask the engine about view 0.
        DestroyWindow(window);
        state->hostWindow = nullptr;
        return false;
    }
    state->viewWindow = ENGINE_CALL(wkeGetWindowHandle)(state->view());
    if (state->viewWindow) {
        ULONG_PTR classStyle = GetClassLongPtrW(state->viewWindow, GCL_STYLE);
        // Without CS_DBLCLKS the system never makes double clicks for the
        // view; the class's other bits stay as the engine set them.
        if (!(classStyle & CS_DBLCLKS)) SetClassLongPtrW(state->viewWindow, GCL_STYLE, classStyle | CS_DBLCLKS);
    }
    return true;
}
