// What the download engine reads and writes of the application's state.
//
// The application owns its globals (the RPC secret and request id, the
// identifier list, the notification socket, the pause flag and the low-speed
// limit) and its updater window. It hands them over once at start, before
// the first daemon call, with BindDownloadEngine; the engine keeps no window
// code of its own and reaches the window only through the display hooks.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "download/gid_list.h"

#include "download/notification_callbacks.h"

class TcpClientSocket;

// The updater window changes that StartDownload makes once a download is
// added, called in the order of the members, on the downloading thread.
struct DownloadDisplayHooks {
    std::function<void(int intervalMs)> setProgressTimerInterval;  // the 100 ms progress timer
    std::function<void(bool)> setPauseButtonVisible;
    std::function<void(bool)> setPauseButtonEnabled;
    std::function<void(int width)> setImageButtonWidth;  // the image beside the pause button
    std::function<void(int left)> setImageButtonLeft;
};

struct DownloadEngineBindings {
    std::string rpcSecret;      // RpcSecret: 120 letters and digits
    std::string rpcRequestId;   // RpcRequestId: 13 digits
    std::string programFolder;  // no trailing "\"; holds "aria2c.exe" and is the default download folder

    GidList* downloadGids = nullptr;                    // DownloadGids; StartDownload appends to it
    TcpClientSocket* notificationSocket = nullptr;      // NotificationSocket
    NotificationCallback onDownloadComplete = nullptr;  // registered by StartDownload
    const std::atomic<bool>* downloadPaused = nullptr;  // DownloadPaused; null reads as false
    const int32_t* lowSpeedLimitKB = nullptr;           // LowSpeedLimitKB; null reads as 0 (off)
    int32_t* lowSpeedStrikes = nullptr;                 // LowSpeedStrikes; the engine counts on its own when null
    DownloadDisplayHooks display;
};

// Replaces the bindings. Call before any daemon call, while no download
// thread or notification loop runs.
void BindDownloadEngine(const DownloadEngineBindings& bindings);

const DownloadEngineBindings& DownloadEngine();

// The bound program folder; the current directory when none was bound.
std::string DaemonProgramFolder();
