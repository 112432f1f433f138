// The updater window's download display: the marquee, the 100 ms refresh of
// the main download from the daemon, the bar's colour, and pause and resume.
// All run on the UI thread.
#pragma once

#include <windows.h>

// 时钟1: moves the 150-pixel fill across the track and in again from the left.
void MarqueeTimerTick();

// 时钟2: sums the daemon's status of every gid of DownloadGids and shows the
// percent, the bytes and the speed; while paused shows the last figures
// without asking the daemon.
void ProgressTimerTick();

// 时钟5: colours the bar by the peak of the default audio output, or with
// the colour of silence when the peak cannot be read.
void PeakColourTimerTick();

// The bar's colour for an audio peak between 0 (silence) and 1 (full scale).
COLORREF PeakColour(double peak);

// 超级按钮1: pauses every download of the daemon, or resumes them.
void OnPauseResumeClicked();
