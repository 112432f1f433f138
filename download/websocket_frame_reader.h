// Cuts the byte stream of a WebSocket connection (RFC 6455, as a client
// reads it) into messages. Bytes may arrive split at any point and several
// frames may arrive in one read; the reader keeps what is incomplete for the
// next read. Lengths are checked before anything is taken from the buffer,
// and a message larger than kMaxMessageBytes ends the stream.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

class WebSocketFrameReader {
public:
    enum class State {
        Open,    // more frames may follow
        Closed,  // the peer sent a close frame
        Failed,  // the stream broke the protocol or a size limit
    };

    // The daemon's notifications are a few hundred bytes; anything near this
    // size is not one of them.
    static constexpr uint64_t kMaxMessageBytes = 1 << 20;

    // Takes bytes as they came off the socket. Returns false once the stream
    // has ended (closed or failed); bytes after that point are ignored.
    bool Append(std::string_view bytes);

    // Takes the payload of the next complete text or binary message (the
    // fragments of a fragmented message joined, masking removed). False when
    // none is complete. Pings and pongs are never returned.
    bool NextMessage(std::string* payload);

    State state() const { return state_; }

private:
    // Consumes one whole frame from the buffer; false when it is incomplete
    // or the stream has ended.
    bool TakeFrame();
    // Ends the stream as broken; always false, for "return Fail();".
    bool Fail();

    State state_ = State::Open;
    std::string buffer_;
    size_t consumed_ = 0;
    bool inMessage_ = false;  // fragments of a message are being collected
    std::string partial_;
    std::deque<std::string> messages_;
};
