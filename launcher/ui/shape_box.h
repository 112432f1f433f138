// A filled rectangle with an outline, such as the progress track and its
// fill; it may hold other units.
#pragma once

#include "launcher/ui/painted_unit.h"

class ShapeBox : public PaintedUnit {
public:
    using PaintedUnit::PaintedUnit;

    // Setting the colour the box already has repaints nothing.
    void SetFillColour(COLORREF colour);
    void SetLineColour(COLORREF colour);
    COLORREF FillColour() const { return fill_; }

    // Moves and sizes this box inside container (the box's parent, a ShapeBox
    // too) for a box that moves many times a second, such as the progress
    // marquee: the child window moves without a repaint of its own, and only
    // the span that changed is drawn, container and box together, straight
    // into the container's window. Nothing else of the container may lie in
    // that span. UI thread only.
    void SlideWithin(ShapeBox& container, int left, int width);

protected:
    void Paint(HDC dc, int width, int height) override;
    const char* ClassName() const override { return "Quillmere.ShapeBox"; }

private:
    COLORREF fill_ = RGB(64, 64, 64);
    COLORREF line_ = RGB(64, 64, 64);
};
