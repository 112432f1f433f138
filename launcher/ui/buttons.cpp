#include "launcher/ui/buttons.h"

HWND CreateButtonChild(HWND container, const UnitRow& row, DWORD style, int id) {
    style |= WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | (row.visible ? WS_VISIBLE : 0) | (row.enabled ? 0 : WS_DISABLED);
    return CreateWindowExA(0, "BUTTON", row.caption ? row.caption : "", style, row.left, row.top, row.width, row.height,
                           container, reinterpret_cast<HMENU>((INT_PTR)id), GetModuleHandleA(nullptr), nullptr);
}

bool IsButtonClick(UINT msg, WPARAM wParam) { return msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED; }

bool ButtonUnit::Create(HWND container, const UnitRow& row, int id) {
    Attach(CreateButtonChild(container, row, BS_PUSHBUTTON | BS_OWNERDRAW, id));
    return Handle() != nullptr;
}

bool ButtonUnit::OnContainerMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (IsButtonClick(msg, wParam)) {
        if (Clicked) Clicked();
        *result = 0;
        return true;
    }
    if (msg == WM_DRAWITEM) {
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        *result = TRUE;
        return true;
    }
    return false;
}

void SuperBtn::Draw(const DRAWITEMSTRUCT& item) {
    RECT rect = item.rcItem;
    bool down = (item.itemState & ODS_SELECTED) != 0;
    bool disabled = (item.itemState & ODS_DISABLED) != 0;
    ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(down ? kFlatButtonPressed : kFlatButtonFill));
    FillRect(item.hDC, &rect, brush.Get());
    std::string text = Caption();
    ScopedSelect font(item.hDC, Font());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, disabled ? kFlatButtonDisabledText : kFlatButtonText);
    DrawTextA(item.hDC, text.c_str(), (int)text.size(), &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void PicBtn::SetImages(HBITMAP normal, HBITMAP hot, HBITMAP pressed) {
    normal_.Reset(normal);
    hot_.Reset(hot);
    pressed_.Reset(pressed);
    Repaint();
}

void PicBtn::Draw(const DRAWITEMSTRUCT& item) {
    PaintContainerBackground(item.hwndItem, item.hDC);
    HBITMAP image = normal_.Get();
    if (item.itemState & ODS_SELECTED) {
        if (pressed_.Get()) image = pressed_.Get();
    } else {
        POINT cursor{};
        GetCursorPos(&cursor);
        ScreenToClient(item.hwndItem, &cursor);
        if (PtInRect(&item.rcItem, cursor) && hot_.Get()) image = hot_.Get();
    }
    if (!image) return;
    BITMAP info{};
    GetObjectA(image, sizeof info, &info);
    ScopedMemoryDc source(item.hDC);
    ScopedSelect select(source.Get(), image);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(item.hDC, 0, 0, item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top, source.Get(),
               0, 0, info.bmWidth, info.bmHeight, blend);
}
