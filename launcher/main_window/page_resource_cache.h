// The launcher page's resources (scripts, style sheets, images, fonts) are
// kept in files of the web view's cache folder and served from there on every
// later load, so the page opens without asking the content host for them.
// There is no expiry: a stored file is served until someone deletes it.
// HTML documents, failed answers and incomplete bodies are never stored.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// LoadUrlBegin handler of MainWindow's web view (UI thread, inside the
// engine's request callback): hooks job so that its response comes back to
// StoreCachedResource, and answers it from url's cache file when that holds
// bytes, so that the network is not asked.
void ServeCachedResource(const std::string& url, int job);

// LoadUrlEnd handler (UI thread): stores the response body of url (the
// engine's bytes at dataAddress) when IsStorableResponse allows it and no
// file of url exists yet.
void StoreCachedResource(const std::string& url, int job, int dataAddress, int dataLength);

// The cache file of url (GBK): cacheFolder (which ends in "\"), "\" and the
// key, PercentEncode(Base64Encode(url)). Empty when cacheFolder is empty, so
// that nothing is ever written to the root of a drive.
std::string CacheFilePath(const std::string& cacheFolder, const std::string& url);

// Every byte of text as "%" and two upper-case hexadecimal digits; with
// keepSafe, "-", ".", digits and ASCII letters stay as they are. With toUtf8
// the GBK text is converted to UTF-8 first.
std::string PercentEncode(const std::string& text, bool keepSafe = false, bool toUtf8 = false);

// The value that follows the first header name (head alternates names and
// values) equal to name without regard to ASCII case; empty when none.
std::string FindHeaderValue(const std::vector<std::string>& head, const std::string& name);

// The status code of the head's status line ("HTTP/1.1 404 Not Found", as
// the engine may list it among the names); 0 when the head holds none.
int ResponseStatusOfHead(const std::vector<std::string>& head);

// True when a response may be stored: a non-empty body of a Content-Type
// that is not "text/html", no error status (400 and above), and no fewer
// bytes than its Content-Length announced.
bool IsStorableResponse(const std::vector<std::string>& head, size_t bodyLength);

// Puts bytes into a new file at path: written under a temporary name in the
// same folder and then renamed, so a half-written file is never served. An
// existing file is left as it is. True when this call created the file.
bool WriteCacheFile(const std::string& path, const char* bytes, size_t length);
