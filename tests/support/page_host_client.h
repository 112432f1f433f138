// The page host (stand-ins/pagehost) for a test program: a headless
// Chromium behind the stand-in engine, so that views show real pages, and
// its test control, through which a test does what a player does with the
// page. Start one per test program (a browser start costs about a second),
// e.g. in SetUpTestSuite, before the first launcher or view that should use
// it; it ends by itself after half an hour at the latest.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "support/linux_process.h"
#include "support/test_support.h"

namespace testsupport {

// What the page's open SweetAlert2 dialog shows.
struct PageDialog {
    bool open = false;
    std::string title, text, icon;  // UTF-8; icon: success, error, warning, info, question or empty
};

class PageHost {
public:
    // Starts the page host and puts its port into QM_PAGE_HOST_PORT of this
    // process, which its children (a launcher) inherit and the stand-in
    // engine reads when it loads its first page.
    PageHost();
    ~PageHost();
    PageHost(const PageHost&) = delete;
    PageHost& operator=(const PageHost&) = delete;

    bool Running() const { return server_ && server_->port() != 0; }
    int port() const { return server_ ? server_->port() : 0; }

    // One test control command (fields as the host takes them); the answer's
    // lines, the first "OK ..." or "ERR ...". This thread's windows are
    // serviced meanwhile. A leading field "@VIEW" picks a view's page;
    // without it the newest page is meant.
    std::vector<std::string> Command(const std::vector<std::string>& fields);

    // Each answers false (or an empty text) when the host refuses, e.g.
    // because no element matches. Selectors and texts are UTF-8.
    bool Click(const std::string& selector);
    bool MouseDown(const std::string& selector);
    bool MouseUp(const std::string& selector);
    // Clicks the element and types text over its content.
    bool Type(const std::string& selector, const std::string& text);
    bool Exists(const std::string& selector);
    std::string Text(const std::string& selector);
    std::string Html(const std::string& selector);
    // The text form of the script's value in the page.
    std::string Eval(const std::string& script);
    PageDialog Dialog();
    bool ConfirmDialog() { return Ok(Command({"dialog", "confirm"})); }
    bool CancelDialog() { return Ok(Command({"dialog", "cancel"})); }
    // A PNG of the page into a file (a Windows path).
    bool Screenshot(const std::string& path);
    // "VIEW URL" per page, oldest first.
    std::vector<std::string> Pages();

    // Waits until a page whose URL holds urlPart has loaded completely (its
    // document's readyState is "complete"); false after timeoutMs.
    bool WaitForPage(const std::string& urlPart, DWORD timeoutMs);
    // Waits until the element's text equals expected; false after timeoutMs.
    bool WaitForText(const std::string& selector, const std::string& expected, DWORD timeoutMs);
    // Waits until the dialog shows (open) or is gone (!open).
    bool WaitForDialog(bool open, DWORD timeoutMs);

private:
    static bool Ok(const std::vector<std::string>& answer) {
        return !answer.empty() && answer[0].compare(0, 2, "OK") == 0;
    }
    std::string Value(const std::vector<std::string>& fields);

    TempFolder folder_;
    std::unique_ptr<ScriptServer> server_;
};

}  // namespace testsupport
