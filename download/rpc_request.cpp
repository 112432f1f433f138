#include "download/rpc_request.h"

#include "download/daemon_endpoint.h"
#include "download/engine_bindings.h"
#include "download/http_post.h"

namespace {

std::string SingleMethodCall(const char* method) {
    JSON request = NewRpcRequest(method);
    return Aria2PostRequest(request.toString());
}

}  // namespace

JSON NewRpcRequest(const char* method) {
    const DownloadEngineBindings& engine = DownloadEngine();
    JSON params;
    params.SetType(JSONType::Array);
    params.AddItem("token:" + engine.rpcSecret);
    JSON request;
    request.SetProperty("jsonrpc", "2.0");
    request.SetProperty("method", method);
    request.SetProperty("id", engine.rpcRequestId);
    request.SetProperty("params", params);
    return request;
}

JSON RpcParams(const JSON& request) { return request.GetJsonProperty("params"); }

std::string Aria2PostRequest(const std::string& requestText) {
    std::string reply = HttpPostRequest(kDaemonRpcUrl, requestText);
    size_t zero = reply.find('\0');
    if (zero != std::string::npos) reply.resize(zero);
    return reply;
}

std::string Aria2PauseAll() { return SingleMethodCall("aria2.pauseAll"); }
std::string Aria2UnpauseAll() { return SingleMethodCall("aria2.unpauseAll"); }
std::string Aria2PurgeDownloadResult() { return SingleMethodCall("aria2.purgeDownloadResult"); }
std::string Aria2Shutdown() { return SingleMethodCall("aria2.shutdown"); }
std::string Aria2ForceShutdown() { return SingleMethodCall("aria2.forceShutdown"); }

void StopDownloadDaemon() {
    Aria2Shutdown();
    Aria2ForceShutdown();
}
