// The opening handshake of the daemon's WebSocket.
#pragma once

#include <string>
#include <string_view>

// The upgrade request for "/jsonrpc" on 127.0.0.1, with a new key.
std::string BuildUpgradeRequest();

// 16 pseudo-random bytes of 0 to 127, Base64-encoded: 24 characters ending in "==".
std::string MakeWebSocketKey();

// True when the reply starts with "HTTP/1.1 101 Switching Protocols".
bool IsUpgradeAccepted(std::string_view reply);

// Position just after the blank line that ends the reply's header block;
// npos while it has not arrived.
size_t UpgradeReplyHeaderEnd(std::string_view reply);
