// How an edit box's text becomes a profile value and comes back.
#include "app/profile_value.h"

#include <gtest/gtest.h>

namespace {

struct ValueCase {
    const char* text;
    const char* stored;
};

TEST(ProfileValue, OrdinaryTextsAreWrittenAsTheyStand) {
    const ValueCase cases[] = {
        {"", ""},
        {"alice", "alice"},
        {"用户名", "用户名"},
        {"a b", "a b"},
        {"pass\"word", "pass\"word"},
        {"\"open", "\"open"},
        {"close\"", "close\""},
        {"'", "'"},
        {"\"", "\""},
        {"\"mixed'", "\"mixed'"},
        {"><BR><", "><BR><"},
    };
    for (const auto& c : cases) EXPECT_EQ(profile_value_from_text(c.text), c.stored) << c.text;
}

TEST(ProfileValue, LineBreaksAreStoredAsMarkers) {
    const ValueCase cases[] = {
        {"a\r\nb", "a><br><b"},
        {"\r\n\r\n", "><br><><br><"},
        {"x\r\n", "x><br><"},
        {"\r\ny", "><br><y"},
    };
    for (const auto& c : cases) EXPECT_EQ(profile_value_from_text(c.text), c.stored);
}

// The profile reader trims white space around a value and strips one pair
// of enclosing quotes; such values are protected by a pair of double quotes.
TEST(ProfileValue, ValuesTheReaderWouldAlterAreQuoted) {
    const ValueCase cases[] = {
        {" lead", "\" lead\""},
        {"trail ", "\"trail \""},
        {" ", "\" \""},
        {"\tpw", "\"\tpw\""},
        {"\"quoted\"", "\"\"quoted\"\""},
        {"'single'", "\"'single'\""},
        {"\"\"", "\"\"\"\""},
        {"签 ", "\"签 \""},
    };
    for (const auto& c : cases) EXPECT_EQ(profile_value_from_text(c.text), c.stored) << c.text;
}

TEST(ProfileValue, StoredMarkersComeBackAsLineBreaks) {
    const ValueCase cases[] = {
        {"a><br><b", "a\r\nb"}, {"><br><", "\r\n"}, {"><BR><", "><BR><"},
        {"><br", "><br"},       {"plain", "plain"}, {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(profile_value_to_text(c.text), c.stored);
}

TEST(ProfileValue, ACharacterCutInTwoByTheReadBufferIsDropped) {
    EXPECT_EQ(profile_value_to_text("ab\xC7\xA9\xB5"), "ab\xC7\xA9");
    EXPECT_EQ(profile_value_to_text("\xC7"), "");
    // A trail byte in the ASCII range is still part of its character.
    EXPECT_EQ(profile_value_to_text("\x81\x40"), "\x81\x40");
}

}  // namespace
