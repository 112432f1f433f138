// The id list that the flow appends to while the UI thread's progress tick
// walks it: every copy a reader takes is a whole prefix of what was appended.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "download/gid_list.h"

namespace {

std::string Gid(size_t i) {
    char text[17];
    snprintf(text, sizeof text, "%016zx", i);
    return text;
}

TEST(GidList, SnapshotsTakenWhileAnotherThreadAppendsAreWholePrefixes) {
    GidList list;
    constexpr size_t kCount = 20000;
    std::atomic<bool> done{false};
    size_t appended = 0;
    // Single ids and small batches, so the vector grows (and moves) often.
    std::thread writer([&] {
        size_t i = 0;
        while (i < kCount) {
            if (i % 3 == 0) {
                list.Append(Gid(i++));
            } else {
                list.Append(std::vector<std::string>{Gid(i), Gid(i + 1)});
                i += 2;
            }
        }
        appended = i;
        done = true;
    });
    size_t snapshots = 0, last = 0;
    bool ordered = true;
    while (!done || snapshots == 0) {
        std::vector<std::string> seen = list.Snapshot();
        ++snapshots;
        ordered = ordered && seen.size() >= last;
        last = seen.size();
        for (size_t i = 0; i < seen.size() && ordered; i += 97) ordered = seen[i] == Gid(i);
        if (!seen.empty()) ordered = ordered && seen.back() == Gid(seen.size() - 1);
    }
    writer.join();
    EXPECT_TRUE(ordered);
    EXPECT_GT(snapshots, 1u);
    ASSERT_EQ(list.Size(), appended);
    EXPECT_EQ(list.From(appended - 1), std::vector<std::string>{Gid(appended - 1)});
    EXPECT_TRUE(list.From(list.Size()).empty());
}

}  // namespace
