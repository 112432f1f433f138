#include "download/gid_list.h"

void GidList::Append(const std::vector<std::string>& gids) {
    std::lock_guard<std::mutex> guard(lock_);
    gids_.insert(gids_.end(), gids.begin(), gids.end());
}

void GidList::Append(const std::string& gid) {
    std::lock_guard<std::mutex> guard(lock_);
    gids_.push_back(gid);
}

std::vector<std::string> GidList::Snapshot() const {
    std::lock_guard<std::mutex> guard(lock_);
    return gids_;
}

std::vector<std::string> GidList::From(size_t first) const {
    std::lock_guard<std::mutex> guard(lock_);
    if (first >= gids_.size()) return {};
    return std::vector<std::string>(gids_.begin() + (std::ptrdiff_t)first, gids_.end());
}

size_t GidList::Size() const {
    std::lock_guard<std::mutex> guard(lock_);
    return gids_.size();
}

void GidList::Clear() {
    std::lock_guard<std::mutex> guard(lock_);
    gids_.clear();
}
