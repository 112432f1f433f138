#include "download/add_downloads.h"

#include <windows.h>

#include "download/rpc_reply.h"
#include "download/rpc_request.h"
#include "json/json.h"
#include "utilities/path_helpers.h"
#include "utilities/text_search.h"

namespace {

const char* FileAllocationName(int32_t index) {
    static const char* const kNames[] = {"none", "falloc", "trunc", "prealloc"};
    // Only 0 is ever passed; anything out of range allocates nothing.
    return index >= 0 && index <= 3 ? kNames[index] : kNames[0];
}

JSON TaskOptions(const DownloadTask& task) {
    JSON options;
    options.SetType(JSONType::Object);
    if (!task.out.empty()) options.SetProperty("out", task.out);
    if (!task.dir.empty()) options.SetProperty("dir", task.dir);
    if (task.split > 0) options.SetProperty("split", std::to_string(task.split));
    if (task.maxConnectionPerServer > 0)
        options.SetProperty("max-connection-per-server", std::to_string(task.maxConnectionPerServer));
    options.SetProperty("file-allocation", FileAllocationName(task.fileAllocation));
    options.SetProperty("header", task.header);
    return options;
}

}  // namespace

std::vector<std::string> SplitUris(const std::string& uris) {
    std::vector<std::string> pieces;
    size_t start = 0;
    size_t i = 0;
    while (i < uris.size()) {
        if (uris[i] == '\r' && i + 1 < uris.size() && uris[i + 1] == '\n') {
            pieces.push_back(uris.substr(start, i - start));
            i += 2;
            start = i;
        } else {
            i += (IsGbkLeadByte((unsigned char)uris[i]) && i + 1 < uris.size()) ? 2 : 1;
        }
    }
    if (start < uris.size()) pieces.push_back(uris.substr(start));
    return pieces;
}

void RemoveStaleDownloadOutput(const std::string& folder, const std::string& out) {
    if (folder.empty() || out.empty()) return;
    std::string file = folder + "\\" + out;
    if (FileExists(file) && !FileExists(file + ".aria2")) DeleteFileA(file.c_str());
}

std::string AddUriBatch(const std::vector<DownloadTask>& tasks, std::vector<std::string>& gids) {
    JSON batch;
    batch.SetType(JSONType::Array);
    for (const DownloadTask& task : tasks) {
        if (task.uris.empty()) continue;
        RemoveStaleDownloadOutput(task.dir, task.out);
        JSON request = NewRpcRequest("aria2.addUri");
        JSON uriList;
        uriList.SetType(JSONType::Array);
        for (const std::string& uri : SplitUris(task.uris)) uriList.AddItem(uri);
        RpcParams(request).AddItem(uriList, TaskOptions(task));
        batch.AddItem(request);
    }
    std::string reply = Aria2PostRequest(batch.toString());
    ParseAddUriReply(reply, gids);
    return reply;
}

bool ParseAddUriReply(const std::string& reply, std::vector<std::string>& gids) {
    return ReadBatchReply(reply, gids,
                          [](const JSON& member, std::string& gid) { gid = ReplyString(member, "result"); });
}

std::string UnpauseBatch(const std::vector<std::string>& gids) {
    if (gids.empty()) return {};
    JSON batch;
    batch.SetType(JSONType::Array);
    for (const std::string& gid : gids) {
        JSON request = NewRpcRequest("aria2.unpause");
        RpcParams(request).AddItem(gid);
        batch.AddItem(request);
    }
    return Aria2PostRequest(batch.toString());
}
