// Handing downloads to the daemon: one "aria2.addUri" batch for a list of
// tasks, then one "aria2.unpause" batch for the identifiers it gave back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DownloadTask {
    std::string uris;   // one URI, or several of the same file separated by CR LF; empty skips the task
    std::string out;    // output file name; left out when empty
    std::string dir;    // folder to save into; left out when empty
    int32_t split = 0;  // pieces in parallel; left out unless > 0
    int32_t maxConnectionPerServer = 0;  // left out unless > 0
    std::string header;                  // one HTTP header line; always sent
    int32_t fileAllocation = 0;          // 0 "none", 1 "falloc", 2 "trunc", 3 "prealloc"
};

// Posts one "aria2.addUri" per task with non-empty uris (an all-skipped list
// still posts "[]"), then fills gids from the reply with ParseAddUriReply.
// Before a task is added, a file of its output name that has no ".aria2"
// control file beside it is removed: the daemon would "resume" it into a
// corrupt file or save under another name. Returns the reply text.
std::string AddUriBatch(const std::vector<DownloadTask>& tasks, std::vector<std::string>& gids);

// Replaces gids by one entry per reply member: the new identifier, or ""
// for a member that holds "error". A top-level "error" leaves gids
// untouched and gives false; otherwise true when the reply parsed.
bool ParseAddUriReply(const std::string& reply, std::vector<std::string>& gids);

// One "aria2.unpause" per identifier (empty ones included), in one batch;
// an empty list posts nothing and returns "". Returns the reply text.
std::string UnpauseBatch(const std::vector<std::string>& gids);

// The pieces of uris between CR LF separators, in order; empty pieces stay,
// except after a trailing separator. Double-byte characters are stepped
// over whole.
std::vector<std::string> SplitUris(const std::string& uris);

// Removes folder\out unless folder\out.aria2 exists beside it (a partial
// download the daemon resumes). Nothing happens when either text is empty.
void RemoveStaleDownloadOutput(const std::string& folder, const std::string& out);
