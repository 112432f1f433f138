// Views: each is a real window of its own class, a child control (type 2) or
// a popup (type 0). The engine finds its record through a window property;
// the window's user-data slot belongs to whoever subclasses the window.
#include "standin.h"

#include <map>
#include <mutex>

namespace standin {

namespace {

const wchar_t kViewClass[] = L"NodeStandInView";
const wchar_t kDispatcherClass[] = L"NodeStandInDispatcher";
const wchar_t kViewProperty[] = L"NodeStandInView";
constexpr UINT kRunWorkMessage = WM_APP + 0x52;
constexpr UINT kRunPostedWorkMessage = WM_APP + 0x53;

std::mutex viewsMutex;
std::map<wkeWebView, std::shared_ptr<View>>& Views() {
    static std::map<wkeWebView, std::shared_ptr<View>> views;
    return views;
}
wkeWebView nextView = 0x10000;
bool failNextCreation = false;

HINSTANCE ModuleInstance() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ModuleInstance), &module);
    return module;
}

View* ViewOfWindow(HWND window) { return static_cast<View*>(GetPropW(window, kViewProperty)); }

const char* InputMessageName(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
        case WM_LBUTTONUP: return "WM_LBUTTONUP";
        case WM_LBUTTONDBLCLK: return "WM_LBUTTONDBLCLK";
        case WM_RBUTTONDOWN: return "WM_RBUTTONDOWN";
        case WM_RBUTTONUP: return "WM_RBUTTONUP";
        case WM_RBUTTONDBLCLK: return "WM_RBUTTONDBLCLK";
        case WM_MBUTTONDOWN: return "WM_MBUTTONDOWN";
        case WM_MBUTTONUP: return "WM_MBUTTONUP";
        case WM_MBUTTONDBLCLK: return "WM_MBUTTONDBLCLK";
        case WM_KEYDOWN: return "WM_KEYDOWN";
        case WM_KEYUP: return "WM_KEYUP";
        case WM_SYSKEYDOWN: return "WM_SYSKEYDOWN";
        case WM_SYSKEYUP: return "WM_SYSKEYUP";
        case WM_CHAR: return "WM_CHAR";
        case WM_SETFOCUS: return "WM_SETFOCUS";
        case WM_KILLFOCUS: return "WM_KILLFOCUS";
        case WM_HSCROLL: return "WM_HSCROLL";
        case WM_VSCROLL: return "WM_VSCROLL";
        default: return nullptr;  // mouse moves and everything else stay out of the log
    }
}

void DrawContent(HDC dc, const RECT& area, View& view) {
    if (DrawFrame(dc, area, view)) return;
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    FillRect(dc, &area, white);
    std::wstring text = L"URL: " + Utf8ToWide(view.url) + L"\nTitle: " + Utf8ToWide(view.title) + L"\nConsole: " +
                        Utf8ToWide(view.lastConsole);
    RECT inner = area;
    InflateRect(&inner, -8, -8);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, text.c_str(), -1, &inner, DT_LEFT | DT_TOP | DT_NOPREFIX | DT_WORDBREAK);
}

LRESULT CALLBACK ViewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    View* view = ViewOfWindow(window);
    if (!view) return DefWindowProcW(window, message, wParam, lParam);
    if (view->hosted) ForwardInput(*view, message, wParam, lParam);
    if (const char* name = InputMessageName(message)) {
        Log(std::string("input ") + name + " " + std::to_string(view->handle) + " " + std::to_string(wParam) + " " +
            std::to_string((short)LOWORD(lParam)) + " " + std::to_string((short)HIWORD(lParam)));
        if (message == WM_LBUTTONDOWN) SetFocus(window);
        return message == WM_SETFOCUS || message == WM_KILLFOCUS ? 0 : DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window, &ps);
            RECT area;
            GetClientRect(window, &area);
            DrawContent(dc, area, *view);
            EndPaint(window, &ps);
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_SIZE: ResizeHostedPage(*view); break;
        case WM_CLOSE: {
            bool close = true;
            if (view->callbacks.closing) close = view->callbacks.closing(view->handle, view->callbacks.closingParam);
            Log("closing " + std::to_string(view->handle) + " answer=" + (close ? "1" : "0"));
            if (close) DestroyWindow(window);
            return 0;
        }
        case WM_NCDESTROY:
            // Reported at the very end: a subclasser may keep WM_DESTROY to itself.
            Log("destroyed " + std::to_string(view->handle));
            if (view->callbacks.destroy) view->callbacks.destroy(view->handle, view->callbacks.destroyParam);
            view->window = nullptr;
            if (view->hosted) PageHostSend({"close", std::to_string(view->handle)});
            RemovePropW(window, kViewProperty);
            return DefWindowProcW(window, message, wParam, lParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK DispatcherProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunQueuedLoadsMessage) {
        RunQueuedLoads(static_cast<wkeWebView>(wParam));
        return 0;
    }
    if (message == kRunPostedWorkMessage) {
        std::unique_ptr<std::function<void()>> work(reinterpret_cast<std::function<void()>*>(lParam));
        (*work)();
        return 0;
    }
    if (message == kRunWorkMessage) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterClasses() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    WNDCLASSW viewClass = {};
    // No CS_DBLCLKS: the library is expected to add it to this class.
    viewClass.style = CS_HREDRAW | CS_VREDRAW;
    viewClass.lpfnWndProc = ViewWindowProc;
    viewClass.hInstance = ModuleInstance();
    viewClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    viewClass.lpszClassName = kViewClass;
    RegisterClassW(&viewClass);
    WNDCLASSW dispatcherClass = {};
    dispatcherClass.lpfnWndProc = DispatcherProc;
    dispatcherClass.hInstance = ModuleInstance();
    dispatcherClass.lpszClassName = kDispatcherClass;
    RegisterClassW(&dispatcherClass);
}

HWND ThreadDispatcher() {
    static thread_local HWND dispatcher = nullptr;
    if (!dispatcher || !IsWindow(dispatcher))
        dispatcher =
            CreateWindowExW(0, kDispatcherClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ModuleInstance(), nullptr);
    return dispatcher;
}

}  // namespace

std::shared_ptr<View> FindView(wkeWebView handle) {
    std::lock_guard<std::mutex> lock(viewsMutex);
    auto it = Views().find(handle);
    return it == Views().end() ? nullptr : it->second;
}

std::vector<std::shared_ptr<View>> AllViews() {
    std::lock_guard<std::mutex> lock(viewsMutex);
    std::vector<std::shared_ptr<View>> all;
    for (auto& entry : Views()) all.push_back(entry.second);
    return all;
}

bool RunOnViewThread(const std::shared_ptr<View>& view, const std::function<void()>& work) {
    if (GetCurrentThreadId() == view->thread) {
        work();
        return true;
    }
    DWORD_PTR result = 0;
    // Bounded, so a test whose UI thread stopped pumping fails instead of hanging.
    return SendMessageTimeoutW(view->dispatcher, kRunWorkMessage, 0, reinterpret_cast<LPARAM>(&work), SMTO_NORMAL,
                               20000, &result) != 0 &&
           result == 1;
}

void PostToViewThread(const std::shared_ptr<View>& view, std::function<void()> work) {
    auto* posted = new std::function<void()>(std::move(work));
    if (!PostMessageW(view->dispatcher, kRunPostedWorkMessage, 0, reinterpret_cast<LPARAM>(posted))) delete posted;
}

void RepaintView(View& view) {
    if (!view.window) return;
    RECT area;
    GetClientRect(view.window, &area);
    int width = area.right, height = area.bottom;
    if (width <= 0 || height <= 0) return;
    HDC windowDc = GetDC(view.window);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDc, width, height);
    HGDIOBJ old = SelectObject(memoryDc, bitmap);
    DrawContent(memoryDc, area, view);
    BitBlt(windowDc, 0, 0, width, height, memoryDc, 0, 0, SRCCOPY);
    if (view.callbacks.paint) {
        Log("paint " + std::to_string(view.handle) + " " + std::to_string(width) + "x" + std::to_string(height));
        view.callbacks.paint(view.handle, view.callbacks.paintParam, memoryDc, 0, 0, width, height);
    }
    SelectObject(memoryDc, old);
    DeleteObject(bitmap);
    DeleteDC(memoryDc);
    ReleaseDC(view.window, windowDc);
}

void FailNextViewCreation() {
    std::lock_guard<std::mutex> lock(viewsMutex);
    failNextCreation = true;
}

}  // namespace standin

using namespace standin;

namespace {
std::string Num(long long value) { return std::to_string(value); }
std::string Flag(bool value) { return value ? "1" : "0"; }
}  // namespace

extern "C" wkeWebView WKE_CALL wkeCreateWebWindow(int type, HWND parent, int x, int y, int width, int height) {
    Log("wkeCreateWebWindow " + Num(type) + " " + Num(reinterpret_cast<uintptr_t>(parent)) + " " + Num(x) + " " +
        Num(y) + " " + Num(width) + " " + Num(height));
    {
        std::lock_guard<std::mutex> lock(viewsMutex);
        if (failNextCreation) {
            failNextCreation = false;
            return 0;
        }
    }
    RegisterClasses();
    auto view = std::make_shared<View>();
    view->type = type;
    view->thread = GetCurrentThreadId();
    view->dispatcher = ThreadDispatcher();
    DWORD style = type == WKE_WINDOW_TYPE_CONTROL ? WS_CHILD | WS_CLIPSIBLINGS : WS_OVERLAPPEDWINDOW;
    HWND window =
        CreateWindowExW(0, kViewClass, L"", style, x, y, width, height, parent, nullptr, ModuleInstance(), nullptr);
    if (!window) return 0;
    {
        std::lock_guard<std::mutex> lock(viewsMutex);
        view->handle = ++nextView;
        Views()[view->handle] = view;
    }
    view->window = window;
    SetPropW(window, kViewProperty, view.get());
    return view->handle;
}

// Every other export takes a view; an unknown one is logged and ignored.
#define WITH_VIEW(handle, line)                             \
    std::shared_ptr<View> view = FindView(handle);          \
    Log(std::string(line) + (view ? "" : " unknown-view")); \
    if (!view) return

extern "C" void WKE_CALL wkeShowWindow(wkeWebView handle, bool show) {
    WITH_VIEW(handle, "wkeShowWindow " + Num(handle) + " " + Flag(show));
    if (view->window) ShowWindow(view->window, show ? SW_SHOWNA : SW_HIDE);
}

extern "C" void WKE_CALL wkeSetTransparent(wkeWebView handle, bool transparent) {
    WITH_VIEW(handle, "wkeSetTransparent " + Num(handle) + " " + Flag(transparent));
}

extern "C" HWND WKE_CALL wkeGetWindowHandle(wkeWebView handle) {
    WITH_VIEW(handle, "wkeGetWindowHandle " + Num(handle)) nullptr;
    return view->window;
}

extern "C" void WKE_CALL wkeSetCspCheckEnable(wkeWebView handle, bool enable) {
    WITH_VIEW(handle, "wkeSetCspCheckEnable " + Num(handle) + " " + Flag(enable));
}

extern "C" void WKE_CALL wkeSetNpapiPluginsEnabled(wkeWebView handle, bool enable) {
    WITH_VIEW(handle, "wkeSetNpapiPluginsEnabled " + Num(handle) + " " + Flag(enable));
}

extern "C" void WKE_CALL wkeSetNavigationToNewWindowEnable(wkeWebView handle, bool enable) {
    WITH_VIEW(handle, "wkeSetNavigationToNewWindowEnable " + Num(handle) + " " + Flag(enable));
}

extern "C" void WKE_CALL wkeResize(wkeWebView handle, int width, int height) {
    WITH_VIEW(handle, "wkeResize " + Num(handle) + " " + Num(width) + " " + Num(height));
    if (view->window)
        SetWindowPos(view->window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

extern "C" void WKE_CALL wkeSetWindowTitleW(wkeWebView handle, const wchar_t* title) {
    WITH_VIEW(handle, "wkeSetWindowTitleW " + Num(handle) + " " + LogText(WideToUtf8(title)));
    if (view->window) SetWindowTextW(view->window, title ? title : L"");
}

extern "C" void WKE_CALL wkeSetUserAgent(wkeWebView handle, const char* userAgent) {
    WITH_VIEW(handle, "wkeSetUserAgent " + Num(handle) + " " + LogText(userAgent ? userAgent : ""));
    view->userAgent = userAgent ? userAgent : "";
}

extern "C" void WKE_CALL wkeSetCookieEnabled(wkeWebView handle, bool enable) {
    WITH_VIEW(handle, "wkeSetCookieEnabled " + Num(handle) + " " + Flag(enable));
}

extern "C" void WKE_CALL wkeSetCookieJarPath(wkeWebView handle, const wchar_t* path) {
    WITH_VIEW(handle, "wkeSetCookieJarPath " + Num(handle) + " " + LogText(WideToUtf8(path)));
}

extern "C" void WKE_CALL wkeSetLocalStorageFullPath(wkeWebView handle, const wchar_t* path) {
    WITH_VIEW(handle, "wkeSetLocalStorageFullPath " + Num(handle) + " " + LogText(WideToUtf8(path)));
}

extern "C" const char* WKE_CALL wkeGetTitle(wkeWebView handle) {
    WITH_VIEW(handle, "wkeGetTitle " + Num(handle)) "";
    return view->title.c_str();
}
