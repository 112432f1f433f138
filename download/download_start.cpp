#include "download/download_start.h"

#include <algorithm>
#include <vector>

#include "download/daemon_control.h"
#include "download/engine_bindings.h"
#include "download/gid_list.h"
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

std::vector<std::string> AddRecordedDownload(const std::string& url, const std::string& folder,
                                             const std::string& outName, int32_t threads,
                                             NotificationCallback onComplete, GidList* gids) {
    EnsureDownloadDaemon();
    Aria2PurgeDownloadResult();
    NotificationSubscribe("aria2.onDownloadComplete", onComplete);
    std::vector<DownloadTask> tasks{MakeStartDownloadTask(url, folder, outName, threads)};
    std::vector<std::string> added;
    AddUriBatch(tasks, added);
    UnpauseBatch(added);
    if (gids) gids->Append(added);
    return added;
}

void StartDownload(const std::string& url, std::string& folder, const std::string& outName, int32_t threads) {
    const DownloadEngineBindings& engine = DownloadEngine();
    if (folder.empty()) folder = DaemonProgramFolder();
    AddRecordedDownload(url, folder, outName, threads, engine.onDownloadComplete, engine.downloadGids);

    const DownloadDisplayHooks& display = engine.display;
    if (display.setProgressTimerInterval) display.setProgressTimerInterval(100);
    if (display.setPauseButtonVisible) display.setPauseButtonVisible(true);
    if (display.setPauseButtonEnabled) display.setPauseButtonEnabled(true);
    if (display.setImageButtonWidth) display.setImageButtonWidth(256);
    if (display.setImageButtonLeft) display.setImageButtonLeft(704);
}
