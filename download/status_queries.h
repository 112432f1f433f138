// How the downloads are going: the daemon's overall statistics
// ("aria2.getGlobalStat") and the state of each download the program holds
// an identifier for ("aria2.tellStatus", one batch per call).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct GlobalStat {
    int32_t numActive = 0;
    int32_t numWaiting = 0;
    int32_t numStopped = 0;
    int64_t downloadSpeed = 0;  // bytes per second
    int64_t uploadSpeed = 0;
};

struct DownloadStatus {
    std::string path;  // file name of the first file, with extension, code page 936
    std::string dir;   // code page 936
    std::string gid;
    std::string status;
    int64_t totalLength = 0;
    int64_t completedLength = 0;
    int32_t downloadSpeed = 0;
    int32_t numPieces = 0;
    int32_t pieceLength = 0;
    int64_t uploadLength = 0;
    int32_t uploadSpeed = 0;
    int32_t connections = 0;
    std::string errorCode;
    std::string errorMessage;  // as the daemon sent it (UTF-8)
};

// All zero when the daemon does not answer or answers with an error.
GlobalStat Aria2GetGlobalStat();

// Fills record from the "result" of reply. A top-level "error" leaves the
// record untouched and gives false; otherwise true when the reply parsed.
bool ParseGlobalStat(const std::string& reply, GlobalStat& record);

// One "aria2.tellStatus" per identifier, in one batch; statuses is then
// filled by ParseTellStatusBatch. An empty identifier list posts nothing,
// leaves statuses as passed in and returns "". Returns the reply text.
std::string Aria2TellStatusBatch(const std::vector<std::string>& gids, std::vector<DownloadStatus>& statuses);

// Replaces statuses by one record per reply member, in order; a member that
// holds "error" leaves its record empty. A top-level "error" leaves statuses
// untouched and gives false; otherwise true when the reply parsed.
bool ParseTellStatusBatch(const std::string& reply, std::vector<DownloadStatus>& statuses);
