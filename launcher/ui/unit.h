// Units are the parts a window is made of. Each visible unit is a real child
// window: its window text is its caption and its visibility and enabled state
// are the child window's own, so a test driver or an assistive tool sees what
// the user sees.
//
// Unit properties may be changed from any thread (the flows update the status
// line and the progress bar directly); the Win32 calls behind them are safe
// across threads. A setter called from a worker blocks until the UI thread
// has run it (the system sends the change to the window's thread), so a
// worker must never set a unit while the UI thread waits for that worker.
// Events always run on the thread that made the window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "utilities/win_handles.h"

class Window;

enum class UnitKind { TransLabel, Label, ShapeBox, SuperBtn, PicBtn };

// One row of a window's unit table. Geometry is relative to the container's
// client area. Texts are GBK.
struct UnitRow {
    UnitKind kind;
    const char* name;       // the unit's name within its window
    const char* container;  // name of the unit that holds it; null: the window itself
    int left, top, width, height;
    const char* caption;   // null: no caption
    const char* fontFace;  // null: the window's default face
    int fontHeight;        // character height in pixels; 0: the default
    bool visible;
    bool enabled;
};

// Base of every unit, including units whose child window another library
// makes (the web view control): the layer needs only the handle.
class Unit {
public:
    // The unit belongs to one window, which reaches it by its handle; the
    // unit itself needs no way back.
    Unit(Window* /*owner*/, std::string name) : name_(std::move(name)) {}
    virtual ~Unit() = default;
    Unit(const Unit&) = delete;
    Unit& operator=(const Unit&) = delete;

    const std::string& Name() const { return name_; }
    HWND Handle() const { return hwnd_; }

    std::string Caption() const;
    void SetCaption(const std::string& caption);
    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);

    // Position and size within the container.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void Move(int left, int top, int width, int height);
    void SetLeft(int left);
    void SetWidth(int width);

    // A font of the given face (GBK) and character height in pixels.
    void SetFont(const std::string& face, int height);
    HFONT Font() const { return font_.Get(); }

    // Messages the container receives on behalf of this unit (WM_COMMAND,
    // WM_DRAWITEM); true when handled, with the result in *result.
    virtual bool OnContainerMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

protected:
    friend class Window;
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    RECT RectInContainer() const;
    void Repaint() const;

private:
    std::string name_;
    HWND hwnd_ = nullptr;
    ScopedGdiObject<HFONT> font_;
};

// A unit around a child window that someone else created (for example the
// web view library's host window), so the window can find it by name.
class HostedUnit : public Unit {
public:
    HostedUnit(Window* owner, std::string name, HWND child) : Unit(owner, std::move(name)) { Attach(child); }
};

// Asks a container to paint its background into the device context in
// wParam (in the container's client coordinates).
constexpr UINT kPaintBackgroundMessage = WM_APP + 0x102;

// Paints the part of hwnd's container that lies behind hwnd into dc, which
// is in hwnd's client coordinates; units without a background of their own
// look transparent this way.
void PaintContainerBackground(HWND hwnd, HDC dc);
