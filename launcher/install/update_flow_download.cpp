#include "launcher/install/update_flow_download.h"

#include <windows.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "download/download_start.h"
#include "download/notifications.h"
#include "download/rpc_reply.h"
#include "download/gid_list.h"
#include "launcher/app/globals.h"
#include "utilities/message_box.h"
#include "launcher/app/program_folder.h"
#include "launcher/updater/progress_display.h"
#include "launcher/updater/startup_window.h"
#include "launcher/app/worker_thread.h"
#include "utilities/busy_delay.h"

std::atomic<bool> MainDownloadFailed{false};

namespace {

// "下载失败"
const char kFailedLine[] = "\xCF\xC2\xD4\xD8\xCA\xA7\xB0\xDC";
// "发生错误"
const char kFailureTitle[] = "\xB7\xA2\xC9\xFA\xB4\xED\xCE\xF3";
// "无法下载 "
const char kFailureTextStart[] = "\xCE\xDE\xB7\xA8\xCF\xC2\xD4\xD8 ";
// "，请检查网络连接后重新启动启动器。按确定后可点击“退出软件”关闭启动器。"
const char kFailureTextEnd[] =
    "\xA3\xAC\xC7\xEB\xBC\xEC\xB2\xE9\xCD\xF8\xC2\xE7\xC1\xAC\xBD\xD3\xBA\xF3\xD6\xD8\xD0\xC2\xC6\xF4\xB6\xAF\xC6\xF4"
    "\xB6\xAF\xC6\xF7\xA1\xA3\xB0\xB4\xC8\xB7\xB6\xA8\xBA\xF3\xBF\xC9\xB5\xE3\xBB\xF7\xA1\xB0\xCD\xCB\xB3\xF6\xC8\xED"
    "\xBC\xFE\xA1\xB1\xB9\xD8\xB1\xD5\xC6\xF4\xB6\xAF\xC6\xF7\xA1\xA3";

// How long a notice waits for the start that is recording its download.
const DWORD kStartWaitMs = 10000;

std::mutex currentLock;
std::vector<std::string> currentGids;  // unclaimed gids of the current main download
bool starting = false;

void ShowDownloadFailureThread() { ShowDownloadFailure(); }

}  // namespace

bool StartMainDownload(const std::string& url) {
    if (url.empty()) {
        ShowDownloadFailure();
        return false;
    }
    MainDownloadFailed = false;
    {
        std::lock_guard<std::mutex> lock(currentLock);
        currentGids.clear();
        starting = true;
    }
    // Before the download exists, so that no failure notice is missed.
    NotificationSubscribe("aria2.onDownloadError", OnDownloadError);
    const size_t before = DownloadGids ? DownloadGids->Size() : 0;
    std::string folder = ProgramFolder();
    StartDownload(url, folder, DownloadFileName, DownloadThreads);

    std::vector<std::string> added;
    if (DownloadGids)
        for (const std::string& gid : DownloadGids->From(before))
            if (!gid.empty()) added.push_back(gid);
    SetCurrentDownloadGids(added);
    if (added.empty()) {
        ShowDownloadFailure();
        return false;
    }
    return true;
}

std::string NotificationGid(const std::string& text) {
    // An array of the notices of one received chunk; the first that names a
    // download gives its gid.
    JSON notices;
    if (!notices.parse(text)) return {};
    for (int i = 0; i < notices.GetItemCount(); ++i) {
        JSON event = notices.GetJsonItem(i).GetJsonProperty("params").GetJsonItem(0);
        if (event.KeyExists("gid")) return ReplyString(event, "gid");
    }
    return {};
}

bool ClaimCurrentDownloadGid(const std::string& gid) {
    if (gid.empty()) return false;
    const DWORD begin = GetTickCount();
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(currentLock);
            auto found = std::find(currentGids.begin(), currentGids.end(), gid);
            if (found != currentGids.end()) {
                currentGids.clear();  // one notice ends the download
                return true;
            }
            if (!starting) return false;
        }
        if (GetTickCount() - begin > kStartWaitMs) return false;
        Sleep(1);
    }
}

void SetCurrentDownloadGids(const std::vector<std::string>& gids) {
    std::lock_guard<std::mutex> lock(currentLock);
    currentGids = gids;
    starting = false;
}

void EndDownloadDisplay() {
    if (StartupWindow.超级按钮1) StartupWindow.超级按钮1->SetVisible(false);
    if (StartupWindow.图形按钮2) {
        StartupWindow.图形按钮2->SetWidth(160);
        StartupWindow.图形按钮2->SetLeft(800);
    }
    if (StartupWindow.时钟2) StartupWindow.时钟2->SetInterval(0);
}

void ShowDownloadFailure() {
    MainDownloadFailed = true;
    WakeBusyWaits();
    EndDownloadDisplay();
    ShowProgress(0, kFailedLine, "");
    std::string text = kFailureTextStart + DownloadFileName + kFailureTextEnd;
    ShowMessageBox(text.c_str(), kFailureTitle, MB_OK | MB_ICONERROR);
}

void OnDownloadError(const std::string& text) {
    if (!ClaimCurrentDownloadGid(NotificationGid(text))) return;
    MainDownloadFailed = true;
    WakeBusyWaits();
    // The box waits for the user; the notification thread must not.
    StartWorkerOrEnd(ShowDownloadFailureThread);
}
