// The page's window buttons and its banner, which stands in for a title bar.
#include <windows.h>

#include "download/rpc_request.h"
#include "launcher/app/globals.h"
#include "launcher/app/program_exit.h"
#include "launcher/main_window/main_window.h"
#include "launcher/page_actions/page_action_handlers.h"
#include "utilities/busy_delay.h"

void MinimizeWindowAction(const std::string&) { SetMainWindowVisible(false); }

void CloseWindowAction(const std::string&) {
    StopDownloadDaemon();
    MainWindow.托盘.Remove();
    // The fade timer takes the window down to transparent meanwhile; the
    // busy delay keeps its ticks (and further page messages) coming.
    MainWindowFadeIn = 0;
    if (MainWindow.时钟5) MainWindow.时钟5->SetInterval(1);
    BusyDelay(800);
    EndProgram(0);
}

void HoverBannerAction(const std::string&) {
    POINT cursor{};
    RECT window{};
    if (!GetCursorPos(&cursor) || !GetWindowRect(MainWindow.Handle(), &window)) return;
    DragOffsetX = cursor.x - window.left;
    DragOffsetY = cursor.y - window.top;
    if (MainWindow.时钟1) MainWindow.时钟1->SetInterval(1);
}

void ReleaseBannerAction(const std::string&) {
    if (MainWindow.时钟1) MainWindow.时钟1->SetInterval(0);
}
