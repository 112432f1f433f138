// An HTTP server inside the test process on 127.0.0.1, for what the real
// daemon cannot be made to do: answer with chosen bytes or speeds, and show
// the exact request it got. One request per connection. Used by the tests
// of every subsystem that talks HTTP.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct ReceivedRequest {
    std::string requestLine;  // "POST /jsonrpc HTTP/1.1"
    std::string headers;      // header block without the request line and blank line
    std::string body;
};

class FakeHttpServer {
public:
    // Answers every request with the body that reply returns for it.
    using Responder = std::function<std::string(const ReceivedRequest&)>;

    // port 0 takes a free port.
    FakeHttpServer(int port, Responder reply);
    ~FakeHttpServer();
    FakeHttpServer(const FakeHttpServer&) = delete;
    FakeHttpServer& operator=(const FakeHttpServer&) = delete;

    bool listening() const { return listener_ != INVALID_SOCKET; }
    int port() const { return port_; }
    std::vector<ReceivedRequest> requests();
    // Bodies of the requests so far, in order.
    std::vector<std::string> bodies();

    // Raw reply bytes instead of a well-formed reply (status line included).
    void SetRawReply(Responder raw) { raw_ = std::move(raw); }

private:
    void Serve();
    void Handle(SOCKET client);

    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    Responder reply_;
    Responder raw_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<ReceivedRequest> requests_;
    std::thread thread_;
};
