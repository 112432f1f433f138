#include "launcher/main_window/main_window_placeholder.h"

#include "launcher/app/program_exit.h"
#include "launcher/updater/startup_window.h"

namespace {

WindowLayout MainWindowLayout() {
    WindowLayout layout;
    layout.window = {"Quillmere.MainWindow", "Quillmere FiveM", 50, 50, 1280, 720,
                     WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, WS_EX_APPWINDOW, RGB(22, 24, 29), nullptr, 0, true};
    return layout;
}

// Closed through the system: the program's only window goes, and the daemon
// with it, as every way out of the program does.
bool HandleMainWindowMessage(UINT msg, WPARAM, LPARAM, LRESULT*) {
    if (msg != WM_CLOSE) return false;
    QuitProgram();
}

}  // namespace

MainWindowForm MainWindow;

MainWindowForm::MainWindowForm() : Window(MainWindowLayout()) {
    WindowCreated = OnMainWindowCreated;
    MessageHook = HandleMainWindowMessage;
}

bool LoadMainWindow() { return MainWindow.Load(true); }

void OnMainWindowCreated() { StartupWindow.Destroy(); }
