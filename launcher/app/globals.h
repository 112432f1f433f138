// The application's state: process-wide globals, not locked. Each global has
// one writer at a time by the order of the flows; flags that one thread polls
// while another sets them are atomic so the polling loop sees the change.
//
// Objects and lists, once made at start, are never freed while the process
// runs: worker threads are never joined and may still use them when the
// program ends.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "utilities/watched_flag.h"

class AudioDeviceEnumerator;
class AudioPeakMeter;
class GdiplusImage;
class GidList;
class TcpClientSocket;
struct IMMDevice;

// Made by CreateGlobals, in this order. The shadow painting loads the two
// shadow pictures into ShadowImage5 and ShadowImage10 on first use.
extern GidList* DownloadGids;  // gids of this run's launcher, client and update downloads
extern AudioDeviceEnumerator* AudioEnumerator;
extern GdiplusImage* ShadowImage5;
extern GdiplusImage* ShadowImage10;
extern TcpClientSocket* NotificationSocket;  // the daemon's notification connection
extern GidList* AddonDownloadGids;           // gids of this run's add-on package downloads
extern AudioPeakMeter* AudioMeter;

// Set once at start by InitModuleGlobals; every JSON-RPC request carries them.
extern std::string RpcRequestId;
extern std::string RpcSecret;

extern ULONG_PTR GdiplusToken;  // 0 until StartGdiplus has run

// Settings ("launcher_config.ini").
extern int32_t DownloadThreads;        // [download] threads, 1..64 in memory
extern int32_t LowSpeedLimitKB;        // [download] lowspeed, KB/s; 0: watchdog off
extern int32_t DownloadServer;         // [download] server
extern bool ColorProgressBar;          // [download] color_processbar
extern std::string FiveMFolder;        // [fivem] path, no trailing "\"
extern IMMDevice* DefaultAudioDevice;  // only when ColorProgressBar

// Start-up window and the main download.
extern int32_t LowSpeedStrikes;
extern int32_t StartupWindowAlpha;
extern std::atomic<bool> DownloadPaused;
extern double DownloadPercent;
extern int64_t DownloadCompletedBytes;
extern int64_t DownloadTotalBytes;
extern WatchedFlag StartupDone;  // its watcher wakes the updater window's watch
extern std::atomic<bool> FullPackageDownload;
extern std::atomic<bool> SelfUpdateDownload;

// Update and installation flow.
extern int32_t LatestLauncherBuild;
extern std::string DownloadFileName;
extern int32_t LatestClientVersion;
extern std::atomic<int32_t>
    PackageChoice;  // -1 waiting, 0 exit, 1 full package, 2 full client, 3 update-only, 4 existing folder
extern int32_t ChosenDownloadServer;
extern int32_t PendingPackageChoice;
extern int32_t PendingDownloadServer;
extern std::atomic<bool> CoreComponentsReady;
extern std::atomic<bool> UpdatePackageUnpacked;

// Main window and page actions.
extern int32_t MainWindowFadeIn;
extern int32_t MainWindowAlpha;
extern std::atomic<bool> GameLaunched;
extern int32_t DragOffsetX;
extern int32_t DragOffsetY;
extern std::string GameServerAddress;
extern std::string AddonPackageUrl;
extern std::string AddonPackageFileName;

// The launcher's build number: version label, self-update check, page URL.
constexpr int kLauncherBuild = 1014;

// Makes the objects and lists above.
void CreateGlobals();

// The exit routine. Runs once however often it is called; closes what must
// be closed (the daemon connection) and leaves memory to the process's end,
// since a worker may still be using it.
void ReleaseGlobals();

// Sets RpcRequestId, then RpcSecret.
void InitModuleGlobals();
