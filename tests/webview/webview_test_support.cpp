#include "webview_test_support.h"

#include "support/line_channel.h"
#include "utilities/busy_delay.h"
#include "utilities/text_codepage.h"

#include <winsock2.h>

#include <atomic>
#include <chrono>
#include <sstream>

namespace webviewtest {

void PumpMessages(int ms) { BusyDelay(ms); }

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done()) return true;
        if ((int)(GetTickCount() - start) >= timeoutMs) return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

namespace {

void EnsureWinsock() {
    static bool started = false;
    if (!started) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        started = true;
    }
}

SOCKET ListenOnLoopback(int& port) {
    EnsureWinsock();
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener, 8);
    int size = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    port = ntohs(address.sin_port);
    return listener;
}

}  // namespace

EngineChannel& EngineChannel::Get() {
    static EngineChannel channel;
    return channel;
}

EngineChannel::EngineChannel() {
    SOCKET probe = ListenOnLoopback(port_);
    closesocket(probe);
    SetEnvironmentVariableA("QM_NODE_CONTROL_PORT", std::to_string(port_).c_str());
}

std::vector<std::string> EngineChannel::SendWithoutPumping(const std::string& line) {
    return testsupport::ExchangeLine(port_, line);
}

std::vector<std::string> EngineChannel::Send(const std::string& line) {
    std::atomic<bool> done(false);
    std::vector<std::string> lines;
    int port = port_;
    std::thread worker([&]() {
        lines = testsupport::ExchangeLine(port, line);
        done = true;
    });
    PumpUntil([&]() { return done.load(); }, 30000);
    worker.join();
    return lines;
}

std::vector<std::string> EngineChannel::LogLinesStarting(const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : Log())
        if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
    return found;
}

std::vector<std::string> EngineChannel::Scripts() {
    static const std::string kRun = "wkeRunJSW ";
    std::vector<std::string> scripts;
    // "wkeRunJSW VIEW SCRIPT"
    for (const std::string& line : LogLinesStarting(kRun))
        scripts.push_back(line.substr(line.find(' ', kRun.size()) + 1));
    return scripts;
}

namespace {
LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}
}  // namespace

namespace {
// One visible top-level window for the whole test program: under Wine
// without a window manager, hiding or destroying a top-level window waits
// about two seconds, while child windows come and go at once.
HWND SharedTopLevel() {
    static HWND window = nullptr;
    if (window) return window;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = FormProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"WebViewTestForm";
    RegisterClassW(&windowClass);
    window = CreateWindowExW(WS_EX_TOPMOST, L"WebViewTestForm", L"web view test form", WS_POPUP | WS_CLIPCHILDREN, 20,
                             20, 800, 600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetForegroundWindow(window);
    return window;
}
}  // namespace

TestForm::TestForm(int width, int height) {
    window_ = CreateWindowExW(0, L"WebViewTestForm", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height,
                              SharedTopLevel(), nullptr, GetModuleHandleW(nullptr), nullptr);
}

TestForm::~TestForm() {
    if (IsWindow(window_)) DestroyWindow(window_);
}

HWND CreateUnit(HWND form, uint32_t formId, uint32_t unitId, const std::string& saved, int width, int height) {
    EngineChannel::Get();
    UnitCreation creation;
    creation.savedData = saved.empty() ? nullptr : saved.data();
    creation.savedLength = saved.size();
    creation.parent = form;
    creation.controlId = 1000 + unitId;
    creation.x = 10;
    creation.y = 10;
    creation.width = width;
    creation.height = height;
    creation.formId = formId;
    creation.unitId = unitId;
    return CreateWebViewUnit(creation);
}

EventRecorder::EventRecorder(uint32_t formId, uint32_t unitId) : formId_(formId), unitId_(unitId) {}

EventRecorder::~EventRecorder() { UnbindUnitEvents(formId_, unitId_); }

void EventRecorder::Handle(int number, UnitEventHandler handler) {
    BindUnitEvent(formId_, unitId_, number, std::move(handler));
}

void EventRecorder::Answer(int number, std::optional<int> answer) {
    Handle(number, [this, answer](UnitEvent& event) -> std::optional<int> {
        Seen entry{event.number, {}, {}};
        for (int i = 0; i < event.argumentCount; ++i) {
            if (event.arguments[i].type == EventArgumentType::Text)
                entry.texts.push_back(event.Text(i));
            else
                entry.ints.push_back(event.Int(i));
        }
        seen.push_back(entry);
        return answer;
    });
}

std::vector<EventRecorder::Seen> EventRecorder::Of(int number) const {
    std::vector<Seen> found;
    for (const Seen& entry : seen)
        if (entry.number == number) found.push_back(entry);
    return found;
}

namespace {
std::string PathOf(const ReceivedRequest& request) {
    std::string method, path;
    std::istringstream(request.requestLine) >> method >> path;
    return path;
}
}  // namespace

LocalHttpServer::LocalHttpServer() : server_(std::make_unique<FakeHttpServer>(0, nullptr)) {
    port_ = server_->port();
    server_->SetRawReply([this](const ReceivedRequest& request) {
        std::string path = PathOf(request);
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = pages_.find(path);
        if (it == pages_.end()) return std::string("HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n");
        std::string response = "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(it->second.body.size()) + "\r\n";
        for (auto& header : it->second.headers) response += header.first + ": " + header.second + "\r\n";
        return response + "\r\n" + it->second.body;
    });
}

LocalHttpServer::~LocalHttpServer() = default;

void LocalHttpServer::Serve(const std::string& path, Page page) {
    std::lock_guard<std::mutex> lock(mutex_);
    pages_[path] = std::move(page);
}

std::string LocalHttpServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

int LocalHttpServer::RequestCount(const std::string& path) {
    int count = 0;
    for (const ReceivedRequest& request : server_->requests())
        if (PathOf(request) == path) ++count;
    return count;
}

std::string Gbk(const std::string& utf8) { return Utf8ToAnsi(utf8); }

}  // namespace webviewtest
