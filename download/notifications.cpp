#include "download/notifications.h"

#include <windows.h>

#include <atomic>
#include <mutex>

#include "download/daemon_endpoint.h"
#include "download/engine_bindings.h"
#include "download/websocket_handshake.h"
#include "json/json.h"
#include "utilities/guarded_call.h"
#include "utilities/text_codepage.h"

namespace {

const int kHandshakeSendMs = 1000;
const int kHandshakeReplyMs = 3000;
const int kReceiveWaitMs = 3000;
const size_t kMaxHandshakeReply = 16384;

std::atomic<int> loopsRunning{0};
std::mutex subscribeMutex;
// Stream bytes that arrived behind the handshake reply; written before the
// receive thread starts and taken by it first.
std::string handshakeLeftover;

class SocketByteSource : public NotificationByteSource {
public:
    explicit SocketByteSource(TcpClientSocket& socket) : socket_(socket) {}
    bool Connected() override { return socket_.LocalPort() != -1; }
    std::string Receive(int timeoutMs, TcpClientSocket::ReceiveOutcome* outcome) override {
        return socket_.Receive(timeoutMs, outcome);
    }
    void Disconnect() override { socket_.Disconnect(); }

private:
    TcpClientSocket& socket_;
};

DWORD WINAPI ReceiveThread(LPVOID) {
    GuardedCall([] { NotificationReceiveLoop(); });
    --loopsRunning;
    return 0;
}

// Waits for the rest of the reply's header block; the bytes after it belong
// to the frame stream.
std::string FinishHandshake(TcpClientSocket& socket, std::string reply, DWORD started) {
    while (UpgradeReplyHeaderEnd(reply) == std::string::npos && reply.size() < kMaxHandshakeReply) {
        DWORD elapsed = GetTickCount() - started;
        if (elapsed >= (DWORD)kHandshakeReplyMs) break;
        std::string more = socket.Receive(kHandshakeReplyMs - (int)elapsed);
        if (more.empty()) break;
        reply += more;
    }
    size_t end = UpgradeReplyHeaderEnd(reply);
    return end == std::string::npos ? std::string() : reply.substr(end);
}

bool Connect(TcpClientSocket& socket) {
    if (socket.LocalPort() != -1) return true;
    if (!socket.Connect(kDaemonAddress, kDaemonPort)) return false;
    socket.Send(BuildUpgradeRequest(), kHandshakeSendMs);
    DWORD started = GetTickCount();
    std::string reply = socket.Receive(kHandshakeReplyMs);
    if (!IsUpgradeAccepted(reply)) {
        socket.Disconnect();
        return false;
    }
    handshakeLeftover = FinishHandshake(socket, reply, started);
    ++loopsRunning;
    HANDLE thread = CreateThread(nullptr, 0, ReceiveThread, nullptr, 0, nullptr);
    if (!thread) {
        --loopsRunning;
        socket.Disconnect();
        return false;
    }
    CloseHandle(thread);
    return true;
}

}  // namespace

bool NotificationSubscribe(const std::string& name, NotificationCallback callback) {
    bool connected = false;
    if (TcpClientSocket* socket = DownloadEngine().notificationSocket) {
        std::lock_guard<std::mutex> lock(subscribeMutex);
        connected = Connect(*socket);
    }
    int slot = NotificationSlot(name);
    if (slot >= 0) NotificationCallbacks[slot] = callback;
    return connected;
}

void NotificationReceiveLoop() {
    TcpClientSocket* socket = DownloadEngine().notificationSocket;
    if (!socket) return;
    std::string first;
    {
        std::lock_guard<std::mutex> lock(subscribeMutex);
        first.swap(handshakeLeftover);
    }
    SocketByteSource source(*socket);
    RunNotificationLoop(source, first);
}

void RunNotificationLoop(NotificationByteSource& source, std::string_view firstBytes) {
    WebSocketFrameReader reader;
    if (!DispatchNotifications(reader, firstBytes)) {
        source.Disconnect();
        return;
    }
    while (source.Connected()) {
        TcpClientSocket::ReceiveOutcome outcome;
        std::string chunk = source.Receive(kReceiveWaitMs, &outcome);
        if (outcome == TcpClientSocket::ReceiveOutcome::TimedOut) continue;
        // The peer closed or the connection broke: without this the loop
        // would poll a dead socket forever and no later subscription could
        // connect again.
        if (outcome != TcpClientSocket::ReceiveOutcome::Data || !DispatchNotifications(reader, chunk)) {
            // Disconnected by someone else meanwhile: a new connection may
            // already be in place, so leave it alone.
            if (source.Connected()) source.Disconnect();
            return;
        }
    }
}

namespace {

// Parses one message (UTF-8) and calls the routine of its "method" with the
// text of a JSON array holding the parsed notification. Nothing happens when
// the message does not parse, has no method, or its slot is empty.
void DispatchNotification(const std::string& payload) {
    JSON notification;
    if (!notification.parse(Utf8ToAnsi(payload))) return;
    JsonValue method = notification.GetProperty("method");
    if (method.kind != JsonValue::Text) return;
    int slot = NotificationSlot(method.text);
    if (slot < 0) return;
    NotificationCallback callback = NotificationCallbacks[slot];
    if (!callback) return;
    JSON list;
    list.SetType(JSONType::Array);
    list.AddItem(notification);
    std::string text = list.toString();
    GuardedCall([&] { callback(text); });
}

}  // namespace

bool DispatchNotifications(WebSocketFrameReader& reader, std::string_view chunk) {
    reader.Append(chunk);
    std::string payload;
    while (reader.NextMessage(&payload)) DispatchNotification(payload);
    return reader.state() == WebSocketFrameReader::State::Open;
}

int NotificationLoopsRunning() { return loopsRunning; }
