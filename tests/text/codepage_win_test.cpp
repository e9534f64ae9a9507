// The conversions against the real MultiByteToWideChar and
// WideCharToMultiByte, on a system whose ANSI code page is 936.
#include <gtest/gtest.h>

#include "text/codepage.h"

namespace {

// 签到 in code page 936, in UTF-8 and in UTF-16 with its zero unit.
const Text qiandao_gbk = "签到";
const Text qiandao_utf8 = "\xE7\xAD\xBE\xE5\x88\xB0";
const Bytes qiandao_wide = {0x7E, 0x7B, 0x30, 0x52, 0x00, 0x00};

Bytes wide_of(const std::u16string& units) {
    Bytes wide;
    for (const char16_t unit : units) {
        wide.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        wide.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return wide;
}

TEST(UrlEncode, EscapesTheUtf8OrTheCodePage936Form) {
    const struct {
        Text text;
        bool keep_plain;
        bool utf8_first;
        const char* encoded;
    } cases[] = {
        {"", false, false, ""},
        {"", true, true, ""},
        {qiandao_gbk, true, true, "%E7%AD%BE%E5%88%B0"},
        {qiandao_gbk, true, false, "%C7%A9%B5%BD"},
        {qiandao_gbk, false, true, "%E7%AD%BE%E5%88%B0"},
        {"Ab9", false, false, "%41%62%39"},
        {"Ab9", false, true, "%41%62%39"},
        {"a b/c_d~e.f-g", true, false, "a%20b%2Fc%5Fd%7Ee.f-g"},
        {"user-1.\n", true, true, "user-1.%0A"},
        {"王a", true, true, "%E7%8E%8Ba"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(url_encode(c.text, c.keep_plain, c.utf8_first), c.encoded) << c.encoded;
    }
}

TEST(GbkToUtf8, GivesTheUtf8Bytes) {
    EXPECT_EQ(gbk_to_utf8(qiandao_gbk), qiandao_utf8);
    EXPECT_EQ(gbk_to_utf8("abc"), "abc");
    EXPECT_EQ(gbk_to_utf8(""), "");
}

TEST(GbkToUtf8, ConvertsLongTextsWhole) {
    // Every character of the GB2312 hanzi rows: two bytes each in code page
    // 936 and three in UTF-8.
    Text gbk;
    for (int lead = 0xB0; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            if (lead == 0xD7 && trail > 0xF9) continue;  // the row's unassigned tail
            gbk += static_cast<char>(lead);
            gbk += static_cast<char>(trail);
        }
    }
    const Text utf8 = gbk_to_utf8(gbk);
    EXPECT_EQ(utf8.size(), gbk.size() / 2 * 3);
    EXPECT_EQ(utf16_to_multibyte(multibyte_to_utf16(utf8)), gbk);
}

TEST(MultibyteToUtf16, ReadsTheGivenCodePage) {
    EXPECT_EQ(multibyte_to_utf16(qiandao_gbk, 936), qiandao_wide);
    EXPECT_EQ(multibyte_to_utf16(qiandao_gbk, 0), qiandao_wide);
    EXPECT_EQ(multibyte_to_utf16("ab", 936), (Bytes{0x61, 0x00, 0x62, 0x00, 0x00, 0x00}));
    EXPECT_EQ(multibyte_to_utf16("", 936), (Bytes{0x00, 0x00}));
}

TEST(MultibyteToUtf16, ConvertsWholeWhereTheCodePageNeedsMoreUnitsThanTheAnsiOne) {
    // In code page 1252 each of the four bytes is a character of its own,
    // where code page 936 reads two.
    EXPECT_EQ(multibyte_to_utf16(qiandao_gbk, 1252),
              (Bytes{0xC7, 0x00, 0xA9, 0x00, 0xB5, 0x00, 0xBD, 0x00, 0x00, 0x00}));
    Text latin(1000, '\xE9');
    const Bytes wide = multibyte_to_utf16(latin, 1252);
    ASSERT_EQ(wide.size(), 2002u);
    EXPECT_EQ(wide[1998], 0xE9);
    EXPECT_EQ(wide[1999], 0x00);
    EXPECT_EQ(utf16_to_multibyte(wide, 1252), latin);
}

TEST(MultibyteToUtf16, KeepsTheAnsiLengthWhereThatIsLonger) {
    // Read in code page 936 the six UTF-8 bytes are three characters, in
    // UTF-8 two; the buffer keeps the longer length and fills it with zeros.
    EXPECT_EQ(multibyte_to_utf16(qiandao_utf8),
              (Bytes{0x7E, 0x7B, 0x30, 0x52, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(utf16_to_multibyte(multibyte_to_utf16(qiandao_utf8, 65001), 65001), qiandao_utf8);
}

TEST(Utf16ToMultibyte, WritesTheGivenCodePage) {
    EXPECT_EQ(utf16_to_multibyte(qiandao_wide, 65001), qiandao_utf8);
    EXPECT_EQ(utf16_to_multibyte(qiandao_wide), qiandao_gbk);
    EXPECT_EQ(utf16_to_multibyte(qiandao_wide, 936), qiandao_gbk);
    EXPECT_EQ(utf16_to_multibyte({}), "");
    EXPECT_EQ(utf16_to_multibyte(Bytes{0x00, 0x00}, 65001), "");
    // Only the units before the first zero unit count.
    EXPECT_EQ(utf16_to_multibyte(Bytes{0x61, 0x00, 0x00, 0x00, 0x62, 0x00}), "a");
}

TEST(Utf16ToMultibyte, ConvertsWholeWhereUtf8IsMoreThanTwiceTheAnsiForm) {
    // Thai letters are missing from code page 936 and come out there as one
    // default character each, but take three bytes each in UTF-8.
    const Bytes wide = wide_of(std::u16string(50, u'\u0E01') + u'\0');
    const Text ansi = utf16_to_multibyte(wide);
    ASSERT_LE(ansi.size(), 50u);
    Text utf8;
    for (int i = 0; i < 50; ++i) utf8 += "\xE0\xB8\x81";
    EXPECT_EQ(utf16_to_multibyte(wide, 65001), utf8);
}

TEST(Utf16ToMultibyte, StopsAtTheEndOfABufferWithoutZeroUnit) {
    EXPECT_EQ(utf16_to_multibyte(Bytes{0x7E, 0x7B, 0x30, 0x52}, 65001), qiandao_utf8);
    // An odd last byte is no unit.
    EXPECT_EQ(utf16_to_multibyte(Bytes{0x61, 0x00, 0x62}), "a");
}

TEST(Utf16ToMultibyte, GivesTheEmptyTextForACodePageWindowsLacks) {
    EXPECT_EQ(utf16_to_multibyte(qiandao_wide, 12345), "");
}

}  // namespace
