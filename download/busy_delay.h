// Waiting on a thread that owns windows without stopping them.
#pragma once

// Returns after ms milliseconds, dispatching the calling thread's window
// messages (timers included) meanwhile; 0 or less returns at once.
void BusyDelay(int ms);
