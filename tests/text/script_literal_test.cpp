// What may stand between the single quotes of the statement handed to the
// script engine. Anything refused here never reaches the engine, so these
// cases are the whole defence against a reply that tries to run as script.
#include "text/script_literal.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

struct LiteralCase {
    const char* what;
    std::u16string_view body;
    bool accepted;
};

void check(const LiteralCase& c) {
    EXPECT_EQ(stays_one_string_literal(c.body), c.accepted)
        << c.what << ": " << std::string(c.body.begin(), c.body.end());
}

TEST(ScriptLiteral, AcceptsTextsThatStayOneLiteral) {
    const LiteralCase cases[] = {
        {"empty", u"", true},
        {"plain text", u"%u7B7E%u5230 ok", true},
        {"double-byte characters", u"\u7B7E\u5230", true},
        {"double quotes", u"say \"hi\"", true},
        {"escaped single quote", u"it\\'s", true},
        {"escaped backslash", u"a\\\\", true},
        {"escaped backslash then escaped quote", u"\\\\\\'", true},
        {"single escapes", u"\\b\\f\\n\\r\\t\\\"", true},
        {"identity escapes", u"\\a\\q\\/\\%\\\u7B7E", true},
        {"hex escape", u"\\x41\\x7e", true},
        {"unicode escape", u"\\u7B7E\\u00e9", true},
        {"zero escape", u"ab\\0cd", true},
        {"octal escapes up to 377", u"\\1\\12\\123\\377", true},
        {"octal after 4 to 7 takes two digits", u"\\47a\\7", true},
        {"fourth digit after an octal escape", u"\\1234\\0008", true},
        {"tab and other controls", u"\t\v\f\u00A0\uFEFF", true},
    };
    for (const auto& c : cases) check(c);
}

TEST(ScriptLiteral, RefusesTextsThatWouldEndOrBreakTheLiteral) {
    const LiteralCase cases[] = {
        {"single quote", u"a'b", false},
        {"quote that closes and runs script", u"';new ActiveXObject('x');'", false},
        {"leading quote", u"'", false},
        {"quote after an escaped backslash", u"\\\\'", false},
        {"line feed", u"a\nb", false},
        {"carriage return", u"a\rb", false},
        {"line separator", u"a\u2028b", false},
        {"paragraph separator", u"a\u2029b", false},
        {"trailing backslash", u"abc\\", false},
        {"backslash alone", u"\\", false},
        {"odd run of backslashes at the end", u"\\\\\\", false},
        {"line continuation", u"a\\\nb", false},
        {"backslash before carriage return", u"a\\\r\nb", false},
        {"backslash before line separator", u"a\\\u2028b", false},
    };
    for (const auto& c : cases) check(c);
}

TEST(ScriptLiteral, RefusesEscapesTheEngineReadsDifferently) {
    const LiteralCase cases[] = {
        {"hex escape without digits", u"\\x", false},
        {"hex escape with one digit", u"\\x4", false},
        {"hex escape with a non-digit", u"\\xg1", false},
        {"unicode escape too short", u"\\u004", false},
        {"unicode escape at the end", u"ab\\u", false},
        {"unicode escape with braces", u"\\u{41}", false},
        {"vertical tab escape", u"\\v", false},
        {"eight", u"\\8", false},
        {"nine", u"x\\9x", false},
        {"zero followed by eight", u"\\08", false},
        {"octal followed by nine", u"\\19", false},
        {"two octal digits followed by eight", u"\\128", false},
        {"three digits after four", u"\\400", false},
        {"three digits after seven", u"\\777", false},
    };
    for (const auto& c : cases) check(c);
}

}  // namespace
