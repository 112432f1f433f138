#include "launcher/ui/shape_box.h"

void ShapeBox::SetFillColour(COLORREF colour) {
    fill_ = colour;
    Repaint();
}

void ShapeBox::SetLineColour(COLORREF colour) {
    line_ = colour;
    Repaint();
}

void ShapeBox::Paint(HDC dc, int width, int height) {
    ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(fill_));
    ScopedGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, line_));
    ScopedSelect selectBrush(dc, brush.Get());
    ScopedSelect selectPen(dc, pen.Get());
    Rectangle(dc, 0, 0, width, height);
}
