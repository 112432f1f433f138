// Large add-on packages go through the download daemon: the page's loading
// dialog shows the progress every 100 ms (MainWindow's 时钟4), and the
// daemon's notice that the archive is complete unpacks and copies it
// (addon_package.h). A download the daemon refuses or gives up on ends the
// dialog with a failure.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "download/notification_callbacks.h"

// Hands url to the daemon as outputName in folder (the program folder when
// empty) with split connections (8 when 0), callback registered for its
// completion; appends the identifiers to AddonDownloadGids and starts the
// progress timer when the daemon took it. Returns the identifiers, with ""
// for a refused task. Worker thread.
std::vector<std::string> QueueAddonDownload(const std::string& url, const std::string& folder,
                                            const std::string& outputName, int32_t split,
                                            NotificationCallback callback);

// The daemon's "aria2.onDownloadComplete" and "aria2.onDownloadError"
// notices while add-on packages download (notification receive thread). Each
// acts once, on an add-on download this program started, with the file name
// that download was started with.
void OnAddonDownloadComplete(const std::string& text);
void OnAddonDownloadError(const std::string& text);

// "正在下载附加包 1.50MB / 20.00MB (512.00KB/s)".
std::string AddonProgressLine(double done, double total, double speed);
