#include "launcher/updater/startup_progress.h"

#include <string>
#include <vector>

#include "download/rpc_request.h"
#include "download/status_queries.h"
#include "download/gid_list.h"
#include "launcher/app/globals.h"
#include "launcher/updater/progress_display.h"
#include "launcher/updater/startup_window.h"
#include "utilities/audio_peak_meter.h"

namespace {

constexpr int kMarqueeWidth = 150;
constexpr int kMarqueeStep = 5;
// Where the fill re-enters: just beyond the track's left edge.
constexpr int kMarqueeRestart = -152;
constexpr int kProgressIntervalMs = 100;

// "下载已暂停 "
const char kPausedLine[] = "\xCF\xC2\xD4\xD8\xD2\xD1\xD4\xDD\xCD\xA3 ";
// "正在下载文件 "
const char kDownloadingLine[] = "\xD5\xFD\xD4\xDA\xCF\xC2\xD4\xD8\xCE\xC4\xBC\xFE ";
// "开始下载"
const char kResumeCaption[] = "\xBF\xAA\xCA\xBC\xCF\xC2\xD4\xD8";
// "暂停下载"
const char kPauseCaption[] = "\xD4\xDD\xCD\xA3\xCF\xC2\xD4\xD8";

std::string BytesLine(const char* lead, double completed, double total) {
    return lead + FormatByteSize(completed) + " / " + FormatByteSize(total);
}

}  // namespace

void MarqueeTimerTick() {
    // A hundred ticks a second: the fill slides without a repaint of the
    // whole bar, only the few pixels that change are drawn.
    int left = StartupWindow.进度条->Left() + kMarqueeStep;
    if (left > kTrackWidth) left = kMarqueeRestart;
    StartupWindow.进度条->SlideWithin(*StartupWindow.进度条背景, left, kMarqueeWidth);
}

void ProgressTimerTick() {
    if (DownloadPaused) {
        ShowProgress(DownloadPercent,
                     BytesLine(kPausedLine, (double)DownloadCompletedBytes, (double)DownloadTotalBytes), "");
        return;
    }
    std::vector<DownloadStatus> statuses;
    // A copy: the flow may append while the tick asks the daemon.
    const std::vector<std::string> gids = DownloadGids ? DownloadGids->Snapshot() : std::vector<std::string>();
    // A daemon that does not answer has held this thread once already; it is
    // not asked for the speed as well, which reads as zero.
    const bool unanswered = Aria2TellStatusBatch(gids, statuses).empty() && !gids.empty();
    // Records of downloads the daemon has forgotten are empty and add nothing.
    double completed = 0, total = 0;
    for (const DownloadStatus& status : statuses) {
        completed += (double)status.completedLength;
        total += (double)status.totalLength;
    }
    double percent = completed / total * 100.0;
    DownloadCompletedBytes = (int64_t)completed;
    DownloadTotalBytes = (int64_t)total;
    DownloadPercent = percent;

    GlobalStat stat = unanswered ? GlobalStat() : Aria2GetGlobalStat();
    ShowProgress(percent, BytesLine(kDownloadingLine, completed, total),
                 FormatByteSize((double)stat.downloadSpeed) + "/s");
}

COLORREF PeakColour(double peak) {
    // A meter reports 0 to 1; anything beyond would spill into the next colour byte.
    if (!(peak >= 0)) peak = 0;
    if (peak > 1) peak = 1;
    int red = (int)(166 + 89 * peak);
    int green = (int)(226 - 226 * peak);
    return RGB(red, green, 43);
}

void PeakColourTimerTick() {
    // A failed read leaves the peak at 0: the colour of silence.
    float peak = 0;
    if (AudioMeter) AudioMeter->GetPeakValue(DefaultAudioDevice, &peak);
    COLORREF colour = PeakColour(peak);
    StartupWindow.进度条->SetLineColour(colour);
    StartupWindow.进度条->SetFillColour(colour);
    // Without an audio output nothing will ever change: no more ticks.
    if (!DefaultAudioDevice) StartupWindow.时钟5->Park();
}

void OnPauseResumeClicked() {
    if (DownloadPaused) {
        Aria2UnpauseAll();
        StartupWindow.超级按钮1->SetCaption(kPauseCaption);
        DownloadPaused = false;
        StartupWindow.时钟2->SetInterval(kProgressIntervalMs);
        return;
    }
    Aria2PauseAll();
    StartupWindow.超级按钮1->SetCaption(kResumeCaption);
    DownloadPaused = true;
    // The last progress stays on screen.
    StartupWindow.时钟2->SetInterval(0);
}
