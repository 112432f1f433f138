// The busy delay: waits the given milliseconds while the calling thread's
// window messages keep being processed, so a delay on the UI thread keeps
// timers, page scripts and other events running, and a worker that polls a
// flag between delays still serves its own windows. It sleeps until a message
// arrives or the time is up, so a waiting launcher uses no processor time.
// A delay of 0 or less returns at once.
#pragma once

void BusyDelay(int milliseconds);

// Dispatches every message now waiting for the calling thread. A quit request
// found here is put back for the message loop.
void ProcessPendingMessages();
