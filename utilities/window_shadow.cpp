#include "utilities/window_shadow.h"

#include "utilities/shadow_painting.h"
#include "utilities/shadow_properties.h"

namespace {

constexpr const char* kShadowClass = "Lumen.Shadow";

LRESULT CALLBACK ShadowWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND ShadowOf(HWND target) { return reinterpret_cast<HWND>(GetShadowProperty(target, kShadowWindowProperty)); }

void RemoveShadow(HWND target) {
    HWND shadow = ShadowOf(target);
    if (shadow && IsWindow(shadow)) {
        RemovePropA(shadow, kShadowColorProperty);
        RemovePropA(shadow, kShadowSizeProperty);
        DestroyWindow(shadow);
    }
    RemovePropA(target, kShadowWindowProperty);
    LONG_PTR original = static_cast<LONG_PTR>(GetShadowProperty(target, kShadowProcProperty));
    if (original) {
        SetWindowLongA(target, GWL_WNDPROC, original);
        RemovePropA(target, kShadowProcProperty);
    }
}

}  // namespace

bool SetWindowShadow(HWND target, COLORREF colour, std::optional<int> size) {
    if (!IsWindow(target)) return false;
    if (size && *size < 1) {
        RemoveShadow(target);
        return false;
    }
    HWND shadow = CreateShadowWindow(target);
    if (!shadow) return false;
    SetShadowProperty(shadow, kShadowColorProperty, colour);
    SetShadowProperty(shadow, kShadowSizeProperty, static_cast<uintptr_t>(size.value_or(5)));
    UpdateShadowPosition(target);
    if (!GetShadowProperty(target, kShadowProcProperty)) {
        LONG_PTR previous = SetWindowLongA(target, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(ShadowSubclassProc));
        SetShadowProperty(target, kShadowProcProperty, static_cast<uintptr_t>(previous));
    }
    return true;
}

HWND CreateShadowWindow(HWND target) {
    HWND existing = ShadowOf(target);
    if (existing && IsWindow(existing)) return existing;
    if (!RegisterWindowClassOnce(kShadowClass)) return nullptr;
    // Made hidden: a popup created visible is activated, which would take
    // the keyboard from the target. UpdateShadowPosition shows it without
    // activating it.
    HWND shadow =
        CreateWindowExA(WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT, kShadowClass, "", WS_POPUP | WS_DISABLED,
                        0, 0, 0, 0, target, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!shadow) return nullptr;
    SetShadowProperty(target, kShadowWindowProperty, reinterpret_cast<uintptr_t>(shadow));
    return shadow;
}

bool RegisterWindowClassOnce(const char* className) {
    HINSTANCE module = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExA(module, className, &wc)) return true;
    wc = WNDCLASSEXA{};
    wc.cbSize = sizeof(wc);
    wc.hInstance = module;
    wc.lpszClassName = className;
    wc.lpfnWndProc = ShadowWindowProc;
    return RegisterClassExA(&wc) != 0;
}

void UpdateShadowPosition(HWND target, std::optional<bool> visible) {
    HWND shadow = ShadowOf(target);
    if (!shadow) return;
    if (!visible.value_or(IsWindowVisible(target) != FALSE) || IsZoomed(target) || IsIconic(target)) {
        ShowWindow(shadow, SW_HIDE);
        return;
    }
    if (!IsWindowVisible(shadow)) ShowWindow(shadow, SW_SHOWNA);
    RECT rect{};
    GetWindowRect(target, &rect);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width == 0 || height == 0) return;
    int s = static_cast<int>(GetShadowProperty(shadow, kShadowSizeProperty));
    SetWindowPos(shadow, nullptr, rect.left - s, rect.top - s, width + 2 * s, height + 2 * s,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The shadow is transparent over the target: cut that part out of its
    // window, so that what the target draws never lies under the shadow.
    HRGN frame = CreateRectRgn(0, 0, width + 2 * s, height + 2 * s);
    HRGN inside = CreateRectRgn(s, s, s + width, s + height);
    CombineRgn(frame, frame, inside, RGN_DIFF);
    DeleteObject(inside);
    if (!SetWindowRgn(shadow, frame, FALSE)) DeleteObject(frame);
    RenderShadow(target, width + 2 * s, height + 2 * s);
}

LRESULT CALLBACK ShadowSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallOriginalWndProc(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_MOVE:
        case WM_SIZE: UpdateShadowPosition(hwnd); break;
        case WM_SHOWWINDOW: UpdateShadowPosition(hwnd, wParam != 0); break;
    }
    return result;
}

LRESULT CallOriginalWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC original = reinterpret_cast<WNDPROC>(GetShadowProperty(hwnd, kShadowProcProperty));
    if (original) return CallWindowProcA(original, hwnd, msg, wParam, lParam);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
