// Push buttons: SuperBtn is a flat button with a caption, PicBtn a button
// drawn from state pictures. Both are system buttons (owner-drawn), so a
// click, a keyboard press and BM_CLICK all raise Clicked.
#pragma once

#include <functional>

#include "launcher/ui/unit.h"

// The flat buttons' colours: SuperBtn's, which the package-choice dialog's
// option buttons share.
constexpr COLORREF kFlatButtonFill = RGB(52, 56, 64);
constexpr COLORREF kFlatButtonPressed = RGB(34, 37, 43);
constexpr COLORREF kFlatButtonText = RGB(255, 255, 255);
constexpr COLORREF kFlatButtonDisabledText = RGB(140, 140, 140);

// A system "BUTTON" child window of container for row, with style added to
// the child styles every button has; id is how the container's WM_COMMAND
// and WM_DRAWITEM name it. Null when the system refuses.
HWND CreateButtonChild(HWND container, const UnitRow& row, DWORD style, int id);

// A container message telling of a click on a button (mouse, keyboard or
// BM_CLICK).
bool IsButtonClick(UINT msg, WPARAM wParam);

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

protected:
    void Draw(const DRAWITEMSTRUCT& item) override;
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
