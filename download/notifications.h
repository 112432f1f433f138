// The daemon's notifications over its WebSocket: one connection per program
// (the bound NotificationSocket), a receive thread that cuts the stream into
// messages and calls the routine registered for each notification's name.
// The client sends nothing after the handshake.
#pragma once

#include <string>
#include <string_view>

#include "download/notification_callbacks.h"
#include "download/tcp_client_socket.h"
#include "download/websocket_frame_reader.h"

// Opens the connection when it is not open (handshake, then a new receive
// thread), and stores callback in the slot of name whatever came of that; a
// name that is none of the six stores nothing. True when the connection was
// open or has just been accepted.
bool NotificationSubscribe(const std::string& name, NotificationCallback callback);

// Body of the receive thread, on the bound NotificationSocket.
void NotificationReceiveLoop();

// Where the receive loop gets its bytes; the socket in the program, scripted
// bytes in tests.
class NotificationByteSource {
public:
    virtual ~NotificationByteSource() = default;
    virtual bool Connected() = 0;
    virtual std::string Receive(int timeoutMs, TcpClientSocket::ReceiveOutcome* outcome) = 0;
    virtual void Disconnect() = 0;
};

// Receives and dispatches until the source is no longer connected, the peer
// closes, a receive fails or the stream breaks the protocol; in the last
// three cases it disconnects the source, so that the next subscription
// connects again. firstBytes are stream bytes that came with the handshake.
void RunNotificationLoop(NotificationByteSource& source, std::string_view firstBytes = {});

// Adds a received chunk to reader and dispatches every message it completes.
// False when the stream has ended.
bool DispatchNotifications(WebSocketFrameReader& reader, std::string_view chunk);

// Receive threads still running (for an orderly end in tests and at exit).
int NotificationLoopsRunning();
