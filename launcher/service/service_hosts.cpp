#include "launcher/service/service_hosts.h"

#ifndef QM_SERVICE_SCHEME
#error "QM_SERVICE_SCHEME, QM_API_HOST, QM_CONTENT_HOST and QM_STATIC_HOST come from launcher/CMakeLists.txt"
#endif

const char* ServiceScheme() { return QM_SERVICE_SCHEME; }
const char* ApiHost() { return QM_API_HOST; }
const char* ContentHost() { return QM_CONTENT_HOST; }
const char* StaticFileHost() { return QM_STATIC_HOST; }

static std::string HostUrl(const char* host, const std::string& path) {
    return std::string(ServiceScheme()) + "://" + host + path;
}

std::string ApiUrl(const std::string& path) { return HostUrl(ApiHost(), path); }
std::string ContentUrl(const std::string& path) { return HostUrl(ContentHost(), path); }
std::string StaticFileUrl(const std::string& path) { return HostUrl(StaticFileHost(), path); }
