// A flag that one thread sets and another waits for: read and written like
// an atomic bool, and every set to true calls the watcher on the setting
// thread, so the waiting side is told instead of polling.
#pragma once

#include <atomic>

class WatchedFlag {
public:
    WatchedFlag() = default;
    WatchedFlag(const WatchedFlag&) = delete;
    WatchedFlag& operator=(const WatchedFlag&) = delete;

    bool operator=(bool value) {
        value_ = value;
        if (value) {
            if (void (*watcher)() = watcher_.load()) watcher();
        }
        return value;
    }
    operator bool() const { return value_; }

    // Called after each set to true, on the setting thread; null: none. The
    // watcher must be cheap and must not throw.
    void Watch(void (*watcher)()) { watcher_ = watcher; }

private:
    std::atomic<bool> value_{false};
    std::atomic<void (*)()> watcher_{nullptr};
};
