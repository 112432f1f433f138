#include <windows.h>

#include <string>

static LRESULT CALLBACK FiveMWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = FiveMWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = "FiveMStandIn";
    RegisterClassA(&wc);
    // The title carries the command line, so a test can read the arguments it was given.
    std::string title = std::string("FiveM ") + commandLine;
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 100, 100, 400, 200, nullptr,
                                nullptr, instance, nullptr);
    ShowWindow(hwnd, show);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
