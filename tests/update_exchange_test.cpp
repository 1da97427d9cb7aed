#include "scripted_server.h"
#include "update/background_call.h"
#include "update/exchange.h"
#include "update/request.h"
#include "update/response.h"

#include <gtest/gtest.h>

#include <future>

namespace tov {
namespace {

using namespace std::chrono_literals;
using testing::InPieces;
using testing::ScriptedReply;
using testing::ScriptedServer;

// An installer-like body: CR LF, NUL and high bytes, and text that looks like a status line.
std::string SampleInstaller() {
    std::string body = "MZ\x90\0\r\n";
    body += "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabc";
    for (int i = 0; i < 3000; ++i)
        body += static_cast<char>(i * 7 % 256);
    return body + "\r\n\r\n";
}

std::string OkReply(const std::string& body, const std::string& lengthHeader = "Content-Length") {
    return "HTTP/1.1 200 OK\r\nServer: test\r\n" + lengthHeader + ": " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

TEST(UpdateRequest, AsksForTheNextMinorVersionInSixLines) {
    EXPECT_EQ(InstallerName(5), "tovlen1_6_0.exe");
    EXPECT_EQ(InstallerName(9), "tovlen1_10_0.exe");
    EXPECT_EQ(InstallerName(65535), "tovlen1_65536_0.exe");

    EXPECT_EQ(UpdateRequestLines("x.exe", UpdateServer{"updates.tovlen.org", 80})[3],
              "Host: updates.tovlen.org\r\n");
    EXPECT_EQ(UpdateRequestLines("x.exe", UpdateServer{"mirror.example", 8080})[3],
              "Host: mirror.example:8080\r\n");
    EXPECT_EQ(HostHeader(UpdateServer{"::1", 80}), "[::1]");
    EXPECT_EQ(HostHeader(UpdateServer{"::1", 81}), "[::1]:81");
}

TEST(UpdateRequest, UpdateHostSettingNamesAServerOrNothing) {
    EXPECT_EQ(ParseUpdateServer(""), (UpdateServer{kDefaultUpdateHost, 80}));
    EXPECT_EQ(ParseUpdateServer("  "), (UpdateServer{kDefaultUpdateHost, 80}));
    EXPECT_EQ(ParseUpdateServer("mirror.example"), (UpdateServer{"mirror.example", 80}));
    EXPECT_EQ(ParseUpdateServer(" 127.0.0.1:8080 "), (UpdateServer{"127.0.0.1", 8080}));
    EXPECT_EQ(ParseUpdateServer("[::1]"), (UpdateServer{"::1", 80}));
    EXPECT_EQ(ParseUpdateServer("[fe80::1]:65535"), (UpdateServer{"fe80::1", 65535}));
    for (const char* bad : {"host:", "host:0", "host:65536", "host:+80", "host:80x", ":80", "a b",
                            "host\r\nX: y", "[::1", "[]", "[::1]80", "[::g]", "http://host/", "host:80:81"})
        EXPECT_FALSE(ParseUpdateServer(bad)) << bad;
}

struct ResponseCase {
    const char* name;
    std::string reply;
    bool closed; // the connection ends after the reply
    ResponseVerdict verdict;
    std::string body;
};

std::vector<ResponseCase> ResponseCases() {
    const std::string installer = SampleInstaller();
    return {
        {"plain 200", OkReply(installer), false, ResponseVerdict::Complete, installer},
        {"upper-case header", OkReply("12345", "CONTENT-LENGTH"), false, ResponseVerdict::Complete, "12345"},
        {"mixed case, no blank", "HTTP/1.1 200 OK\r\ncOnTeNt-LeNgTh:5\r\n\r\n12345", false,
         ResponseVerdict::Complete, "12345"},
        {"blanks and tabs around the value", "HTTP/1.1 200 OK\r\nContent-Length: \t5 \r\n\r\n12345", false,
         ResponseVerdict::Complete, "12345"},
        {"bare line feeds", "HTTP/1.1 200 OK\nContent-Length: 2\n\nab", false, ResponseVerdict::Complete,
         "ab"},
        {"empty installer", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", false, ResponseVerdict::Complete,
         ""},
        {"status line without reason", "HTTP/1.1 200\r\nContent-Length: 1\r\n\r\nx", false,
         ResponseVerdict::Complete, "x"},
        {"bytes past the length are not the installer's", OkReply("abc") + "trailing junk", false,
         ResponseVerdict::Complete, "abc"},
        {"same length twice", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nContent-Length: 2\r\n\r\nab", false,
         ResponseVerdict::Complete, "ab"},
        {"largest size taken", "HTTP/1.1 200 OK\r\nContent-Length: 536870912\r\n\r\n", false,
         ResponseVerdict::Pending, ""},

        {"404", "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found", true,
         ResponseVerdict::NotAnUpdate, ""},
        {"HTTP/1.0 200", "HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\nabc", true,
         ResponseVerdict::NotAnUpdate, ""},
        {"200 only in the body", "HTTP/1.1 302 Found\r\nContent-Length: 12\r\n\r\nHTTP/1.1 200", true,
         ResponseVerdict::NotAnUpdate, ""},
        {"status 2000", "HTTP/1.1 2000 OK\r\nContent-Length: 3\r\n\r\nabc", true,
         ResponseVerdict::NotAnUpdate, ""},
        {"lower-case protocol", "http/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabc", true,
         ResponseVerdict::NotAnUpdate, ""},
        {"not HTTP at all", "SSH-2.0-OpenSSH\r\n", true, ResponseVerdict::NotAnUpdate, ""},

        {"no length", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nabc", true, ResponseVerdict::Incomplete,
         ""},
        {"length not a number", "HTTP/1.1 200 OK\r\nContent-Length: 5x\r\n\r\n12345", true,
         ResponseVerdict::Incomplete, ""},
        {"negative length", "HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n", true,
         ResponseVerdict::Incomplete, ""},
        {"empty length", "HTTP/1.1 200 OK\r\nContent-Length:\r\n\r\nab", true, ResponseVerdict::Incomplete,
         ""},
        {"two different lengths", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nContent-Length: 3\r\n\r\nabc",
         true, ResponseVerdict::Incomplete, ""},
        {"chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n", true,
         ResponseVerdict::Incomplete, ""},
        {"chunked beside a length",
         "HTTP/1.1 200 OK\r\nContent-Length: 3\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n",
         true, ResponseVerdict::Incomplete, ""},
        {"over the size bound", "HTTP/1.1 200 OK\r\nContent-Length: 536870913\r\n\r\nabc", false,
         ResponseVerdict::Incomplete, ""},
        {"huge length", "HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999999\r\n\r\n", false,
         ResponseVerdict::Incomplete, ""},
        {"short body, connection dropped", OkReply(installer).substr(0, OkReply(installer).size() - 10), true,
         ResponseVerdict::Incomplete, ""},
        {"dropped inside the header block", "HTTP/1.1 200 OK\r\nContent-Len", true,
         ResponseVerdict::Incomplete, ""},
        {"dropped inside a 200 status line", "HTTP/1.1 200 O", true, ResponseVerdict::Incomplete, ""},
        {"dropped inside another status line", "HTTP/1.1 40", true, ResponseVerdict::NotAnUpdate, ""},
        {"endless header block", "HTTP/1.1 200 OK\r\n" + std::string(kMaxHeaderBlock, 'x'), false,
         ResponseVerdict::Incomplete, ""},
        {"header block past the bound",
         "HTTP/1.1 200 OK\r\nX: " + std::string(kMaxHeaderBlock, 'x') + "\r\nContent-Length: 1\r\n\r\nz",
         true, ResponseVerdict::Incomplete, ""},
        {"header block just within the bound",
         "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nX: " + std::string(kMaxHeaderBlock - 43, 'x') + "\r\n\r\nz",
         true, ResponseVerdict::Complete, "z"},
        {"nothing at all", "", true, ResponseVerdict::NoAnswer, ""},
    };
}

void CheckCase(const ResponseCase& c, const std::vector<std::string>& pieces, const char* how) {
    UpdateResponse response;
    for (const std::string& piece : pieces)
        response.Append(piece);
    if (c.closed)
        response.EndOfStream();
    EXPECT_EQ(response.Verdict(), c.verdict) << c.name << ", " << how;
    if (c.verdict == ResponseVerdict::Complete) {
        EXPECT_EQ(response.Body(), c.body) << c.name << ", " << how;
    }
}

TEST(UpdateResponse, DecidesFromStatusLineAndContentLengthHoweverTheReplyIsCut) {
    for (const ResponseCase& c : ResponseCases()) {
        CheckCase(c, {c.reply}, "in one piece");
        CheckCase(c, InPieces(c.reply, 1), "byte by byte");
        CheckCase(c, InPieces(c.reply, 7), "in pieces of seven");
    }
}

TEST(UpdateResponse, DecidesAsSoonAsItCanAndIgnoresTheRest) {
    UpdateResponse notFound;
    notFound.Append("HTTP/1.1 404 Not Found\r\n");
    EXPECT_EQ(notFound.Verdict(), ResponseVerdict::NotAnUpdate);
    notFound.Append("Content-Length: 0\r\n\r\n");
    notFound.EndOfStream();
    EXPECT_EQ(notFound.Verdict(), ResponseVerdict::NotAnUpdate);
}

ExchangeLimits ShortLimits() {
    ExchangeLimits limits;
    limits.connect = 2000ms;
    limits.silence = 300ms;
    limits.slice = 5ms;
    return limits;
}

ExchangeResult Fetch(const ScriptedServer& server, int* pumps = nullptr) {
    return FetchInstaller(UpdateServer{"127.0.0.1", server.Port()}, "tovlen1_6_0.exe", ShortLimits(),
                          [pumps] {
                              if (pumps)
                                  ++*pumps;
                          });
}

TEST(UpdateExchange, DoesNotWaitForACloseOnceTheInstallerIsWhole) {
    ScriptedServer server({{OkReply("abc")}, 0ms, true, /*closeAfter=*/false});
    const auto start = std::chrono::steady_clock::now();
    const ExchangeResult result = Fetch(server);
    EXPECT_EQ(result.outcome, ExchangeOutcome::Downloaded);
    EXPECT_EQ(result.installer, "abc");
    EXPECT_LT(std::chrono::steady_clock::now() - start, ShortLimits().silence);
}

TEST(UpdateExchange, SilenceAndRefusalEndInAConnectionError) {
    {
        ScriptedServer server({{}, 0ms, /*answer=*/false});
        int pumps = 0;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Fetch(server, &pumps).outcome, ExchangeOutcome::ConnectFailed);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_GE(took, ShortLimits().silence);
        EXPECT_LT(took, ShortLimits().silence * 5);
        EXPECT_GT(pumps, 5);
    }
    {
        // A server that stops in the middle of the body is silent, not finished.
        ScriptedServer server({{"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n12345"}, 0ms, true, false});
        EXPECT_EQ(Fetch(server).outcome, ExchangeOutcome::ConnectFailed);
    }
    {
        std::uint16_t freePort = 0;
        {
            ScriptedServer probe({{}, 0ms, false});
            freePort = probe.Port();
        }
        EXPECT_EQ(FetchInstaller(UpdateServer{"127.0.0.1", freePort}, "x", ShortLimits(), {}).outcome,
                  ExchangeOutcome::ConnectFailed);
    }
}

TEST(BackgroundCall, CanBeWaitedForInSlicesOrLeftBehind) {
    std::atomic<bool> release{false};
    BackgroundCall<int> call([&release] {
        while (!release)
            std::this_thread::sleep_for(1ms);
        return 42;
    });
    EXPECT_FALSE(call.Wait(5ms));
    release = true;
    EXPECT_EQ(call.Wait(5s), 42);
    EXPECT_EQ(call.Wait(0ms), 42);

    // Left behind while it still runs, it finishes on its own: its result goes to storage that
    // outlives the caller (the sanitizer sees a write into freed memory otherwise).
    std::promise<void> leftBehind;
    std::promise<void> finished;
    auto slow = std::make_unique<BackgroundCall<std::string>>([&] {
        leftBehind.get_future().wait();
        finished.set_value();
        return std::string(1000, 'x');
    });
    slow.reset();
    auto done = finished.get_future();
    leftBehind.set_value();
    EXPECT_EQ(done.wait_for(5s), std::future_status::ready);
}

} // namespace
} // namespace tov
