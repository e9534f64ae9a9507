#include "http/url.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

struct HostCase {
    const char* url;
    bool main_domain;
    bool keep_port;
    std::optional<int> levels;
    const char* host;
};

// Default mode: the host sits between the scheme and the next "/".
const HostCase default_mode_cases[] = {
    {"http://Example.COM:8080/a/b", false, false, std::nullopt, "example.com"},
    {"http://Example.COM:8080/a/b", false, true, std::nullopt, "example.com:8080"},
    {"example.com/x", false, false, std::nullopt, "example.com"},
    {"https://shop.example.com", false, false, std::nullopt, "shop.example.com"},
    {"HTTPS://Shop.Example.com/a", false, false, std::nullopt, "shop.example.com"},
    {"", false, false, std::nullopt, ""},
    {"http://a.b.example.com/", true, false, std::nullopt, "example.com"},
    {"http://localhost/", true, false, std::nullopt, "localhost"},
    // The port rides on the last label until it is cut off at the end.
    {"http://a.b.example:81/", true, false, std::nullopt, "b.example"},
    {"http://a.b.example:81/", true, true, std::nullopt, "b.example:81"},
    // A query right after the host has no "/" in front of it to end the host.
    {"http://host.example?q=1", false, false, std::nullopt, "host.example?q=1"},
    // Double-byte characters stay as they are, even a second byte of 0x41.
    {"http://\x81\x41"
     "Ab.cn/",
     false, false, std::nullopt,
     "\x81\x41"
     "ab.cn"},
};

// Level mode: levels given, whatever its value, cuts the host to its last labels.
const HostCase level_mode_cases[] = {
    {"http://a.b.example.com/x", false, false, 0, "example.com"},
    {"http://a.b.example.com/x", true, false, 0, "com"},
    {"http://a.b.example.com/x", false, false, 1, "b.example.com"},
    {"http://a.b.example.com/x", true, false, 1, "example.com"},
    {"http://a.b.example.com/x", false, false, 2, "a.b.example.com"},
    {"http://a.b.example.com/x", true, false, 2, "b.example.com"},
    {"http://a.b.example.com/x", false, false, -3, "example.com"},
    {"https://a.b.example.com", false, false, 0, "example.com"},
    {"a.b.example.com", false, false, 0, "example.com"},
    {"http://localhost/", false, false, 0, "localhost"},
    {"http://localhost/", true, false, 0, "localhost"},
    {"http://example.com/", true, false, 5, "example.com"},
    {"", false, false, 0, ""},
    {"", true, false, 1, ""},
    // A dot in the very last byte is never counted.
    {"http://b.example.com./", false, false, 0, "example.com."},
    {"http://a.b.example.com:8080/", false, false, 0, "example.com"},
    {"http://a.b.example.com:8080/", false, true, 0, "example.com:8080"},
    // A huge count ends as soon as no dot is left.
    {"http://a.b.example.com/", false, false, 2147483647, "a.b.example.com"},
};

class UrlHost : public testing::TestWithParam<HostCase> {};

TEST_P(UrlHost, Dissects) {
    const HostCase& c = GetParam();
    EXPECT_EQ(url_host(c.url, c.main_domain, c.keep_port, c.levels), c.host);
}

INSTANTIATE_TEST_SUITE_P(DefaultMode, UrlHost, testing::ValuesIn(default_mode_cases));
INSTANTIATE_TEST_SUITE_P(LevelMode, UrlHost, testing::ValuesIn(level_mode_cases));

TEST(UrlPort, ComesFromTheHostOrTheScheme) {
    const struct {
        const char* url;
        int port;
    } cases[] = {
        {"https://host.example/", 443},
        {"HTTPS://host.example/", 443},
        {"http://host.example/", 80},
        {"host.example/", 80},
        {"", 80},
        {"http://host.example:8443/", 8443},
        {"https://host.example:8080/x", 8080},
        {"http://host.example:/", 0},
        {"http://host.example:12ab/", 12},
    };
    for (const auto& c : cases) EXPECT_EQ(url_port(c.url), c.port) << c.url;
}

TEST(UrlPath, StartsAtTheFirstSlashAfterTheHost) {
    const struct {
        const char* url;
        const char* path;
    } cases[] = {
        {"http://host.example", "/"},
        {"HTTP://Host.example/Index.php?a=B", "/Index.php?a=B"},
        {"http://host.example:8080/a/b#f", "/a/b#f"},
        {"http://host.example?q=1", "/"},
        {"host.example/x/y", "/x/y"},
        {"https://host.example/", "/"},
        {"", "/"},
    };
    for (const auto& c : cases) EXPECT_EQ(url_path(c.url), c.path) << c.url;
}

}  // namespace
