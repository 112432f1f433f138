// Where the community service lives. The host names are set when the
// launcher is built (CMake cache variables QM_SERVICE_SCHEME, QM_API_HOST,
// QM_CONTENT_HOST, QM_STATIC_HOST); a development build talks to the
// project's local service on 127.0.0.1.
#pragma once

#include <string>

// "http" or "https".
const char* ServiceScheme();
// Host names, each with a ":port" when not the scheme's own.
const char* ApiHost();
const char* ContentHost();
const char* StaticFileHost();

// scheme://host + path; path begins with "/".
std::string ApiUrl(const std::string& path);
std::string ContentUrl(const std::string& path);
std::string StaticFileUrl(const std::string& path);
