// The updater window's status lines and progress bar: the only way the
// start-up flows tell the user what they do. Any thread may call these.
#pragma once

#include <string>

// Width of the progress track (进度条背景), which a full bar fills and the
// marquee crosses.
constexpr int kTrackWidth = 960;

// percent -1 runs the marquee, 0 to 100 fills the bar. An empty line1 keeps
// the old status text; an empty line2 hides the speed line.
void ShowProgress(double percent, const std::string& line1, const std::string& line2);

// A byte count as the window shows it.
std::string FormatByteSize(double bytes);
