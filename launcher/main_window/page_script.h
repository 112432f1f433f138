// Running JavaScript in the launcher page: the one way every part of the
// launcher answers the page. The engine is driven only on the UI thread, so
// a script built on any thread is carried there through MainWindow's 标签1
// and run synchronously; its caller waits for the text of its value.
#pragma once

#include <string>

// Runs script (GBK) in the page and returns the text form of its value as
// the engine gives it (UTF-8 bytes), empty when it has none. Any thread; the
// UI thread runs it at once. Before the page has a view, nothing is run and
// the result is empty. A thread the UI thread waits for must not call it.
std::string RunPageScript(const std::string& script);

// 标签1's feedback handler on the UI thread: runs the script whose address is
// scriptAddress and returns the address of a new text holding the result,
// which RunPageScript copies and frees; 0 when nothing was run.
int ExecuteScriptOnUiThread(int scriptAddress, int);

// value (GBK) made safe to stand between single or double quotes of a
// JavaScript string: backslashes, both quotes, line breaks and other control
// characters are escaped; two-byte characters pass whole, so a trail byte
// 0x5C is never taken for a backslash, and a lead byte without its trail
// byte is escaped. Plain text comes out unchanged. Every value put into a
// page script goes through here.
std::string ScriptText(const std::string& value);
