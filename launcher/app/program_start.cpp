#include "launcher/app/program_start.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "launcher/app/download_binding.h"
#include "launcher/app/globals.h"
#include "launcher/app/program_exit.h"
#include "launcher/updater/startup_window.h"
#include "utilities/fatal_exit.h"

void StartGdiplus() {
    if (GdiplusToken != 0) return;
    Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, background thread, external codecs
    Gdiplus::GdiplusStartup(&GdiplusToken, &input, nullptr);
    // GDI+ is never shut down: worker threads may paint until the process ends.
}

void RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int ProgramStart() {
    CreateGlobals();
    RegisterExitRoutine(ReleaseGlobals);
    BindFatalExit(EndAfterFatalError);
    StartGdiplus();
    InitModuleGlobals();
    BindLauncherToDownloadEngine();
    if (LoadStartupWindow()) RunMessageLoop();
    return 0;
}
