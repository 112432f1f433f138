// The connection to the page host (stand-ins/pagehost), used when
// QM_PAGE_HOST_PORT is set: views then show real pages of a headless
// Chromium. The host hands every request of a page back here, where it takes
// the engine's own request path (load-URL-begin, the hook, set-data, cancel,
// the network, load-URL-end), and the answer is what the page gets. What the
// host reports arrives on a reader thread and is handed to the thread that
// made the view, where the callbacks run.
#include <winsock2.h>

#include "standin.h"

#include "json/base64.h"
#include "stand-ins/pagehost/line_fields.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace standin {

namespace {

std::mutex sendMutex;
SOCKET hostSocket = INVALID_SOCKET;

std::mutex resultsMutex;
std::condition_variable resultsChanged;
std::map<unsigned, std::string> results;
unsigned nextEvaluation = 0;
bool hostGone = false;

// A script that never answers (the host or its browser stuck) must not hold the UI thread for good.
const auto kEvaluationLimit = std::chrono::seconds(20);

// The engine's answer to one request of a page, on the view's thread.
void AnswerRequest(View& view, const std::string& request, const std::string& url) {
    Response response = RunJob(view, url);
    if (response.status == 0) {
        PageHostSend({"fail", request, response.failure == "cancelled" ? "Aborted" : "Failed"});
        return;
    }
    if (response.ok && IsIconUrl(url)) view.favicon = response.body;
    std::string headers;
    for (auto& header : response.headers) headers += header.first + ": " + header.second + "\n";
    PageHostSend({"fulfill", request, std::to_string(response.status), headers, Base64Encode(response.body)});
}

void OnHostMessage(const std::vector<std::string>& f) {
    const std::string& kind = f[0];
    if (kind == "result" && f.size() >= 3) {
        std::lock_guard<std::mutex> lock(resultsMutex);
        results[(unsigned)std::stoul(f[1])] = f[2];
        resultsChanged.notify_all();
        return;
    }
    size_t viewField = kind == "request" ? 2 : 1;
    if (f.size() <= viewField) return;
    std::shared_ptr<View> view = FindView((wkeWebView)strtoul(f[viewField].c_str(), nullptr, 10));
    if (!view) {
        if (kind == "request") PageHostSend({"fail", f[1], "Aborted"});
        return;
    }
    if (kind == "request" && f.size() >= 4) {
        std::string request = f[1], url = f[3];
        PostToViewThread(view, [view, request, url]() { AnswerRequest(*view, request, url); });
    } else if (kind == "console" && f.size() >= 6) {
        int level = atoi(f[2].c_str()), line = atoi(f[5].c_str());
        std::string text = f[3], source = f[4];
        PostToViewThread(view,
                         [view, level, text, source, line]() { DeliverConsole(*view, level, text, source, line); });
    } else if (kind == "title" && f.size() >= 3) {
        std::string title = f[2];
        PostToViewThread(view, [view, title]() { ReportHostedTitle(*view, title); });
    } else if (kind == "domready") {
        PostToViewThread(view, [view]() { ReportHostedDocumentReady(*view); });
    } else if (kind == "loaded" && f.size() >= 4) {
        bool ok = f[2] == "ok";
        std::string detail = f[3];
        PostToViewThread(view, [view, ok, detail]() { FinishHostedLoad(*view, ok, detail); });
    } else if (kind == "frame" && f.size() >= 3) {
        std::string jpeg;
        if (Base64Decode(f[2], &jpeg)) ShowFrame(view, jpeg);
    }
}

void ReadHost(SOCKET socket) {
    ReadLines(socket, [](const std::string& line) {
        try {
            OnHostMessage(pagehost::SplitFields(line));
        } catch (...) {
            Log("page host: a message could not be handled");
        }
        return true;
    });
    Log("page host: connection ended");
    std::lock_guard<std::mutex> lock(resultsMutex);
    hostGone = true;
    resultsChanged.notify_all();
}

SOCKET ConnectToHost() {
    int port = PortFromEnvironment(PAGE_HOST_PORT_VARIABLE);
    if (!port) return INVALID_SOCKET;
    SOCKET connection = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = LoopbackAddress(port);
    if (connection == INVALID_SOCKET ||
        connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        Log("page host: nothing listens on port " + std::to_string(port) + "; pages are not shown");
        if (connection != INVALID_SOCKET) closesocket(connection);
        return INVALID_SOCKET;
    }
    Log("page host: connected on port " + std::to_string(port));
    return connection;
}

}  // namespace

bool PageHostConnected() {
    static std::once_flag once;
    std::call_once(once, []() {
        SOCKET connection = ConnectToHost();
        if (connection == INVALID_SOCKET) return;
        hostSocket = connection;
        PageHostSend({"engine"});
        std::thread([connection]() { ReadHost(connection); }).detach();
    });
    std::lock_guard<std::mutex> lock(resultsMutex);
    return hostSocket != INVALID_SOCKET && !hostGone;
}

void PageHostSend(const std::vector<std::string>& fields) {
    std::string line = pagehost::JoinFields(fields) + "\n";
    std::lock_guard<std::mutex> lock(sendMutex);
    if (hostSocket != INVALID_SOCKET) SendAll(hostSocket, line);
}

std::string PageHostEvaluate(wkeWebView view, const std::string& script) {
    unsigned id;
    {
        std::lock_guard<std::mutex> lock(resultsMutex);
        id = ++nextEvaluation;
    }
    PageHostSend({"eval", std::to_string(id), std::to_string(view), script});
    std::unique_lock<std::mutex> lock(resultsMutex);
    bool answered = resultsChanged.wait_for(lock, kEvaluationLimit, [&]() { return results.count(id) || hostGone; });
    if (!answered || !results.count(id)) {
        Log("page host: no answer to script " + std::to_string(id));
        return "undefined";
    }
    std::string text = results[id];
    results.erase(id);
    return text;
}

}  // namespace standin
