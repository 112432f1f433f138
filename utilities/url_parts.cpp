#include "utilities/url_parts.h"

#include <cctype>

#include "utilities/text_number.h"
#include "utilities/text_search.h"

namespace {

std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    return text;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// Host with its port, taken from the lower-cased URL.
std::string HostWithPort(const std::string& url) {
    std::string text = LowerAscii(url);
    if (text.empty() || text.back() != '/') text += '/';
    size_t begin;
    if (StartsWith(text, "https://")) {
        begin = 8;
    } else {
        size_t scheme = text.find("http://");
        if (scheme == std::string::npos) {
            text = "http://" + text;
            scheme = 0;
        }
        begin = scheme + 7;
    }
    size_t end = text.find('/', begin);
    return text.substr(begin, end - begin);
}

}  // namespace

std::string UrlGetHost(const std::string& url) {
    std::string host = HostWithPort(url);
    return host.substr(0, host.find(':'));
}

int UrlGetPort(const std::string& url) {
    std::string host = HostWithPort(url);
    size_t colon = host.rfind(':');
    if (colon != std::string::npos) return (int)TextToInteger(host.substr(colon + 1));
    return StartsWith(LowerAscii(url.substr(0, 5)), "https") ? 443 : 80;
}

bool UrlIsSecure(const std::string& url) { return StartsWith(LowerAscii(url.substr(0, 8)), "https://"); }

std::string UrlGetPath(const std::string& url) {
    // The host is looked for after the scheme, so that a host such as "h" or
    // "ps" is not found inside "https://".
    int from = 1;
    size_t scheme = url.find("://");
    if (scheme != std::string::npos) from = (int)scheme + 4;
    int host = FindText(url, UrlGetHost(url), from, true);
    if (host < 1) host = from;
    size_t slash = url.find('/', (size_t)host - 1);
    if (slash == std::string::npos) return "/";
    return url.substr(slash);
}

bool UrlIsLoopback(const std::string& url) {
    const std::string host = UrlGetHost(url);
    return host == "localhost" || host.compare(0, 4, "127.") == 0;
}
