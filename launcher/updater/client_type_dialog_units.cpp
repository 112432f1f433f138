#include "launcher/updater/client_type_dialog_units.h"

#include <string>
#include <vector>

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
    ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(down ? kFlatButtonPressed : kFlatButtonFill));
    FillRect(item.hDC, &item.rcItem, brush.Get());

    ScopedSelect font(item.hDC, Font());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, (item.itemState & ODS_DISABLED) ? kFlatButtonDisabledText : kFlatButtonText);
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
    Attach(CreateButtonChild(container, row, BS_PUSHBUTTON | BS_MULTILINE, id));
    return Handle() != nullptr;
}

bool PushButton::OnContainerMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
    if (!IsButtonClick(msg, wParam)) return false;
    if (Clicked) Clicked();
    *result = 0;
    return true;
}

bool RadioBox::Create(HWND container, const UnitRow& row, int id, bool firstOfGroup) {
    Attach(CreateButtonChild(container, row, BS_AUTORADIOBUTTON | (firstOfGroup ? WS_GROUP : 0), id));
    return Handle() != nullptr;
}

void RadioBox::SetChecked(bool checked) {
    SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool RadioBox::OnContainerMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
    if (!IsButtonClick(msg, wParam)) return false;
    if (Selected) Selected();
    *result = 0;
    return true;
}
