#include "launcher/daemon_shutdown.h"
#include "launcher/globals.h"
#include "launcher/program_exit.h"
#include "launcher/startup_window.h"

namespace {

// Takes the digital font of the speed line out of the system's font table.
void RemoveDigitalFont() {
    // Placeholder: the font is removed here once its installer is part of
    // the program (FiveMFolder + "\launcher_cache\font-digtal.ttf").
}

}  // namespace

void FadeInTimerTick() {
    StartupWindowAlpha += 10;
    if (StartupWindowAlpha <= 255) {
        StartupWindow.SetAlpha(StartupWindowAlpha);
        return;
    }
    StartupWindow.SetAlpha(255);
    StartupWindow.时钟6->SetInterval(0);
}

void StartupDoneTimerTick() {
    // Placeholder: once StartupDone is set this opens MainWindow, hides the
    // updater window and stops itself. Nothing sets StartupDone yet.
}

void OnStartupQuitClicked() {
    ShutdownDownloadDaemon();
    RemoveDigitalFont();
    EndProgram(0);
}

void OnStartupCloseClicked() {
    ShutdownDownloadDaemon();
    EndProgram(0);
}

void OnStartupWindowDestroying() { RemoveDigitalFont(); }
