#include "download/status_queries.h"

#include "download/rpc_reply.h"
#include "download/rpc_request.h"
#include "json/json.h"
#include "utilities/path_helpers.h"
#include "utilities/text_codepage.h"

namespace {

void FillStatus(const JSON& result, DownloadStatus& record) {
    JSON firstFile = result.GetJsonProperty("files").GetJsonItem(0);
    record.path = PathFileName(ReplyString(firstFile, "path"), true);
    record.dir = ReplyString(result, "dir");
    record.gid = ReplyString(result, "gid");
    record.status = ReplyString(result, "status");
    record.totalLength = ReplyInteger(result, "totalLength");
    record.completedLength = ReplyInteger(result, "completedLength");
    record.downloadSpeed = (int32_t)ReplyInteger(result, "downloadSpeed");
    record.numPieces = (int32_t)ReplyInteger(result, "numPieces");
    record.pieceLength = (int32_t)ReplyInteger(result, "pieceLength");
    record.uploadLength = ReplyInteger(result, "uploadLength");
    record.uploadSpeed = (int32_t)ReplyInteger(result, "uploadSpeed");
    record.connections = (int32_t)ReplyInteger(result, "connections");
    record.errorCode = ReplyAnyText(result, "errorCode");
    // Callers expect the daemon's own UTF-8 here.
    record.errorMessage = AnsiToUtf8(ReplyAnyText(result, "errorMessage"));
}

}  // namespace

GlobalStat Aria2GetGlobalStat() {
    JSON request = NewRpcRequest("aria2.getGlobalStat");
    GlobalStat record;
    ParseGlobalStat(Aria2PostRequest(request.toString()), record);
    return record;
}

bool ParseGlobalStat(const std::string& reply, GlobalStat& record) {
    JSON document;
    bool parsed = document.parse(reply);
    if (HasTopLevelError(document)) return false;
    JSON result = document.GetJsonProperty("result");
    record.numActive = (int32_t)ReplyInteger(result, "numActive");
    record.numWaiting = (int32_t)ReplyInteger(result, "numWaiting");
    record.numStopped = (int32_t)ReplyInteger(result, "numStopped");
    record.downloadSpeed = ReplyInteger(result, "downloadSpeed");
    record.uploadSpeed = ReplyInteger(result, "uploadSpeed");
    return parsed;
}

std::string Aria2TellStatusBatch(const std::vector<std::string>& gids, std::vector<DownloadStatus>& statuses) {
    if (gids.empty()) return {};
    JSON batch;
    batch.SetType(JSONType::Array);
    for (const std::string& gid : gids) {
        JSON request = NewRpcRequest("aria2.tellStatus");
        JSON allKeys;
        allKeys.SetType(JSONType::Array);
        RpcParams(request).AddItem(gid, allKeys);
        batch.AddItem(request);
    }
    std::string reply = Aria2PostRequest(batch.toString());
    ParseTellStatusBatch(reply, statuses);
    return reply;
}

bool ParseTellStatusBatch(const std::string& reply, std::vector<DownloadStatus>& statuses) {
    // The parser reads GBK: fed the daemon's UTF-8 directly, a Chinese name
    // with an odd number of bytes pairs its last byte with the closing quote
    // and the whole reply is lost. Converted first, every text arrives whole.
    return ReadBatchReply(Utf8ToAnsi(reply), statuses, [](const JSON& member, DownloadStatus& record) {
        FillStatus(member.GetJsonProperty("result"), record);
    });
}
