// A window's timer unit. Its interval may be set from any thread; 0 stops it.
// Ticks run on the window's thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

class Window;

struct TimerRow {
    const char* name;
    int interval;  // milliseconds; 0: off
};

// Sent to a window by a thread that does not own it, to set a timer there
// (SetTimer works only on the owning thread): wParam the timer id, lParam the interval.
constexpr UINT kSetTimerMessage = WM_APP + 0x101;

class Timer {
public:
    Timer(Window* owner, std::string name, UINT_PTR id, int interval)
        : owner_(owner), name_(std::move(name)), id_(id), interval_(interval) {}
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const std::string& Name() const { return name_; }
    UINT_PTR Id() const { return id_; }
    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);
    // A tick that finds nothing to do may park its timer: the interval stays
    // as it is, but no ticks come (and cost nothing) until Wake, which any
    // thread may call once there is work.
    void Park();
    void Wake() { SetInterval(interval_); }

    std::function<void()> Tick;

private:
    friend class Window;
    // On the window's thread: makes the system timer match the interval.
    void Apply(int milliseconds);

    Window* owner_;
    std::string name_;
    UINT_PTR id_;
    std::atomic<int> interval_;
};
