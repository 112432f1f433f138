#include "support/test_http_server.h"

#include <ws2tcpip.h>

#include <cstdlib>

FakeHttpServer::FakeHttpServer(int port, Responder reply) : reply_(std::move(reply)) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    // The daemon's port is taken again by the next test at once.
    BOOL reuse = TRUE;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, (const char*)&reuse, sizeof reuse);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons((u_short)port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(s, (sockaddr*)&address, sizeof address) != 0 || listen(s, 16) != 0) {
        closesocket(s);
        return;
    }
    int size = sizeof address;
    getsockname(s, (sockaddr*)&address, &size);
    port_ = ntohs(address.sin_port);
    listener_ = s;
    thread_ = std::thread([this] { Serve(); });
}

FakeHttpServer::~FakeHttpServer() {
    stop_ = true;
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    if (thread_.joinable()) thread_.join();
}

std::vector<ReceivedRequest> FakeHttpServer::requests() {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

std::vector<std::string> FakeHttpServer::bodies() {
    std::vector<std::string> out;
    for (const ReceivedRequest& r : requests()) out.push_back(r.body);
    return out;
}

void FakeHttpServer::Serve() {
    while (!stop_) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(listener_, &readable);
        timeval tv = {0, 100 * 1000};
        if (select(0, &readable, nullptr, nullptr, &tv) != 1) continue;
        SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) continue;
        Handle(client);
        closesocket(client);
    }
}

void FakeHttpServer::Handle(SOCKET client) {
    std::string data;
    char buffer[4096];
    size_t headerEnd = std::string::npos;
    size_t contentLength = 0;
    // Bounded: a request larger than 1 MiB or slower than 5 s is dropped.
    DWORD started = GetTickCount();
    for (;;) {
        if (headerEnd != std::string::npos && data.size() >= headerEnd + contentLength) break;
        if (data.size() > (1 << 20) || GetTickCount() - started > 5000) return;
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(client, &readable);
        timeval tv = {0, 200 * 1000};
        if (select(0, &readable, nullptr, nullptr, &tv) != 1) continue;
        int n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) return;
        data.append(buffer, (size_t)n);
        if (headerEnd == std::string::npos) {
            size_t end = data.find("\r\n\r\n");
            if (end == std::string::npos) continue;
            headerEnd = end + 4;
            std::string head = data.substr(0, end);
            for (size_t at = head.find("\r\n"); at != std::string::npos; at = head.find("\r\n", at + 2)) {
                std::string line = head.substr(at + 2, head.find("\r\n", at + 2) - at - 2);
                if (_strnicmp(line.c_str(), "Content-Length:", 15) == 0)
                    contentLength = strtoul(line.c_str() + 15, nullptr, 10);
            }
        }
    }
    ReceivedRequest request;
    size_t lineEnd = data.find("\r\n");
    request.requestLine = data.substr(0, lineEnd);
    request.headers = data.substr(lineEnd + 2, headerEnd - 4 - lineEnd - 2);
    request.body = data.substr(headerEnd, contentLength);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
    }
    std::string reply;
    if (raw_) {
        reply = raw_(request);
    } else {
        std::string body = reply_ ? reply_(request) : std::string();
        reply = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) +
                "\r\nConnection: close\r\n\r\n" + body;
    }
    for (size_t sent = 0; sent < reply.size();) {
        int n = send(client, reply.data() + sent, (int)(reply.size() - sent), 0);
        if (n <= 0) break;
        sent += (size_t)n;
    }
    shutdown(client, SD_SEND);
}
