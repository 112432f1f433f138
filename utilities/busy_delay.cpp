#include "utilities/busy_delay.h"

#include <windows.h>

namespace {

// Dispatches every message now waiting for the calling thread. A quit request
// found here is put back for the message loop.
void ProcessPendingMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam);
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

HANDLE FlagChanged() {
    // Manual reset: every waiter sees the wake; each clears it before it
    // looks at its flag, so a wake that comes in between is not lost.
    static HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    return event;
}

const DWORD kLongestUnwokenWaitMs = 250;

}  // namespace

void BusyDelay(int milliseconds) {
    if (milliseconds <= 0) return;
    DWORD start = GetTickCount();
    for (;;) {
        ProcessPendingMessages();
        // Unsigned arithmetic keeps this right when the tick count wraps.
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= (DWORD)milliseconds) return;
        MsgWaitForMultipleObjectsEx(0, nullptr, (DWORD)milliseconds - elapsed, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

void BusyWaitUntil(const std::function<bool()>& done) {
    HANDLE changed = FlagChanged();
    for (;;) {
        ResetEvent(changed);
        ProcessPendingMessages();
        if (done()) return;
        MsgWaitForMultipleObjectsEx(1, &changed, kLongestUnwokenWaitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

void WakeBusyWaits() { SetEvent(FlagChanged()); }
