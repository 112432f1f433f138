#include "launcher/ui/unit.h"

#include <vector>

std::string Unit::Caption() const {
    int length = GetWindowTextLengthA(hwnd_);
    if (length <= 0) return {};
    std::vector<char> buffer(length + 1);
    int got = GetWindowTextA(hwnd_, buffer.data(), length + 1);
    return std::string(buffer.data(), got > 0 ? got : 0);
}

void Unit::SetCaption(const std::string& caption) {
    // The flows set the status lines ten times a second; an unchanged line
    // is not drawn again.
    if (Caption() == caption) return;
    SetWindowTextA(hwnd_, caption.c_str());
    Repaint();
}

bool Unit::Visible() const { return (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }

void Unit::SetVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }

bool Unit::Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }

void Unit::SetEnabled(bool enabled) {
    EnableWindow(hwnd_, enabled ? TRUE : FALSE);
    Repaint();
}

RECT Unit::RectInContainer() const {
    RECT rect{};
    GetWindowRect(hwnd_, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int Unit::Left() const { return RectInContainer().left; }
int Unit::Top() const { return RectInContainer().top; }
int Unit::Width() const {
    RECT r = RectInContainer();
    return r.right - r.left;
}
int Unit::Height() const {
    RECT r = RectInContainer();
    return r.bottom - r.top;
}

void Unit::Move(int left, int top, int width, int height) {
    SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Unit::SetLeft(int left) {
    SetWindowPos(hwnd_, nullptr, left, Top(), 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

void Unit::SetWidth(int width) {
    SetWindowPos(hwnd_, nullptr, 0, 0, width, Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

void Unit::SetFont(const std::string& face, int height) {
    HFONT font = CreateFontA(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, face.c_str());
    if (!font) return;
    // The old font stays alive until the control has taken the new one.
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    font_.Reset(font);
    Repaint();
}

bool Unit::OnContainerMessage(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

void Unit::Repaint() const { InvalidateRect(hwnd_, nullptr, FALSE); }

void PaintContainerBackground(HWND hwnd, HDC dc) {
    HWND container = GetParent(hwnd);
    POINT origin{0, 0};
    MapWindowPoints(hwnd, container, &origin, 1);
    POINT old{};
    OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
    // A container that is not one of the layer's leaves the area as it is.
    SendMessageA(container, kPaintBackgroundMessage, reinterpret_cast<WPARAM>(dc), 0);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
}
