#include "launcher/ui/timer.h"

#include "launcher/ui/window.h"

void Timer::SetInterval(int milliseconds) {
    if (milliseconds < 0) milliseconds = 0;
    interval_ = milliseconds;
    HWND hwnd = owner_->Handle();
    if (!hwnd) return;  // applied when the window is created
    if (GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId())
        Apply(milliseconds);
    else
        PostMessageA(hwnd, kSetTimerMessage, (WPARAM)id_, (LPARAM)milliseconds);
}

void Timer::Park() {
    HWND hwnd = owner_->Handle();
    if (hwnd) KillTimer(hwnd, id_);
}

void Timer::Apply(int milliseconds) {
    HWND hwnd = owner_->Handle();
    if (!hwnd) return;
    if (milliseconds > 0)
        SetTimer(hwnd, id_, (UINT)milliseconds, nullptr);
    else
        KillTimer(hwnd, id_);
}
