// One HTTP POST through WinInet, the transport of every JSON-RPC request to
// the download daemon. Each call opens and closes its own handles, so calls
// may run on any thread at the same time.
#pragma once

#include <windows.h>

#include <string>

// Posts body unchanged (no character-set conversion, content type
// "application/x-www-form-urlencoded") and returns the reply body, whatever
// the status code. Empty when a handle cannot be opened or nothing can be
// read; a read that fails ends the body there.
std::string HttpPostRequest(const std::string& url, const std::string& body);

// The request flags used for url: always reload and need-file, plus secure
// for "https://" and otherwise ignore-redirect-to-https.
DWORD HttpPostRequestFlags(const std::string& url);
