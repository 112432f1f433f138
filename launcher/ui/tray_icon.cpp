#include "launcher/ui/tray_icon.h"

#include <shellapi.h>

#include <cstring>

namespace {

const UINT kIconId = 1;

NOTIFYICONDATAA IconData(HWND window) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kIconId;
    return data;
}

int ClickKind(LPARAM mouseMessage) {
    switch ((UINT)mouseMessage) {
        case WM_LBUTTONUP: return 1;
        case WM_LBUTTONDBLCLK: return 2;
        case WM_RBUTTONUP:
        case WM_CONTEXTMENU: return 3;
        default: return 0;
    }
}

}  // namespace

bool TrayIcon::Show(HWND window, HICON icon, const std::string& tip) {
    NOTIFYICONDATAA data = IconData(window);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = icon;
    strncpy(data.szTip, tip.c_str(), 62);
    if (window_ == window) return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
    Remove();
    if (!Shell_NotifyIconA(NIM_ADD, &data)) return false;
    window_ = window;
    return true;
}

void TrayIcon::Remove() {
    if (!window_) return;
    NOTIFYICONDATAA data = IconData(window_);
    Shell_NotifyIconA(NIM_DELETE, &data);
    window_ = nullptr;
}

void TrayIcon::PopUpMenu() {
    if (!window_) return;
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    for (size_t i = 0; i < items_.size(); ++i)
        AppendMenuA(menu, MF_STRING, kTrayMenuFirstId + (UINT)i, items_[i].c_str());
    POINT cursor{};
    GetCursorPos(&cursor);
    // Without the foreground the menu would not close when the user clicks
    // elsewhere.
    SetForegroundWindow(window_);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window_, nullptr);
    PostMessageA(window_, WM_NULL, 0, 0);
    DestroyMenu(menu);
}

bool TrayIcon::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kTrayMessage) {
        int kind = ClickKind(lParam);
        if (kind && Clicked) Clicked(kind);
        return true;
    }
    if (msg == WM_COMMAND && HIWORD(wParam) == 0 && LOWORD(wParam) >= kTrayMenuFirstId &&
        LOWORD(wParam) < kTrayMenuFirstId + items_.size()) {
        if (ItemSelected) ItemSelected(LOWORD(wParam) - kTrayMenuFirstId);
        return true;
    }
    return false;
}
