// The window of a popup view. Its record sits in a window property; the
// record's callback slots are kept for the engine's layout but never filled.
#include "webview/view_events.h"

#include <cstring>

namespace {

const wchar_t kPopupProperty[] = L"LPTarnWEBKIT_EVENT";

struct PopupRecord {
    WNDPROC previous;
    wkeWebView view;
    void* callbackSlots[52];
};
static_assert(sizeof(PopupRecord) == 216, "the popup record is 216 bytes");

}  // namespace

void AttachPopupWindow(HWND window, wkeWebView view) {
    if (!IsWindow(window)) return;
    auto* record = new PopupRecord;
    std::memset(record, 0, sizeof *record);
    record->view = view;
    SetPropW(window, kPopupProperty, record);
    record->previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PopupWindowProc)));
}

LRESULT CALLBACK PopupWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* record = static_cast<PopupRecord*>(GetPropW(window, kPopupProperty));
    if (!record || !record->previous) return DefWindowProcW(window, message, wParam, lParam);
    WNDPROC previous = record->previous;
    if (message == WM_DESTROY) {
        SetPropW(window, kPopupProperty, nullptr);
        RemovePropW(window, kPopupProperty);
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        delete record;
        return 0;
    }
    return CallWindowProcW(previous, window, message, wParam, lParam);
}
