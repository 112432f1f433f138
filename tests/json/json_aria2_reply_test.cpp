// Replies of the real aria2 daemon, captured from aria2c 1.36 on 127.0.0.1:
// they parse, read as the download engine reads them, and print back byte
// for byte (the daemon writes the same compact form, "\/" included).
#include <gtest/gtest.h>

#include "json/json.h"
#include "json_test_data.h"

using jsontest::ReadDataFile;

namespace {

std::string TextOf(const JSON& object, const char* name) { return object.GetProperty(name).text; }

}  // namespace

TEST(JsonAria2Reply, EveryCapturedReplyPrintsBackUnchanged) {
    const char* files[] = {
        "adduri-reply.json",        "adduri-batch-100.json",  "error-unauthorized.json", "error-unknown-gid.json",
        "getglobalstat.json",       "tellstatus-active.json", "tellstatus-batch.json",   "tellstatus-batch-100.json",
        "tellstatus-complete.json", "unpause-batch.json",
    };
    for (const char* file : files) {
        std::string reply = ReadDataFile(file);
        ASSERT_FALSE(reply.empty()) << file;
        JSON document;
        ASSERT_TRUE(document.parse(reply)) << file;
        EXPECT_EQ(document.toString(), reply) << file;
    }
}

TEST(JsonAria2Reply, TellStatusUnescapesSlashesInPathsAndUris) {
    JSON reply;
    ASSERT_TRUE(reply.parse(ReadDataFile("tellstatus-complete.json")));
    ASSERT_FALSE(reply.KeyExists("error"));
    JSON result = reply.GetJsonProperty("result");
    EXPECT_EQ(TextOf(result, "gid"), "5bff23a6df14d34b");
    EXPECT_EQ(TextOf(result, "status"), "complete");
    EXPECT_EQ(TextOf(result, "totalLength"), "300000");
    EXPECT_EQ(TextOf(result, "completedLength"), "300000");
    EXPECT_EQ(TextOf(result, "dir"), "/tmp/aria2cap/dl");
    JSON files = result.GetJsonProperty("files");
    ASSERT_EQ(files.GetItemCount(), 1);
    JSON file = files.GetJsonItem(0);
    EXPECT_EQ(TextOf(file, "path"), "/tmp/aria2cap/dl/temp-update.zip");
    JSON uris = file.GetJsonProperty("uris");
    ASSERT_EQ(uris.GetItemCount(), 5);
    EXPECT_EQ(TextOf(uris.GetJsonItem(0), "uri"), "http://127.0.0.1:36598/client-update.zip");
    EXPECT_EQ(TextOf(uris.GetJsonItem(0), "status"), "used");
}

TEST(JsonAria2Reply, TellStatusOfWindowsFolderKeepsItsBackslashes) {
    JSON reply;
    ASSERT_TRUE(reply.parse(ReadDataFile("tellstatus-active.json")));
    JSON result = reply.GetJsonProperty("result");
    EXPECT_EQ(TextOf(result, "status"), "active");
    EXPECT_EQ(TextOf(result, "dir"), "Z:\\tmp\\aria2cap\\dl");
    EXPECT_EQ(TextOf(result.GetJsonProperty("files").GetJsonItem(0), "path"), "Z:\\tmp\\aria2cap\\dl/temp-client.zip");
    EXPECT_EQ(TextOf(result, "downloadSpeed"), "174675");
}

TEST(JsonAria2Reply, GlobalStatReadsItsCountsAsTexts) {
    JSON reply;
    ASSERT_TRUE(reply.parse(ReadDataFile("getglobalstat.json")));
    JSON result = reply.GetJsonProperty("result");
    EXPECT_EQ(TextOf(result, "numActive"), "1");
    EXPECT_EQ(TextOf(result, "numWaiting"), "1");
    EXPECT_EQ(TextOf(result, "numStopped"), "1");
    EXPECT_EQ(TextOf(result, "downloadSpeed"), "173994");
    EXPECT_EQ(TextOf(result, "uploadSpeed"), "0");
    EXPECT_EQ(TextOf(reply, "id"), "1733560000000");
}

TEST(JsonAria2Reply, ErrorReplyHasNoResult) {
    for (const char* file : {"error-unknown-gid.json", "error-unauthorized.json"}) {
        JSON reply;
        ASSERT_TRUE(reply.parse(ReadDataFile(file))) << file;
        EXPECT_TRUE(reply.KeyExists("error")) << file;
        EXPECT_FALSE(reply.KeyExists("result")) << file;
        JSON error = reply.GetJsonProperty("error");
        JsonValue code = error.GetProperty("code");
        EXPECT_EQ(code.kind, JsonValue::Integer) << file;
        EXPECT_EQ(code.integer, 1) << file;
        EXPECT_FALSE(TextOf(error, "message").empty()) << file;
    }
}

TEST(JsonAria2Reply, BatchMembersAnswerTheirRequestsByPosition) {
    JSON reply;
    ASSERT_TRUE(reply.parse(ReadDataFile("tellstatus-batch.json")));
    ASSERT_EQ(reply.GetItemCount(), 4);
    const char* statuses[] = {"complete", "active", nullptr, "paused"};
    for (int i = 0; i < 4; ++i) {
        JSON member = reply.GetJsonItem(i);
        if (!statuses[i]) {
            EXPECT_TRUE(member.KeyExists("error")) << i;
            EXPECT_EQ(member.GetJsonProperty("result").toString(), "null") << i;
            continue;
        }
        EXPECT_FALSE(member.KeyExists("error")) << i;
        EXPECT_EQ(TextOf(member.GetJsonProperty("result"), "status"), statuses[i]) << i;
    }

    JSON unpause;
    ASSERT_TRUE(unpause.parse(ReadDataFile("unpause-batch.json")));
    ASSERT_EQ(unpause.GetItemCount(), 2);
    EXPECT_EQ(TextOf(unpause.GetJsonItem(0), "result"), "da919495f99fd3ad");
    EXPECT_TRUE(unpause.GetJsonItem(1).KeyExists("error"));
}

TEST(JsonAria2Reply, LargeBatchesReadEveryMember) {
    JSON added;
    ASSERT_TRUE(added.parse(ReadDataFile("adduri-batch-100.json")));
    ASSERT_EQ(added.GetItemCount(), 100);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(TextOf(added.GetJsonItem(i), "result").size(), 16u) << i;

    JSON status;
    ASSERT_TRUE(status.parse(ReadDataFile("tellstatus-batch-100.json")));
    ASSERT_EQ(status.GetItemCount(), 100);
    int complete = 0, paused = 0;
    for (int i = 0; i < 100; ++i) {
        JSON result = status.GetJsonItem(i).GetJsonProperty("result");
        EXPECT_EQ(TextOf(result, "gid"), TextOf(added.GetJsonItem(i), "result")) << i;
        std::string state = TextOf(result, "status");
        complete += state == "complete";
        paused += state == "paused";
    }
    EXPECT_EQ(complete, 60);
    EXPECT_EQ(paused, 40);
}
