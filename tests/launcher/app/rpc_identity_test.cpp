// The time stamp text that becomes every JSON-RPC request's "id", and the secret.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>

#include "download/engine_bindings.h"
#include "download/rpc_request.h"
#include "launcher/app/download_binding.h"
#include "launcher/app/globals.h"
#include "launcher/app/rpc_identity.h"
#include "support/test_support.h"

namespace {

SYSTEMTIME Local(int year, int month, int day, int hour, int minute, int second, int millis) {
    SYSTEMTIME t{};
    t.wYear = (WORD)year;
    t.wMonth = (WORD)month;
    t.wDay = (WORD)day;
    t.wHour = (WORD)hour;
    t.wMinute = (WORD)minute;
    t.wSecond = (WORD)second;
    t.wMilliseconds = (WORD)millis;
    return t;
}

struct StampCase {
    SYSTEMTIME time;
    bool tenDigits;
    const char* expected;
};

class TimestampText : public testing::TestWithParam<StampCase> {};

TEST_P(TimestampText, CountsFromEightOClockLocalAndPadsOrCuts) {
    EXPECT_EQ(UnixTimestampTextAt(GetParam().time, GetParam().tenDigits), GetParam().expected);
}

// 2024-01-02 03:04:05 local is 1704135845 seconds after 1970-01-01 08:00:00.
INSTANTIATE_TEST_SUITE_P(
    Cases, TimestampText,
    testing::Values(StampCase{Local(2024, 1, 2, 3, 4, 5, 45), false, "1704135845045"},
                    StampCase{Local(2024, 1, 2, 3, 4, 5, 7), false, "1704135845007"},
                    StampCase{Local(2024, 1, 2, 3, 4, 5, 999), false, "1704135845999"},
                    StampCase{Local(2024, 1, 2, 3, 4, 5, 45), true, "1704135845"},
                    // 9-digit seconds: 12 characters, padded to 13; cut to 10 it keeps one millisecond digit.
                    StampCase{Local(2001, 9, 9, 9, 46, 39, 123), false, "9999999991230"},
                    StampCase{Local(2001, 9, 9, 9, 46, 39, 123), true, "9999999991"},
                    StampCase{Local(1970, 1, 1, 8, 0, 0, 5), false, "0005000000000"},
                    StampCase{Local(1970, 1, 1, 8, 0, 1, 0), true, "1000000000"}));

TEST(TimestampText, NowHasThirteenDigits) {
    std::string text = UnixTimestampText(false);
    ASSERT_EQ(text.size(), 13u);
    for (char c : text) EXPECT_TRUE(isdigit((unsigned char)c)) << text;
}

TEST(RpcIdentity, RequestIdIsTakenOnceAndEveryRequestCarriesItAndTheSecret) {
    InitModuleGlobals();
    BindLauncherToDownloadEngine();
    const std::string taken = RpcRequestId;
    ASSERT_EQ(taken.size(), 13u);
    ASSERT_EQ(RpcSecret.size(), 120u);
    for (char c : RpcSecret) EXPECT_TRUE(isalnum((unsigned char)c)) << RpcSecret;

    // Once the clock has moved on, a request made now still carries the
    // stamp of the start.
    ASSERT_TRUE(testsupport::WaitFor([&] { return UnixTimestampText(false) != taken; }, 5000));
    std::string request = NewRpcRequest("aria2.getGlobalStat").toString();
    EXPECT_NE(request.find("\"id\":\"" + taken + "\""), std::string::npos) << request;
    EXPECT_NE(request.find("\"token:" + RpcSecret + "\""), std::string::npos) << request;
    BindDownloadEngine(DownloadEngineBindings());
}

}  // namespace
