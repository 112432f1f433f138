// Page loads. A load is queued and runs later from the message loop of the
// thread that made the view, as a real engine's loads do; the callbacks then
// fire in the engine's order: navigation, URL changed, the page request,
// title, one request per src=/href= resource, document ready, loading finish.
// With a page host the browser makes the requests and reports the rest.
#include "standin.h"

#include <algorithm>
#include <cctype>

namespace standin {

namespace {

const int kMainFrame = 1;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return (char)std::tolower(c); });
    return text;
}

std::string ExtractTitle(const std::string& page) {
    std::string lower = Lower(page);
    size_t open = lower.find("<title>");
    if (open == std::string::npos) return {};
    size_t close = lower.find("</title>", open);
    if (close == std::string::npos) return {};
    return page.substr(open + 7, close - open - 7);
}

// Values of src= and href= attributes, in page order.
std::vector<std::string> ResourceReferences(const std::string& page) {
    std::vector<std::string> found;
    std::string lower = Lower(page);
    size_t pos = 0;
    while (found.size() < 200) {
        size_t src = lower.find("src=", pos), href = lower.find("href=", pos);
        size_t at = std::min(src, href);
        if (at == std::string::npos) break;
        size_t value = at + (at == src ? 4 : 5);
        if (at > 0 && (std::isalnum((unsigned char)lower[at - 1]) || lower[at - 1] == '-')) {
            pos = value;
            continue;
        }
        std::string text;
        if (value < page.size() && (page[value] == '"' || page[value] == '\'')) {
            size_t end = page.find(page[value], value + 1);
            if (end == std::string::npos) break;
            text = page.substr(value + 1, end - value - 1);
            pos = end + 1;
        } else {
            size_t end = page.find_first_of(" \t\r\n>", value);
            if (end == std::string::npos) end = page.size();
            text = page.substr(value, end - value);
            pos = end;
        }
        std::string lowerText = Lower(text);
        if (text.empty() || text[0] == '#' || lowerText.rfind("javascript:", 0) == 0 ||
            lowerText.rfind("data:", 0) == 0 || lowerText.rfind("mailto:", 0) == 0)
            continue;
        found.push_back(text);
    }
    return found;
}

std::string ResolveReference(const std::string& base, const std::string& reference) {
    if (reference.find("://") != std::string::npos) return reference;
    size_t scheme = base.find("://");
    if (reference.rfind("//", 0) == 0 && scheme != std::string::npos) return base.substr(0, scheme + 1) + reference;
    if (reference[0] == '/' && scheme != std::string::npos) {
        size_t pathStart = base.find('/', scheme + 3);
        return (pathStart == std::string::npos ? base : base.substr(0, pathStart)) + reference;
    }
    std::string path = base.substr(0, base.find_first_of("?#"));
    size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos || (scheme != std::string::npos && slash < scheme + 3))
        return path + "/" + reference;
    return path.substr(0, slash + 1) + reference;
}

void FireLoadingFinish(View& view, const std::string& url, int result, const std::string& reason) {
    if (!view.callbacks.loadingFinish) return;
    ScopedEngineString urlString(url), reasonString(reason);
    view.callbacks.loadingFinish(view.handle, view.callbacks.loadingFinishParam, urlString.handle(), result,
                                 reasonString.handle());
}

void FireTitle(View& view) {
    if (!view.callbacks.title) return;
    ScopedEngineString title(view.title);
    view.callbacks.title(view.handle, view.callbacks.titleParam, title.handle());
}

void FireDocumentReady(View& view) {
    if (view.callbacks.documentReady)
        view.callbacks.documentReady(view.handle, view.callbacks.documentReadyParam, kMainFrame);
}

// The page host sizes the browser page like the view window.
std::string HostedSize(const View& view, int index) {
    RECT area = {0, 0, 0, 0};
    if (view.window) GetClientRect(view.window, &area);
    int size = index == 0 ? area.right : area.bottom;
    return std::to_string(size > 0 ? size : index == 0 ? 1280 : 720);
}

// Hands the load to the page host; its requests and events come back later. False without a host.
bool LoadInHost(View& view, const char* kind, const std::string& what) {
    if (!PageHostConnected()) return false;
    view.hosted = true;
    view.hostedLoadUrl = std::string(kind) == "load" ? what : "about:blank";
    PageHostSend({kind, std::to_string(view.handle), HostedSize(view, 0), HostedSize(view, 1), what});
    return true;
}

}  // namespace

bool IsIconUrl(const std::string& url) { return Lower(url).find(".ico") != std::string::npos; }

void ResizeHostedPage(View& view) {
    if (view.hosted) PageHostSend({"resize", std::to_string(view.handle), HostedSize(view, 0), HostedSize(view, 1)});
}

void DeliverConsole(View& view, int level, const std::string& text, const std::string& source, int line) {
    view.lastConsole = text;
    if (!view.callbacks.console) {
        Log("console " + std::to_string(view.handle) + " no-callback");
        return;
    }
    ScopedEngineString message(text), sourceName(source), stack("");
    view.callbacks.console(view.handle, view.callbacks.consoleParam, level, message.handle(), sourceName.handle(), line,
                           stack.handle());
    Log("console " + std::to_string(view.handle) + " delivered");
}

void ReportHostedTitle(View& view, const std::string& title) {
    view.title = title.empty() ? view.url : title;
    FireTitle(view);
}

void ReportHostedDocumentReady(View& view) { FireDocumentReady(view); }

void FinishHostedLoad(View& view, bool ok, const std::string& detail) {
    if (!ok) Log("load failed " + std::to_string(view.handle) + " " + LogText(detail));
    FireLoadingFinish(view, view.hostedLoadUrl, ok ? WKE_LOADING_SUCCEEDED : WKE_LOADING_FAILED, ok ? "" : detail);
    if (ok) Log("loaded " + std::to_string(view.handle) + " " + LogText(view.hostedLoadUrl));
}

void QueueLoad(wkeWebView handle, const std::string& url, int navigationType) {
    std::shared_ptr<View> view = FindView(handle);
    if (!view) return;
    view->pendingLoads.emplace_back(url, navigationType);
    PostMessageW(view->dispatcher, kRunQueuedLoadsMessage, handle, 0);
}

void QueueHtml(wkeWebView handle, const std::string& html) {
    std::shared_ptr<View> view = FindView(handle);
    if (!view) return;
    view->pendingLoads.emplace_back("\x01" + html, -1);
    PostMessageW(view->dispatcher, kRunQueuedLoadsMessage, handle, 0);
}

void RunQueuedLoads(wkeWebView handle) {
    std::shared_ptr<View> view = FindView(handle);
    if (!view) return;
    std::vector<std::pair<std::string, int>> loads;
    loads.swap(view->pendingLoads);
    for (auto& load : loads) {
        if (load.second < 0)
            RunHtml(*view, load.first.substr(1));
        else
            RunLoad(*view, load.first, load.second);
    }
}

void RunLoad(View& view, const std::string& url, int navigationType) {
    Log("load " + std::to_string(view.handle) + " " + LogText(url));
    if (view.callbacks.navigation) {
        ScopedEngineString urlString(url);
        bool go =
            view.callbacks.navigation(view.handle, view.callbacks.navigationParam, navigationType, urlString.handle());
        Log("navigation " + std::to_string(view.handle) + " answer=" + (go ? "1" : "0"));
        if (!go) return;
    }
    view.url = url;
    if (view.callbacks.urlChanged) {
        ScopedEngineString urlString(url);
        view.callbacks.urlChanged(view.handle, view.callbacks.urlChangedParam, kMainFrame, urlString.handle());
    }
    view.favicon.clear();
    if (LoadInHost(view, "load", url)) return;
    Response page = RunJob(view, url);
    if (!page.ok) {
        Log("load failed " + std::to_string(view.handle) + " " + LogText(page.failure));
        FireLoadingFinish(view, url, WKE_LOADING_FAILED, page.failure);
        RepaintView(view);
        return;
    }
    std::string title = ExtractTitle(page.body);
    view.title = title.empty() ? url : title;
    FireTitle(view);
    for (const std::string& reference : ResourceReferences(page.body)) {
        std::string resourceUrl = ResolveReference(url, reference);
        Response resource = RunJob(view, resourceUrl);
        if (resource.ok && IsIconUrl(resourceUrl)) view.favicon = resource.body;
    }
    FireDocumentReady(view);
    FireLoadingFinish(view, url, WKE_LOADING_SUCCEEDED, "");
    Log("loaded " + std::to_string(view.handle) + " " + LogText(url));
    RepaintView(view);
}

void RunHtml(View& view, const std::string& html) {
    Log("html " + std::to_string(view.handle) + " " + LogText(html));
    if (LoadInHost(view, "html", html)) return;
    view.title = ExtractTitle(html);
    FireTitle(view);
    FireDocumentReady(view);
    FireLoadingFinish(view, "about:blank", WKE_LOADING_SUCCEEDED, "");
    RepaintView(view);
}

}  // namespace standin

using namespace standin;

extern "C" void WKE_CALL wkeLoadURL(wkeWebView handle, const char* url) {
    Log("wkeLoadURL " + std::to_string(handle) + " " + LogText(url ? url : "") +
        (FindView(handle) ? "" : " unknown-view"));
    QueueLoad(handle, url ? url : "", WKE_NAVIGATION_TYPE_OTHER);
}

extern "C" void WKE_CALL wkeLoadHTML(wkeWebView handle, const char* html) {
    Log("wkeLoadHTML " + std::to_string(handle) + " " + LogText(html ? html : "") +
        (FindView(handle) ? "" : " unknown-view"));
    QueueHtml(handle, html ? html : "");
}

extern "C" void WKE_CALL wkeReload(wkeWebView handle) {
    std::shared_ptr<View> view = FindView(handle);
    Log("wkeReload " + std::to_string(handle) + (view ? "" : " unknown-view"));
    if (view && !view->url.empty()) QueueLoad(handle, view->url, WKE_NAVIGATION_TYPE_RELOAD);
}

extern "C" void WKE_CALL wkeNetGetFavicon(wkeWebView handle, wkeFaviconCallback callback, void* param) {
    std::shared_ptr<View> view = FindView(handle);
    Log("wkeNetGetFavicon " + std::to_string(handle) + (view ? "" : " unknown-view"));
    if (!view || !callback) return;
    // The answer comes later, from the message loop, as the engine's network answers do.
    PostToViewThread(view, [view, callback, param]() {
        std::string url = view->url;
        std::string icon = view->favicon;
        callback(view->handle, param, url.c_str(), icon.empty() ? nullptr : icon.data(), (int)icon.size());
    });
}
