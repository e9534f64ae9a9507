#include "text/script_literal.h"

#include <cstddef>

namespace {

bool is_line_terminator(char16_t unit) {
    return unit == u'\n' || unit == u'\r' || unit == u'\u2028' || unit == u'\u2029';
}

bool is_hex_digit(char16_t unit) {
    return (unit >= u'0' && unit <= u'9') || (unit >= u'a' && unit <= u'f') ||
           (unit >= u'A' && unit <= u'F');
}

bool is_digit(char16_t unit) { return unit >= u'0' && unit <= u'9'; }

bool is_octal_digit(char16_t unit) { return unit >= u'0' && unit <= u'7'; }

// True when the count units from position at exist and are all hex digits.
bool hex_digits_follow(std::u16string_view body, std::size_t at, std::size_t count) {
    if (body.size() - at < count) return false;
    for (std::size_t i = 0; i < count; ++i) {
        if (!is_hex_digit(body[at + i])) return false;
    }
    return true;
}

// The length of the octal escape whose first digit stands at position at,
// or 0 when JScript would read it differently from ECMAScript. ECMAScript
// takes up to three octal digits after 0 to 3 and up to two after 4 to 7;
// JScript takes up to three digits of 0 to 9 in every case.
std::size_t octal_escape_length(std::u16string_view body, std::size_t at) {
    std::size_t digits = 0;
    while (digits < 3 && at + digits < body.size() && is_digit(body[at + digits])) {
        if (!is_octal_digit(body[at + digits])) return 0;
        ++digits;
    }
    if (digits == 3 && body[at] >= u'4') return 0;
    return digits;
}

}  // namespace

bool stays_one_string_literal(std::u16string_view body) {
    std::size_t at = 0;
    while (at < body.size()) {
        const char16_t unit = body[at];
        if (unit == u'\'' || is_line_terminator(unit)) return false;
        if (unit != u'\\') {
            ++at;
            continue;
        }
        // A backslash always takes what follows it, so an escaped quote or
        // backslash never counts as the end of the literal.
        if (at + 1 == body.size()) return false;
        const char16_t escaped = body[at + 1];
        if (is_line_terminator(escaped) || escaped == u'v') return false;
        if (escaped == u'x') {
            if (!hex_digits_follow(body, at + 2, 2)) return false;
            at += 4;
        } else if (escaped == u'u') {
            if (!hex_digits_follow(body, at + 2, 4)) return false;
            at += 6;
        } else if (is_digit(escaped)) {
            const std::size_t length = octal_escape_length(body, at + 1);
            if (length == 0) return false;
            at += 1 + length;
        } else {
            at += 2;
        }
    }
    return true;
}
