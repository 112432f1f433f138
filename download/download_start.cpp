#include "download/download_start.h"

#include <algorithm>
#include <vector>

#include "download/daemon_control.h"
#include "download/engine_bindings.h"
#include "download/notifications.h"
#include "download/rpc_request.h"

// "Cookie: " followed by 30 asterisks.
const char kDownloadCookieHeader[] = "Cookie: ******************************";

DownloadTask MakeStartDownloadTask(const std::string& url, const std::string& folder, const std::string& outName,
                                   int32_t threads) {
    if (threads == 0) threads = 8;
    DownloadTask task;
    task.uris = url;
    task.out = outName;
    task.dir = folder;
    task.split = threads;
    // Twice the threads, but the daemon rejects the whole request above its cap.
    task.maxConnectionPerServer = std::min(threads * 2, kMaxConnectionPerServer);
    task.header = kDownloadCookieHeader;
    return task;
}

void StartDownload(const std::string& url, std::string& folder, const std::string& outName, int32_t threads) {
    EnsureDownloadDaemon();
    Aria2PurgeDownloadResult();
    const DownloadEngineBindings& engine = DownloadEngine();
    NotificationSubscribe("aria2.onDownloadComplete", engine.onDownloadComplete);
    if (folder.empty()) folder = DaemonProgramFolder();

    std::vector<DownloadTask> tasks{MakeStartDownloadTask(url, folder, outName, threads)};
    std::vector<std::string> gids;
    AddUriBatch(tasks, gids);
    UnpauseBatch(gids);
    if (engine.downloadGids) engine.downloadGids->Append(gids);

    const DownloadDisplayHooks& display = engine.display;
    if (display.setProgressTimerInterval) display.setProgressTimerInterval(100);
    if (display.setPauseButtonVisible) display.setPauseButtonVisible(true);
    if (display.setPauseButtonEnabled) display.setPauseButtonEnabled(true);
    if (display.setImageButtonWidth) display.setImageButtonWidth(256);
    if (display.setImageButtonLeft) display.setImageButtonLeft(704);
}
