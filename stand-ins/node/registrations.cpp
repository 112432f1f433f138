// Start-up and callback registration. A null callback removes the one that
// was registered, which is how the library unbinds a view it is leaving.
#include "standin.h"

#include <atomic>

using namespace standin;

namespace {
// Forgotten from the control channel's thread.
std::atomic<bool> initialized{false};
}  // namespace

void standin::ForgetInitialisation() { initialized = false; }

extern "C" bool WKE_CALL wkeIsInitialize() {
    Log(std::string("wkeIsInitialize ") + (initialized.load() ? "1" : "0"));
    return initialized;
}

extern "C" void WKE_CALL wkeInitializeEx(const wkeSettings* settings) {
    bool zero = true;
    uint32_t mask = 0;
    if (settings) {
        for (uint8_t byte : settings->reserved) zero = zero && byte == 0;
        mask = settings->mask;
    }
    Log("wkeInitializeEx mask=" + std::to_string(mask) + " reserved-zero=" + (zero ? "1" : "0"));
    initialized = true;
    StartControlChannel();
}

#define REGISTRATION(exportName, callbackType, field)                                                  \
    extern "C" void WKE_CALL exportName(wkeWebView handle, callbackType callback, void* param) {       \
        std::shared_ptr<View> view = FindView(handle);                                                 \
        Log(std::string(#exportName " ") + std::to_string(handle) + (callback ? " set" : " cleared") + \
            (view ? "" : " unknown-view"));                                                            \
        if (!view) return;                                                                             \
        view->callbacks.field = callback;                                                              \
        view->callbacks.field##Param = param;                                                          \
    }

REGISTRATION(wkeOnPaintUpdated, wkePaintUpdatedCallback, paint)
REGISTRATION(wkeOnWindowClosing, wkeWindowClosingCallback, closing)
REGISTRATION(wkeOnWindowDestroy, wkeWindowDestroyCallback, destroy)
REGISTRATION(wkeOnTitleChanged, wkeTitleChangedCallback, title)
REGISTRATION(wkeOnURLChanged2, wkeURLChangedCallback2, urlChanged)
REGISTRATION(wkeOnNavigation, wkeNavigationCallback, navigation)
REGISTRATION(wkeOnCreateView, wkeCreateViewCallback, createView)
REGISTRATION(wkeOnDocumentReady2, wkeDocumentReady2Callback, documentReady)
REGISTRATION(wkeOnLoadingFinish, wkeLoadingFinishCallback, loadingFinish)
REGISTRATION(wkeOnConsole, wkeConsoleCallback, console)
REGISTRATION(wkeOnAlertBox, wkeAlertBoxCallback, alert)
REGISTRATION(wkeOnConfirmBox, wkeConfirmBoxCallback, confirm)
REGISTRATION(wkeOnPromptBox, wkePromptBoxCallback, prompt)
REGISTRATION(wkeOnDownload, wkeDownloadCallback, download)
REGISTRATION(wkeOnMouseOverUrlChanged, wkeMouseOverUrlChangedCallback, mouseOver)
REGISTRATION(wkeOnLoadUrlBegin, wkeLoadUrlBeginCallback, loadUrlBegin)
REGISTRATION(wkeOnLoadUrlEnd, wkeLoadUrlEndCallback, loadUrlEnd)
