#include "standin.h"

namespace standin {

bool SendRealClicks(HWND window, int x, int y, int count) {
    POINT point = {x, y};
    if (!ClientToScreen(window, &point)) return false;
    // The clicks land on whatever window lies under the point; make sure it is ours.
    HWND topLevel = GetAncestor(window, GA_ROOT);
    for (int attempt = 0; WindowFromPoint(point) != window; ++attempt) {
        if (attempt == 10 || !topLevel) return false;
        SetWindowPos(topLevel, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(topLevel);
        Sleep(20);
    }
    if (!SetCursorPos(point.x, point.y)) return false;
    std::vector<INPUT> inputs;
    for (int i = 0; i < count; ++i) {
        INPUT down = {};
        down.type = INPUT_MOUSE;
        down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        INPUT up = down;
        up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
        inputs.push_back(down);
        inputs.push_back(up);
    }
    return SendInput((UINT)inputs.size(), inputs.data(), sizeof(INPUT)) == inputs.size();
}

}  // namespace standin
