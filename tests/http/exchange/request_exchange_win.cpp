// The real WinInet exchange against loopback servers: the fault server of
// tests/servers and the local members' site of tests/site, both started by
// run-exchange-tests, which passes their ports and record folders in the
// environment. Each server writes one file per request it received, so the
// tests assert the request exactly as it reached the server.
#include <gtest/gtest.h>
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "http/request.h"
#include "http/request_parts.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

Text environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? Text(value) : Text();
}

// One recorded request: its request line, its header lines in order, its body.
struct Record {
    Text request_line;
    TextList header_lines;
    Text body;

    bool has_line(const Text& line) const {
        return std::find(header_lines.begin(), header_lines.end(), line) != header_lines.end();
    }
    // The lines that start with name (letter case ignored), in order.
    TextList lines_named(const Text& name) const {
        TextList found;
        for (const Text& line : header_lines) {
            if (txt_find(line, name, 1, true) == 1) found.push_back(line);
        }
        return found;
    }
};

Record parse_record(const Text& data) {
    Record record;
    const std::size_t end = data.find("\r\n\r\n");
    const Text head = end == Text::npos ? data : data.substr(0, end);
    record.body = end == Text::npos ? Text() : data.substr(end + 4);
    std::size_t at = 0;
    bool first = true;
    while (at <= head.size()) {
        std::size_t next = head.find("\r\n", at);
        if (next == Text::npos) next = head.size();
        Text line = head.substr(at, next - at);
        if (first) {
            record.request_line = line;
            first = false;
        } else {
            record.header_lines.push_back(line);
        }
        at = next + 2;
    }
    return record;
}

// The records of a folder, oldest first.
std::vector<Record> records_in(const Text& folder) {
    std::vector<fs::path> names;
    for (const auto& entry : fs::directory_iterator(fs::path(folder))) {
        if (entry.path().extension() == ".req") names.push_back(entry.path());
    }
    std::sort(names.begin(), names.end());
    std::vector<Record> records;
    for (const fs::path& name : names) {
        std::ifstream file(name, std::ios::binary);
        records.push_back(parse_record(
            Text(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>())));
    }
    return records;
}

int record_count(const Text& folder) { return static_cast<int>(records_in(folder).size()); }

Text bytes_text(const Bytes& bytes) { return Text(bytes.begin(), bytes.end()); }

// Byte i of the fault server's large bodies.
Bytes pattern(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i % 251);
    return bytes;
}

class FaultServer : public ::testing::Test {
  protected:
    void SetUp() override {
        port_ = environment("QUORVEXA_FAULT_PORT");
        refused_port_ = environment("QUORVEXA_FAULT_REFUSED_PORT");
        folder_ = environment("QUORVEXA_FAULT_RECORD");
        if (port_.empty() || folder_.empty()) GTEST_SKIP() << "no fault server given";
    }

    Text url(const Text& path) const { return "http://127.0.0.1:" + port_ + path; }

    // The last request whose request line holds token.
    Record record_with(const Text& token) const {
        const std::vector<Record> records = records_in(folder_);
        for (auto it = records.rbegin(); it != records.rend(); ++it) {
            if (it->request_line.find(token) != Text::npos) return *it;
        }
        ADD_FAILURE() << "no request with " << token << " reached the server";
        return {};
    }

    Text port_, refused_port_, folder_;
};

TEST_F(FaultServer, DefaultBlockGoesOutExactlyInOrder) {
    HttpRequest call;
    call.url = url("/echo?t=defaults");
    call.send_cookies = "a=1";
    const Bytes body = http_request(call);

    EXPECT_EQ(bytes_text(body), "ok");
    EXPECT_EQ(call.extra_headers, "Accept: */*\r\nReferer: " + call.url +
                                      "\r\nAccept-Language: zh-cn"
                                      "\r\nContent-Type: application/x-www-form-urlencoded"
                                      "\r\nCookie: a=1");
    // WinInet's own Host and User-Agent lines, then the block as composed.
    const Record sent = record_with("t=defaults");
    EXPECT_EQ(sent.request_line, "GET /echo?t=defaults HTTP/1.1");
    const TextList expected_lines = {"Host: 127.0.0.1:" + port_,
                                     "User-Agent: " + Text(default_agent),
                                     "Accept: */*",
                                     "Referer: " + call.url,
                                     "Accept-Language: zh-cn",
                                     "Content-Type: application/x-www-form-urlencoded",
                                     "Cookie: a=1"};
    EXPECT_EQ(sent.header_lines, expected_lines);
    EXPECT_EQ(sent.body, "");
}

TEST_F(FaultServer, UserAgentLinesReachTheServer) {
    struct Case {
        const char* token;
        Text headers, wire_agent;
    } cases[] = {
        {"agent-plain", "User-Agent: Plain/1.0\r\nX-Probe: 1", "User-Agent: Plain/1.0"},
        {"agent-last", "X-Probe: 1\r\nUser-Agent: Last/2.0", "User-Agent: Last/2.0"},
        {"agent-lower", "user-agent: Lower/3.0\r\nX-Probe: 1", "user-agent: Lower/3.0"},
        {"agent-alone", "User-Agent: Alone/4.0", "User-Agent: Alone/4.0"},
    };
    for (const Case& c : cases) {
        HttpRequest call;
        call.url = url(Text("/echo?t=") + c.token);
        call.extra_headers = c.headers;
        call.send_cookies = "";
        EXPECT_EQ(bytes_text(http_request(call)), "ok") << c.token;
        const Record sent = record_with(c.token);
        // The caller's own line replaces the agent the handle was opened
        // with: one User-Agent line, the caller's.
        const TextList agents = sent.lines_named("User-Agent:");
        ASSERT_EQ(agents.size(), 1u) << c.token;
        EXPECT_EQ(txt_lower(agents[0]), txt_lower(c.wire_agent)) << c.token;
        EXPECT_EQ(sent.has_line("X-Probe: 1"), c.headers.find("X-Probe") != Text::npos) << c.token;
    }
}

TEST_F(FaultServer, MethodIsClampedAndHeadCarriesTheBody) {
    struct Case {
        const char* token;
        int method;
        Text post_text;
        Bytes post_bytes;
        const char* verb;
        Text body_sent;
        Bytes post_bytes_after;
    } cases[] = {
        {"method-3", 3, "k=v", {}, "GET", "", {}},
        {"method-minus-1", -1, "k=v", {}, "GET", "", {}},
        {"method-get-keeps-bytes", 0, "k=v", {'x'}, "GET", "", {'x'}},
        {"method-post-text", 1, "k=v", {}, "POST", "k=v", {'k', '=', 'v'}},
        {"method-post-bytes", 1, "k=v", {'r', 0, 'w'}, "POST", Text("r\0w", 3), {'r', 0, 'w'}},
        {"method-head", 2, "k=v", {}, "HEAD", "k=v", {'k', '=', 'v'}},
        {"method-post-empty", 1, "", {}, "POST", "", {}},
    };
    for (const Case& c : cases) {
        HttpRequest call;
        call.url = url(Text("/echo?t=") + c.token);
        call.method = c.method;
        call.post_text = c.post_text;
        call.post_bytes = c.post_bytes;
        call.send_cookies = "";
        const Bytes body = http_request(call);
        const Record sent = record_with(c.token);
        EXPECT_EQ(sent.request_line, Text(c.verb) + " /echo?t=" + c.token + " HTTP/1.1");
        EXPECT_EQ(sent.body, c.body_sent) << c.token;
        EXPECT_EQ(call.post_bytes, c.post_bytes_after) << c.token;
        EXPECT_EQ(bytes_text(body), c.method == 2 ? "" : "ok") << c.token;
    }
}

TEST_F(FaultServer, ProxyCarriesPlainHttpAndTunnelsHttps) {
    const Text proxy = "127.0.0.1:" + port_;

    HttpRequest plain;
    plain.url = "http://plain.example/echo?t=proxy-http";
    plain.proxy = proxy;
    plain.send_cookies = "";
    EXPECT_EQ(bytes_text(http_request(plain)), "ok");
    // WinInet writes the default port into the absolute URL it asks for.
    EXPECT_EQ(record_with("t=proxy-http").request_line,
              "GET http://plain.example:80/echo?t=proxy-http HTTP/1.1");

    // Without the "http=" prefix the proxy serves every scheme, so an https
    // request asks it for a tunnel; the server refuses, and nothing is read.
    HttpRequest secure;
    secure.url = "https://secure.example/echo?t=proxy-https";
    secure.proxy = proxy;
    secure.send_cookies = "";
    EXPECT_EQ(bytes_text(http_request(secure)), "");
    EXPECT_EQ(record_with("secure.example").request_line.rfind("CONNECT secure.example:443 ", 0),
              0u);
}

TEST_F(FaultServer, ReplyCookiesAreCollectedAndMergedOnlyWhenCookiesAreGiven) {
    HttpRequest collected;
    collected.url = url("/cookies?t=collect");
    collected.returned_cookies = "stale=1";
    http_request(collected);
    EXPECT_EQ(collected.returned_cookies, "sid=1; uid=2; t=3");
    EXPECT_FALSE(collected.send_cookies.has_value());
    EXPECT_NE(collected.raw_headers.find("\r\nSet-Cookie: uid=2; HttpOnly\r\n"), Text::npos);
    EXPECT_EQ(collected.raw_headers.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
    EXPECT_EQ(collected.raw_headers.substr(collected.raw_headers.size() - 4), "\r\n\r\n");

    HttpRequest merged;
    merged.url = url("/cookies?t=merge");
    merged.send_cookies = "t=old; keep=1";
    http_request(merged);
    EXPECT_EQ(merged.returned_cookies, "sid=1;uid=2;t=3");
    EXPECT_EQ(merged.send_cookies, "sid=1; uid=2; t=3; keep=1");
    EXPECT_EQ(record_with("t=merge").lines_named("Cookie:"), TextList{"Cookie: t=old; keep=1"});

    // Given but empty: no Cookie line at all, and the reply's cookies
    // become the given cookies.
    HttpRequest empty;
    empty.url = url("/cookies?t=empty-given");
    empty.send_cookies = "";
    http_request(empty);
    EXPECT_TRUE(record_with("t=empty-given").lines_named("Cookie:").empty());
    EXPECT_EQ(empty.send_cookies, "sid=1; uid=2; t=3");
}

TEST_F(FaultServer, GivenCookiesKeepThePlatformCookieStoreOut) {
    HttpRequest store;
    store.url = url("/set-store?t=store-set");
    http_request(store);
    ASSERT_EQ(store.returned_cookies, "store_probe=1");

    // The store works: without given cookies it sends what it holds.
    HttpRequest control;
    control.url = url("/echo?t=store-control");
    http_request(control);
    const TextList control_cookies = record_with("t=store-control").lines_named("Cookie:");
    ASSERT_EQ(control_cookies.size(), 1u);
    EXPECT_NE(control_cookies[0].find("store_probe=1"), Text::npos);

    HttpRequest given;
    given.url = url("/echo?t=store-given");
    given.send_cookies = "mine=2";
    http_request(given);
    EXPECT_EQ(record_with("t=store-given").lines_named("Cookie:"), TextList{"Cookie: mine=2"});

    HttpRequest given_empty;
    given_empty.url = url("/echo?t=store-given-empty");
    given_empty.send_cookies = "";
    http_request(given_empty);
    EXPECT_TRUE(record_with("t=store-given-empty").lines_named("Cookie:").empty());
}

TEST_F(FaultServer, HeaderBlockBeyondTheBufferStillYieldsItsCookies) {
    HttpRequest call;
    call.url = url("/big-headers");
    call.send_cookies = "";
    EXPECT_EQ(bytes_text(http_request(call)), "big headers");
    EXPECT_GT(call.raw_headers.size(), 20000u);
    EXPECT_EQ(call.raw_headers.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
    EXPECT_NE(call.raw_headers.find("\r\nSet-Cookie: big2=2\r\n\r\n"), Text::npos);
    EXPECT_EQ(call.raw_headers.find('\0'), Text::npos);
    EXPECT_EQ(call.returned_cookies, "big1=1;big2=2");
    EXPECT_EQ(call.send_cookies, "big1=1; big2=2");
}

TEST_F(FaultServer, LargeBodyArrivesWholeInLinearTime) {
    double seconds[2] = {};
    const int sizes_mib[2] = {1, 10};
    for (int i = 0; i < 2; ++i) {
        HttpRequest call;
        call.url = url("/big-body?mib=" + std::to_string(sizes_mib[i]));
        call.send_cookies = "";
        const auto start = Clock::now();
        const Bytes body = http_request(call);
        seconds[i] = std::chrono::duration<double>(Clock::now() - start).count();
        // The request asks WinInet for a cache file; the prefix is shared
        // and long-lived, so the copy is not left behind.
        DeleteUrlCacheEntryA(call.url.c_str());
        const std::size_t size = static_cast<std::size_t>(sizes_mib[i]) * 1024 * 1024;
        ASSERT_EQ(body.size(), size);
        EXPECT_TRUE(body == pattern(size)) << sizes_mib[i] << " MiB body differs";
    }
    std::printf("[ figures  ] 1 MiB body in %.3f s, 10 MiB body in %.3f s (%.1f MiB/s)\n",
                seconds[0], seconds[1], 10 / seconds[1]);
    RecordProperty("seconds_10_mib", std::to_string(seconds[1]));
    // Appending chunk by chunk with a copy of the body each time would make
    // ten times the data cost about a hundred times as long.
    EXPECT_LT(seconds[1], 30 * seconds[0] + 5.0);
}

TEST_F(FaultServer, BodyKeepsItsZeroBytes) {
    HttpRequest call;
    call.url = url("/zero-bytes");
    const Bytes body = http_request(call);
    EXPECT_EQ(body, (Bytes{'a', 'b', 0, 'c', 'd', 0, 0, 'e'}));
}

TEST_F(FaultServer, BrokenExchangesEndWithWhatArrived) {
    struct Case {
        const char* path;
        std::size_t least, most;
        double bound_seconds;
    } cases[] = {
        // Reset after 64 KiB of a promised 1 MiB.
        {"/reset", 0, 64 * 1024, 10},
        // Ten bytes of a promised thousand, then two seconds of silence.
        {"/stall?seconds=2", 10, 10, 12},
        // The request is read and the connection closed without an answer.
        {"/no-answer", 0, 0, 10},
    };
    for (const Case& c : cases) {
        HttpRequest call;
        call.url = url(c.path);
        call.send_cookies = "";
        const auto start = Clock::now();
        const Bytes body = http_request(call);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        EXPECT_LT(seconds, c.bound_seconds) << c.path;
        EXPECT_GE(body.size(), c.least) << c.path;
        EXPECT_LE(body.size(), c.most) << c.path;
        EXPECT_TRUE(
            std::equal(body.begin(), body.end(),
                       Text(c.path) == "/reset"
                           ? pattern(body.size()).begin()
                           : Bytes{'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'}.begin()))
            << c.path;
        EXPECT_EQ(call.returned_cookies, "") << c.path;
        EXPECT_EQ(call.send_cookies, "") << c.path;
    }
}

TEST_F(FaultServer, RefusedConnectionStillRunsToTheEnd) {
    if (refused_port_.empty()) GTEST_SKIP() << "no refused port given";
    HttpRequest call;
    call.url = "http://127.0.0.1:" + refused_port_ + "/refused";
    call.method = 1;
    call.post_text = "k=v";
    call.send_cookies = "b = 2 ; a=1";
    call.returned_cookies = "stale";
    call.raw_headers = "stale";
    const auto start = Clock::now();
    const Bytes body = http_request(call);
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 10.0);

    EXPECT_TRUE(body.empty());
    EXPECT_EQ(call.extra_headers, "Accept: */*\r\nReferer: " + call.url +
                                      "\r\nAccept-Language: zh-cn"
                                      "\r\nContent-Type: application/x-www-form-urlencoded"
                                      "\r\nCookie: b = 2 ; a=1");
    // A failed header query leaves the buffer's spaces; Wine's WinInet
    // instead answers it with an empty block for a request that got no
    // response. Neither holds a cookie.
    EXPECT_TRUE(call.raw_headers == Text(5000, ' ') || call.raw_headers == "\r\n")
        << call.raw_headers;
    EXPECT_EQ(call.returned_cookies, "");
    EXPECT_EQ(call.send_cookies, "b=2; a=1");
    EXPECT_EQ(call.post_bytes, (Bytes{'k', '=', 'v'}));
}

TEST_F(FaultServer, HandleThatCannotBeOpenedChangesNothing) {
    // An empty host name: the connection handle cannot be opened.
    HttpRequest call;
    call.url = "http:///nowhere";
    call.method = 1;
    call.post_text = "k=v";
    call.send_cookies = "c = 1";
    call.returned_cookies = "r=1";
    call.extra_headers = "X-Mine: 1";
    call.raw_headers = "raw";
    const HttpRequest before = call;
    EXPECT_TRUE(http_request(call).empty());
    EXPECT_EQ(call.send_cookies, before.send_cookies);
    EXPECT_EQ(call.returned_cookies, before.returned_cookies);
    EXPECT_EQ(call.extra_headers, before.extra_headers);
    EXPECT_EQ(call.raw_headers, before.raw_headers);
    EXPECT_TRUE(call.post_bytes.empty());
}

TEST_F(FaultServer, RedirectsAreFollowedUnlessForbidden) {
    const int before = record_count(folder_);
    HttpRequest followed;
    followed.url = url("/redirect/3");
    EXPECT_EQ(bytes_text(http_request(followed)), "chain end");
    EXPECT_EQ(followed.raw_headers.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
    EXPECT_EQ(followed.returned_cookies, "hop0=1");
    const std::vector<Record> records = records_in(folder_);
    ASSERT_EQ(static_cast<int>(records.size()), before + 4);
    for (int hop = 3; hop >= 0; --hop) {
        EXPECT_EQ(records[before + 3 - hop].request_line,
                  "GET /redirect/" + std::to_string(hop) + " HTTP/1.1");
    }

    HttpRequest stopped;
    stopped.url = url("/redirect/2");
    stopped.no_redirect = true;
    EXPECT_EQ(bytes_text(http_request(stopped)), "moved");
    EXPECT_EQ(stopped.raw_headers.rfind("HTTP/1.1 302 Found\r\n", 0), 0u);
    EXPECT_NE(stopped.raw_headers.find("\r\nLocation: /redirect/1\r\n"), Text::npos);
    EXPECT_EQ(stopped.returned_cookies, "hop2=1");
    EXPECT_EQ(record_count(folder_), before + 5);
}

TEST_F(FaultServer, ErrorStatusIsReadLikeAnyOther) {
    HttpRequest call;
    call.url = url("/status/500");
    call.send_cookies = "x=1";
    EXPECT_EQ(bytes_text(http_request(call)), "fail");
    EXPECT_EQ(call.raw_headers.rfind("HTTP/1.1 500 Internal Server Error\r\n", 0), 0u);
    EXPECT_EQ(call.send_cookies, "e=5; x=1");
}

// A login and two check-ins against the local members' site, the way the
// program does them.
class MembersSite : public ::testing::Test {
  protected:
    void SetUp() override {
        port_ = environment("QUORVEXA_SITE_PORT");
        folder_ = environment("QUORVEXA_SITE_RECORD");
        user_form_ = environment("QUORVEXA_SITE_USER_FORM");
        password_ = environment("QUORVEXA_SITE_PASSWORD");
        if (port_.empty() || folder_.empty()) GTEST_SKIP() << "no site given";
    }

    Text host() const { return "127.0.0.1:" + port_; }

    HttpRequest login(const Text& password) const {
        HttpRequest call;
        call.url = "http://" + host() + "/index.php/Login/head_login_handle.html";
        call.method = 1;
        call.post_text = "http_referer=http%3A%2F%2F" + host() + "%2F&username=" + user_form_ +
                         "&password=" + password;
        call.extra_headers = "Host: " + host() +
                             "\r\nConnection: keep-alive"
                             "\r\nUser-Agent: Mozilla/5.0 (Linux; Android 4.4.2) Mobile"
                             "\r\nAccept-Encoding: gzip,deflate"
                             "\r\nAccept-Language: zh-CN,en-US;q=0.8"
                             "\r\nReferer: http://" +
                             host() + "/index.php/Login/head_login.html";
        http_request(call);
        return call;
    }

    // The check-in reply as text, sent with cookies.
    Text check_in(const Text& cookies) const {
        HttpRequest call;
        call.url = "http://" + host() + "/index.php/Index/qiandao_handle.html";
        call.method = 1;
        call.send_cookies = cookies;
        return bytes_to_txt(http_request(call));
    }

    Record last_record() const { return records_in(folder_).back(); }

    Text port_, folder_, user_form_, password_;
};

constexpr char checked_in[] = "\\u7b7e\\u5230\\u6210\\u529f";          // 签到成功
constexpr char already_checked_in[] = "\\u4eca\\u5929\\u5df2\\u7ecf";  // 今天已经
constexpr char not_logged_in[] = "\\u8bf7\\u5148\\u767b\\u5f55";       // 请先登录

TEST_F(MembersSite, LoginCookiesCarryTheCheckIn) {
    ASSERT_FALSE(password_.empty());
    const HttpRequest logged_in = login(password_);
    const Record login_sent = last_record();
    EXPECT_EQ(login_sent.request_line, "POST /index.php/Login/head_login_handle.html HTTP/1.1");
    // The password travels as typed, in code page 936, not encoded.
    EXPECT_EQ(login_sent.body, logged_in.post_text);
    EXPECT_TRUE(login_sent.has_line("Accept-Encoding: gzip,deflate"));
    EXPECT_TRUE(login_sent.has_line("Accept: */*"));
    EXPECT_TRUE(login_sent.has_line("Content-Type: application/x-www-form-urlencoded"));

    const TextList cookies = txt_split(logged_in.returned_cookies, "; ");
    ASSERT_EQ(cookies.size(), 2u) << logged_in.returned_cookies;
    EXPECT_EQ(cookies[0].rfind("PHPSESSID=", 0), 0u);
    EXPECT_GT(cookies[0].size(), 10u);
    EXPECT_EQ(cookies[1], "qv_user=" + user_form_);

    EXPECT_NE(check_in(logged_in.returned_cookies).find(checked_in), Text::npos);
    const Record check_in_sent = last_record();
    EXPECT_EQ(check_in_sent.request_line, "POST /index.php/Index/qiandao_handle.html HTTP/1.1");
    EXPECT_EQ(check_in_sent.lines_named("Cookie:"),
              TextList{"Cookie: " + logged_in.returned_cookies});
    EXPECT_EQ(check_in_sent.lines_named("User-Agent:"),
              TextList{"User-Agent: " + Text(default_agent)});
    EXPECT_TRUE(check_in_sent.lines_named("Accept-Encoding:").empty());
    EXPECT_EQ(check_in_sent.body, "");

    EXPECT_NE(check_in(logged_in.returned_cookies).find(already_checked_in), Text::npos);
}

TEST_F(MembersSite, RefusedLoginLeavesTheCheckInLoggedOut) {
    // The refusal may or may not set a new session cookie (the platform's
    // own store may have sent one); it never sets the user cookie.
    const HttpRequest refused = login(password_ + "x");
    EXPECT_EQ(refused.returned_cookies.find("qv_user="), Text::npos);
    EXPECT_NE(check_in(refused.returned_cookies).find(not_logged_in), Text::npos);
    EXPECT_NE(check_in("").find(not_logged_in), Text::npos);
    EXPECT_TRUE(last_record().lines_named("Cookie:").empty());
}

}  // namespace
