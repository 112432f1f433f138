// Network jobs: one per request the engine makes. The library may hook a job
// (its response is then reported at load-URL-end), answer it with data of its
// own and cancel it; data plus cancel means the network is never asked.
#include "standin.h"

#include "utilities/internet_handle.h"

#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

namespace standin {

namespace {

struct Job {
    std::string url;
    bool hooked = false;
    bool cancelled = false;
    bool dataSet = false;
    std::string data;
    bool responded = false;
    int status = 0;
    std::vector<std::pair<std::string, std::string>> headers;
    // The list wkeNetGetRawResponseHead hands out, kept as long as the job.
    std::vector<std::string> headTexts;
    std::vector<wkeSlist> headNodes;
};

std::mutex jobsMutex;
std::map<wkeNetJob, Job>& Jobs() {
    static std::map<wkeNetJob, Job> jobs;
    return jobs;
}
wkeNetJob nextJob = 0x20000;

std::vector<std::pair<std::string, std::string>> ParseRawHeaders(const std::string& raw) {
    std::vector<std::pair<std::string, std::string>> headers;
    std::istringstream lines(raw);
    std::string line;
    bool statusLine = true;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (statusLine) {
            statusLine = false;
            continue;
        }
        size_t colon = line.find(':');
        if (line.empty() || colon == std::string::npos) continue;
        size_t valueStart = line.find_first_not_of(' ', colon + 1);
        headers.emplace_back(line.substr(0, colon), valueStart == std::string::npos ? "" : line.substr(valueStart));
    }
    return headers;
}

Response FetchHttp(const std::string& url, const std::string& userAgent) {
    Response response;
    InternetHandle session(InternetOpenA(userAgent.empty() ? "NodeStandIn/1.0" : userAgent.c_str(),
                                         INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!session.get()) {
        response.failure = "no internet session";
        return response;
    }
    DWORD timeout = 5000;
    InternetSetOptionA(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);
    InternetSetOptionA(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    InternetHandle request(InternetOpenUrlA(session.get(), url.c_str(), nullptr, 0,
                                            INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                                INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI |
                                                INTERNET_FLAG_PRAGMA_NOCACHE,
                                            0));
    if (!request.get()) {
        response.failure = "connection failed (" + std::to_string(GetLastError()) + ")";
        return response;
    }
    char buffer[8192];
    DWORD read = 0;
    while (InternetReadFile(request.get(), buffer, sizeof buffer, &read) && read > 0) {
        response.body.append(buffer, read);
        if (response.body.size() > (64u << 20)) break;
    }
    DWORD size = 0;
    HttpQueryInfoA(request.get(), HTTP_QUERY_RAW_HEADERS_CRLF, nullptr, &size, nullptr);
    if (size > 0) {
        std::string raw(size, '\0');
        if (HttpQueryInfoA(request.get(), HTTP_QUERY_RAW_HEADERS_CRLF, raw.data(), &size, nullptr)) {
            raw.resize(size);
            response.headers = ParseRawHeaders(raw);
        }
    }
    DWORD status = 0, statusSize = sizeof status;
    HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &statusSize, nullptr);
    response.status = (int)status;
    response.ok = status > 0 && status < 400;
    if (!response.ok) response.failure = "HTTP " + std::to_string(status);
    return response;
}

Response FetchFile(const std::string& path) {
    Response response;
    std::ifstream file(Utf8ToWide(path).c_str(), std::ios::binary);
    if (!file) {
        response.failure = "file not found";
        return response;
    }
    std::ostringstream content;
    content << file.rdbuf();
    response.body = content.str();
    response.ok = true;
    response.status = 200;
    return response;
}

std::string FilePathOfUrl(const std::string& url) {
    std::string path = url.substr(url.rfind("file:///", 0) == 0 ? 8 : 7);
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

}  // namespace

Response Fetch(const std::string& url, const std::string& userAgent) {
    if (url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0) return FetchHttp(url, userAgent);
    if (url.rfind("file://", 0) == 0) return FetchFile(FilePathOfUrl(url));
    if (url.size() > 2 && url[1] == ':' && (url[2] == '\\' || url[2] == '/')) return FetchFile(url);
    Response response;
    if (url == "about:blank") {
        response.ok = true;
        response.status = 200;
    } else
        response.failure = "unsupported URL";
    return response;
}

Response RunJob(View& view, const std::string& url) {
    wkeNetJob id;
    {
        std::lock_guard<std::mutex> lock(jobsMutex);
        id = ++nextJob;
        Jobs()[id].url = url;
    }
    Log("job " + std::to_string(id) + " " + LogText(url));
    if (view.callbacks.loadUrlBegin) {
        bool answer = view.callbacks.loadUrlBegin(view.handle, view.callbacks.loadUrlBeginParam, url.c_str(), id);
        Log("LoadUrlBegin " + std::to_string(id) + " answer=" + (answer ? "1" : "0"));
    }
    Job job;
    {
        std::lock_guard<std::mutex> lock(jobsMutex);
        job = Jobs()[id];
    }
    Response response;
    if (job.cancelled) {
        if (job.dataSet) {
            Log("served " + std::to_string(id) + " from data, " + std::to_string(job.data.size()) + " bytes");
            response.ok = true;
            response.status = 200;
            response.body = job.data;
        } else {
            Log("cancelled " + std::to_string(id));
            response.failure = "cancelled";
        }
    } else {
        response = Fetch(url, view.userAgent);
        Log("fetched " + std::to_string(id) + (response.ok ? " ok " : " failed ") +
            std::to_string(response.body.size()) + " bytes");
        if (job.dataSet) response.body = job.data;
        std::lock_guard<std::mutex> lock(jobsMutex);
        Job& stored = Jobs()[id];
        stored.responded = true;
        stored.status = response.status;
        stored.headers = response.headers;
    }
    if (job.hooked && view.callbacks.loadUrlEnd) {
        std::string body = response.body;
        view.callbacks.loadUrlEnd(view.handle, view.callbacks.loadUrlEndParam, url.c_str(), id,
                                  body.empty() ? nullptr : &body[0], (int)body.size());
        Log("LoadUrlEnd " + std::to_string(id) + " " + std::to_string(body.size()) + " bytes");
        std::lock_guard<std::mutex> lock(jobsMutex);
        const Job& after = Jobs()[id];
        // Data set while the response is reported replaces what the page gets.
        if (after.dataSet && after.data != job.data) response.body = after.data;
    }
    std::lock_guard<std::mutex> lock(jobsMutex);
    Jobs().erase(id);
    return response;
}

}  // namespace standin

using namespace standin;

namespace {
// Runs change on the job when it is still being handled; false for a stale or unknown job.
template <typename Change>
bool ChangeJob(wkeNetJob id, Change change) {
    std::lock_guard<std::mutex> lock(jobsMutex);
    auto it = Jobs().find(id);
    if (it == Jobs().end()) return false;
    change(it->second);
    return true;
}
}  // namespace

extern "C" void WKE_CALL wkeNetHookRequest(wkeNetJob id) {
    bool known = ChangeJob(id, [](Job& job) { job.hooked = true; });
    Log("wkeNetHookRequest " + std::to_string(id) + (known ? "" : " unknown-job"));
}

extern "C" void WKE_CALL wkeNetSetData(wkeNetJob id, void* buf, int len) {
    std::string data;
    if (buf && len > 0) data.assign(static_cast<const char*>(buf), len);
    bool known = ChangeJob(id, [&](Job& job) {
        job.dataSet = true;
        job.data = data;
    });
    Log("wkeNetSetData " + std::to_string(id) + " " + std::to_string(len) + " " + LogText(data) +
        (known ? "" : " unknown-job"));
}

extern "C" void WKE_CALL wkeNetCancelRequest(wkeNetJob id) {
    bool known = ChangeJob(id, [](Job& job) { job.cancelled = true; });
    Log("wkeNetCancelRequest " + std::to_string(id) + (known ? "" : " unknown-job"));
}

extern "C" const wkeSlist* WKE_CALL wkeNetGetRawResponseHead(wkeNetJob id) {
    const wkeSlist* head = nullptr;
    bool known = ChangeJob(id, [&](Job& job) {
        if (!job.responded || job.headers.empty()) return;
        job.headTexts.clear();
        // The status line first, as a name without a value, so that names
        // and values still alternate and the status can be read.
        if (job.status > 0) {
            job.headTexts.push_back("HTTP/1.1 " + std::to_string(job.status));
            job.headTexts.push_back("");
        }
        for (auto& header : job.headers) {
            job.headTexts.push_back(header.first);
            job.headTexts.push_back(header.second);
        }
        job.headNodes.assign(job.headTexts.size(), wkeSlist{});
        for (size_t i = 0; i < job.headTexts.size(); ++i) {
            job.headNodes[i].str = &job.headTexts[i][0];
            job.headNodes[i].next = i + 1 < job.headNodes.size() ? &job.headNodes[i + 1] : nullptr;
        }
        head = &job.headNodes[0];
    });
    Log("wkeNetGetRawResponseHead " + std::to_string(id) + (known ? "" : " unknown-job") + (head ? "" : " none"));
    return head;
}
