// The page asks the launcher for actions by console messages:
// "action:NAME" or "action:NAME|ARGUMENT". This is where they are read,
// split and dispatched.
#pragma once

#include <string>
#include <vector>

// The console-message handler of MainWindow's web view (UI thread).
void OnPageConsoleMessage(const std::string& message);

// Runs the action of that name with its argument (empty when the message
// had none); a name that is no action runs nothing. UI thread.
void DispatchPageAction(const std::string& name, const std::string& argument);

// Cuts text at every separator byte that starts a character (a byte of 0x80
// or above starts a two-byte character). A trailing separator adds no piece;
// an empty text gives none.
std::vector<std::string> SplitText(const std::string& text, char separator);

// Percent-decoding: "%" and two hexadecimal digits (either case) give one
// byte; a zero byte is dropped; "+" stays "+". No code-page conversion.
std::string UrlDecode(const std::string& text);
