#include "standin.h"

namespace standin {

bool SendRealClicks(HWND window, int x, int y, int count) {
    POINT point = {x, y};
    if (!ClientToScreen(window, &point)) return false;
    HWND topLevel = GetAncestor(window, GA_ROOT);
    if (topLevel) SetForegroundWindow(topLevel);
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
