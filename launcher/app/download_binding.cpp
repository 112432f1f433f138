#include "launcher/app/download_binding.h"

#include "download/engine_bindings.h"
#include "launcher/install/download_complete.h"
#include "download/gid_list.h"
#include "launcher/app/globals.h"
#include "launcher/app/program_folder.h"
#include "launcher/updater/startup_window.h"

void BindLauncherToDownloadEngine() {
    DownloadEngineBindings bindings;
    bindings.rpcSecret = RpcSecret;
    bindings.rpcRequestId = RpcRequestId;
    bindings.programFolder = ProgramFolder();
    bindings.downloadGids = DownloadGids;
    bindings.notificationSocket = NotificationSocket;
    bindings.onDownloadComplete = OnDownloadComplete;
    bindings.downloadPaused = &DownloadPaused;
    bindings.lowSpeedLimitKB = &LowSpeedLimitKB;
    bindings.lowSpeedStrikes = &LowSpeedStrikes;
    // A download may start before the window's units exist only in tests;
    // then there is nothing to show.
    bindings.display.setProgressTimerInterval = [](int ms) {
        if (StartupWindow.时钟2) StartupWindow.时钟2->SetInterval(ms);
    };
    bindings.display.setPauseButtonVisible = [](bool visible) {
        if (StartupWindow.超级按钮1) StartupWindow.超级按钮1->SetVisible(visible);
    };
    bindings.display.setPauseButtonEnabled = [](bool enabled) {
        if (StartupWindow.超级按钮1) StartupWindow.超级按钮1->SetEnabled(enabled);
    };
    bindings.display.setImageButtonWidth = [](int width) {
        if (StartupWindow.图形按钮2) StartupWindow.图形按钮2->SetWidth(width);
    };
    bindings.display.setImageButtonLeft = [](int left) {
        if (StartupWindow.图形按钮2) StartupWindow.图形按钮2->SetLeft(left);
    };
    BindDownloadEngine(bindings);
}
