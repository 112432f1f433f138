// Line-based loopback connections of the engine: its control channel and its
// connection to the page host.
#include <winsock2.h>

#include "standin.h"

namespace standin {

int PortFromEnvironment(const char* variable) {
    char text[16] = {};
    if (!GetEnvironmentVariableA(variable, text, sizeof text)) return 0;
    int port = atoi(text);
    if (port <= 0 || port > 65535) return 0;
    static bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started ? port : 0;
}

sockaddr_in LoopbackAddress(int port) {
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons((u_short)port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

void ReadLines(SOCKET connection, const std::function<bool(const std::string&)>& onLine) {
    std::string pending;
    char buffer[65536];
    for (;;) {
        int got = recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0) return;
        pending.append(buffer, got);
        size_t start = 0, newline;
        while ((newline = pending.find('\n', start)) != std::string::npos) {
            std::string line = pending.substr(start, newline - start);
            start = newline + 1;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!onLine(line)) return;
        }
        pending.erase(0, start);
    }
}

bool SendAll(SOCKET connection, const std::string& bytes) {
    for (size_t sent = 0; sent < bytes.size();) {
        int n = send(connection, bytes.data() + sent, (int)(bytes.size() - sent), 0);
        if (n <= 0) return false;
        sent += n;
    }
    return true;
}

}  // namespace standin
