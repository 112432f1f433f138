// Internals of the stand-in browser engine: a small "node.dll" of our own
// that behaves, at its exported boundary, like the engine the web view
// library expects. Pages are fetched for real (WinInet or files) but never
// rendered; the view window shows the URL, the title and the last console
// line. Everything the library calls is written to a call log that tests read
// over the control channel.
#pragma once

#include "webview/engine_boundary.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace standin {

// --- call log (call_log.cpp) ---
void Log(const std::string& line);
std::vector<std::string> LogLines();
void ClearLog();
// One-line form of a text for the log: line breaks and tabs escaped.
std::string LogText(const std::string& utf8);

// --- text helpers (engine_strings.cpp) ---
std::string WideToUtf8(const wchar_t* text);
std::wstring Utf8ToWide(const std::string& text);
// An engine string that lives until the scope ends; its handle is passed to callbacks.
class ScopedEngineString {
public:
    explicit ScopedEngineString(const std::string& utf8);
    ~ScopedEngineString();
    ScopedEngineString(const ScopedEngineString&) = delete;
    ScopedEngineString& operator=(const ScopedEngineString&) = delete;
    wkeString handle() const { return handle_; }

private:
    wkeString handle_;
};
const wchar_t* EngineStringText(wkeString handle);

// --- views (views.cpp) ---
struct Callbacks {
    wkePaintUpdatedCallback paint = nullptr;
    void* paintParam = nullptr;
    wkeTitleChangedCallback title = nullptr;
    void* titleParam = nullptr;
    wkeMouseOverUrlChangedCallback mouseOver = nullptr;
    void* mouseOverParam = nullptr;
    wkeURLChangedCallback2 urlChanged = nullptr;
    void* urlChangedParam = nullptr;
    wkeAlertBoxCallback alert = nullptr;
    void* alertParam = nullptr;
    wkeConfirmBoxCallback confirm = nullptr;
    void* confirmParam = nullptr;
    wkePromptBoxCallback prompt = nullptr;
    void* promptParam = nullptr;
    wkeNavigationCallback navigation = nullptr;
    void* navigationParam = nullptr;
    wkeCreateViewCallback createView = nullptr;
    void* createViewParam = nullptr;
    wkeDocumentReady2Callback documentReady = nullptr;
    void* documentReadyParam = nullptr;
    wkeLoadingFinishCallback loadingFinish = nullptr;
    void* loadingFinishParam = nullptr;
    wkeDownloadCallback download = nullptr;
    void* downloadParam = nullptr;
    wkeConsoleCallback console = nullptr;
    void* consoleParam = nullptr;
    wkeLoadUrlBeginCallback loadUrlBegin = nullptr;
    void* loadUrlBeginParam = nullptr;
    wkeLoadUrlEndCallback loadUrlEnd = nullptr;
    void* loadUrlEndParam = nullptr;
    wkeWindowClosingCallback closing = nullptr;
    void* closingParam = nullptr;
    wkeWindowDestroyCallback destroy = nullptr;
    void* destroyParam = nullptr;
};

struct View {
    wkeWebView handle = 0;
    int type = 0;
    HWND window = nullptr;      // null once the window is gone
    HWND dispatcher = nullptr;  // message-only window of the creating thread
    DWORD thread = 0;
    Callbacks callbacks;
    std::string userAgent;
    std::string url;                                        // UTF-8 (or whatever bytes the library gave)
    std::string title;                                      // UTF-8
    std::string lastConsole;                                // UTF-8
    std::string favicon;                                    // body of the page's ".ico" resource, if any
    std::vector<std::pair<std::string, int>> pendingLoads;  // URL, navigation type; "\x01" + HTML for HTML
    // With a page host: the page lives in the host's browser, and the view
    // shows the browser's last frame (written by the host's reader thread).
    bool hosted = false;
    std::string hostedLoadUrl;
    std::mutex frameMutex;
    int frameWidth = 0, frameHeight = 0;
    std::vector<uint32_t> framePixels;  // top-down, 0xXXRRGGBB
    std::atomic<bool> repaintQueued{false};
};

// The view of a handle, or null when there is none (never for handle 0).
std::shared_ptr<View> FindView(wkeWebView handle);
// All live views, oldest first.
std::vector<std::shared_ptr<View>> AllViews();
// Runs work on the thread that created the view and waits for it.
bool RunOnViewThread(const std::shared_ptr<View>& view, const std::function<void()>& work);
// Queues work for the view's thread; it runs from that thread's message loop.
void PostToViewThread(const std::shared_ptr<View>& view, std::function<void()> work);
// Makes the next wkeCreateWebWindow fail, as an engine short of resources would.
void FailNextViewCreation();
// From now on the engine reports itself not initialised, as a fresh process
// would, until the next wkeInitializeEx.
void ForgetInitialisation();
// Draws the view's text into its window and reports the change to the paint callback.
void RepaintView(View& view);

// --- loading (page_loader.cpp) ---
// Queues a load; it runs from the message loop of the view's thread.
void QueueLoad(wkeWebView handle, const std::string& url, int navigationType);
void QueueHtml(wkeWebView handle, const std::string& html);
// Runs a load at once (on the view's thread).
void RunLoad(View& view, const std::string& url, int navigationType);
void RunHtml(View& view, const std::string& html);
// Message the dispatcher window handles for queued loads.
constexpr UINT kRunQueuedLoadsMessage = WM_APP + 0x51;
void RunQueuedLoads(wkeWebView handle);

// --- network jobs (net_jobs.cpp) ---
struct Response {
    bool ok = false;
    int status = 0;  // the HTTP status; 200 for files and set data; 0 when nothing answered
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string failure;
};
// One request as the engine makes it: load-URL-begin, the hook, the network, load-URL-end.
Response RunJob(View& view, const std::string& url);
// Fetches a URL over HTTP or from a file, without any callback.
Response Fetch(const std::string& url, const std::string& userAgent);
// Whether a resource the page loads is its icon, kept as the view's favicon.
bool IsIconUrl(const std::string& url);

// Callbacks of loads the page host carries out (page_loader.cpp), on the view's thread.
void DeliverConsole(View& view, int level, const std::string& text, const std::string& source, int line);
void ReportHostedTitle(View& view, const std::string& title);
void ReportHostedDocumentReady(View& view);
void FinishHostedLoad(View& view, bool ok, const std::string& detail);
void ResizeHostedPage(View& view);

// --- page host (page_host.cpp, page_frames.cpp, page_input.cpp) ---
// Connects on the first call when QM_PAGE_HOST_PORT is set; false without a host.
bool PageHostConnected();
// One message of the host's line protocol.
void PageHostSend(const std::vector<std::string>& fields);
// Runs the script in the view's page; the text form of its value ("undefined" when there is none).
std::string PageHostEvaluate(wkeWebView view, const std::string& script);
// Decodes a browser frame into the view and has the view's thread repaint it.
void ShowFrame(const std::shared_ptr<View>& view, const std::string& jpeg);
// Draws the view's last frame; false when it has none.
bool DrawFrame(HDC dc, const RECT& area, View& view);
// Hands an input message of a hosted view's window to its page.
void ForwardInput(View& view, UINT message, WPARAM wParam, LPARAM lParam);

// --- scripts (scripts.cpp) ---
void SetScriptRule(const std::string& pattern, const std::string& answer);
void ClearScriptRules();

// --- control channel (control_channel.cpp) ---
// Starts the channel once, when the port variable is set.
void StartControlChannel();
std::string HandleControlCommand(const std::string& line);

// --- loopback lines (socket_lines.cpp); include <winsock2.h> before this header to use them ---
#ifdef _WINSOCK2API_
// The port a variable names, with Winsock started; 0 when it is unset or no port.
int PortFromEnvironment(const char* variable);
sockaddr_in LoopbackAddress(int port);
// Calls onLine with every line (without its line end) until the connection
// ends or onLine answers false.
void ReadLines(SOCKET connection, const std::function<bool(const std::string&)>& onLine);
bool SendAll(SOCKET connection, const std::string& bytes);
#endif

// --- input (control_input.cpp) ---
// Clicks the left button count times at the window's client point x, y through
// the system's input queue (SendInput), as a user's mouse would.
bool SendRealClicks(HWND window, int x, int y, int count);

}  // namespace standin

#define ENGINE_CONTROL_PORT_VARIABLE "QM_NODE_CONTROL_PORT"
#define PAGE_HOST_PORT_VARIABLE "QM_PAGE_HOST_PORT"
