#include "launcher/app/globals.h"
#include "launcher/main_window/main_window.h"
#include "launcher/app/program_exit.h"
#include "launcher/updater/digital_font_install.h"
#include "launcher/updater/startup_window.h"

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
    if (!StartupDone) {
        // Woken by StartupDone's watcher once the flows set it.
        StartupWindow.时钟3->Park();
        return;
    }
    // Stopped first: loading MainWindow may pump messages, and a second tick
    // must not load it again.
    StartupWindow.时钟3->SetInterval(0);
    LoadMainWindow();
    // MainWindow's created handler has destroyed the updater window by now;
    // hiding it matters only if that did not happen.
    StartupWindow.SetVisible(false);
}

void OnStartupQuitClicked() {
    RemoveDigitalFont();
    QuitProgram();
}

void OnStartupCloseClicked() { QuitProgram(); }

void OnStartupWindowDestroying() {
    StartupDone.Watch(nullptr);
    RemoveDigitalFont();
}
