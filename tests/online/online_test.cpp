#include "online/online.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "support/loopback_server.h"

namespace {
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }
}  // namespace

TEST(SplitUrl, TakesHostPortAndPathWhateverTheScheme) {
    const struct {
        std::string url;
        std::string host;
        int port;
        std::string path;
    } cases[] = {
        {"http://www.marrowfen.example/files/kestrix.dat", "www.marrowfen.example", 80, "/files/kestrix.dat"},
        {"https://www.marrowfen.example/files/kestrix.dat", "www.marrowfen.example", 80, "/files/kestrix.dat"},
        {"http://127.0.0.1:8080/files/kestrix.dat", "127.0.0.1", 8080, "/files/kestrix.dat"},
        {"https://mirror.example:8443", "mirror.example", 8443, "/"},
        {"mirror.example/a?b=c#part", "mirror.example", 80, "/a?b=c"},
        {"http://user@[::1]:81/x", "::1", 81, "/x"},
        {"http://host:/x", "host", 80, "/x"},
    };
    for (const auto& c : cases) {
        UrlParts parts;
        ASSERT_TRUE(SplitUrl(c.url, &parts)) << c.url;
        EXPECT_EQ(parts.host, c.host) << c.url;
        EXPECT_EQ(parts.port, c.port) << c.url;
        EXPECT_EQ(parts.path, c.path) << c.url;
    }
    for (const std::string bad : {"", "http://", "http:///path", "http://host:0/", "http://host:99999/", "http://host:8o/",
                                  "http://host/a b", "http://host/a\r\nX-Injected: 1", "http://[::1/"}) {
        UrlParts parts;
        EXPECT_FALSE(SplitUrl(bad, &parts)) << bad;
    }
}

TEST(SiteAddresses, DeriveFromOneBaseThatTheEnvironmentReplaces) {
    unsetenv("KESTRIX_SITE");
    EXPECT_EQ(HomePageAddress(), "https://www.marrowfen.example/kestrix/");
    EXPECT_EQ(SupportAddress(), "support@marrowfen.example");
    setenv("KESTRIX_SITE", "http://127.0.0.1:8080/", 1);
    EXPECT_EQ(SiteAddress(), "http://127.0.0.1:8080");
    EXPECT_EQ(HomePageAddress(), "http://127.0.0.1:8080/kestrix/");
    EXPECT_EQ(UpdateFileAddress(), "http://127.0.0.1:8080/files/kestrix.dat");
    EXPECT_EQ(UninstallPageAddress(), "http://127.0.0.1:8080/kestrix/uninstall.html");
    EXPECT_EQ(ConverterFinderAddress("bmp", "dds"), "http://127.0.0.1:8080/find/bmp-dds/");
    EXPECT_EQ(SupportAddress(), "support@127.0.0.1");
    unsetenv("KESTRIX_SITE");
}

// The body between the first blank line and the next, trimmed and cut to three characters.
TEST(HttpGet, ReturnsTheStartOfTheBodyFromALoopbackServer) {
    const struct {
        std::string reply;
        std::string answer;
    } cases[] = {
        {OkReply("291"), "291"},
        {OkReply("290\r\n"), "290"},
        {OkReply("  100  "), "100"},
        {OkReply("$FF"), "$FF"},
        {OkReply("letters"), "let"},
        {OkReply(""), ""},
        {OkReply("291\r\n\r\n999 more text"), "291"},
        {"HTTP/1.0 200 OK\r\nContent-Length: 3\r\n", ""},  // no blank line
        {"HTTP/1.0 404 Not Found\r\n\r\n404 Not Found", ""},
        {"HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1/\r\n\r\n291", ""},
        {OkReply("291") + std::string(1 << 20, 'x'), "291"},      // 1 MB: read up to the buffer
        {std::string(1 << 20, 'x'), ""},                           // 1 MB without a blank line
        {OkReply(std::string("29\0" "1", 4)), "29"},               // text ends at a zero byte
    };
    for (const auto& c : cases) {
        LoopbackServer server(c.reply);
        EXPECT_EQ(HttpGet(server.url(), "Quarvel 2.9"), c.answer) << c.reply.substr(0, 60);
    }
}

TEST(HttpGet, SendsThePlainRequestToTheUrlsPort) {
    LoopbackServer server(OkReply("291"));
    ASSERT_EQ(HttpGet("https://127.0.0.1:" + std::to_string(server.port()) + "/files/kestrix.dat", "Quarvel 2.9"), "291");
    EXPECT_EQ(server.request(),
              "GET /files/kestrix.dat HTTP/1.0\r\nHost: 127.0.0.1\r\nAccept: */*\r\nUser-Agent: Quarvel 2.9\r\n"
              "Connection: close\r\n\r\n");
    ASSERT_EQ(HttpGet(server.url("/"), ""), "291");
    EXPECT_NE(server.request().find("User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; en)\r\n"),
              std::string::npos);
}

TEST(HttpGet, FailuresGiveAnEmptyAnswerQuickly) {
    LoopbackServer closing("", LoopbackServer::Manner::CloseAtOnce);
    const std::string cases[] = {
        "",
        "http://127.0.0.1:" + std::to_string(LoopbackServer::RefusingPort()) + "/files/kestrix.dat",
        closing.url(),
        "http:///files/kestrix.dat",
        "http://127.0.0.1:0/",
        "http://127.0.0.1:99999/",
        "http://no-such-host.invalid/files/kestrix.dat",
    };
    for (const std::string& url : cases) {
        auto start = Clock::now();
        EXPECT_EQ(HttpGet(url, ""), "") << url;
        EXPECT_LT(SecondsSince(start), 11.0) << url;
    }
}

// A server that never answers, and one that answers a byte a second, both give up at the limit.
TEST(HttpGet, SlowServersEndAtTheTimeLimit) {
    LoopbackServer silent("", LoopbackServer::Manner::Silent);
    LoopbackServer trickling(OkReply("291"), LoopbackServer::Manner::Answer, 1000);
    for (LoopbackServer* server : {&silent, &trickling}) {
        auto start = Clock::now();
        EXPECT_EQ(HttpGet(server->url(), ""), "");
        double seconds = SecondsSince(start);
        EXPECT_GE(seconds, 9.5);
        EXPECT_LT(seconds, 12.0);
    }
}

TEST(JudgeUpdateAnswer, ReadsTheNumberAsSettingsDo) {
    const struct {
        const char* answer;
        UpdateVerdict verdict;
    } cases[] = {
        {"291", UpdateVerdict::NewVersion},  {"290", UpdateVerdict::NoUpdate},
        {"100", UpdateVerdict::NoUpdate},    {"$FF", UpdateVerdict::NoUpdate},
        {"%11", UpdateVerdict::NoUpdate},    {"let", UpdateVerdict::ConnectionProblem},
        {"", UpdateVerdict::ConnectionProblem}, {"0", UpdateVerdict::ConnectionProblem},
        {"$1FF", UpdateVerdict::NewVersion},
    };
    for (const auto& c : cases) EXPECT_EQ(JudgeUpdateAnswer(c.answer), c.verdict) << c.answer;
}

TEST(UpdateSchedule, AsksOnceTheRangesDaysHavePassed) {
    constexpr int64_t kDay = 86400;
    const int64_t now = 1'800'000'000;
    const struct {
        int32_t range;
        int64_t lastCheck;
        bool due;
    } cases[] = {
        {0, now - 2 * kDay, true},   {0, now, false},           {0, now - kDay, false},
        {1, now - 7 * kDay - 1, true}, {1, now - 6 * kDay, false}, {2, now - 31 * kDay, true},
        {2, now - 29 * kDay, false}, {3, now - 91 * kDay, true}, {4, now - 179 * kDay, false},
        {4, now - 181 * kDay, true}, {5, 0, false},             {7, now - 31 * kDay, true},
        {-1, now - 29 * kDay, false}, {0, 2147483647, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UpdateCheckIsDue(c.range, c.lastCheck, now), c.due) << c.range << " " << (now - c.lastCheck) / kDay;
}

TEST(SearchExtension, CutsToTwelveCharactersThenKeepsLettersAndDigits) {
    const struct {
        std::string field;
        std::string extension;
    } cases[] = {
        {".BMP", "bmp"},
        {"DDS files", "ddsfiles"},
        {"jpeg-2000 image", "jpeg2000im"},
        {".,;:!?-_ ()", ""},
        {std::string(10000, 'A'), "aaaaaaaaaaaa"},
        {"\xC3\xA9t\xC3\xA9-png-tiff-x", "tpngtiff"},  // "été-png-tiff-x": characters, not bytes
    };
    for (const auto& c : cases) EXPECT_EQ(SearchExtension(c.field), c.extension) << c.field.substr(0, 20);
    EXPECT_EQ(KeepAlnum("a-Z_0.9\xC3\xA9"), "aZ09");
}
