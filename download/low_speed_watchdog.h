// Restarts the daemon's downloads when the overall download speed stays
// below the user's limit (LowSpeedLimitKB, bound by the application; 0 turns
// it off) for six checks in a row: pause all, wait one second, resume all.
// The count of consecutive slow checks (0 to 5) is the bound
// LowSpeedStrikes.
#pragma once

#include <cstdint>

// The tick handler of the updater window's 1000 ms timer; UI thread only.
// While the user has paused the download (DownloadPaused) nothing is counted
// and nothing is paused or resumed: resuming would undo the user's pause.
void LowSpeedWatchdogTick();
