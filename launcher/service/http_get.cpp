#include "launcher/service/http_get.h"

#include <windows.h>
#include <wininet.h>

#include "utilities/internet_handle.h"
#include "utilities/url_parts.h"

namespace {

const char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
const char kAcceptHeader[] = "Accept: */*";

}  // namespace

std::string HttpGet(const std::string& url, int* status) {
    if (status) *status = 0;
    const bool secure = UrlIsSecure(url);
    // Handles close in reverse order of declaration: request, connection, session.
    InternetHandle session(InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return {};
    int port = UrlGetPort(url);
    InternetHandle connection(InternetConnectA(session.get(), UrlGetHost(url).c_str(), (INTERNET_PORT)port, nullptr,
                                               nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return {};
    // The service's answers change between runs; nothing may come from a cache.
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
    if (secure) flags |= INTERNET_FLAG_SECURE;
    InternetHandle request(
        HttpOpenRequestA(connection.get(), "GET", UrlGetPath(url).c_str(), "HTTP/1.0", nullptr, nullptr, flags, 0));
    if (!request) return {};
    LimitSilentWaits(request.get());
    if (!HttpSendRequestA(request.get(), kAcceptHeader, (DWORD)-1, nullptr, 0)) return {};

    std::string body;
    char buffer[4096];
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(request.get(), buffer, sizeof buffer, &read)) return {};
        if (read == 0) break;
        body.append(buffer, read);
    }
    // A connection that ends early reads as the body's end: only the length
    // the answer announced tells a cut number, URL or archive from a whole one.
    DWORD announced = 0, announcedSize = sizeof announced;
    if (HttpQueryInfoA(request.get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &announced, &announcedSize,
                       nullptr) &&
        body.size() != announced)
        return {};
    if (status) {
        DWORD code = 0, size = sizeof code;
        if (HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &size, nullptr))
            *status = (int)code;
    }
    return body;
}
