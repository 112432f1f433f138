#include "launcher/ui/window.h"

#include <atomic>

#include "launcher/ui/buttons.h"
#include "utilities/guarded_call.h"
#include "launcher/ui/labels.h"
#include "launcher/ui/shape_box.h"

namespace {

std::atomic<int> liveWindows{0};

constexpr int kFirstUnitId = 1000;
constexpr UINT_PTR kFirstTimerId = 1;
// Carries a background picture from another thread: lParam the bitmap.
constexpr UINT kSetBackgroundMessage = WM_APP + 0x103;

template <typename T, typename... Extra>
std::unique_ptr<Unit> Made(Window* owner, const UnitRow& row, HWND container, Extra... extra) {
    auto unit = std::make_unique<T>(owner, row.name);
    if (!unit->Create(container, row, extra...)) return nullptr;
    return unit;
}

std::unique_ptr<Unit> MakeUnit(Window* owner, const UnitRow& row, HWND container, int id) {
    switch (row.kind) {
        case UnitKind::TransLabel: return Made<TransLabel>(owner, row, container);
        case UnitKind::Label: return Made<Label>(owner, row, container);
        case UnitKind::ShapeBox: return Made<ShapeBox>(owner, row, container);
        case UnitKind::SuperBtn: return Made<SuperBtn>(owner, row, container, id);
        case UnitKind::PicBtn: return Made<PicBtn>(owner, row, container, id);
    }
    return nullptr;
}

}  // namespace

Window::~Window() {
    if (hwnd_) DestroyWindow(hwnd_);
}

int Window::LiveWindowCount() { return liveWindows; }

bool Window::Load(bool show, HWND owner) {
    if (hwnd_) return false;
    // A window may be loaded again after it was destroyed.
    units_.clear();
    timers_.clear();
    dialogs_.clear();
    const WindowRow& row = layout_.window;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    if (!GetClassInfoA(instance, row.className, &wc)) {
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = row.className;
        RegisterClassA(&wc);
    }
    HWND hwnd = CreateWindowExA(row.exStyle, row.className, row.title ? row.title : "",
                                (row.style & ~WS_VISIBLE) | WS_CLIPCHILDREN, row.left, row.top, row.width, row.height,
                                owner, nullptr, instance, this);
    if (!hwnd) return false;
    if (!CreateUnits()) {
        DestroyWindow(hwnd);
        return false;
    }
    for (const CommonDlgRow& dialog : layout_.dialogs) dialogs_.push_back(std::make_unique<CommonDlg>(dialog));
    for (auto& timer : timers_) timer->Apply(timer->Interval());
    BindUnits();

    if (WindowCreated) GuardedCall(WindowCreated);
    // The created handler may have ended the window (or the program).
    if (show && hwnd_) ShowWindow(hwnd_, SW_SHOW);
    return hwnd_ != nullptr;
}

bool Window::CreateUnits() {
    const WindowRow& row = layout_.window;
    int id = kFirstUnitId;
    for (const UnitRow& unitRow : layout_.units) {
        HWND container = hwnd_;
        if (unitRow.container) {
            Unit* holder = FindUnit(unitRow.container);
            if (!holder) return false;
            container = holder->Handle();
        }
        auto unit = MakeUnit(this, unitRow, container, id++);
        if (!unit) return false;
        // Earlier rows lie on top, so a picture behind a row of buttons can
        // follow them in the table.
        SetWindowPos(unit->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        const char* face = unitRow.fontFace ? unitRow.fontFace : row.fontFace;
        int height = unitRow.fontHeight ? unitRow.fontHeight : row.fontHeight;
        if (face) unit->SetFont(face, height);
        units_.push_back(std::move(unit));
    }
    UINT_PTR timerId = kFirstTimerId;
    for (const TimerRow& timer : layout_.timers)
        timers_.push_back(std::make_unique<Timer>(this, timer.name, timerId++, timer.interval));
    return true;
}

Unit* Window::FindUnit(const std::string& name) const {
    for (const auto& unit : units_)
        if (unit->Name() == name) return unit.get();
    return nullptr;
}

Timer* Window::FindTimer(const std::string& name) const {
    for (const auto& timer : timers_)
        if (timer->Name() == name) return timer.get();
    return nullptr;
}

CommonDlg* Window::FindDialog(const std::string& name) const {
    for (const auto& dialog : dialogs_)
        if (dialog->Name() == name) return dialog.get();
    return nullptr;
}

void Window::AddUnit(std::unique_ptr<Unit> unit) {
    if (unit) units_.push_back(std::move(unit));
}

Unit* Window::UnitOfHandle(HWND child) const {
    if (!child) return nullptr;
    for (const auto& unit : units_)
        if (unit->Handle() == child) return unit.get();
    return nullptr;
}

void Window::SetVisible(bool visible) {
    if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}

bool Window::Visible() const { return hwnd_ && (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE); }

void Window::Destroy() {
    if (!hwnd_) return;
    // DestroyWindow works only on the owning thread.
    if (GetWindowThreadProcessId(hwnd_, nullptr) == GetCurrentThreadId())
        DestroyWindow(hwnd_);
    else
        PostMessageA(hwnd_, WM_CLOSE, 0, 0);
}

void Window::SetAlpha(int alpha) {
    if (!hwnd_) return;
    LONG exStyle = GetWindowLongA(hwnd_, GWL_EXSTYLE);
    if (!(exStyle & WS_EX_LAYERED)) SetWindowLongA(hwnd_, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    if (alpha < 0) alpha = 0;
    if (alpha > 255) alpha = 255;
    SetLayeredWindowAttributes(hwnd_, 0, (BYTE)alpha, LWA_ALPHA);
}

void Window::SetBackgroundPicture(HBITMAP picture) {
    {
        std::lock_guard<std::mutex> lock(handOverLock_);
        if (handOverWindow_ && GetWindowThreadProcessId(handOverWindow_, nullptr) != GetCurrentThreadId()) {
            // Painting reads the picture on the window's thread; it changes
            // there too. A posted message dies with its window, so the
            // picture waits here, where the window's end frees it.
            handedOver_.Reset(picture);
            handOverPending_ = true;
            PostMessageA(handOverWindow_, kSetBackgroundMessage, 0, 0);
            return;
        }
    }
    background_.Reset(picture);
    if (hwnd_) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Window::PaintBackground(HDC dc) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (HBITMAP picture = background_.Get()) {
        BITMAP info{};
        GetObjectA(picture, sizeof info, &info);
        ScopedMemoryDc source(dc);
        ScopedSelect select(source.Get(), picture);
        RECT clip{};
        if (info.bmWidth == client.right && info.bmHeight == client.bottom && GetClipBox(dc, &clip) != ERROR) {
            // A picture of the window's size is copied as it is, and only where
            // the paint goes: the labels ask for what lies behind them ten times
            // a second while a download runs.
            BitBlt(dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, source.Get(), clip.left,
                   clip.top, SRCCOPY);
            return;
        }
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, 0, 0, client.right, client.bottom, source.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        return;
    }
    ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(layout_.window.background));
    FillRect(dc, &client, brush.Get());
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* window = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
        window->hwnd_ = hwnd;
        {
            std::lock_guard<std::mutex> lock(window->handOverLock_);
            window->handOverWindow_ = hwnd;
        }
        ++liveWindows;
    }
    auto* window = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!window) return DefWindowProcA(hwnd, msg, wParam, lParam);
    LRESULT result = 0;
    bool handled = GuardedCall([&] { return window->HandleMessage(msg, wParam, lParam, &result); });
    if (msg == WM_NCDESTROY) {
        {
            std::lock_guard<std::mutex> lock(window->handOverLock_);
            window->handOverWindow_ = nullptr;
            window->handedOver_.Reset();
            window->handOverPending_ = false;
        }
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        window->hwnd_ = nullptr;
        if (--liveWindows == 0) PostQuitMessage(0);
    }
    return handled ? result : DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (MessageHook && MessageHook(msg, wParam, lParam, result)) return true;
    switch (msg) {
        case WM_ERASEBKGND:
            *result = 1;  // painted in WM_PAINT
            return true;
        case WM_PAINT: {
            ScopedPaint paint(hwnd_);
            PaintBackground(paint.Dc());
            return true;
        }
        case kPaintBackgroundMessage:
            PaintBackground(reinterpret_cast<HDC>(wParam));
            *result = 1;
            return true;
        case WM_NCHITTEST:
            if (!layout_.window.dragByBackground) return false;
            *result = DefWindowProcA(hwnd_, msg, wParam, lParam);
            if (*result == HTCLIENT) *result = HTCAPTION;
            return true;
        case WM_COMMAND:
            if (Unit* unit = UnitOfHandle(reinterpret_cast<HWND>(lParam)))
                return unit->OnContainerMessage(msg, wParam, lParam, result);
            return false;
        case WM_DRAWITEM:
            if (Unit* unit = UnitOfHandle(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem))
                return unit->OnContainerMessage(msg, wParam, lParam, result);
            return false;
        case WM_TIMER:
            for (auto& timer : timers_) {
                if (timer->Id() != wParam) continue;
                // A tick that comes after the timer was stopped from another thread is dropped.
                if (timer->Interval() > 0 && timer->Tick) timer->Tick();
                return true;
            }
            return false;
        case kSetBackgroundMessage: {
            HBITMAP picture = nullptr;
            {
                std::lock_guard<std::mutex> lock(handOverLock_);
                // Nothing pending when a later hand-over's message came first
                // and took the newest picture already.
                if (!handOverPending_) return true;
                handOverPending_ = false;
                picture = handedOver_.Release();
            }
            SetBackgroundPicture(picture);
            return true;
        }
        case kSetTimerMessage:
            for (auto& timer : timers_)
                if (timer->Id() == wParam) timer->Apply((int)lParam);
            return true;
        case WM_DESTROY:
            for (auto& timer : timers_) KillTimer(hwnd_, timer->Id());
            if (WindowDestroying) WindowDestroying();
            return true;
        default: return false;
    }
}
