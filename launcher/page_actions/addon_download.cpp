#include "launcher/page_actions/addon_download.h"

#include <map>
#include <mutex>

#include "download/download_start.h"
#include "download/gid_list.h"
#include "download/notifications.h"
#include "download/rpc_request.h"
#include "download/status_queries.h"
#include "launcher/app/globals.h"
#include "launcher/app/program_folder.h"
#include "launcher/install/update_flow_download.h"
#include "launcher/main_window/main_window.h"
#include "launcher/main_window/page_script.h"
#include "launcher/page_actions/addon_package.h"
#include "launcher/page_actions/page_action_entries.h"
#include "launcher/updater/progress_display.h"
#include "utilities/busy_delay.h"
#include "utilities/whole_file.h"

namespace {

// "正在下载附加包 "
const char kProgressStart[] = "\xD5\xFD\xD4\xDA\xCF\xC2\xD4\xD8\xB8\xBD\xBC\xD3\xB0\xFC ";
// "Swal.update({title:'正在安装中', text:'正在解压中...'});"
const char kUnpackingScript[] =
    "Swal.update({title:'\xD5\xFD\xD4\xDA\xB0\xB2\xD7\xB0\xD6\xD0', "
    "text:'\xD5\xFD\xD4\xDA\xBD\xE2\xD1\xB9\xD6\xD0...'});";
// "Swal.update({title:'正在安装中', text:'"
const char kProgressScriptStart[] = "Swal.update({title:'\xD5\xFD\xD4\xDA\xB0\xB2\xD7\xB0\xD6\xD0', text:'";

// The add-on downloads under way, by daemon identifier, with the file name
// each was started with: the page may start another package before the
// first is done, and the globals then name the second. The lock is held
// while a download is being handed to the daemon, so a notice that comes
// before its identifier is known waits for it.
std::mutex addonsLock;
std::map<std::string, std::string> addonsUnderWay;

void SetProgressTimer(int intervalMs) {
    if (MainWindow.时钟4) MainWindow.时钟4->SetInterval(intervalMs);
}

// The file name of gid's add-on download, which is then no longer under way;
// false for any other download. The progress stops with the last one.
bool ClaimAddonDownload(const std::string& gid, std::string* fileName) {
    std::lock_guard<std::mutex> lock(addonsLock);
    auto found = addonsUnderWay.find(gid);
    if (gid.empty() || found == addonsUnderWay.end()) return false;
    *fileName = found->second;
    addonsUnderWay.erase(found);
    if (addonsUnderWay.empty()) SetProgressTimer(0);
    return true;
}

}  // namespace

std::vector<std::string> QueueAddonDownload(const std::string& url, const std::string& folder,
                                            const std::string& outputName, int32_t split,
                                            NotificationCallback callback) {
    // Before the download exists, so that no failure notice is missed.
    NotificationSubscribe("aria2.onDownloadError", OnAddonDownloadError);
    const std::string target = folder.empty() ? ProgramFolder() : folder;
    const std::vector<std::string> gids =
        AddRecordedDownload(url, target, outputName, split, callback, AddonDownloadGids);
    for (const std::string& gid : gids)
        if (!gid.empty()) {
            SetProgressTimer(100);
            break;
        }
    return gids;
}

void StartAddonDownload(const std::string& url, const std::string& fileName) {
    bool taken = false;
    if (!url.empty() && !fileName.empty()) {
        std::lock_guard<std::mutex> lock(addonsLock);
        for (const std::string& gid :
             QueueAddonDownload(url, ProgramFolder(), fileName, DownloadThreads, OnAddonDownloadComplete)) {
            if (gid.empty()) continue;
            addonsUnderWay[gid] = fileName;
            taken = true;
        }
        if (!taken && addonsUnderWay.empty()) SetProgressTimer(0);
    }
    if (!taken) RunPageScript(AddonFailureScript(AddonOutcome::DownloadFailed));
}

void OnAddonDownloadComplete(const std::string& text) {
    std::string fileName;
    if (!ClaimAddonDownload(NotificationGid(text), &fileName)) return;
    // A progress tick already under way ends before the dialog changes.
    BusyDelay(300);
    RunPageScript(kUnpackingScript);
    const AddonOutcome outcome = UnpackAndCopyAddon(fileName);
    RunPageScript(outcome == AddonOutcome::Installed ? AddonLargeSuccessScript(fileName) : AddonFailureScript(outcome));
}

void OnAddonDownloadError(const std::string& text) {
    std::string fileName;
    if (!ClaimAddonDownload(NotificationGid(text), &fileName)) return;
    const std::string partial = ProgramFolder() + "\\" + fileName;
    DeleteFilePath(partial);
    DeleteFilePath(partial + ".aria2");
    RunPageScript(AddonFailureScript(AddonOutcome::DownloadFailed));
}

std::string AddonProgressLine(double done, double total, double speed) {
    return kProgressStart + FormatByteSize(done) + " / " + FormatByteSize(total) + " (" + FormatByteSize(speed) + "/s)";
}

void AddonProgressTimerTick() {
    std::vector<DownloadStatus> statuses;
    if (AddonDownloadGids) Aria2TellStatusBatch(AddonDownloadGids->Snapshot(), statuses);
    // Identifiers the daemon has forgotten give records of zeros.
    double total = 0, done = 0;
    for (const DownloadStatus& status : statuses) {
        total += (double)status.totalLength;
        done += (double)status.completedLength;
    }
    const double speed = (double)Aria2GetGlobalStat().downloadSpeed;
    RunPageScript(kProgressScriptStart + ScriptText(AddonProgressLine(done, total, speed)) + "'});");
}
