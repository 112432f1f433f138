#include "download/low_speed_watchdog.h"

#include "utilities/busy_delay.h"
#include "download/engine_bindings.h"
#include "download/rpc_request.h"
#include "download/status_queries.h"

namespace {

const int32_t kStrikesBeforeRestart = 5;
const int kRestartPauseMs = 1000;

// The restart's wait dispatches window messages, so a tick may fall due
// inside it; that tick is skipped rather than nested.
bool restarting = false;

// The strike count the watchdog works on (the bound one, else its own).
int32_t& WatchdogStrikes() {
    static int32_t own = 0;
    int32_t* bound = DownloadEngine().lowSpeedStrikes;
    return bound ? *bound : own;
}

}  // namespace

void LowSpeedWatchdogTick() {
    if (restarting) return;
    const DownloadEngineBindings& engine = DownloadEngine();
    int32_t& LowSpeedStrikes = WatchdogStrikes();
    GlobalStat stat = Aria2GetGlobalStat();
    double speedKB = (double)stat.downloadSpeed / 1024.0;
    int32_t limit = engine.lowSpeedLimitKB ? *engine.lowSpeedLimitKB : 0;
    bool slow = limit != 0 && (double)limit - speedKB > 0.0000001;

    if ((engine.downloadPaused && *engine.downloadPaused) || !slow) {
        LowSpeedStrikes = 0;
        return;
    }
    if (LowSpeedStrikes < kStrikesBeforeRestart) {
        ++LowSpeedStrikes;
        return;
    }
    restarting = true;
    Aria2PauseAll();
    BusyDelay(kRestartPauseMs);
    Aria2UnpauseAll();
    LowSpeedStrikes = 0;
    restarting = false;
}
