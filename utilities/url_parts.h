// Taking an HTTP URL apart for WinInet, which wants host, port and object
// name separately. The routines accept the loose forms the program passes
// (no scheme, no path, upper-case letters).
#pragma once

#include <string>

// Host name in lower case without the port; "127.0.0.1" for the daemon's URL.
std::string UrlGetHost(const std::string& url);

// Port after the host's last ":", else 443 for "https" URLs and 80 otherwise.
int UrlGetPort(const std::string& url);

// Path with its query, beginning with "/"; "/" when the URL has no path.
std::string UrlGetPath(const std::string& url);

// True for URLs that begin with "https://", in any case.
bool UrlIsSecure(const std::string& url);

// True when the host is this machine: "localhost" or an address in 127.0.0.0/8.
bool UrlIsLoopback(const std::string& url);
