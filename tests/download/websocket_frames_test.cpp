// Cutting the daemon's WebSocket stream into notifications, on injected bytes.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "download/notifications.h"
#include "download/websocket_frame_reader.h"
#include "download/websocket_handshake.h"
#include "json/base64.h"

namespace {

// An unmasked server frame (or a masked one with the given key).
std::string Frame(const std::string& payload, unsigned char first = 0x81, const char* mask = nullptr) {
    std::string f(1, (char)first);
    unsigned char maskBit = mask ? 0x80 : 0;
    size_t n = payload.size();
    if (n < 126) {
        f += (char)(maskBit | n);
    } else if (n < 65536) {
        f += (char)(maskBit | 126);
        f += (char)(n >> 8);
        f += (char)(n & 0xFF);
    } else {
        f += (char)(maskBit | 127);
        for (int i = 7; i >= 0; --i) f += (char)((uint64_t)n >> (8 * i) & 0xFF);
    }
    std::string body = payload;
    if (mask) {
        f.append(mask, 4);
        for (size_t i = 0; i < body.size(); ++i) body[i] = (char)(body[i] ^ mask[i % 4]);
    }
    return f + body;
}

std::string Notification(const char* method, const char* gid = "2089b05ecca3d829") {
    return std::string("{\"jsonrpc\":\"2.0\",\"method\":\"") + method + "\",\"params\":[{\"gid\":\"" + gid + "\"}]}";
}

std::vector<std::string> Messages(WebSocketFrameReader& reader) {
    std::vector<std::string> out;
    std::string m;
    while (reader.NextMessage(&m)) out.push_back(m);
    return out;
}

TEST(WebSocketFrameReader, ReadsEveryLengthFormAndMasking) {
    const char key[4] = {0x11, 0x22, (char)0x83, 0x7F};
    const struct {
        size_t size;
        bool masked;
    } cases[] = {{0, false},     {1, false},    {125, false}, {126, false}, {65535, false},
                 {65536, false}, {70000, true}, {92, true},   {300, true}};
    for (const auto& c : cases) {
        std::string payload;
        for (size_t i = 0; i < c.size; ++i) payload += (char)('a' + i % 23);
        WebSocketFrameReader reader;
        EXPECT_TRUE(reader.Append(Frame(payload, 0x81, c.masked ? key : nullptr)));
        auto messages = Messages(reader);
        ASSERT_EQ(messages.size(), 1u) << c.size;
        EXPECT_EQ(messages[0], payload) << c.size;
    }
}

TEST(WebSocketFrameReader, JoinsAFrameSplitAtAnyByte) {
    std::string stream = Frame(std::string(200, 'x'), 0x81, "\x01\x02\x03\x04") + Frame("tail");
    for (size_t cut = 0; cut <= stream.size(); ++cut) {
        WebSocketFrameReader reader;
        reader.Append(stream.substr(0, cut));
        reader.Append(stream.substr(cut));
        auto messages = Messages(reader);
        ASSERT_EQ(messages.size(), 2u) << "cut at " << cut;
        EXPECT_EQ(messages[0], std::string(200, 'x'));
        EXPECT_EQ(messages[1], "tail");
    }
}

TEST(WebSocketFrameReader, FeedsOneByteAtATime) {
    std::string stream = Frame("one") + Frame(std::string(130, 'b')) + Frame("three");
    WebSocketFrameReader reader;
    for (char c : stream) reader.Append(std::string(1, c));
    EXPECT_EQ(Messages(reader), (std::vector<std::string>{"one", std::string(130, 'b'), "three"}));
}

TEST(WebSocketFrameReader, JoinsFragmentsAndSkipsPings) {
    std::string stream = Frame("par", 0x01) + Frame("ping!", 0x89) + Frame("t-", 0x00) + Frame("end", 0x80);
    WebSocketFrameReader reader;
    EXPECT_TRUE(reader.Append(stream));
    EXPECT_EQ(Messages(reader), (std::vector<std::string>{"part-end"}));
}

TEST(WebSocketFrameReader, EndsTheStreamOnCloseAndOnBrokenFrames) {
    const struct {
        const char* what;
        std::string stream;
        WebSocketFrameReader::State state;
        size_t messagesBefore;
    } cases[] = {
        {"close frame", Frame("a") + Frame("", 0x88) + Frame("after"), WebSocketFrameReader::State::Closed, 1},
        {"reserved bit", Frame("a") + Frame("b", 0xC1), WebSocketFrameReader::State::Failed, 1},
        {"unknown opcode", Frame("x", 0x83), WebSocketFrameReader::State::Failed, 0},
        {"long ping", Frame(std::string(126, 'p'), 0x89), WebSocketFrameReader::State::Failed, 0},
        {"fragmented ping", Frame("p", 0x09), WebSocketFrameReader::State::Failed, 0},
        {"stray continuation", Frame("c", 0x80), WebSocketFrameReader::State::Failed, 0},
        {"text inside a fragmented message", Frame("a", 0x01) + Frame("b", 0x81), WebSocketFrameReader::State::Failed,
         0},
        // Only the header of a frame over the cap: refused before its payload arrives.
        {"frame over the cap", std::string("\x81\x7F\x00\x00\x00\x00\x00\x20\x00\x00", 10),
         WebSocketFrameReader::State::Failed, 0},
        {"length with the top bit set", std::string("\x81\x7F\x80\x00\x00\x00\x00\x00\x00\x05", 10),
         WebSocketFrameReader::State::Failed, 0},
    };
    for (const auto& c : cases) {
        WebSocketFrameReader reader;
        EXPECT_FALSE(reader.Append(c.stream)) << c.what;
        EXPECT_EQ(reader.state(), c.state) << c.what;
        EXPECT_EQ(Messages(reader).size(), c.messagesBefore) << c.what;
        EXPECT_FALSE(reader.Append(Frame("late"))) << c.what;
        EXPECT_TRUE(Messages(reader).empty()) << c.what;
    }
}

TEST(WebSocketFrameReader, CapsAMessageBuiltFromFragments) {
    std::string piece(600 * 1024, 'f');
    WebSocketFrameReader reader;
    EXPECT_TRUE(reader.Append(Frame(piece, 0x01)));
    EXPECT_FALSE(reader.Append(Frame(piece, 0x80)));
    EXPECT_EQ(reader.state(), WebSocketFrameReader::State::Failed);
}

// Scripted bytes in place of the socket.
struct Step {
    TcpClientSocket::ReceiveOutcome outcome;
    std::string bytes;
};

class ScriptedSource : public NotificationByteSource {
public:
    explicit ScriptedSource(std::deque<Step> steps) : steps_(std::move(steps)) {}
    bool Connected() override { return connected_; }
    std::string Receive(int, TcpClientSocket::ReceiveOutcome* outcome) override {
        ++receives;
        if (steps_.empty()) {
            // The script ran out without the stream ending: end the loop the
            // way the program's exit does.
            connected_ = false;
            *outcome = TcpClientSocket::ReceiveOutcome::Failed;
            return {};
        }
        Step s = steps_.front();
        steps_.pop_front();
        *outcome = s.outcome;
        return s.bytes;
    }
    void Disconnect() override {
        connected_ = false;
        ++disconnects;
    }
    int receives = 0;
    int disconnects = 0;

private:
    std::deque<Step> steps_;
    bool connected_ = true;
};

std::vector<std::string> calls[kNotificationSlots];
template <int Slot>
void Record(const std::string& text) {
    calls[Slot].push_back(text);
}

class NotificationLoop : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < kNotificationSlots; ++i) {
            calls[i].clear();
            NotificationCallbacks[i] = nullptr;
        }
        NotificationCallbacks[0] = Record<0>;
        NotificationCallbacks[3] = Record<3>;
    }
    void TearDown() override {
        for (auto& slot : NotificationCallbacks) slot = nullptr;
    }
    static Step Data(const std::string& bytes) { return {TcpClientSocket::ReceiveOutcome::Data, bytes}; }
    static Step Quiet() { return {TcpClientSocket::ReceiveOutcome::TimedOut, ""}; }
};

TEST_F(NotificationLoop, CallsTheRoutineForEveryNotificationOfAChunk) {
    std::string both = Frame(Notification("aria2.onDownloadStart")) + Frame(Notification("aria2.onDownloadComplete"));
    ScriptedSource source({Data(both)});
    RunNotificationLoop(source);
    ASSERT_EQ(calls[0].size(), 1u);
    ASSERT_EQ(calls[3].size(), 1u);
    EXPECT_EQ(calls[3][0], "[" + Notification("aria2.onDownloadComplete") + "]");
}

TEST_F(NotificationLoop, JoinsAHeaderThatArrivesAloneWithItsPayload) {
    std::string payload = Notification("aria2.onDownloadComplete", "0123456789abcdef012345678");
    std::string frame = Frame(payload);
    ASSERT_EQ(frame.size(), payload.size() + 2);
    ScriptedSource source({Data(frame.substr(0, 2)), Quiet(), Data(frame.substr(2, 10)), Data(frame.substr(12))});
    RunNotificationLoop(source);
    EXPECT_EQ(calls[3].size(), 1u);
}

TEST_F(NotificationLoop, SkipsEmptySlotsUnknownMethodsAndBadPayloads) {
    std::string stream = Frame(Notification("aria2.onDownloadStop")) + Frame(Notification("aria2.somethingElse")) +
                         Frame("{not json") + Frame("{\"params\":[]}") + Frame(Notification("aria2.onDownloadStart"));
    ScriptedSource source({Data(stream)});
    RunNotificationLoop(source);
    EXPECT_EQ(calls[0].size(), 1u);
    EXPECT_EQ(calls[3].size(), 0u);
}

TEST_F(NotificationLoop, EndsAndDisconnectsWhenTheStreamEnds) {
    const struct {
        const char* what;
        std::deque<Step> steps;
    } cases[] = {
        {"peer closed",
         {Data(Frame(Notification("aria2.onDownloadComplete"))),
          {TcpClientSocket::ReceiveOutcome::Closed, ""},
          Data(Frame(Notification("aria2.onDownloadComplete")))}},
        {"receive failed",
         {Quiet(),
          {TcpClientSocket::ReceiveOutcome::Failed, ""},
          Data(Frame(Notification("aria2.onDownloadComplete")))}},
        {"close frame", {Data(Frame("", 0x88)), Data(Frame(Notification("aria2.onDownloadComplete")))}},
        {"oversized frame",
         {Data(std::string("\x81\x7F\x00\x00\x00\x01\x00\x00\x00\x00", 10)),
          Data(Frame(Notification("aria2.onDownloadComplete")))}},
    };
    for (const auto& c : cases) {
        calls[3].clear();
        ScriptedSource source(c.steps);
        RunNotificationLoop(source);
        EXPECT_EQ(source.disconnects, 1) << c.what;
        EXPECT_FALSE(source.Connected()) << c.what;
        EXPECT_EQ(source.receives, (int)c.steps.size() - 1) << c.what;  // the step after the end is never read
        EXPECT_LE(calls[3].size(), 1u) << c.what;
    }
}

TEST_F(NotificationLoop, DispatchesStreamBytesThatCameWithTheHandshake) {
    ScriptedSource source({});
    RunNotificationLoop(source, Frame(Notification("aria2.onDownloadComplete")));
    EXPECT_EQ(calls[3].size(), 1u);
}

TEST(WebSocketHandshake, KeyIsSixteenBytesBelow128) {
    for (int i = 0; i < 50; ++i) {
        std::string key = MakeWebSocketKey();
        ASSERT_EQ(key.size(), 24u);
        EXPECT_EQ(key.substr(22), "==");
        for (char c : key) EXPECT_TRUE(isalnum((unsigned char)c) || c == '+' || c == '/' || c == '=') << key;
        std::string decoded;
        ASSERT_TRUE(Base64Decode(key, &decoded));
        ASSERT_EQ(decoded.size(), 16u);
        for (unsigned char b : decoded) EXPECT_LE(b, 127);
    }
}

TEST(WebSocketHandshake, UpgradeRequestHasTheSixteenLinesInOrder) {
    std::string request = BuildUpgradeRequest();
    size_t keyAt = request.find("Sec-WebSocket-Key: ") + 19;
    std::string withoutKey = request.substr(0, keyAt) + "KEY" + request.substr(keyAt + 24);
    EXPECT_EQ(withoutKey,
              "GET /jsonrpc HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
              "Sec-WebSocket-Key: KEY\r\nOrigin: http://127.0.0.1\r\nSec-WebSocket-Version: 13\r\n"
              "User-Agent: Mozilla/5.0 (Windows NT 6.1; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
              "Chrome/58.0.3029.96 Safari/537.36\r\n"
              "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"
              "Accept-Language: zh-CN,zh;q=0.8,en-US;q=0.5,en;q=0.3\r\nAccept-Encoding: gzip, deflate\r\n"
              "Sec-WebSocket-Extensions: permessage-deflate\r\nConnection: keep-alive, Upgrade\r\n"
              "Pragma: no-cache\r\nCache-Control: no-cache\r\nUpgrade: websocket\r\n\r\n");
    EXPECT_TRUE(IsUpgradeAccepted("HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\n"));
    EXPECT_FALSE(IsUpgradeAccepted("HTTP/1.1 400 Bad Request\r\n"));
    EXPECT_FALSE(IsUpgradeAccepted("HTTP/1.1 101 Switching"));
}

}  // namespace
