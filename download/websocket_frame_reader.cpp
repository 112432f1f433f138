#include "download/websocket_frame_reader.h"

namespace {

enum Opcode : unsigned { kContinuation = 0, kText = 1, kBinary = 2, kClose = 8, kPing = 9, kPong = 10 };

}  // namespace

bool WebSocketFrameReader::Append(std::string_view bytes) {
    if (state_ != State::Open) return false;
    buffer_.append(bytes.data(), bytes.size());
    while (TakeFrame()) {
    }
    // Drop what has been taken, so the buffer holds only an incomplete frame.
    buffer_.erase(0, consumed_);
    consumed_ = 0;
    return state_ == State::Open;
}

bool WebSocketFrameReader::NextMessage(std::string* payload) {
    if (messages_.empty()) return false;
    *payload = std::move(messages_.front());
    messages_.pop_front();
    return true;
}

bool WebSocketFrameReader::Fail() {
    state_ = State::Failed;
    buffer_.clear();
    consumed_ = 0;
    partial_.clear();
    return false;
}

bool WebSocketFrameReader::TakeFrame() {
    if (state_ != State::Open) return false;
    const unsigned char* p = (const unsigned char*)buffer_.data() + consumed_;
    const size_t available = buffer_.size() - consumed_;
    if (available < 2) return false;

    const bool fin = (p[0] & 0x80) != 0;
    const unsigned reserved = p[0] & 0x70;
    const unsigned opcode = p[0] & 0x0F;
    const bool masked = (p[1] & 0x80) != 0;
    uint64_t length = p[1] & 0x7F;
    size_t header = 2;
    if (length == 126) {
        if (available < 4) return false;
        length = (uint64_t)p[2] << 8 | p[3];
        header = 4;
    } else if (length == 127) {
        if (available < 10) return false;
        length = 0;
        for (int i = 2; i < 10; ++i) length = length << 8 | p[i];
        header = 10;
    }
    // No extension was agreed on, so reserved bits and unknown opcodes are
    // protocol errors; control frames must be short and unfragmented.
    const bool control = opcode >= 8;
    if (reserved != 0 || (opcode > kBinary && opcode < kClose) || opcode > kPong) return Fail();
    if (control && (!fin || length > 125)) return Fail();
    if (length > kMaxMessageBytes || partial_.size() + length > kMaxMessageBytes) return Fail();
    if (opcode == kContinuation && !inMessage_) return Fail();
    if ((opcode == kText || opcode == kBinary) && inMessage_) return Fail();

    const size_t maskBytes = masked ? 4 : 0;
    if (available - header < maskBytes || available - header - maskBytes < length) return false;

    const unsigned char* mask = p + header;
    const unsigned char* data = mask + maskBytes;
    std::string payload((const char*)data, (size_t)length);
    if (masked)
        for (size_t i = 0; i < payload.size(); ++i) payload[i] = (char)(payload[i] ^ mask[i % 4]);
    consumed_ += header + maskBytes + (size_t)length;

    if (opcode == kClose) {
        state_ = State::Closed;
        return false;
    }
    if (control) return true;  // ping and pong carry nothing for us

    partial_ += payload;
    inMessage_ = !fin;
    if (fin) {
        messages_.push_back(std::move(partial_));
        partial_.clear();
    }
    return true;
}
