// Push buttons: SuperBtn is a flat button with a caption, PicBtn a button
// drawn from state pictures. Both are system buttons (owner-drawn), so a
// click, a keyboard press and BM_CLICK all raise Clicked.
#pragma once

#include <functional>

#include "launcher/ui/unit.h"

class ButtonUnit : public Unit {
public:
    using Unit::Unit;

    bool Create(HWND container, const UnitRow& row, int id);
    std::function<void()> Clicked;

    bool OnContainerMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    virtual void Draw(const DRAWITEMSTRUCT& item) = 0;
};

class SuperBtn : public ButtonUnit {
public:
    using ButtonUnit::ButtonUnit;
    void SetColours(COLORREF fill, COLORREF pressed, COLORREF text);

protected:
    void Draw(const DRAWITEMSTRUCT& item) override;

private:
    COLORREF fill_ = RGB(52, 56, 64);
    COLORREF pressed_ = RGB(34, 37, 43);
    COLORREF text_ = RGB(255, 255, 255);
};

class PicBtn : public ButtonUnit {
public:
    using ButtonUnit::ButtonUnit;
    // 32-bit bitmaps with premultiplied alpha, drawn stretched to the button;
    // the button owns them. Null pictures leave the button transparent.
    void SetImages(HBITMAP normal, HBITMAP hot, HBITMAP pressed);

protected:
    void Draw(const DRAWITEMSTRUCT& item) override;

private:
    ScopedGdiObject<HBITMAP> normal_, hot_, pressed_;
};
