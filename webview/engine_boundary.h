// The one contract between the web view library and the browser engine
// "node.dll". Both sides include this header, so the calling convention and
// the types at the boundary are fixed in one place:
//
//  - Every export is a plain C function with the __cdecl convention, exported
//    under its undecorated name through a .def file; the library finds it with
//    GetProcAddress by that name and never links the engine at build time.
//  - Views, engine strings, network jobs and script execution states are
//    opaque 32-bit values chosen by the engine; 0 means none. The library
//    never looks inside them.
//  - Script values are opaque 64-bit values.
//  - Narrow engine texts are UTF-8, wide ones UTF-16, both zero-terminated.
//    A text the engine hands out stays valid until the callback that received
//    it returns (or, for results of calls, until the next call of the same
//    kind on that view or job).
//  - Truth values are one byte (C++ bool).
//  - Every callback receives the view first and the parameter registered with
//    it second, then its own arguments; registering a null callback removes it.
#pragma once

#include <windows.h>

#include <cstdint>

#define WKE_CALL __cdecl

extern "C" {

typedef uint32_t wkeWebView;
typedef uint32_t wkeString;
typedef uint32_t wkeNetJob;
typedef uint32_t jsExecState;
typedef int64_t jsValue;
typedef uint32_t wkeWebFrameHandle;

// Window types of wkeCreateWebWindow.
enum : int {
    WKE_WINDOW_TYPE_POPUP = 0,
    WKE_WINDOW_TYPE_TRANSPARENT = 1,
    WKE_WINDOW_TYPE_CONTROL = 2,
};

// Navigation types reported with navigations and new-window requests.
enum : int {
    WKE_NAVIGATION_TYPE_LINKCLICK = 0,
    WKE_NAVIGATION_TYPE_FORMSUBMITTE = 1,
    WKE_NAVIGATION_TYPE_BACKFORWARD = 2,
    WKE_NAVIGATION_TYPE_RELOAD = 3,
    WKE_NAVIGATION_TYPE_FORMRESUBMITT = 4,
    WKE_NAVIGATION_TYPE_OTHER = 5,
};

// Result codes of the loading-finish callback.
enum : int {
    WKE_LOADING_SUCCEEDED = 0,
    WKE_LOADING_FAILED = 1,
    WKE_LOADING_CANCELED = 2,
};

// The initialisation record handed to wkeInitializeEx: 208 bytes the engine
// reserves, then a 32-bit option mask.
#pragma pack(push, 1)
struct wkeSettings {
    uint8_t reserved[208];
    uint32_t mask;
};
#pragma pack(pop)
static_assert(sizeof(wkeSettings) == 212, "the engine reads exactly 212 bytes");

// Geometry a page asks for when it opens a window.
struct wkeWindowFeatures {
    int x;
    int y;
    int width;
    int height;
};

// One node of a list of texts (response headers: name, value, name, value ...).
struct wkeSlist {
    char* str;
    wkeSlist* next;
};

// Callbacks.
typedef void(WKE_CALL* wkePaintUpdatedCallback)(wkeWebView view, void* param, HDC hdc, int x, int y, int cx, int cy);
typedef void(WKE_CALL* wkeTitleChangedCallback)(wkeWebView view, void* param, wkeString title);
typedef void(WKE_CALL* wkeMouseOverUrlChangedCallback)(wkeWebView view, void* param, wkeString url);
typedef void(WKE_CALL* wkeURLChangedCallback2)(wkeWebView view, void* param, wkeWebFrameHandle frame, wkeString url);
typedef void(WKE_CALL* wkeAlertBoxCallback)(wkeWebView view, void* param, wkeString msg);
typedef bool(WKE_CALL* wkeConfirmBoxCallback)(wkeWebView view, void* param, wkeString msg);
typedef bool(WKE_CALL* wkePromptBoxCallback)(wkeWebView view, void* param, wkeString msg, wkeString defaultResult,
                                             wkeString result);
typedef bool(WKE_CALL* wkeNavigationCallback)(wkeWebView view, void* param, int navigationType, wkeString url);
typedef wkeWebView(WKE_CALL* wkeCreateViewCallback)(wkeWebView view, void* param, int navigationType, wkeString url,
                                                    const wkeWindowFeatures* features);
typedef void(WKE_CALL* wkeDocumentReady2Callback)(wkeWebView view, void* param, wkeWebFrameHandle frame);
typedef void(WKE_CALL* wkeLoadingFinishCallback)(wkeWebView view, void* param, wkeString url, int result,
                                                 wkeString failedReason);
typedef bool(WKE_CALL* wkeDownloadCallback)(wkeWebView view, void* param, const char* url);
typedef void(WKE_CALL* wkeConsoleCallback)(wkeWebView view, void* param, int level, wkeString message,
                                           wkeString sourceName, unsigned sourceLine, wkeString stackTrace);
typedef bool(WKE_CALL* wkeLoadUrlBeginCallback)(wkeWebView view, void* param, const char* url, wkeNetJob job);
typedef void(WKE_CALL* wkeLoadUrlEndCallback)(wkeWebView view, void* param, const char* url, wkeNetJob job, void* buf,
                                              int len);
typedef bool(WKE_CALL* wkeWindowClosingCallback)(wkeWebView view, void* param);
typedef void(WKE_CALL* wkeWindowDestroyCallback)(wkeWebView view, void* param);
// data is null and length 0 when the page has no icon.
typedef void(WKE_CALL* wkeFaviconCallback)(wkeWebView view, void* param, const char* url, const void* data, int length);

// The exports, as function pointer types named after the export plus "Fn".
// start-up
typedef bool(WKE_CALL* wkeIsInitializeFn)();
typedef void(WKE_CALL* wkeInitializeExFn)(const wkeSettings* settings);
// view creation and host window
typedef wkeWebView(WKE_CALL* wkeCreateWebWindowFn)(int type, HWND parent, int x, int y, int width, int height);
typedef void(WKE_CALL* wkeShowWindowFn)(wkeWebView view, bool show);
typedef void(WKE_CALL* wkeSetTransparentFn)(wkeWebView view, bool transparent);
typedef HWND(WKE_CALL* wkeGetWindowHandleFn)(wkeWebView view);
typedef void(WKE_CALL* wkeOnPaintUpdatedFn)(wkeWebView view, wkePaintUpdatedCallback callback, void* param);
typedef void(WKE_CALL* wkeSetCspCheckEnableFn)(wkeWebView view, bool enable);
typedef void(WKE_CALL* wkeSetNpapiPluginsEnabledFn)(wkeWebView view, bool enable);
typedef void(WKE_CALL* wkeSetNavigationToNewWindowEnableFn)(wkeWebView view, bool enable);
typedef void(WKE_CALL* wkeResizeFn)(wkeWebView view, int width, int height);
typedef void(WKE_CALL* wkeSetWindowTitleWFn)(wkeWebView view, const wchar_t* title);
typedef void(WKE_CALL* wkeOnWindowClosingFn)(wkeWebView view, wkeWindowClosingCallback callback, void* param);
typedef void(WKE_CALL* wkeOnWindowDestroyFn)(wkeWebView view, wkeWindowDestroyCallback callback, void* param);
// properties
typedef void(WKE_CALL* wkeLoadURLFn)(wkeWebView view, const char* url);
typedef void(WKE_CALL* wkeLoadHTMLFn)(wkeWebView view, const char* html);
typedef void(WKE_CALL* wkeReloadFn)(wkeWebView view);
typedef void(WKE_CALL* wkeSetUserAgentFn)(wkeWebView view, const char* userAgent);
typedef void(WKE_CALL* wkeSetCookieEnabledFn)(wkeWebView view, bool enable);
typedef void(WKE_CALL* wkeSetCookieJarPathFn)(wkeWebView view, const wchar_t* path);
typedef void(WKE_CALL* wkeSetLocalStorageFullPathFn)(wkeWebView view, const wchar_t* path);
typedef const char*(WKE_CALL* wkeGetTitleFn)(wkeWebView view);
// callbacks
typedef void(WKE_CALL* wkeOnTitleChangedFn)(wkeWebView view, wkeTitleChangedCallback callback, void* param);
typedef void(WKE_CALL* wkeOnURLChanged2Fn)(wkeWebView view, wkeURLChangedCallback2 callback, void* param);
typedef void(WKE_CALL* wkeOnNavigationFn)(wkeWebView view, wkeNavigationCallback callback, void* param);
typedef void(WKE_CALL* wkeOnCreateViewFn)(wkeWebView view, wkeCreateViewCallback callback, void* param);
typedef void(WKE_CALL* wkeOnDocumentReady2Fn)(wkeWebView view, wkeDocumentReady2Callback callback, void* param);
typedef void(WKE_CALL* wkeOnLoadingFinishFn)(wkeWebView view, wkeLoadingFinishCallback callback, void* param);
typedef void(WKE_CALL* wkeOnConsoleFn)(wkeWebView view, wkeConsoleCallback callback, void* param);
typedef void(WKE_CALL* wkeOnAlertBoxFn)(wkeWebView view, wkeAlertBoxCallback callback, void* param);
typedef void(WKE_CALL* wkeOnConfirmBoxFn)(wkeWebView view, wkeConfirmBoxCallback callback, void* param);
typedef void(WKE_CALL* wkeOnPromptBoxFn)(wkeWebView view, wkePromptBoxCallback callback, void* param);
typedef void(WKE_CALL* wkeOnDownloadFn)(wkeWebView view, wkeDownloadCallback callback, void* param);
typedef void(WKE_CALL* wkeOnMouseOverUrlChangedFn)(wkeWebView view, wkeMouseOverUrlChangedCallback callback,
                                                   void* param);
typedef void(WKE_CALL* wkeOnLoadUrlBeginFn)(wkeWebView view, wkeLoadUrlBeginCallback callback, void* param);
typedef void(WKE_CALL* wkeOnLoadUrlEndFn)(wkeWebView view, wkeLoadUrlEndCallback callback, void* param);
typedef void(WKE_CALL* wkeNetGetFaviconFn)(wkeWebView view, wkeFaviconCallback callback, void* param);
typedef const wchar_t*(WKE_CALL* wkeGetStringWFn)(wkeString string);
// commands
typedef void(WKE_CALL* wkeNetHookRequestFn)(wkeNetJob job);
typedef void(WKE_CALL* wkeNetSetDataFn)(wkeNetJob job, void* buf, int len);
typedef void(WKE_CALL* wkeNetCancelRequestFn)(wkeNetJob job);
typedef const wkeSlist*(WKE_CALL* wkeNetGetRawResponseHeadFn)(wkeNetJob job);
typedef jsValue(WKE_CALL* wkeRunJSWFn)(wkeWebView view, const wchar_t* script);
typedef jsExecState(WKE_CALL* wkeGlobalExecFn)(wkeWebView view);
typedef const char*(WKE_CALL* jsToStringFn)(jsExecState es, jsValue value);

}  // extern "C"

// Every export name, once, in the order of the uses above. ENGINE_EXPORT is
// defined by the includer for each purpose (the library's lookup table, the
// engine's own checks).
#define ENGINE_EXPORT_LIST(ENGINE_EXPORT)            \
    ENGINE_EXPORT(wkeIsInitialize)                   \
    ENGINE_EXPORT(wkeInitializeEx)                   \
    ENGINE_EXPORT(wkeCreateWebWindow)                \
    ENGINE_EXPORT(wkeShowWindow)                     \
    ENGINE_EXPORT(wkeSetTransparent)                 \
    ENGINE_EXPORT(wkeGetWindowHandle)                \
    ENGINE_EXPORT(wkeOnPaintUpdated)                 \
    ENGINE_EXPORT(wkeSetCspCheckEnable)              \
    ENGINE_EXPORT(wkeSetNpapiPluginsEnabled)         \
    ENGINE_EXPORT(wkeSetNavigationToNewWindowEnable) \
    ENGINE_EXPORT(wkeResize)                         \
    ENGINE_EXPORT(wkeSetWindowTitleW)                \
    ENGINE_EXPORT(wkeOnWindowClosing)                \
    ENGINE_EXPORT(wkeOnWindowDestroy)                \
    ENGINE_EXPORT(wkeLoadURL)                        \
    ENGINE_EXPORT(wkeLoadHTML)                       \
    ENGINE_EXPORT(wkeReload)                         \
    ENGINE_EXPORT(wkeSetUserAgent)                   \
    ENGINE_EXPORT(wkeSetCookieEnabled)               \
    ENGINE_EXPORT(wkeSetCookieJarPath)               \
    ENGINE_EXPORT(wkeSetLocalStorageFullPath)        \
    ENGINE_EXPORT(wkeGetTitle)                       \
    ENGINE_EXPORT(wkeOnTitleChanged)                 \
    ENGINE_EXPORT(wkeOnURLChanged2)                  \
    ENGINE_EXPORT(wkeOnNavigation)                   \
    ENGINE_EXPORT(wkeOnCreateView)                   \
    ENGINE_EXPORT(wkeOnDocumentReady2)               \
    ENGINE_EXPORT(wkeOnLoadingFinish)                \
    ENGINE_EXPORT(wkeOnConsole)                      \
    ENGINE_EXPORT(wkeOnAlertBox)                     \
    ENGINE_EXPORT(wkeOnConfirmBox)                   \
    ENGINE_EXPORT(wkeOnPromptBox)                    \
    ENGINE_EXPORT(wkeOnDownload)                     \
    ENGINE_EXPORT(wkeOnMouseOverUrlChanged)          \
    ENGINE_EXPORT(wkeOnLoadUrlBegin)                 \
    ENGINE_EXPORT(wkeOnLoadUrlEnd)                   \
    ENGINE_EXPORT(wkeNetGetFavicon)                  \
    ENGINE_EXPORT(wkeGetStringW)                     \
    ENGINE_EXPORT(wkeNetHookRequest)                 \
    ENGINE_EXPORT(wkeNetSetData)                     \
    ENGINE_EXPORT(wkeNetCancelRequest)               \
    ENGINE_EXPORT(wkeNetGetRawResponseHead)          \
    ENGINE_EXPORT(wkeRunJSW)                         \
    ENGINE_EXPORT(wkeGlobalExec)                     \
    ENGINE_EXPORT(jsToString)
