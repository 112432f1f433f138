// The service GET: the body read to its end, or nothing at all, so that a
// caller never takes a cut number, URL or archive for the answer.
#include <gtest/gtest.h>

#include <string>

#include "launcher/service/http_get.h"
#include "support/test_http_server.h"

namespace {

TEST(HttpGet, WholeBodyOrNothing) {
    const std::string body(20000, 'x');
    const struct {
        const char* name;
        std::string reply;
        std::string expected;
        int status;
    } cases[] = {
        {"whole", "HTTP/1.0 200 OK\r\nContent-Length: 20000\r\n\r\n" + body, body, 200},
        {"status not looked at", "HTTP/1.0 404 Not Found\r\nContent-Length: 4\r\n\r\ngone", "gone", 404},
        {"to the connection's end", "HTTP/1.0 200 OK\r\n\r\n" + body, body, 200},
        {"connection closed before the announced length",
         "HTTP/1.0 200 OK\r\nContent-Length: 40000\r\n\r\n" + body, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeHttpServer server(0, nullptr);
        server.SetRawReply([&](const ReceivedRequest&) { return c.reply; });
        int status = -1;
        const std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/v1/fivemclient/version";
        EXPECT_TRUE(HttpGet(url, &status) == c.expected);
        EXPECT_EQ(status, c.status);
        EXPECT_TRUE(HttpGet(url) == c.expected) << "without the status";
    }
}

}  // namespace
