// A top-level window made from tables: its units (child windows), timers and
// file dialogs. WindowCreated runs while the window is loaded, after every
// unit exists and before the window is shown; WindowDestroying runs when it
// goes. When the last window of the layer is gone the message loop ends.
//
// The window finds units by name. Units made by other libraries (the web view
// control's host window) join through AddUnit; the window routes messages only
// to units that ask for them and never assumes a unit is one of its own kinds.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "launcher/ui/common_dialog.h"
#include "launcher/ui/timer.h"
#include "launcher/ui/unit.h"
#include "utilities/win_handles.h"

struct WindowRow {
    const char* className;  // registered once per process
    const char* title;      // GBK
    int left, top, width, height;
    DWORD style, exStyle;
    COLORREF background;   // shown until a background picture is set
    const char* fontFace;  // default font of the units
    int fontHeight;
    bool dragByBackground;  // a press on the bare background moves the window
};

struct WindowLayout {
    WindowRow window;
    std::vector<UnitRow> units;  // containers before what they hold; earlier rows on top
    std::vector<TimerRow> timers;
    std::vector<CommonDlgRow> dialogs;
};

class Window {
public:
    explicit Window(WindowLayout layout) : layout_(std::move(layout)) {}
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Creates the window hidden, then its units and timers, raises
    // WindowCreated, and shows the window when show is true. False when the
    // window could not be created. UI thread only.
    bool Load(bool show = true, HWND owner = nullptr);

    std::function<void()> WindowCreated;
    std::function<void()> WindowDestroying;
    // Sees every message first; true when it has handled one (result in *result).
    std::function<bool(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)> MessageHook;

    HWND Handle() const { return hwnd_; }

    Unit* FindUnit(const std::string& name) const;
    template <typename T>
    T* Get(const std::string& name) const {
        return dynamic_cast<T*>(FindUnit(name));
    }
    Timer* FindTimer(const std::string& name) const;
    CommonDlg* FindDialog(const std::string& name) const;
    // Takes a unit whose child window already exists in this window.
    void AddUnit(std::unique_ptr<Unit> unit);

    void SetVisible(bool visible);
    bool Visible() const;
    void Destroy();
    // Makes the window layered (once) and sets its opacity, 0 to 255.
    void SetAlpha(int alpha);
    // Stretched over the client area; the window owns it. Null: the colour.
    // Any thread: from another one the picture is handed to the window's
    // thread, and freed when the window goes before it took it.
    void SetBackgroundPicture(HBITMAP picture);
    HBITMAP BackgroundPicture() const { return background_.Get(); }

    // Windows of the layer that exist now, in every thread.
    static int LiveWindowCount();

protected:
    // Runs once the units exist, before WindowCreated: a window type picks
    // out its units here.
    virtual void BindUnits() {}

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    bool CreateUnits();
    void PaintBackground(HDC dc);
    Unit* UnitOfHandle(HWND child) const;

    WindowLayout layout_;
    HWND hwnd_ = nullptr;
    std::vector<std::unique_ptr<Unit>> units_;
    std::vector<std::unique_ptr<Timer>> timers_;
    std::vector<std::unique_ptr<CommonDlg>> dialogs_;
    ScopedGdiObject<HBITMAP> background_;
    // A picture from another thread on its way to background_, and the
    // window it may still reach (null once the window is going).
    std::mutex handOverLock_;
    ScopedGdiObject<HBITMAP> handedOver_;
    bool handOverPending_ = false;  // null is a picture too: the colour
    HWND handOverWindow_ = nullptr;
};
