#include "launcher/app/globals.h"

#include "download/gid_list.h"

#include "download/tcp_client_socket.h"
#include "utilities/audio_device_enumerator.h"
#include "utilities/audio_peak_meter.h"
#include "utilities/gdiplus_image.h"
#include "utilities/shadow_painting.h"
#include "launcher/app/rpc_identity.h"
#include "webview/engine_loader.h"

GidList* DownloadGids = nullptr;
AudioDeviceEnumerator* AudioEnumerator = nullptr;
GdiplusImage* ShadowImage5 = nullptr;
GdiplusImage* ShadowImage10 = nullptr;
TcpClientSocket* NotificationSocket = nullptr;
GidList* AddonDownloadGids = nullptr;
AudioPeakMeter* AudioMeter = nullptr;

std::string RpcRequestId;
std::string RpcSecret;
ULONG_PTR GdiplusToken = 0;

int32_t DownloadThreads = 0;
int32_t LowSpeedLimitKB = 0;
int32_t DownloadServer = 0;
bool ColorProgressBar = false;
std::string FiveMFolder;
IMMDevice* DefaultAudioDevice = nullptr;

int32_t LowSpeedStrikes = 0;
int32_t StartupWindowAlpha = 0;
std::atomic<bool> DownloadPaused{false};
double DownloadPercent = 0;
int64_t DownloadCompletedBytes = 0;
int64_t DownloadTotalBytes = 0;
WatchedFlag StartupDone;
std::atomic<bool> FullPackageDownload{false};
std::atomic<bool> SelfUpdateDownload{false};

int32_t LatestLauncherBuild = 0;
std::string DownloadFileName;
int32_t LatestClientVersion = 0;
std::atomic<int32_t> PackageChoice{0};
int32_t ChosenDownloadServer = 0;
int32_t PendingPackageChoice = 0;
int32_t PendingDownloadServer = 0;
std::atomic<bool> CoreComponentsReady{false};
std::atomic<bool> UpdatePackageUnpacked{false};

int32_t MainWindowFadeIn = 0;
int32_t MainWindowAlpha = 0;
std::atomic<bool> GameLaunched{false};
int32_t DragOffsetX = 0;
int32_t DragOffsetY = 0;
std::string GameServerAddress;
std::string AddonPackageUrl;
std::string AddonPackageFileName;

void CreateGlobals() {
    DownloadGids = new GidList();
    AudioEnumerator = new AudioDeviceEnumerator();
    ShadowImage5 = new GdiplusImage();
    ShadowImage10 = new GdiplusImage();
    BindShadowImages(ShadowImage5, ShadowImage10);
    NotificationSocket = new TcpClientSocket();
    AddonDownloadGids = new GidList();
    AudioMeter = new AudioPeakMeter();
}

void ReleaseGlobals() {
    static std::atomic<bool> released{false};
    if (released.exchange(true)) return;
    // Worker threads are never joined, so the texts, lists and objects stay
    // for the process's end to reclaim; freeing them here would pull them from
    // under a worker that runs until ExitProcess. Only the daemon connection
    // is closed, which ends its receive thread cleanly.
    if (NotificationSocket) NotificationSocket->Disconnect();
    NotifyProgramEnding();
}

void InitModuleGlobals() {
    RpcRequestId = UnixTimestampText(false);
    RpcSecret = kRpcSecret;
}
