#include "launcher/main_window/page_resource_cache.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>

#include "json/base64.h"
#include "launcher/main_window/main_window.h"
#include "utilities/text_codepage.h"
#include "utilities/text_search.h"
#include "utilities/whole_file.h"
#include "webview/commands.h"
#include "webview/unit_properties.h"
#include "webview/webview_unit.h"

namespace {

// The web view's cache folder as it is now: the same folder holds the
// engine's cookies and storage, and the page may be loaded before or after
// it was set.
std::string CurrentCacheFolder() {
    if (!MainWindow.webview) return {};
    PropertyValue folder;
    if (!ReadWebViewProperty(MainWindow.webview->Handle(), kPropertyCacheFolder, folder)) return {};
    return folder.text;
}

bool IsAsciiDigits(const std::string& text) {
    if (text.empty() || text.size() > 18) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// Asked of the file system itself, as the reads and writes here do: the
// shell's existence test gives up on paths longer than MAX_PATH even where
// the file functions reach them, and a file stored but never found again
// would never be served.
bool EntryExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Keys are made of "%" and hexadecimal digits only, so no temporary name can
// ever be taken for a cached resource.
std::string TemporaryNameBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const size_t slash = FindLastChar(path, '\\');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    return folder + "storing-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) + ".part";
}

}  // namespace

std::string PercentEncode(const std::string& text, bool keepSafe, bool toUtf8) {
    static const char kHex[] = "0123456789ABCDEF";
    const std::string bytes = toUtf8 ? AnsiToUtf8(text) : text;
    std::string encoded;
    encoded.reserve(bytes.size() * 3);
    for (unsigned char c : bytes) {
        if (keepSafe && (IsAsciiLetterOrDigit(c) || c == '-' || c == '.')) {
            encoded += (char)c;
            continue;
        }
        encoded += '%';
        encoded += kHex[c >> 4];
        encoded += kHex[c & 15];
    }
    return encoded;
}

std::string FindHeaderValue(const std::vector<std::string>& head, const std::string& name) {
    for (size_t i = 0; i + 1 < head.size(); i += 2)
        if (EqualsIgnoringAsciiCase(head[i], name)) return head[i + 1];
    return {};
}

int ResponseStatusOfHead(const std::vector<std::string>& head) {
    for (const std::string& text : head) {
        if (text.rfind("HTTP/", 0) != 0) continue;
        const size_t blank = text.find(' ');
        if (blank == std::string::npos || text.size() < blank + 4) continue;
        const std::string code = text.substr(blank + 1, 3);
        if (IsAsciiDigits(code)) return atoi(code.c_str());
    }
    return 0;
}

bool IsStorableResponse(const std::vector<std::string>& head, size_t bodyLength) {
    if (bodyLength == 0) return false;
    const std::string type = FindHeaderValue(head, "Content-Type");
    if (type.empty() || FindText(type, "text/html", 1, true) > 0) return false;
    if (ResponseStatusOfHead(head) >= 400) return false;
    const std::string announced = FindHeaderValue(head, "Content-Length");
    // A connection that broke off delivers what came so far.
    if (IsAsciiDigits(announced) && bodyLength < (size_t)_atoi64(announced.c_str())) return false;
    return true;
}

std::string CacheFilePath(const std::string& cacheFolder, const std::string& url) {
    if (cacheFolder.empty()) return {};
    return cacheFolder + "\\" + PercentEncode(Base64Encode(url));
}

bool WriteCacheFile(const std::string& path, const char* bytes, size_t length) {
    if (path.empty() || EntryExists(path)) return false;
    // Not replacing: a file stored meanwhile stays.
    return WriteWholeFileThrough(TemporaryNameBeside(path), path, bytes, length, false);
}

void ServeCachedResource(const std::string& url, int job) {
    NetHookRequest((wkeNetJob)job);
    const std::string path = CacheFilePath(CurrentCacheFolder(), url);
    if (path.empty() || !EntryExists(path)) return;
    const std::string bytes = ReadWholeFile(path);
    if (bytes.empty()) return;
    NetSetData((wkeNetJob)job, bytes);
    NetCancelRequest((wkeNetJob)job);
}

void StoreCachedResource(const std::string& url, int job, int dataAddress, int dataLength) {
    if (dataAddress == 0 || dataLength <= 0) return;
    if (!IsStorableResponse(NetGetRawResponseHead((wkeNetJob)job), (size_t)dataLength)) return;
    WriteCacheFile(CacheFilePath(CurrentCacheFolder(), url), reinterpret_cast<const char*>((intptr_t)dataAddress),
                   (size_t)dataLength);
}
