#include <gtest/gtest.h>

#include <cstdio>

#include "text/codepage.h"

namespace {

Bytes bytes_of(std::initializer_list<std::uint8_t> values) { return Bytes(values); }

TEST(PercentEncode, EscapesEverythingButPlainBytes) {
    const struct {
        Bytes source;
        bool keep_plain;
        const char* encoded;
    } cases[] = {
        {{}, false, ""},
        {{}, true, ""},
        // 签到 in UTF-8 and in code page 936.
        {bytes_of({0xE7, 0xAD, 0xBE, 0xE5, 0x88, 0xB0}), true, "%E7%AD%BE%E5%88%B0"},
        {bytes_of({0xC7, 0xA9, 0xB5, 0xBD}), true, "%C7%A9%B5%BD"},
        {bytes_of({0x61, 0x20, 0x62, 0x2F, 0x63, 0x5F, 0x64, 0x7E, 0x65, 0x2E, 0x66, 0x2D, 0x67}),
         true, "a%20b%2Fc%5Fd%7Ee.f-g"},
        {bytes_of({0x41, 0x62, 0x39}), false, "%41%62%39"},
        // The edges of each plain range, and "/" inside the first one.
        {bytes_of({0x2C, 0x2D, 0x2E, 0x2F, 0x30, 0x39, 0x3A, 0x40, 0x41, 0x5A, 0x5B, 0x60, 0x61,
                   0x7A, 0x7B}),
         true, "%2C-.%2F09%3A%40AZ%5B%60az%7B"},
        {bytes_of({0x0A, 0x0F, 0xFF}), true, "%0A%0F%FF"},
        {bytes_of({0x00, 0x2A, 0x2B}), true, "%00%2A%2B"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(percent_encode(c.source, c.keep_plain), c.encoded) << c.encoded;
    }
}

TEST(PercentEncode, WritesEveryByteAsTwoUpperCaseDigits) {
    Bytes all;
    Text expected;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<std::uint8_t>(b));
        char escape[4];
        std::snprintf(escape, sizeof escape, "%%%02X", static_cast<unsigned>(b));
        expected += escape;
    }
    EXPECT_EQ(percent_encode(all, false), expected);
}

}  // namespace
