#include "download/tcp_client_socket.h"

#include <ws2tcpip.h>

namespace {

// Winsock stays started for the life of the process; it is never cleaned up
// because sockets may still be closing at exit.
void StartWinsock() {
    static std::once_flag once;
    std::call_once(once, [] {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    });
}

timeval Timeout(int ms) {
    if (ms < 0) ms = 0;
    timeval tv;
    tv.tv_sec = ms / 1000;
    tv.tv_usec = (ms % 1000) * 1000;
    return tv;
}

}  // namespace

TcpClientSocket::~TcpClientSocket() { Disconnect(); }

SOCKET TcpClientSocket::Current() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return socket_;
}

bool TcpClientSocket::Connect(const std::string& address, int port) {
    Disconnect();
    StartWinsock();
    sockaddr_in target = {};
    target.sin_family = AF_INET;
    target.sin_port = htons((u_short)port);
    if (inet_pton(AF_INET, address.c_str(), &target.sin_addr) != 1) return false;

    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return false;
    if (connect(s, (const sockaddr*)&target, sizeof target) != 0) {
        closesocket(s);
        return false;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    socket_ = s;
    return true;
}

void TcpClientSocket::Disconnect() {
    SOCKET s;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        s = socket_;
        socket_ = INVALID_SOCKET;
    }
    if (s != INVALID_SOCKET) {
        // Wakes a receive that waits on another thread.
        shutdown(s, SD_BOTH);
        closesocket(s);
    }
}

bool TcpClientSocket::Send(std::string_view bytes, int timeoutMs) {
    SOCKET s = Current();
    if (s == INVALID_SOCKET) return false;
    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(s, &writable);
    timeval tv = Timeout(timeoutMs);
    if (select(0, nullptr, &writable, nullptr, &tv) != 1) return false;
    int sent = send(s, bytes.data(), (int)bytes.size(), 0);
    return sent == (int)bytes.size();
}

std::string TcpClientSocket::Receive(int timeoutMs, ReceiveOutcome* outcome) {
    ReceiveOutcome ignored;
    if (!outcome) outcome = &ignored;
    SOCKET s = Current();
    if (s == INVALID_SOCKET) {
        *outcome = ReceiveOutcome::Failed;
        return {};
    }
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval tv = Timeout(timeoutMs);
    int ready = select(0, &readable, nullptr, nullptr, &tv);
    if (ready == 0) {
        *outcome = ReceiveOutcome::TimedOut;
        return {};
    }
    if (ready < 0) {
        *outcome = ReceiveOutcome::Failed;
        return {};
    }
    std::string data(kMaxReceive, '\0');
    int n = recv(s, &data[0], (int)data.size(), 0);
    if (n <= 0) {
        *outcome = n == 0 ? ReceiveOutcome::Closed : ReceiveOutcome::Failed;
        return {};
    }
    data.resize((size_t)n);
    *outcome = ReceiveOutcome::Data;
    return data;
}

int TcpClientSocket::LocalPort() const {
    SOCKET s = Current();
    if (s == INVALID_SOCKET) return -1;
    sockaddr_in local = {};
    int size = sizeof local;
    if (getsockname(s, (sockaddr*)&local, &size) != 0) return -1;
    return ntohs(local.sin_port);
}
