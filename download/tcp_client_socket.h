// A blocking IPv4 TCP client connection: the daemon probe and the WebSocket
// of the notification client. The object may connect again after a
// disconnect. Disconnect may be called from another thread while a receive
// waits; the waiting receive then returns empty.
#pragma once

#include <winsock2.h>

#include <mutex>
#include <string>
#include <string_view>

class TcpClientSocket {
public:
    // How a receive ended; the text result alone cannot tell these apart.
    enum class ReceiveOutcome { Data, TimedOut, Closed, Failed };

    static constexpr size_t kMaxReceive = 20480;

    TcpClientSocket() = default;
    ~TcpClientSocket();
    TcpClientSocket(const TcpClientSocket&) = delete;
    TcpClientSocket& operator=(const TcpClientSocket&) = delete;

    // Blocking connect to an IPv4 address text and a port; a connection held
    // before is closed first. True on success.
    bool Connect(const std::string& address, int port);
    void Disconnect();

    // Waits at most timeoutMs until the socket takes data, then sends once.
    // True when the send took all of bytes.
    bool Send(std::string_view bytes, int timeoutMs);

    // Waits at most timeoutMs for data, then reads once, at most kMaxReceive
    // bytes. Empty on time-out, on error and when the peer has closed;
    // outcome (when given) says which.
    std::string Receive(int timeoutMs, ReceiveOutcome* outcome = nullptr);

    // Local port of the connection; -1 when not connected.
    int LocalPort() const;

private:
    SOCKET Current() const;

    mutable std::mutex mutex_;
    SOCKET socket_ = INVALID_SOCKET;
};
