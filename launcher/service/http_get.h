// HTTP GET of the community service's hosts: the API, content and static-file
// hosts all answer through this one request.
#pragma once

#include <string>

// The body of url, read to its end; empty on any failure. The status code is
// not looked at, unless status is given: it then receives the answer's status
// code when the whole body was read, and 0 otherwise. "https://" URLs go over
// TLS. Any thread.
std::string HttpGet(const std::string& url, int* status = nullptr);
