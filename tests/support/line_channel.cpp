#include "support/line_channel.h"

#include <winsock2.h>

#include <sstream>

namespace testsupport {

std::vector<std::string> ExchangeLine(int port, const std::string& line, DWORD timeoutMs) {
    static bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started) return {"ERR no channel"};
    SOCKET connection = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons((u_short)port);
    setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof timeoutMs);
    if (connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        closesocket(connection);
        return {"ERR no channel"};
    }
    std::string request = line + "\n";
    send(connection, request.data(), (int)request.size(), 0);
    std::string reply;
    char buffer[4096];
    auto complete = [&] {
        return reply == ".\n" || (reply.size() >= 3 && reply.compare(reply.size() - 3, 3, "\n.\n") == 0);
    };
    while (!complete()) {
        int got = recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        reply.append(buffer, got);
    }
    closesocket(connection);
    std::vector<std::string> lines;
    std::istringstream in(reply);
    std::string entry;
    while (std::getline(in, entry)) {
        if (entry == ".") break;
        lines.push_back(entry);
    }
    return lines;
}

}  // namespace testsupport
