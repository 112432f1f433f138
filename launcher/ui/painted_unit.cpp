#include "launcher/ui/painted_unit.h"

#include "utilities/guarded_call.h"

bool PaintedUnit::Create(HWND container, const UnitRow& row) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    if (!GetClassInfoA(instance, ClassName(), &wc)) {
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = ClassName();
        RegisterClassA(&wc);
    }
    DWORD style =
        WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (row.visible ? WS_VISIBLE : 0) | (row.enabled ? 0 : WS_DISABLED);
    HWND hwnd = CreateWindowExA(0, ClassName(), row.caption ? row.caption : "", style, row.left, row.top, row.width,
                                row.height, container, nullptr, instance, this);
    return hwnd != nullptr;
}

bool PaintedUnit::OnMessage(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

void PaintedUnit::DrawCaption(HDC dc, int width, int height, UINT format) const {
    std::string text = Caption();
    if (text.empty()) return;
    ScopedSelect font(dc, Font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Enabled() ? RGB(255, 255, 255) : RGB(150, 150, 150));
    RECT rect{0, 0, width, height};
    DrawTextA(dc, text.c_str(), (int)text.size(), &rect, format | DT_NOPREFIX);
}

LRESULT CALLBACK PaintedUnit::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* unit = static_cast<PaintedUnit*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(unit));
        unit->Attach(hwnd);
    }
    auto* unit = reinterpret_cast<PaintedUnit*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!unit) return DefWindowProcA(hwnd, msg, wParam, lParam);

    LRESULT result = 0;
    bool handled = GuardedCall([&] {
        switch (msg) {
            case WM_ERASEBKGND:
                // Painted whole, double-buffered, in WM_PAINT.
                result = 1;
                return true;
            case kPaintBackgroundMessage: {
                // A unit inside this one wants what lies behind it.
                RECT rect{};
                GetClientRect(hwnd, &rect);
                unit->Paint(reinterpret_cast<HDC>(wParam), rect.right, rect.bottom);
                result = 1;
                return true;
            }
            case WM_PAINT: {
                ScopedPaint paint(hwnd);
                RECT rect{};
                GetClientRect(hwnd, &rect);
                BufferedPaint buffer(paint.Dc(), rect.right, rect.bottom);
                unit->Paint(buffer.Dc(), rect.right, rect.bottom);
                return true;
            }
            case WM_SETTEXT:
            case WM_ENABLE:
                result = DefWindowProcA(hwnd, msg, wParam, lParam);
                InvalidateRect(hwnd, nullptr, FALSE);
                return true;
            case WM_NCHITTEST:
                // Units without input let clicks through to the window, which
                // may be dragged by its background.
                result = HTTRANSPARENT;
                return true;
            case WM_COMMAND:
            case WM_DRAWITEM:
                // Buttons inside a unit report to the window that owns them all.
                result = SendMessageA(GetAncestor(hwnd, GA_ROOT), msg, wParam, lParam);
                return true;
            case WM_NCDESTROY:
                SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
                unit->Attach(nullptr);
                return false;
            default: return unit->OnMessage(msg, wParam, lParam, &result);
        }
    });
    return handled ? result : DefWindowProcA(hwnd, msg, wParam, lParam);
}
