#include "download/http_post.h"

#include <wininet.h>

#include "utilities/internet_handle.h"
#include "utilities/url_parts.h"

namespace {

const char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
const DWORD kReadChunk = 1024;

// The four header lines sent with every POST to url, CR LF between them.
std::string HttpPostHeaders(const std::string& url) {
    return "Accept: */*\r\nReferer: " + url +
           "\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";
}

}  // namespace

DWORD HttpPostRequestFlags(const std::string& url) {
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE;
    return flags | (UrlIsSecure(url) ? INTERNET_FLAG_SECURE : INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS);
}

std::string HttpPostRequest(const std::string& url, const std::string& body) {
    // Handles close in reverse order of declaration: request, connection, session.
    InternetHandle session(InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!session) return {};
    InternetHandle connection(InternetConnectA(session.get(), UrlGetHost(url).c_str(), (INTERNET_PORT)UrlGetPort(url),
                                               nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return {};
    InternetHandle request(HttpOpenRequestA(connection.get(), "POST", UrlGetPath(url).c_str(), "HTTP/1.1", nullptr,
                                            nullptr, HttpPostRequestFlags(url), 0));
    if (!request) return {};
    LimitSilentWaits(request.get(), UrlIsLoopback(url) ? kSilentLoopbackPeerLimitMs : kSilentPeerLimitMs);

    std::string headers = HttpPostHeaders(url);
    // A refused connection shows up as a failed send and then a failed read.
    HttpSendRequestA(request.get(), headers.c_str(), (DWORD)headers.size(),
                     body.empty() ? nullptr : (LPVOID)body.data(), (DWORD)body.size());

    std::string reply;
    char buffer[kReadChunk];
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(request.get(), buffer, kReadChunk, &read) || read == 0) break;
        reply.append(buffer, read);
    }
    return reply;
}
