#include "download/websocket_handshake.h"

#include <cstdlib>

#include "json/base64.h"

std::string MakeWebSocketKey() {
    std::string bytes;
    for (int i = 0; i < 16; ++i) bytes += (char)(rand() % 128);
    return Base64Encode(bytes);
}

std::string BuildUpgradeRequest() {
    return "GET /jsonrpc HTTP/1.1\r\n"
           "Host: 127.0.0.1\r\n"
           "Upgrade: websocket\r\n"
           "Connection: Upgrade\r\n"
           "Sec-WebSocket-Key: " +
           MakeWebSocketKey() +
           "\r\n"
           "Origin: http://127.0.0.1\r\n"
           "Sec-WebSocket-Version: 13\r\n"
           "User-Agent: Mozilla/5.0 (Windows NT 6.1; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
           "Chrome/58.0.3029.96 Safari/537.36\r\n"
           "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"
           "Accept-Language: zh-CN,zh;q=0.8,en-US;q=0.5,en;q=0.3\r\n"
           "Accept-Encoding: gzip, deflate\r\n"
           "Sec-WebSocket-Extensions: permessage-deflate\r\n"
           "Connection: keep-alive, Upgrade\r\n"
           "Pragma: no-cache\r\n"
           "Cache-Control: no-cache\r\n"
           "Upgrade: websocket\r\n"
           "\r\n";
}

bool IsUpgradeAccepted(std::string_view reply) {
    static const char kAccepted[] = "HTTP/1.1 101 Switching Protocols";
    return reply.substr(0, sizeof kAccepted - 1) == kAccepted;
}

size_t UpgradeReplyHeaderEnd(std::string_view reply) {
    size_t end = reply.find("\r\n\r\n");
    return end == std::string_view::npos ? end : end + 4;
}
