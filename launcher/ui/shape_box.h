// A filled rectangle with an outline, such as the progress track and its
// fill; it may hold other units.
#pragma once

#include "launcher/ui/painted_unit.h"

class ShapeBox : public PaintedUnit {
public:
    using PaintedUnit::PaintedUnit;

    void SetFillColour(COLORREF colour);
    void SetLineColour(COLORREF colour);
    COLORREF FillColour() const { return fill_; }

protected:
    void Paint(HDC dc, int width, int height) override;
    const char* ClassName() const override { return "Quillmere.ShapeBox"; }

private:
    COLORREF fill_ = RGB(64, 64, 64);
    COLORREF line_ = RGB(64, 64, 64);
};
