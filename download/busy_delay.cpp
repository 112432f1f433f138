#include "download/busy_delay.h"

#include <windows.h>

void BusyDelay(int ms) {
    if (ms <= 0) return;
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= (DWORD)ms) return;
        // Sleeps until a message arrives or the time is up, instead of spinning.
        MsgWaitForMultipleObjectsEx(0, nullptr, (DWORD)ms - elapsed, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}
