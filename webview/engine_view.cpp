// Making the engine view inside a host window, in the order the engine
// expects, and copying its drawing to the host window.
#include "utilities/guarded_call.h"
#include "webview/engine_loader.h"
#include "webview/host_window.h"

namespace {

void WKE_CALL PaintUpdated(wkeWebView, void* param, HDC hdc, int x, int y, int cx, int cy) {
    // The surface belongs to a live unit only while its callbacks are bound;
    // they are taken back before the unit goes.
    GuardedCall([&] {
        if (param) static_cast<PaintSurface*>(param)->Update(hdc, x, y, cx, cy);
    });
}

}  // namespace

bool CreateEngineView(EngineBinding& binding, HWND hostWindow, DWORD, int x, int y, int width, int height) {
    EnsureEngineInitialized();
    wkeWebView view = ENGINE_CALL(wkeCreateWebWindow)(WKE_WINDOW_TYPE_CONTROL, hostWindow, x, y, width, height);
    binding.view = view;
    if (!view) return false;
    binding.paintSurface = std::make_unique<PaintSurface>();
    binding.paintSurface->AttachToWindow(hostWindow);
    ENGINE_CALL(wkeShowWindow)(view, true);
    ENGINE_CALL(wkeSetTransparent)(view, false);
    HWND viewWindow = ENGINE_CALL(wkeGetWindowHandle)(view);
    if (!IsWindow(viewWindow)) return false;
    LONG_PTR previous = SetWindowLongPtrW(viewWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ViewSubclassProc));
    SetWindowLongPtrW(viewWindow, GWLP_USERDATA, previous);
    ENGINE_CALL(wkeOnPaintUpdated)(view, PaintUpdated, binding.paintSurface.get());
    ENGINE_CALL(wkeSetCspCheckEnable)(view, false);
    ENGINE_CALL(wkeSetNpapiPluginsEnabled)(view, true);
    ENGINE_CALL(wkeSetNavigationToNewWindowEnable)(view, true);
    return true;
}

LRESULT CALLBACK ViewSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_USERDATA));
    LRESULT result = 0;
    bool handled = GuardedCall([&] {
        if (message == WM_DESTROY && previous)
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        if (!IsViewInputMessage(message)) return false;
        WebViewUnitState* state = StateOfHostWindow(GetParent(window));
        return state && !state->inDesigner && HandleViewInput(*state, message, wParam, lParam, result);
    });
    if (handled) return result;
    if (!previous) return DefWindowProcW(window, message, wParam, lParam);
    return CallWindowProcW(previous, window, message, wParam, lParam);
}
