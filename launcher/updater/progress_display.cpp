#include "launcher/updater/progress_display.h"

#include <cmath>
#include <cstdio>

#include "launcher/updater/startup_window.h"

namespace {

// Percent -1 asks for the marquee; a percent that is not a finite number
// (nothing known of the size yet: 0 / 0, or bytes of an unknown total) has
// no width either and shows it too.
bool WantsMarquee(double percent) { return !std::isfinite(percent) || std::fabs(percent + 1.0) <= 1e-7; }

}  // namespace

void ShowProgress(double percent, const std::string& line1, const std::string& line2) {
    // Before the window's units exist (tests of the flows) there is nothing to show.
    if (!StartupWindow.进度条) return;
    if (WantsMarquee(percent)) {
        StartupWindow.时钟1->SetInterval(1);
    } else {
        StartupWindow.时钟1->SetInterval(0);
        int width = (int)(percent / 100.0 * kTrackWidth);
        if (width < 0) width = 0;
        ShapeBox* fill = StartupWindow.进度条;
        fill->Move(0, fill->Top(), width, fill->Height());
    }
    if (!line1.empty()) StartupWindow.状态显示->SetCaption(line1);
    if (line2.empty()) {
        StartupWindow.下载速度->SetVisible(false);
    } else {
        StartupWindow.下载速度->SetCaption(line2);
        StartupWindow.下载速度->SetVisible(true);
    }
}

std::string FormatByteSize(double bytes) {
    const double K = 1024.0, M = 1048576.0, G = 1073741824.0, tolerance = 1e-7;
    // A value exactly at a limit takes the larger unit: 1024 bytes read 1.00KB.
    const char* unit = "B";
    if (bytes >= G - tolerance) {
        bytes /= G;
        unit = "GB";
    } else if (bytes >= M - tolerance) {
        bytes /= M;
        unit = "MB";
    } else if (bytes >= K - tolerance) {
        bytes /= K;
        unit = "KB";
    }
    // printf rounds an exact half to even (1152 B would read 1.12KB); halves
    // go up here. Byte counts over powers of two are exact, so is the half.
    bytes = std::floor(bytes * 100.0 + 0.5) / 100.0;
    char text[64];
    snprintf(text, sizeof text, "%.2f%s", bytes, unit);
    return text;
}
