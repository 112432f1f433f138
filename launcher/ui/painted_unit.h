// Units drawn by the layer itself, in window classes of its own.
#pragma once

#include "launcher/ui/unit.h"

class PaintedUnit : public Unit {
public:
    using Unit::Unit;

    // Creates the child window in container; false when the system refuses.
    bool Create(HWND container, const UnitRow& row);

protected:
    // Draws the whole client area (width × height) into dc; the layer
    // double-buffers it.
    virtual void Paint(HDC dc, int width, int height) = 0;
    // Messages other than painting; true when handled.
    virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual const char* ClassName() const = 0;

    // Caption drawn with the unit's font over what dc holds: white, grey
    // while disabled.
    void DrawCaption(HDC dc, int width, int height, UINT format) const;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};
