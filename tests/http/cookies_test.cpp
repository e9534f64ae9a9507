#include "http/cookies.h"

#include <gtest/gtest.h>

namespace {

struct MergeCase {
    const char* current;
    const char* incoming;
    const char* merged;
    const char* incoming_after;
};

const MergeCase merge_cases[] = {
    // Incoming first, then the current cookies that were not overridden.
    {"a=1; b=2", "b=3; c=4", "b=3; c=4; a=1", "b=3;c=4"},
    // A deleted cookie goes, and takes its current value with it.
    {"a=1; b=2", "a=deleted", "b=2", "a=deleted"},
    {"a=1", "b=2;x=deleted", "b=2; a=1", "b=2;x=deleted"},
    // The mark is exact: other letter case is an ordinary value.
    {"", "a=DELETED", "a=DELETED", "a=DELETED"},
    {"", "deleted", "deleted", "deleted"},
    // Of several current cookies with one name only the first survives.
    {"x=1; x=2", "", "x=1", ""},
    // Repeated names within the incoming text stay; equal members do not.
    {"a=1", "a=2; a=3", "a=2; a=3", "a=2;a=3"},
    {"", "a=2; a=2", "a=2", "a=2;a=2"},
    {"a=1; a=1; b=2", "", "a=1; b=2", ""},
    // Spaces go wherever they stand, full-width ones too.
    {"a = 1 ;b=2", "", "a=1; b=2", ""},
    {"a\xA1\xA1=1", " c = 3 ", "c=3; a=1", "c=3"},
    {"", "", "", ""},
    {"a=1;", "", "a=1", ""},
    // An empty member travels as an empty slot.
    {";a=1", "b=2", "b=2; ; a=1", "b=2"},
    {";a=1;;", "", "; a=1", ""},
    // Names compare with letter case.
    {"A=1", "a=2", "a=2; A=1", "a=2"},
    // A member without "=" is named by all of it.
    {"flag; b=1", "flag", "flag; b=1", "flag"},
};

class CookiesMerge : public testing::TestWithParam<MergeCase> {};

TEST_P(CookiesMerge, WritesTheResultBackToBothTexts) {
    const MergeCase& c = GetParam();
    Text current = c.current;
    Text incoming = c.incoming;
    EXPECT_EQ(cookies_merge(current, incoming), c.merged);
    EXPECT_EQ(current, c.merged);
    EXPECT_EQ(incoming, c.incoming_after);
}

INSTANTIATE_TEST_SUITE_P(Cases, CookiesMerge, testing::ValuesIn(merge_cases));

TEST(CookieNameOf, IsTheTrimmedTextBeforeTheFirstEquals) {
    const struct {
        const char* cookie;
        const char* name;
    } cases[] = {
        {"sid=abc=def", "sid"},       {"flag", "flag"}, {" k =v", "k"}, {"=v", ""}, {"", ""},
        {"\xA1\xA1n\xA1\xA1=v", "n"},
    };
    for (const auto& c : cases) EXPECT_EQ(cookie_name_of(c.cookie), c.name) << c.cookie;
}

TEST(CookieListHasName, MatchesWholeNamesExactly) {
    const TextList list = {"a=1", " bb =2", "c"};
    EXPECT_TRUE(cookie_list_has_name(list, "a"));
    EXPECT_TRUE(cookie_list_has_name(list, "bb"));
    EXPECT_TRUE(cookie_list_has_name(list, "c"));
    EXPECT_FALSE(cookie_list_has_name(list, "b"));
    EXPECT_FALSE(cookie_list_has_name(list, "A"));
    EXPECT_FALSE(cookie_list_has_name({}, ""));
}

TEST(DedupeJoined, KeepsFirstOccurrencesInPlace) {
    const struct {
        const char* joined;
        const char* separator;
        const char* result;
    } cases[] = {
        {"a; b; a", "; ", "a; b"}, {"", "; ", ""},     {"b; a; b; c; a", "; ", "b; a; c"},
        {"a;;a;", ";", "a;"},      {"a,b", "", "a,b"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(dedupe_joined(c.joined, c.separator), c.result) << c.joined;
    }
}

TEST(TextListIndex, FindsTheFirstEqualMember) {
    const TextList list = {"a", "", "b", "a"};
    EXPECT_EQ(text_list_index(list, "a"), 1);
    EXPECT_EQ(text_list_index(list, ""), 2);
    EXPECT_EQ(text_list_index(list, "b"), 3);
    EXPECT_EQ(text_list_index(list, "A"), -1);
    EXPECT_EQ(text_list_index({}, ""), -1);
}

}  // namespace
