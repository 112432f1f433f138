// A list of download ids that one thread fills while another reads it: the
// flow (or an add-on download) appends the ids the daemon returned, and the
// UI thread's progress tick asks the daemon about all of them every 100 ms.
#pragma once

#include <mutex>
#include <string>
#include <vector>

class GidList {
public:
    // Adds ids at the end, in their order; any thread.
    void Append(const std::vector<std::string>& gids);
    void Append(const std::string& gid);

    // A copy of the ids as they are now, for a reader that walks them while
    // others may append.
    std::vector<std::string> Snapshot() const;

    // The ids from index first on (empty when there are no more).
    std::vector<std::string> From(size_t first) const;

    size_t Size() const;
    void Clear();

private:
    mutable std::mutex lock_;
    std::vector<std::string> gids_;
};
