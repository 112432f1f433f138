// Owner of one WinInet handle; closes it when it goes away.
#pragma once

#include <windows.h>
#include <wininet.h>

class InternetHandle {
public:
    explicit InternetHandle(HINTERNET handle = nullptr) : handle_(handle) {}
    ~InternetHandle() {
        if (handle_) InternetCloseHandle(handle_);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;

    HINTERNET get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    HINTERNET handle_;
};

// WinInet under Wine waits for a reply without end, and a daemon that is
// shutting down still completes connections it never answers. A request
// gives up after this long without a byte sent or received, as Windows'
// own defaults do.
const DWORD kSilentPeerLimitMs = 30000;
// The download daemon on this machine answers within milliseconds, but for a
// wrong secret, which it answers on purpose one to two seconds late. The UI
// thread asks it every 100 ms, so a daemon that hangs must not freeze the
// window for long.
const DWORD kSilentLoopbackPeerLimitMs = 3000;

inline void LimitSilentWaits(HINTERNET request, DWORD limit = kSilentPeerLimitMs) {
    InternetSetOptionA(request, INTERNET_OPTION_SEND_TIMEOUT, &limit, sizeof limit);
    InternetSetOptionA(request, INTERNET_OPTION_RECEIVE_TIMEOUT, &limit, sizeof limit);
}
