// MainWindow until the page window is built: an empty 1280×720 window with
// the main window's title, loaded when the start-up flow is done, so the
// updater hands over as it will to the page window.
#pragma once

#include "launcher/ui/window.h"

class MainWindowForm : public Window {
public:
    MainWindowForm();
};

extern MainWindowForm MainWindow;

// Loads and shows MainWindow, not modal. UI thread.
bool LoadMainWindow();

// Its created handler: the updater window is no longer needed.
void OnMainWindowCreated();
