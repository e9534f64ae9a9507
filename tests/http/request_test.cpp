// The text decisions of the HTTP request: agent, proxy text, flag word,
// header block and the cookies of a reply. The exchange itself is tested
// against loopback servers in exchange/.
#include "http/request.h"

#include <gtest/gtest.h>

#include "http/request_parts.h"
#include "http/url.h"

namespace {

TEST(HeaderValue, TakesTheTrimmedTextAfterTheFirstColon) {
    struct Case {
        Text text, value;
    } cases[] = {
        {"User-Agent: X", "X"},
        {"a:b:c", "b:c"},
        {"Key:   spaced  ", "spaced"},
        {"no colon at all", ""},
        {"", ""},
        {"Name:", ""},
        // Only spaces are trimmed: the line break and the next line stay.
        {"user-agent: X\r\nHost: h", "X\r\nHost: h"},
        {"k:\xA1\xA1v\xA1\xA1", "v"},  // full-width spaces
        {"k:\tv\t", "\tv\t"},
        // 0xBA is no colon when it is the second byte of a character.
        {"\xA3\xBA:v", "v"},
    };
    for (const Case& c : cases) EXPECT_EQ(header_value(c.text), c.value) << c.text;
}

TEST(RequestAgent, ChoosesTheCallersAgentOrTheDefault) {
    struct Case {
        Text headers, agent;
    } cases[] = {
        {"", default_agent},
        {"Host: h\r\nAccept: */*", default_agent},
        {"User-Agent: X\r\nHost: h", "X"},
        {"Host: h\r\nUser-Agent:   Spaced Agent  \r\nAccept: a", "Spaced Agent"},
        // No line break after the line: the fallback finds it.
        {"User-Agent: X", "X"},
        // Found ignoring case, not extracted: the whole block after its
        // first colon becomes the agent.
        {"user-agent: X\r\nHost: h", "X\r\nHost: h"},
        {"Host: h\r\nuser-agent: X", "h\r\nuser-agent: X"},
        // An empty agent falls back as well.
        {"User-Agent:\r\nHost: h", "\r\nHost: h"},
    };
    for (const Case& c : cases) EXPECT_EQ(request_agent(c.headers), c.agent) << c.headers;
}

TEST(RequestProxyText, RoutesOnlyPlainHttpThroughTheProxyPrefix) {
    struct Case {
        Text url, proxy_text;
    } cases[] = {
        {"http://site.example/", "http=proxy.example:8080"},
        {"https://site.example/", "proxy.example:8080"},
        {"HTTPS://site.example/", "proxy.example:8080"},
        {"site.example/", "http=proxy.example:8080"},
        {"", "http=proxy.example:8080"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(request_proxy_text(c.url, "proxy.example:8080"), c.proxy_text) << c.url;
    }
}

TEST(RequestMethod, ClampsToGetPostHead) {
    struct Case {
        int method;
        const char* verb;
    } cases[] = {{0, "GET"}, {1, "POST"}, {2, "HEAD"}, {3, "GET"}, {-1, "GET"}, {1 << 30, "GET"}};
    for (const Case& c : cases) EXPECT_STREQ(request_verb(c.method), c.verb) << c.method;
}

TEST(RequestFlags, CombineTheWinInetBits) {
    struct Case {
        bool cookies_given, no_redirect, https;
        std::uint32_t flags;
    } cases[] = {
        {false, false, false, 0x80004010u}, {true, false, false, 0x80084010u},
        {false, true, false, 0x80204010u},  {false, false, true, 0x80800010u},
        {true, true, true, 0x80A80010u},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(request_flags(c.cookies_given, c.no_redirect, c.https), c.flags)
            << c.cookies_given << c.no_redirect << c.https;
    }
    EXPECT_TRUE(url_is_https("hTtPs://x/"));
    EXPECT_FALSE(url_is_https("http://x/"));
    EXPECT_FALSE(url_is_https("http"));
}

TEST(CompleteHeaderBlock, AddsTheMissingDefaultsInOrder) {
    const Text url = "http://Site.example:81/a?b=C";
    const Text defaults_after_accept =
        "\r\nReferer: http://Site.example:81/a?b=C"
        "\r\nAccept-Language: zh-cn"
        "\r\nContent-Type: application/x-www-form-urlencoded";
    struct Case {
        Text block, cookies, composed;
    } cases[] = {
        {"", "a=1", "Accept: */*" + defaults_after_accept + "\r\nCookie: a=1"},
        {"", "", "Accept: */*" + defaults_after_accept},
        // "Accept:" is not found in other Accept-... lines.
        {"Accept-Encoding: gzip\r\nAccept-Language: en", "",
         "Accept-Encoding: gzip\r\nAccept-Language: en\r\nAccept: */*"
         "\r\nReferer: http://Site.example:81/a?b=C"
         "\r\nContent-Type: application/x-www-form-urlencoded"},
        // Present lines are kept and not repeated; a Cookie line is added
        // even beside the caller's own.
        {"Accept: text/html\r\nReferer: r\r\nAccept-Language: fr\r\nContent-Type: t\r\nCookie: "
         "mine=1",
         "b=2",
         "Accept: text/html\r\nReferer: r\r\nAccept-Language: fr\r\nContent-Type: t\r\nCookie: "
         "mine=1\r\nCookie: b=2"},
        // The searches are exact in letter case.
        {"accept: x", "", "accept: x\r\nAccept: */*" + defaults_after_accept},
    };
    for (const Case& c : cases) {
        Text block = c.block;
        complete_header_block(block, url, c.cookies);
        EXPECT_EQ(block, c.composed) << c.block;
    }
}

TEST(SetCookieValues, CollectsNameValuePartsOfEveryLine) {
    const Text status = "HTTP/1.1 200 OK\r\n";
    struct Case {
        Text raw, cookies;
    } cases[] = {
        {status +
             "Set-Cookie: sid=1; path=/\r\nset-cookie: uid=2; HttpOnly\r\nSet-Cookie: t=3\r\n\r\n",
         "sid=1; uid=2; t=3"},
        {status + "Content-Type: text/html\r\n\r\n", ""},
        {"", ""},
        {Text(5000, ' '), ""},
        {status + "SET-COOKIE:   spaced=1  \r\n\r\n", "spaced=1"},
        {status + "Set-Cookie: PHPSESSID=abc; path=/\r\nSet-Cookie: qv_user=%E7%AD; expires=Sat, "
                  "12 Dec 2026 15:36:14 GMT; Max-Age=86400; path=/; HttpOnly\r\n\r\n",
         "PHPSESSID=abc; qv_user=%E7%AD"},
        // A line mentioning Set-Cookie that is not one still counts, with
        // what the markers cut out of it.
        {status + "X-Set-Cookie-Note: a; b\r\n\r\n", ""},
        {status + "X-Note: Set-Cookie: n=1\r\n\r\n", "X-Note:  n=1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(set_cookie_values(normalise_set_cookie(c.raw)), c.cookies) << c.raw;
    }
}

TEST(NormaliseSetCookie, WritesEveryLetterCaseTheSameWay) {
    EXPECT_EQ(normalise_set_cookie("set-cookie: a\r\nSET-COOKIE: b\r\nX: sEt-CoOkIe\r\n"),
              "Set-Cookie: a\r\nSet-Cookie: b\r\nX: Set-Cookie\r\n");
}

}  // namespace
