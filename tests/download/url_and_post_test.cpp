// The URL routines and the WinInet POST helper, against a server inside the
// test process.
#include <gtest/gtest.h>
#include <windows.h>
#include <wininet.h>

#include "download/http_post.h"
#include "utilities/internet_handle.h"
#include "utilities/url_parts.h"
#include "support/test_http_server.h"

namespace {

struct UrlCase {
    const char* url;
    const char* host;
    int port;
    const char* path;
};

TEST(UrlRoutines, SplitUrlsIntoHostPortAndPath) {
    const UrlCase cases[] = {
        {"http://127.0.0.1:36510/jsonrpc", "127.0.0.1", 36510, "/jsonrpc"},
        {"https://Files.Example.COM/a/b.zip?x=1&Y=2", "files.example.com", 443, "/a/b.zip?x=1&Y=2"},
        {"http://example.com", "example.com", 80, "/"},
        {"HTTPS://EXAMPLE.com:8443/Path", "example.com", 8443, "/Path"},
        {"example.com:81/x", "example.com", 81, "/x"},
        {"http://h/x", "h", 80, "/x"},  // a host that also occurs in the scheme
        {"https://ps/q", "ps", 443, "/q"},
    };
    for (const UrlCase& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(UrlGetHost(c.url), c.host);
        EXPECT_EQ(UrlGetPort(c.url), c.port);
        EXPECT_EQ(UrlGetPath(c.url), c.path);
        EXPECT_EQ(UrlIsLoopback(c.url), c.host == std::string("127.0.0.1"));
    }
    EXPECT_TRUE(UrlIsLoopback("http://localhost:36510/jsonrpc"));
    EXPECT_TRUE(UrlIsLoopback("http://127.8.9.1/"));
    EXPECT_FALSE(UrlIsLoopback("http://127example.com/"));
}

TEST(UrlRoutines, RequestFlagsDependOnTheScheme) {
    EXPECT_EQ(HttpPostRequestFlags("http://127.0.0.1:36510/jsonrpc"),
              (DWORD)(INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS));
    EXPECT_EQ(HttpPostRequestFlags("HTTPS://example.com/"),
              (DWORD)(INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE | INTERNET_FLAG_SECURE));
}

std::string Url(const FakeHttpServer& server, const char* path = "/jsonrpc") {
    return "http://127.0.0.1:" + std::to_string(server.port()) + path;
}

TEST(HttpPostRequest, SendsTheBodyUnchangedWithTheFixedHeaders) {
    FakeHttpServer server(0, [](const ReceivedRequest&) { return std::string("{\"result\":\"OK\"}"); });
    ASSERT_TRUE(server.listening());
    std::string body = "{\"a\":\"\xD6\xD0\xCE\xC4\"}";  // GBK bytes go out as they are
    std::string url = Url(server, "/jsonrpc?x=1");
    EXPECT_EQ(HttpPostRequest(url, body), "{\"result\":\"OK\"}");
    auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].requestLine, "POST /jsonrpc?x=1 HTTP/1.1");
    EXPECT_EQ(requests[0].body, body);
    const std::string& h = requests[0].headers;
    EXPECT_NE(h.find("Accept: */*\r\nReferer: " + url +
                     "\r\nAccept-Language: zh-cn\r\n"
                     "Content-Type: application/x-www-form-urlencoded"),
              std::string::npos)
        << h;
    EXPECT_NE(h.find("User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"), std::string::npos) << h;
}

TEST(HttpPostRequest, CollectsRepliesOfAnyLengthWithZeroBytes) {
    for (size_t size : {0u, 1u, 1023u, 1024u, 1025u, 5000u}) {
        std::string reply;
        for (size_t i = 0; i < size; ++i) reply += (char)(i % 7 == 3 ? 0 : 'a' + i % 26);
        FakeHttpServer server(0, [&](const ReceivedRequest&) { return reply; });
        EXPECT_EQ(HttpPostRequest(Url(server), "x"), reply) << size;
    }
}

TEST(HttpPostRequest, ReturnsTheBodyOfAnErrorStatus) {
    FakeHttpServer server(0, nullptr);
    server.SetRawReply([](const ReceivedRequest&) {
        return std::string("HTTP/1.1 400 Bad Request\r\nContent-Length: 9\r\nConnection: close\r\n\r\n{\"e\":400}");
    });
    EXPECT_EQ(HttpPostRequest(Url(server), "{}"), "{\"e\":400}");
}

TEST(HttpPostRequest, SendsAnEmptyBodyAsNoBody) {
    FakeHttpServer server(0, [](const ReceivedRequest&) { return std::string("ok"); });
    EXPECT_EQ(HttpPostRequest(Url(server), ""), "ok");
    auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].body, "");
}

TEST(HttpPostRequest, StopsAtAReplyCutOffBeforeItsLength) {
    FakeHttpServer server(0, nullptr);
    server.SetRawReply([](const ReceivedRequest&) {
        return std::string("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n") + std::string(3000, 'z');
    });
    DWORD start = GetTickCount();
    std::string reply = HttpPostRequest(Url(server), "{}");
    EXPECT_LT(GetTickCount() - start, 10000u);
    EXPECT_LE(reply.size(), 3000u);
    EXPECT_EQ(reply, std::string(reply.size(), 'z'));
}

TEST(HttpPostRequest, GivesNothingQuicklyWhenNobodyListens) {
    int port;
    {
        FakeHttpServer server(0, nullptr);
        port = server.port();
    }
    DWORD start = GetTickCount();
    EXPECT_EQ(HttpPostRequest("http://127.0.0.1:" + std::to_string(port) + "/jsonrpc", "{}"), "");
    EXPECT_LT(GetTickCount() - start, 3000u);
}

// A daemon that is shutting down still completes connections in its listen
// queue and never answers them; the exit path must not wait for it forever,
// and the UI thread, which asks the daemon on its timers, not for long.
TEST(HttpPostRequest, GivesUpOnAPeerThatNeverAnswers) {
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 4), 0);  // and never accept
    int length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);

    DWORD start = GetTickCount();
    EXPECT_EQ(HttpPostRequest("http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/jsonrpc", "{}"), "");
    EXPECT_LT(GetTickCount() - start, kSilentPeerLimitMs);
    closesocket(listener);
}

}  // namespace
