// Helpers of the web view tests: the stand-in engine's control channel, a
// form window to place units on, message pumping, and a small HTTP server
// on 127.0.0.1.
#pragma once

#include "support/test_http_server.h"
#include "webview/unit_events.h"
#include "webview/webview_unit.h"

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace webviewtest {

// Processes window messages for about ms milliseconds.
void PumpMessages(int ms);
// Processes window messages until done() or the timeout; answers done().
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 10000);

// The stand-in engine's control channel. The first call picks a free port
// and puts it into the environment, so it must come before the first view.
class EngineChannel {
public:
    static EngineChannel& Get();
    // Sends one command and answers the reply's lines (the first is "OK ..."
    // or "ERR ..."); window messages are processed meanwhile, since the
    // engine runs the command on this thread.
    std::vector<std::string> Send(const std::string& line);
    std::string SendFirstLine(const std::string& line) {
        auto lines = Send(line);
        return lines.empty() ? std::string() : lines[0];
    }
    // For commands the engine answers without its UI thread (log, clearlog,
    // failcreate, jsrule): queued page loads then stay queued.
    std::vector<std::string> SendWithoutPumping(const std::string& line);
    std::vector<std::string> Log() {
        auto lines = SendWithoutPumping("log");
        if (!lines.empty()) lines.erase(lines.begin());
        return lines;
    }
    // Log lines that start with prefix.
    std::vector<std::string> LogLinesStarting(const std::string& prefix);
    void ClearLog() { SendWithoutPumping("clearlog"); }
    // The scripts run in views (wkeRunJSW), in order, as UTF-8.
    std::vector<std::string> Scripts();

private:
    EngineChannel();
    int port_ = 0;
};

// A visible window to place units on (a child of one shared top-level window).
class TestForm {
public:
    TestForm(int width = 640, int height = 480);
    ~TestForm();
    TestForm(const TestForm&) = delete;
    TestForm& operator=(const TestForm&) = delete;
    HWND window() const { return window_; }

private:
    HWND window_ = nullptr;
};

// Creates a unit on the form outside the designer.
HWND CreateUnit(HWND form, uint32_t formId, uint32_t unitId, const std::string& saved = std::string(), int width = 400,
                int height = 300);

// Records every raised event of a unit and answers from a table.
class EventRecorder {
public:
    EventRecorder(uint32_t formId, uint32_t unitId);
    ~EventRecorder();
    // Binds a handler for the event number that records the event's texts
    // and integers and returns answer.
    void Answer(int number, std::optional<int> answer);
    void Handle(int number, UnitEventHandler handler);
    struct Seen {
        int number;
        std::vector<std::string> texts;
        std::vector<int64_t> ints;
    };
    std::vector<Seen> seen;
    std::vector<Seen> Of(int number) const;

private:
    uint32_t formId_, unitId_;
};

// A tiny HTTP/1.0 server on 127.0.0.1 for the engine's page loads.
class LocalHttpServer {
public:
    struct Page {
        std::string body;
        std::vector<std::pair<std::string, std::string>> headers;
    };
    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;
    void Serve(const std::string& path, Page page);
    std::string Url(const std::string& path) const;
    int RequestCount(const std::string& path);

private:
    std::unique_ptr<FakeHttpServer> server_;
    int port_ = 0;
    std::mutex mutex_;
    std::map<std::string, Page> pages_;
};

// The GBK bytes of UTF-8 source text, for tests that state expectations in
// Chinese.
std::string Gbk(const std::string& utf8);

// A number as the engine's call log writes it.
inline std::string Num(long long value) { return std::to_string(value); }

}  // namespace webviewtest
