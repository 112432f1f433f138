// The shape of every JSON-RPC 2.0 request to the download daemon, the one
// function that posts them, and the calls that take no argument but the
// secret.
//
// A request is an object with the members "jsonrpc" ("2.0"), "method", "id"
// (RpcRequestId as a string) and "params", in that order; the first
// parameter is "token:" followed by RpcSecret. A batch is an array of
// requests that all carry the same id, posted once; replies are matched to
// requests by position. Texts go in exactly as the caller passed them.
//
// Every call is synchronous and self-contained and may run on any thread.
// With the daemon not running the reply is empty, at once.
#pragma once

#include <string>

#include "json/json.h"

// A new request object for method whose "params" holds only the token.
// Further parameters are appended with RpcParams(request).AddItem(...).
JSON NewRpcRequest(const char* method);

// The request's "params" array, shared with the request.
JSON RpcParams(const JSON& request);

// Posts the request text to the daemon and returns the reply body up to its
// first zero byte; empty when the POST failed.
std::string Aria2PostRequest(const std::string& requestText);

// The single-method calls; each returns the reply text, which callers discard.
std::string Aria2PauseAll();
std::string Aria2UnpauseAll();
std::string Aria2PurgeDownloadResult();
std::string Aria2Shutdown();
std::string Aria2ForceShutdown();

// Every way out of the program: "aria2.shutdown" and then at once
// "aria2.forceShutdown", whatever the first one answered.
void StopDownloadDaemon();
