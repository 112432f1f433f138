// The line protocol of the test channels (the stand-in engine's control
// channel, the page host's test control): one request line on a fresh
// connection to 127.0.0.1:port; the answer is lines up to one holding a
// single ".".
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// The answer's lines without the closing "."; {"ERR no channel"} when
// nothing listens. Waits at most timeoutMs for each piece of the answer.
std::vector<std::string> ExchangeLine(int port, const std::string& line, DWORD timeoutMs = 20000);

}  // namespace testsupport
