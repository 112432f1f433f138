// MainWindow: the 1280×720 window whose web view shows the launcher page. It
// follows the updater window once the start-up flow is done and is from then
// on the launcher's only window: it fades in, loads the page about a second
// after it is made, can be dragged by the page's banner, and has a tray icon
// (shown while the window is hidden) with a menu to show it again or quit.
#pragma once

#include <windows.h>

#include <string>

#include "launcher/ui/labels.h"
#include "launcher/ui/shape_box.h"
#include "launcher/ui/timer.h"
#include "launcher/ui/tray_icon.h"
#include "launcher/ui/web_view_unit.h"
#include "launcher/ui/window.h"

// The web view's names towards the web view library.
constexpr uint32_t kMainWindowFormId = 2;
constexpr uint32_t kPageViewUnitId = 1;

class MainWindowForm : public Window {
public:
    MainWindowForm();

    WebViewUnit* webview = nullptr;  // null when the engine could not make a view
    Label* 标签1 = nullptr;          // hands page scripts to the UI thread
    Label* 标签2 = nullptr;          // hands the page load to the UI thread
    Timer* 时钟1 = nullptr;          // drag
    Timer* 时钟2 = nullptr;          // game watch
    Timer* 时钟4 = nullptr;          // add-on download progress
    Timer* 时钟5 = nullptr;          // fade
    ShapeBox* 遮罩层 = nullptr;      // covers the page until it asks for the Steam account
    TrayIcon 托盘;                   // the notification-area icon and its menu "菜单"

protected:
    void BindUnits() override;
};

extern MainWindowForm MainWindow;

// Loads MainWindow and shows it (transparent at first), not modal. UI thread.
bool LoadMainWindow();

void OnMainWindowCreated();
// Worker: waits a second, then has the UI thread load the page.
void DelayedPageLoad();
// 标签2's feedback handler: cookie and cache folder, then the page's URL.
int InitWebViewAndLoadPage(int, int);
void DragTimerTick();
void MainFadeTimerTick();
void OnTrayIconEvent(int kind);
void OnTrayMenuShow();
void OnTrayMenuExit();

// Shows or hides MainWindow. While it is hidden the tray icon is shown, so
// the user can always bring the launcher back. Any thread.
void SetMainWindowVisible(bool visible);

// Shows the tray icon, or sets it again (the game watch does on every tick).
void ShowMainWindowTrayIcon();

// Puts window in the top-most band; activate false adds no activation. True
// when the system did it. Any thread.
bool MakeTopMost(HWND window, bool activate = true);

// The page's address: the content host and "/fivem/launcher/?version=1014".
std::string LauncherPageUrl();
