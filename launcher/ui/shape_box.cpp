#include "launcher/ui/shape_box.h"

#include <algorithm>

void ShapeBox::SetFillColour(COLORREF colour) {
    if (colour == fill_) return;
    fill_ = colour;
    Repaint();
}

void ShapeBox::SetLineColour(COLORREF colour) {
    if (colour == line_) return;
    line_ = colour;
    Repaint();
}

void ShapeBox::SlideWithin(ShapeBox& container, int left, int width) {
    RECT before = RectInContainer();
    int height = before.bottom - before.top;
    // The move itself repaints nothing: a repaint of both windows after every
    // step would cost far more than the few pixels that change.
    SetWindowPos(Handle(), nullptr, left, before.top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOREDRAW | SWP_NOCOPYBITS);
    RECT client{};
    GetClientRect(container.Handle(), &client);
    int from = std::max<int>(std::min<int>(before.left, left), 0);
    int to = std::min<int>(std::max<int>(before.right, left + width), client.right);
    if (from >= to || client.bottom <= 0 || !IsWindowVisible(container.Handle())) return;

    // The container's own DC without the exclusion of its children, so the
    // span covers the box's new place too. Each pixel is drawn once, by the
    // box or by the container around it, straight into the window: a buffer
    // bitmap made a hundred times a second would cost more than the drawing.
    HDC target = GetDCEx(container.Handle(), nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
    if (!target) return;
    RECT box{left, before.top, left + width, before.top + height};
    IntersectClipRect(target, from, 0, to, client.bottom);
    if (Visible()) ExcludeClipRect(target, box.left, box.top, box.right, box.bottom);
    container.Paint(target, client.right, client.bottom);
    if (Visible()) {
        SelectClipRgn(target, nullptr);
        IntersectClipRect(target, std::max<int>(from, box.left), box.top, std::min<int>(to, box.right), box.bottom);
        SetViewportOrgEx(target, box.left, box.top, nullptr);
        Paint(target, width, height);
    }
    ReleaseDC(container.Handle(), target);
}

void ShapeBox::Paint(HDC dc, int width, int height) {
    ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(fill_));
    ScopedGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, line_));
    ScopedSelect selectBrush(dc, brush.Get());
    ScopedSelect selectPen(dc, pen.Get());
    Rectangle(dc, 0, 0, width, height);
}
