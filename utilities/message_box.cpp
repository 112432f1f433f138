#include "utilities/message_box.h"

namespace {

// The box of this thread that is being shown; one at a time per thread.
thread_local HHOOK boxHook = nullptr;

// The updater and main windows are top-most, and a box of no owner opens
// under them (Wine leaves out MB_TOPMOST): the user would see a window that
// no longer answers. The box is lifted when it is first activated.
LRESULT CALLBACK LiftBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        wchar_t className[8] = {};
        GetClassNameW(box, className, 8);
        if (lstrcmpW(className, L"#32770") == 0)
            SetWindowPos(box, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return CallNextHookEx(boxHook, code, wParam, lParam);
}

UINT FrontFlags(UINT flags) {
    if (!(flags & MB_SYSTEMMODAL)) flags |= MB_TASKMODAL;
    return flags | MB_TOPMOST | MB_SETFOREGROUND;
}

template <typename Show>
int ShowInFront(Show show) {
    HHOOK previous = boxHook;
    boxHook = SetWindowsHookExW(WH_CBT, LiftBox, nullptr, GetCurrentThreadId());
    int answer = show();
    if (boxHook) UnhookWindowsHookEx(boxHook);
    boxHook = previous;
    return answer;
}

}  // namespace

int ShowMessageBox(const char* text, const char* title, UINT flags) {
    return ShowInFront([&] { return MessageBoxA(nullptr, text ? text : "", title ? title : "", FrontFlags(flags)); });
}

int ShowMessageBoxW(const wchar_t* text, const wchar_t* title, UINT flags) {
    return ShowInFront([&] { return MessageBoxW(nullptr, text ? text : L"", title ? title : L"", FrontFlags(flags)); });
}
