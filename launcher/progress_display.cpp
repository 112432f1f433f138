#include "launcher/progress_display.h"

#include "launcher/startup_window.h"

// The first cut: status lines only. The bar, the marquee and the byte sizes
// follow with the progress timers.
void ShowProgress(double percent, const std::string& line1, const std::string& line2) {
    (void)percent;
    if (!line1.empty() && StartupWindow.状态显示) StartupWindow.状态显示->SetCaption(line1);
    if (StartupWindow.下载速度) {
        StartupWindow.下载速度->SetCaption(line2);
        StartupWindow.下载速度->SetVisible(!line2.empty());
    }
}

std::string FormatByteSize(double bytes) { return std::to_string((long long)bytes) + " B"; }
