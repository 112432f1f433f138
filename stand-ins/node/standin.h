// Internals of the stand-in browser engine: a small "node.dll" of our own
// that behaves, at its exported boundary, like the engine the web view
// library expects. Pages are fetched for real (WinInet or files) but never
// rendered; the view window shows the URL, the title and the last console
// line. Everything the library calls is written to a call log that tests read
// over the control channel.
#pragma once

#include "webview/engine_boundary.h"

#include <functional>
#include <memory>
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
    HWND window = nullptr;     // null once the window is gone
    HWND dispatcher = nullptr;  // message-only window of the creating thread
    DWORD thread = 0;
    Callbacks callbacks;
    std::string userAgent;
    std::string url;          // UTF-8 (or whatever bytes the library gave)
    std::string title;        // UTF-8
    std::string lastConsole;  // UTF-8
    std::string favicon;      // body of the page's ".ico" resource, if any
    std::vector<std::pair<std::string, int>> pendingLoads;  // URL, navigation type; "\x01" + HTML for HTML
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
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string failure;
};
// One request as the engine makes it: load-URL-begin, the hook, the network, load-URL-end.
Response RunJob(View& view, const std::string& url);
// Fetches a URL over HTTP or from a file, without any callback.
Response Fetch(const std::string& url, const std::string& userAgent);

// --- scripts (scripts.cpp) ---
void SetScriptRule(const std::string& pattern, const std::string& answer);
void ClearScriptRules();

// --- control channel (control_channel.cpp) ---
// Starts the channel once, when the port variable is set.
void StartControlChannel();
std::string HandleControlCommand(const std::string& line);

// --- input (control_input.cpp) ---
// Clicks the left button count times at the window's client point x, y through
// the system's input queue (SendInput), as a user's mouse would.
bool SendRealClicks(HWND window, int x, int y, int count);

}  // namespace standin

#define ENGINE_CONTROL_PORT_VARIABLE "QM_NODE_CONTROL_PORT"
