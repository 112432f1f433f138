// Starting one of the launcher's own downloads (the new launcher, the full
// client archive or the update archive) through the daemon.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "download/add_downloads.h"
#include "download/notification_callbacks.h"

class GidList;

// The daemon refuses "max-connection-per-server" above this for the whole
// "aria2.addUri" call.
constexpr int32_t kMaxConnectionPerServer = 16;

// The header line sent with every download request.
extern const char kDownloadCookieHeader[];

// The task StartDownload hands to the daemon for these arguments (folder
// already filled in): threads 0 means 8; connections per server are twice
// the threads, at most kMaxConnectionPerServer.
DownloadTask MakeStartDownloadTask(const std::string& url, const std::string& folder, const std::string& outName,
                                   int32_t threads);

// Makes sure the daemon runs, purges finished results, registers onComplete
// for "aria2.onDownloadComplete", adds the download of url into folder as
// outName with threads connections (MakeStartDownloadTask) and unpauses it,
// and appends its identifiers to gids when given. Returns the identifiers
// (an empty one where the daemon refused). Runs on a worker thread.
std::vector<std::string> AddRecordedDownload(const std::string& url, const std::string& folder,
                                             const std::string& outName, int32_t threads,
                                             NotificationCallback onComplete, GidList* gids);

// AddRecordedDownload with the bound completion routine and the bound
// DownloadGids, then switches the updater window into its download display through the bound
// hooks. An empty folder becomes the program folder, also in the caller's
// variable. url goes in unchanged (the caller converted it to UTF-8).
// Runs on a worker thread.
void StartDownload(const std::string& url, std::string& folder, const std::string& outName, int32_t threads);
