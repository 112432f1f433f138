#include "launcher/client_type_dialog_units.h"

#include <string>
#include <vector>

namespace {

HWND CreateChild(HWND container, const char* className, const UnitRow& row, DWORD style, int id) {
    style |= WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | (row.visible ? WS_VISIBLE : 0) | (row.enabled ? 0 : WS_DISABLED);
    return CreateWindowExA(0, className, row.caption ? row.caption : "", style, row.left, row.top, row.width,
                           row.height, container, reinterpret_cast<HMENU>((INT_PTR)id), GetModuleHandleA(nullptr),
                           nullptr);
}

bool IsClick(UINT msg, WPARAM wParam) { return msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED; }

}  // namespace

void OptionBtn::Draw(const DRAWITEMSTRUCT& item) {
    // The system's line breaking would centre only the block, not each line,
    // so the lines are measured and placed one by one.
    std::vector<std::string> lines;
    std::string text = Caption();
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    bool down = (item.itemState & ODS_SELECTED) != 0;
    ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(down ? RGB(34, 37, 43) : RGB(52, 56, 64)));
    FillRect(item.hDC, &item.rcItem, brush.Get());

    ScopedSelect font(item.hDC, Font());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, (item.itemState & ODS_DISABLED) ? RGB(140, 140, 140) : RGB(255, 255, 255));
    TEXTMETRICA metrics{};
    GetTextMetricsA(item.hDC, &metrics);
    int lineHeight = metrics.tmHeight + 2;
    RECT area = item.rcItem;
    int top = area.top + ((area.bottom - area.top) - lineHeight * (int)lines.size()) / 2;
    for (const std::string& line : lines) {
        RECT rect{area.left, top, area.right, top + lineHeight};
        DrawTextA(item.hDC, line.c_str(), (int)line.size(), &rect, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
        top += lineHeight;
    }
}

bool PushButton::Create(HWND container, const UnitRow& row, int id) {
    Attach(CreateChild(container, "BUTTON", row, BS_PUSHBUTTON | BS_MULTILINE, id));
    return Handle() != nullptr;
}

bool PushButton::OnContainerMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
    if (!IsClick(msg, wParam)) return false;
    if (Clicked) Clicked();
    *result = 0;
    return true;
}

bool RadioBox::Create(HWND container, const UnitRow& row, int id, bool firstOfGroup) {
    Attach(CreateChild(container, "BUTTON", row, BS_AUTORADIOBUTTON | (firstOfGroup ? WS_GROUP : 0), id));
    return Handle() != nullptr;
}

bool RadioBox::Checked() const { return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void RadioBox::SetChecked(bool checked) {
    SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool RadioBox::OnContainerMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
    if (!IsClick(msg, wParam)) return false;
    if (Selected) Selected();
    *result = 0;
    return true;
}
