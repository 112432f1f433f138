// The busy delay: waits the given milliseconds while the calling thread's
// window messages keep being processed, so a delay on the UI thread keeps
// timers, page scripts and other events running, and a worker that polls a
// flag between delays still serves its own windows. It sleeps until a message
// arrives or the time is up, so a waiting launcher uses no processor time.
// A delay of 0 or less returns at once.
#pragma once

#include <functional>

void BusyDelay(int milliseconds);

// Busy-waits as BusyDelay does until done() holds. done() is checked again
// when a message arrives for this thread, when WakeBusyWaits is called from
// any thread, and every 250 ms at the latest, so a flag set without a wake
// is still seen. A worker that waits for the user's click this way sleeps
// instead of waking a thousand times a second.
void BusyWaitUntil(const std::function<bool()>& done);

// Called after setting a flag some BusyWaitUntil may be waiting for.
void WakeBusyWaits();
