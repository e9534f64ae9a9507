// The text primitives: every edge that the rest of the program leans on,
// and the double-byte walk that keeps matches off the second byte of a
// code-page-936 character.
#include "text/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

namespace {

// 啊 (0xB0 0xA1) and 安 (0xB0 0xB2): the trail byte of 安 is the same as
// the lead byte of 擦 (0xB2 0xC1).
const Text ah = "\xB0\xA1";
const Text an = "\xB0\xB2";
const Text full_width_space = "\xA1\xA1";
const Text crlf = "\r\n";

// ---------------------------------------------------------------- parts

struct CutCase {
    const char* name;
    Text got;
    Text expected;
};

TEST(TextParts, CountsAtAndPastTheEdgesGiveEmptyOrWholeText) {
    const CutCase cases[] = {
        {"head of 0", txt_head("abc", 0), ""},
        {"head of negative", txt_head("abc", -2), ""},
        {"head past the end", txt_head("abc", 10), "abc"},
        {"head of 2", txt_head("abc", 2), "ab"},
        {"head of empty", txt_head("", 3), ""},
        {"tail of negative", txt_tail("abc", -1), ""},
        {"tail of 0", txt_tail("abc", 0), ""},
        {"tail of 2", txt_tail("abc", 2), "bc"},
        {"tail past the end", txt_tail("abc", 10), "abc"},
        {"slice from 0", txt_slice("abcdef", 0, 3), ""},
        {"slice from negative", txt_slice("abcdef", -1, 3), ""},
        {"slice past the end is cut", txt_slice("abcdef", 5, 10), "ef"},
        {"slice starting after the end", txt_slice("abcdef", 7, 1), ""},
        {"slice of count 0", txt_slice("abcdef", 2, 0), ""},
        {"slice of negative count", txt_slice("abcdef", 2, -3), ""},
        {"slice in the middle", txt_slice("abcdef", 2, 3), "bcd"},
        {"slice with the largest count", txt_slice("abcdef", 3, INT_MAX), "cdef"},
        {"slice cuts a pair in two", txt_slice("a" + an, 2, 1), "\xB0"},
    };
    for (const CutCase& c : cases) EXPECT_EQ(c.got, c.expected) << c.name;
}

TEST(TextParts, LengthsCountBytes) {
    EXPECT_EQ(txt_len(""), 0);
    EXPECT_EQ(txt_len("a" + an), 3);
    EXPECT_EQ(bytes_len({}), 0);
    EXPECT_EQ(bytes_len(bytes_zeroed(1024)), 1024);
}

TEST(TextParts, CodeZeroIsTheEmptyTextAndOtherCodesOneByte) {
    EXPECT_EQ(txt_from_code(0), "");
    EXPECT_EQ(txt_from_code(0x41), "A");
    EXPECT_EQ(txt_from_code(0xFF), "\xFF");
}

TEST(TextParts, SpacesAndZeroedBuffersOfNonPositiveCountsAreEmpty) {
    EXPECT_EQ(txt_spaces(5000), Text(5000, ' '));
    EXPECT_EQ(txt_spaces(0), "");
    EXPECT_EQ(txt_spaces(-1), "");
    EXPECT_EQ(bytes_zeroed(3), Bytes({0, 0, 0}));
    EXPECT_TRUE(bytes_zeroed(0).empty());
    EXPECT_TRUE(bytes_zeroed(-5).empty());
}

// ---------------------------------------------------------------- search

struct FindCase {
    const char* name;
    Text text;
    Text pattern;
    int start;
    bool case_insensitive;
    int expected;
};

TEST(TextFind, FirstOccurrenceAtOrAfterStart) {
    const FindCase cases[] = {
        {"from the start", "a:b:c", ":", 1, false, 2},
        {"from a later start", "a:b:c", ":", 3, false, 4},
        {"start 0 counts as 1", "a:b:c", ":", 0, false, 2},
        {"negative start counts as 1", "a:b:c", ":", -1, false, 2},
        {"start past the end", "a:b:c", ":", 6, false, -1},
        {"start at the last byte", "a:b:c", "c", 5, false, 5},
        {"match at the start position", "a:b:c", "b", 3, false, 3},
        {"not found", "a:b:c", ";", 1, false, -1},
        {"pattern longer than the text", "ab", "abc", 1, false, -1},
        {"pattern must end inside the text", "abab", "bab", 3, false, -1},
        {"empty pattern", "abc", "", 1, false, 1},
        {"empty pattern from a later start is still 1", "abc", "", 3, false, 1},
        {"empty pattern past the end", "abc", "", 4, false, -1},
        {"empty pattern in empty text", "", "", 1, false, -1},
        {"pattern in empty text", "", "a", 1, false, -1},
        {"trail byte is not a character start", "x" + an, "\xB2", 1, false, -1},
        {"trail byte that also starts a pair", an + "\xB2\xC1", "\xB2\xC1", 1, false, 3},
        {"pair after a pair", an + an, an, 3, false, 3},
        {"a start inside a pair misaligns the walk", an + an, an, 2, false, -1},
        {"the start is taken as a character start", an, "\xB2", 2, false, 2},
        {"a start inside a pair shifts the walk", ah + an + "\xB2", "\xB2", 2, false, 4},
        {"the same text walked from its start", ah + an + "\xB2", "\xB2", 1, false, 5},
        {"ASCII trail byte is skipped",
         "\x81"
         "A"
         "A",
         "A", 1, false, 3},
        {"lone lead byte at the end is matched", "a\xB0", "\xB0", 1, false, 2},
        {"exact search keeps case", "Hello", "hello", 1, false, -1},
        {"ignoring case folds the text", "HeLLo", "hello", 1, true, 1},
        {"ignoring case folds the pattern", "hello", "HELLO", 1, true, 1},
        {"folding is only ASCII letters", "[", "{", 1, true, -1},
        {"folding covers trail bytes",
         "\x81"
         "a",
         "\x81"
         "A",
         1, true, 1},
    };
    for (const FindCase& c : cases) {
        EXPECT_EQ(txt_find(c.text, c.pattern, c.start, c.case_insensitive), c.expected) << c.name;
    }
}

TEST(TextFind, UserAgentLineFoundOnlyWhenCaseIsIgnored) {
    const Text headers = "Accept: */*" + crlf + "user-agent: Mozilla" + crlf;
    EXPECT_EQ(txt_find(headers, "User-Agent:", 1, true), 14);
    EXPECT_EQ(txt_find(headers, "User-Agent:"), -1);
}

TEST(TextFindLast, LastOccurrenceThatEndsBeforeStart) {
    const FindCase cases[] = {
        {"whole text", "a.b.c", ".", txt_to_end, false, 4},
        {"ends before start 4", "a.b.c", ".", 4, false, 2},
        {"ends before start 5", "a.b.c", ".", 5, false, 4},
        {"nothing before start 2", "a.b.c", ".", 2, false, -1},
        {"start 1 leaves nothing", "a.b.c", ".", 1, false, -1},
        {"start 0 leaves nothing", "a.b.c", ".", 0, false, -1},
        {"negative start leaves nothing", "a.b.c", ".", INT_MIN, false, -1},
        {"start past the end is the whole text", "a.b.c", ".", 100, false, 4},
        {"occurrence must end before start", "host:80", "st:", 5, false, -1},
        {"overlapping occurrences", "aaaa", "aa", txt_to_end, false, 3},
        {"empty pattern", "abc", "", txt_to_end, false, 1},
        {"empty pattern with nothing to search", "abc", "", 1, false, -1},
        {"empty text", "", ".", txt_to_end, false, -1},
        {"trail byte is not a character start", an + "x", "\xB2", txt_to_end, false, -1},
        {"pair cut by the end of the stretch", "a" + an, "\xB0", 3, false, 2},
        {"ignoring case", "Ab.AB", "ab", txt_to_end, true, 4},
        {"exact", "Ab.AB", "ab", txt_to_end, false, -1},
    };
    for (const FindCase& c : cases) {
        EXPECT_EQ(txt_find_last(c.text, c.pattern, c.start, c.case_insensitive), c.expected)
            << c.name;
    }
}

TEST(TextFindLast, HostLabelsFoundBackwardsFromThePreviousResult) {
    const Text host = "www.example.com";
    int p = txt_find_last(host, ".", txt_len(host));
    EXPECT_EQ(p, 12);
    EXPECT_EQ(txt_find_last(host, ".", p), 4);
    EXPECT_EQ(txt_find_last(host, ".", 4), -1);
}

// ---------------------------------------------------------------- replace

struct ReplaceCase {
    const char* name;
    Text got;
    Text expected;
};

TEST(TextReplace, OccurrencesReplacedLeftToRightWithoutRescanning) {
    const ReplaceCase cases[] = {
        {"all", txt_replace("a-b-c", "-", "+"), "a+b+c"},
        {"count 1", txt_replace("a-b-c", "-", "+", 1, 1), "a+b-c"},
        {"from start 3", txt_replace("a-b-c", "-", "+", 3), "a-b+c"},
        {"start below 1 counts as 1", txt_replace("a-b-c", "-", "+", -4), "a+b+c"},
        {"start past the end", txt_replace("a-b-c", "-", "+", 6), "a-b-c"},
        {"count 0", txt_replace("a-b-c", "-", "+", 1, 0), "a-b-c"},
        {"negative count is no limit", txt_replace("a-b-c", "-", "+", 1, -7), "a+b+c"},
        {"replacement is not searched again", txt_replace("aaa", "a", "aa"), "aaaaaa"},
        {"occurrences do not overlap", txt_replace("aaa", "aa", "b"), "ba"},
        {"empty pattern", txt_replace("abc", "", "x"), "abc"},
        {"empty text", txt_replace("", "a", "x"), ""},
        {"omitted replacement removes", txt_replace("a-b-c", "-"), "abc"},
        {"omitted flag ignores case", txt_replace("A-a", "a", "x"), "x-x"},
        {"exact when case_sensitive", txt_replace("A-a", "a", "x", 1, txt_no_limit, true), "A-x"},
        {"trail byte is not replaced", txt_replace(an, "\xB2", "x"), an},
        {"pairs are replaced whole", txt_replace("a" + an + "a", an, "-"), "a-a"},
        {"CR LF to a marker and back",
         txt_replace(txt_replace("x" + crlf + "y", crlf, "><br><", 1, txt_no_limit, true), "><br><",
                     crlf, 1, txt_no_limit, true),
         "x" + crlf + "y"},
    };
    for (const ReplaceCase& c : cases) EXPECT_EQ(c.got, c.expected) << c.name;
}

TEST(TextReplace, EverySpellingOfSetCookieBecomesTheCanonicalOne) {
    const Text headers = "HTTP/1.1 200 OK" + crlf + "Set-Cookie: a=1" + crlf + "set-cookie: b=2" +
                         crlf + "SET-COOKIE: c=3" + crlf + crlf;
    const Text expected = "HTTP/1.1 200 OK" + crlf + "Set-Cookie: a=1" + crlf + "Set-Cookie: b=2" +
                          crlf + "Set-Cookie: c=3" + crlf + crlf;
    EXPECT_EQ(txt_replace(headers, "Set-Cookie", "Set-Cookie"), expected);
    EXPECT_EQ(txt_replace("Set-Cookie: a=1", "Set-Cookie:"), " a=1");
}

TEST(TextReplace, LoneLeadByteAtTheEnd) {
    const ReplaceCase cases[] = {
        {"dropped by an unmatched one-byte pattern", txt_replace("a-b\xB0", "-", "+"), "a+b"},
        {"dropped even without any match", txt_replace("ab\xB0", "-", "+"), "ab"},
        {"replaced by a matching one-byte pattern", txt_replace("a\xB0", "\xB0", "x"), "ax"},
        {"kept by a longer pattern", txt_replace("a-b\xB0", "-b", "+"), "a+\xB0"},
        {"kept when the count stops the walk first", txt_replace("a-b\xB0", "-", "+", 1, 1),
         "a+b\xB0"},
        {"dropped after a whole pair", txt_replace("a" + ah + "\xB0", "-", "+"), "a" + ah},
        {"kept as the second byte of a pair", txt_replace("a\xB0\xB0", "-", "+"), "a\xB0\xB0"},
    };
    for (const ReplaceCase& c : cases) EXPECT_EQ(c.got, c.expected) << c.name;
}

// ---------------------------------------------------------------- split

struct SplitCase {
    const char* name;
    TextList got;
    TextList expected;
};

TEST(TextSplit, MembersBetweenSeparators) {
    const SplitCase cases[] = {
        {"empty text", txt_split("", ";"), {}},
        {"empty separator", txt_split("abc", ""), {"abc"}},
        {"default separator is a comma", txt_split("a,b"), {"a", "b"}},
        {"empty member in the middle", txt_split("a;;b", ";"), {"a", "", "b"}},
        {"empty first member", txt_split(";a", ";"), {"", "a"}},
        {"no member after a trailing separator", txt_split("a;b;", ";"), {"a", "b"}},
        {"trailing separator after an empty member", txt_split("a;;b;", ";"), {"a", "", "b"}},
        {"separator alone", txt_split(";", ";"), {""}},
        {"no separator", txt_split("abc", ";"), {"abc"}},
        {"separator is exact", txt_split("aXbxc", "x"), {"aXb", "c"}},
        {"header block ends in one empty member",
         txt_split("x" + crlf + "y" + crlf + crlf, crlf),
         {"x", "y", ""}},
        {"separator inside a pair is not one", txt_split(an + ";" + an, "\xB2"), {an + ";" + an}},
        {"lone lead byte at the end is kept", txt_split("a;\xB0", ";"), {"a", "\xB0"}},
        {"max members stops and drops the rest", txt_split("a;b;c", ";", 2), {"a", "b"}},
        {"max members above the count", txt_split("a;b", ";", 5), {"a", "b"}},
        {"max members 0", txt_split("a;b", ";", 0), {}},
        {"negative max members counts as 0", txt_split("a;b", ";", -1), {}},
    };
    for (const SplitCase& c : cases) EXPECT_EQ(c.got, c.expected) << c.name;
}

// ---------------------------------------------------------------- spaces, case, numbers

struct ConvertCase {
    Text text;
    Text expected;
};

TEST(TextTrim, SpacesAndFullWidthSpacesGoFromBothEndsOnly) {
    const ConvertCase cases[] = {
        {"  a b  ", "a b"},
        {"   ", ""},
        {"", ""},
        {"ab", "ab"},
        {full_width_space + "a" + full_width_space + "b" + full_width_space + " ",
         "a" + full_width_space + "b"},
        {full_width_space + "a\t", "a\t"},
        {"\ta ", "\ta"},
        {" a\r\n", "a\r\n"},
        {"x" + an + " ", "x" + an},
        {ah + full_width_space, ah},
        {"a \xA1", "a "},  // a lone lead byte goes, the spaces before it stay
        {"  \xB0", ""},    // only spaces before a lone lead byte
        {"\xA1", ""},
    };
    for (const ConvertCase& c : cases) EXPECT_EQ(txt_trim(c.text), c.expected) << c.text;
}

TEST(TextStripSpaces, EverySpaceGoesAndNothingElse) {
    const ConvertCase cases[] = {
        {"a b; c=d", "ab;c=d"},
        {"  ", ""},
        {"a" + full_width_space + "b", "ab"},
        {"a\tb\r\n", "a\tb\r\n"},
        {"\xB0\xA1\xA1\xA1", "\xB0\xA1"},  // the first 0xA1 is a trail byte
        {"a b\xB0", "ab"},
    };
    for (const ConvertCase& c : cases) EXPECT_EQ(txt_strip_spaces(c.text), c.expected) << c.text;
}

TEST(TextLower, OnlyAsciiCapitalsOutsidePairs) {
    const ConvertCase cases[] = {
        {"ABC-Def", "abc-def"},
        {"@[`{Z", "@[`{z"},
        {"\x81"
         "AB",
         "\x81"
         "Ab"},
        {"A\xB0", "a\xB0"},
    };
    for (const ConvertCase& c : cases) EXPECT_EQ(txt_lower(c.text), c.expected) << c.text;
}

struct NumberCase {
    Text text;
    int expected;
};

TEST(TextToInt, DecimalNumberAtTheStart) {
    const NumberCase cases[] = {
        {"8080", 8080},
        {" -12x", -12},
        {"+7", 7},
        {"\t\r\n 42", 42},
        {"x12", 0},
        {"", 0},
        {"-", 0},
        {"- 5", 0},
        {"--5", 0},
        {"4294967297", 1},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MIN},
        {"-2147483648", INT_MIN},
        {"99999999999", 1215752191},
        {"\xA3\xB8\xA3\xB0", 80},            // full-width 80
        {"\xA3\xAD\xA3\xB3", -3},            // full-width minus sign
        {full_width_space + "\xA3\xB5", 5},  // full-width space skipped
        {"1\xA3\xB2"
         "3",
         123},
        {"12" + an, 12},
        {"\xA3", 0},
    };
    for (const NumberCase& c : cases) EXPECT_EQ(txt_to_int(c.text), c.expected) << c.text;
}

TEST(TextHexByte, UpperCaseWithoutLeadingZeros) {
    const ConvertCase cases[] = {
        {txt_hex_byte(0), "0"},    {txt_hex_byte(10), "A"},  {txt_hex_byte(171), "AB"},
        {txt_hex_byte(255), "FF"}, {txt_hex_byte(16), "10"}, {txt_hex_byte(-1), "FFFFFFFF"},
    };
    for (const ConvertCase& c : cases) EXPECT_EQ(c.text, c.expected);
}

// ---------------------------------------------------------------- bytes, joining, comparing

TEST(TextBytes, ConversionsStopAtTheFirstZeroByte) {
    EXPECT_EQ(bytes_to_txt({0x61, 0x00, 0x62}), "a");
    EXPECT_EQ(bytes_to_txt({0x61, 0x62}), "ab");
    EXPECT_EQ(bytes_to_txt({}), "");
    EXPECT_EQ(bytes_to_txt(bytes_zeroed(1024)), "");
    EXPECT_EQ(txt_to_bytes("ab"), Bytes({0x61, 0x62}));
    EXPECT_TRUE(txt_to_bytes("").empty());
}

TEST(TextBytes, HeadConcatEqualAndAt) {
    EXPECT_EQ(bytes_len(bytes_head(bytes_zeroed(1024), 17)), 17);
    EXPECT_EQ(bytes_head({1, 2}, 5), Bytes({1, 2}));
    EXPECT_TRUE(bytes_head({1, 2}, 0).empty());
    EXPECT_TRUE(bytes_head({1, 2}, -1).empty());
    EXPECT_EQ(bytes_concat(Bytes{1}, Bytes{}, Bytes{0, 2}), Bytes({1, 0, 2}));
    EXPECT_TRUE(bytes_concat(Bytes{}, Bytes{}).empty());
    EXPECT_TRUE(bytes_equal({}, Bytes{}));
    EXPECT_TRUE(bytes_equal({1, 0}, {1, 0}));
    EXPECT_FALSE(bytes_equal({1, 0}, {1}));
    EXPECT_FALSE(bytes_equal({1, 0}, {1, 1}));
    const Bytes data = {7, 0, 9};
    EXPECT_EQ(bytes_at(data, 1), 7);
    EXPECT_EQ(bytes_at(data, 3), 9);
    EXPECT_EQ(bit_or(0x04000000, 0x80000000 >> 8), 0x04800000);
    EXPECT_EQ(bit_or(INT_MIN, 1), INT_MIN + 1);
}

TEST(TextJoin, ConcatJoinsInOrder) {
    const Text empty;
    EXPECT_EQ(txt_concat("a", "b"), "ab");
    EXPECT_EQ(txt_concat("a", empty, "c", an), "ac" + an);
    EXPECT_EQ(txt_concat(empty, empty), "");
}

TEST(TextCompare, BytesCompareUnsignedAndPrefixesComeFirst) {
    EXPECT_EQ(txt_compare("", ""), 0);
    EXPECT_EQ(txt_compare("abc", "abc"), 0);
    EXPECT_EQ(txt_compare("ab", "abc"), -1);
    EXPECT_EQ(txt_compare("abc", "ab"), 1);
    EXPECT_EQ(txt_compare("a", ""), 1);
    EXPECT_EQ(txt_compare("z", an), -1);
    EXPECT_EQ(txt_compare("A", "a"), -1);
}

// ---------------------------------------------------------------- between

TEST(TextBetween, TextBetweenTwoMarkers) {
    const CutCase cases[] = {
        {"user agent with its leading space",
         txt_between("xUser-Agent: UA1" + crlf + "z", "User-Agent:", crlf), " UA1"},
        {"markers next to each other", txt_between("ab", "a", "b"), ""},
        {"missing close marker", txt_between("xay", "a", "b"), ""},
        {"missing open marker", txt_between("xby", "a", "b"), ""},
        {"close marker only before the open one", txt_between("b-a", "a", "b"), ""},
        {"cookie value", txt_between("Set-Cookie: id=1; path=/", "Set-Cookie:", ";"), " id=1"},
        {"host of a URL", txt_between("http://host:8/p", "http://", "/"), "host:8"},
        {"URL without a path", txt_between("http://host", "http://", "/"), ""},
        {"quote marker in both markers",
         txt_between("{\"a\":1,\"k\":\"v\"}", "#引号k#引号:#引号", "#引号"), "v"},
        {"quote marker for the open marker", txt_between("x\"ky\"z", "#引号k", "#引号"), "y"},
        {"start skips an earlier open marker", txt_between("[a][b]", "[", "]", 3), "b"},
        {"case ignored when asked", txt_between("<B>x</b>", "<b>", "</B>", 0, true), "x"},
        {"case kept by default", txt_between("<B>x</b>", "<b>", "</b>"), ""},
    };
    for (const CutCase& c : cases) EXPECT_EQ(c.got, c.expected) << c.name;
}

// ---------------------------------------------------------------- lists

TEST(TextList, AppendAddsACopyAtTheEnd) {
    TextList list;
    EXPECT_EQ(list_count(list), 0);
    Text member = "a";
    list_append(list, member);
    list_append(list, "");
    member = "changed";
    EXPECT_EQ(list_count(list), 2);
    EXPECT_EQ(list_at(list, 1), "a");
    EXPECT_EQ(list_at(list, 2), "");
}

#if GTEST_HAS_DEATH_TEST
TEST(TextListDeathTest, NumbersOutsideTheListStopTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const TextList list = {"a"};
    const Bytes data = {1};
    EXPECT_DEATH(list_at(list, 0), "");
    EXPECT_DEATH(list_at(list, 2), "");
    EXPECT_DEATH(bytes_at(data, 0), "");
    EXPECT_DEATH(bytes_at(data, 2), "");
}
#endif

// ---------------------------------------------------------------- against a plain walk

// The searches written exactly as the character walk reads, one position
// at a time; the library's linear search must agree with it everywhere.
bool same_at(const Text& text, std::size_t at, const Text& pattern, bool fold) {
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        unsigned char a = static_cast<unsigned char>(text[at + i]);
        unsigned char b = static_cast<unsigned char>(pattern[i]);
        if (fold) {
            if (a >= 'A' && a <= 'Z') a += 0x20;
            if (b >= 'A' && b <= 'Z') b += 0x20;
        }
        if (a != b) return false;
    }
    return true;
}

std::size_t step(const Text& text, std::size_t at) {
    return static_cast<unsigned char>(text[at]) >= 0x80 ? 2 : 1;
}

int walk_find(const Text& text, const Text& pattern, int start, bool fold) {
    std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
    if (from >= text.size()) return -1;
    if (pattern.empty()) return 1;
    for (std::size_t p = from; p < text.size() && text.size() - p >= pattern.size();
         p += step(text, p)) {
        if (same_at(text, p, pattern, fold)) return static_cast<int>(p + 1);
    }
    return -1;
}

int walk_find_last(const Text& text, const Text& pattern, int start, bool fold) {
    if (start <= 1 || text.empty()) return -1;
    std::size_t end = std::min(static_cast<std::size_t>(start - 1), text.size());
    if (pattern.empty()) return 1;
    int last = -1;
    for (std::size_t p = 0; p < end && end - p >= pattern.size(); p += step(text, p)) {
        if (same_at(text, p, pattern, fold)) last = static_cast<int>(p + 1);
    }
    return last;
}

Text walk_replace(const Text& text, const Text& pattern, const Text& replacement,
                  bool case_sensitive) {
    if (text.empty() || pattern.empty()) return text;
    Text out;
    std::size_t p = 0;
    while (p < text.size() && text.size() - p >= pattern.size()) {
        if (same_at(text, p, pattern, !case_sensitive)) {
            out += replacement;
            p += pattern.size();
        } else {
            std::size_t n = step(text, p);
            if (p + n <= text.size()) out.append(text, p, n);
            p += n;
        }
    }
    if (p < text.size()) out.append(text, p, Text::npos);
    return out;
}

TextList walk_split(const Text& text, const Text& separator) {
    TextList members;
    if (text.empty()) return members;
    std::size_t begin = 0, p = 0;
    while (p < text.size() && text.size() - p >= separator.size()) {
        if (same_at(text, p, separator, false)) {
            members.push_back(text.substr(begin, p - begin));
            p += separator.size();
            begin = p;
        } else {
            p += step(text, p);
        }
    }
    if (begin < text.size()) members.push_back(text.substr(begin));
    return members;
}

TEST(TextSearchAgreesWithTheCharacterWalk, OnRandomMixedTexts) {
    const std::vector<Text> alphabet = {"a", "A", "b", ";", " ", "\xB0", "\xB2", "\xA1"};
    std::mt19937 random(936);
    auto random_text = [&](std::size_t max_length) {
        Text text;
        std::size_t length = random() % (max_length + 1);
        for (std::size_t i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
        return text;
    };
    for (int round = 0; round < 20000; ++round) {
        const Text text = random_text(14);
        const Text pattern = random_text(3);
        const int start = static_cast<int>(random() % 18) - 2;
        const bool flag = random() % 2 == 0;
        SCOPED_TRACE(testing::Message() << "round " << round);
        ASSERT_EQ(txt_find(text, pattern, start, flag), walk_find(text, pattern, start, flag));
        ASSERT_EQ(txt_find_last(text, pattern, start, flag),
                  walk_find_last(text, pattern, start, flag));
        ASSERT_EQ(txt_replace(text, pattern, "<>", 1, txt_no_limit, flag),
                  walk_replace(text, pattern, "<>", flag));
        if (!pattern.empty()) {
            ASSERT_EQ(txt_split(text, pattern), walk_split(text, pattern));
        }
    }
}

// ---------------------------------------------------------------- linear time

// Inputs on which a search that restarts at each position, or walks from
// the start of the text for each candidate, takes hours; a linear one
// takes milliseconds.
TEST(TextSearchIsLinear, OnPatternsThatDefeatNaiveSearch) {
    const Text text(4 << 20, 'a');
    const Text pattern = Text(64 << 10, 'a') + "b";
    EXPECT_EQ(txt_find(text, pattern), -1);
    EXPECT_EQ(txt_find_last(text, pattern), -1);
    EXPECT_EQ(txt_replace(text, pattern, "x"), text);
    EXPECT_EQ(txt_split(text, pattern).size(), 1u);
}

TEST(TextSearchIsLinear, OnLongRunsOfLeadBytes) {
    const Text text(2 << 20, '\xB0');
    const Text pair = "\xB0\xB0";
    EXPECT_EQ(txt_find_last(text, pair), txt_len(text) - 1);
    EXPECT_EQ(txt_replace(text, pair, "x", 1, txt_no_limit, true), Text(1 << 20, 'x'));
    EXPECT_EQ(txt_split(text, pair).size(), static_cast<std::size_t>(1 << 20));
    EXPECT_EQ(txt_find(text + "z", "\xB0z"), -1);
    EXPECT_EQ(txt_find(text + "\xB0z", "\xB0z"), txt_len(text) + 1);
}

}  // namespace
