// A reader of single-quoted string literal bodies written from the
// ECMAScript grammar, apart from the guard in text/script_literal.cpp, for
// the fuzz target to hold the guard against. It reads a body in one of two
// ways:
//   today: as a current engine reads it (Node's, whose verdicts and values
//     fuzz/data/literal_cases.txt holds), Annex B octal escapes included;
//   both_engines: only what JScript reads to the same value as ECMAScript,
//     so the raw U+2028 and U+2029, line continuations, \v, \8, \9, \u{...}
//     and the octal escapes of which JScript takes a different run of digits
//     are refused.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace literal_model {

enum class Reading { today, both_engines };

inline bool is_line_terminator(char16_t c) {
    return c == u'\n' || c == u'\r' || c == u'\u2028' || c == u'\u2029';
}

inline int hex_value(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

inline bool is_octal(char16_t c) { return c >= u'0' && c <= u'7'; }
inline bool is_decimal(char16_t c) { return c >= u'0' && c <= u'9'; }

// The value of '<body>' when it is exactly one string literal, else nothing.
inline std::optional<std::u16string> read(std::u16string_view body, Reading reading) {
    const bool today = reading == Reading::today;
    std::u16string value;
    std::size_t i = 0;
    const std::size_t n = body.size();
    while (i < n) {
        const char16_t c = body[i];
        if (c == u'\'') return std::nullopt;  // the literal would end here
        if (c == u'\n' || c == u'\r') return std::nullopt;
        if (c == u'\u2028' || c == u'\u2029') {
            // Allowed in literals only since ECMAScript 2019.
            if (!today) return std::nullopt;
            value += c;
            ++i;
            continue;
        }
        if (c != u'\\') {
            value += c;
            ++i;
            continue;
        }
        if (i + 1 == n) return std::nullopt;  // the closing quote is escaped
        const char16_t e = body[i + 1];
        i += 2;
        if (is_line_terminator(e)) {
            // A line continuation: nothing in the value.
            if (!today) return std::nullopt;
            if (e == u'\r' && i < n && body[i] == u'\n') ++i;
            continue;
        }
        if (is_octal(e)) {
            // ECMAScript: after 0 to 3 up to two more octal digits, after 4
            // to 7 up to one. JScript: up to three decimal digits in all.
            std::size_t ecma = 1;
            const std::size_t most = e <= u'3' ? 3 : 2;
            while (ecma < most && i - 1 + ecma < n && is_octal(body[i - 1 + ecma])) ++ecma;
            std::size_t jscript = 1;
            while (jscript < 3 && i - 1 + jscript < n && is_decimal(body[i - 1 + jscript]))
                ++jscript;
            if (!today && jscript != ecma) return std::nullopt;
            unsigned code = 0;
            for (std::size_t k = 0; k < ecma; ++k) code = code * 8 + (body[i - 1 + k] - u'0');
            value += static_cast<char16_t>(code);
            i += ecma - 1;
            continue;
        }
        if (e == u'8' || e == u'9') {
            if (!today) return std::nullopt;
            value += e;
            continue;
        }
        if (e == u'x') {
            if (n - i < 2 || hex_value(body[i]) < 0 || hex_value(body[i + 1]) < 0)
                return std::nullopt;
            value += static_cast<char16_t>(hex_value(body[i]) * 16 + hex_value(body[i + 1]));
            i += 2;
            continue;
        }
        if (e == u'u') {
            if (today && i < n && body[i] == u'{') {
                std::uint32_t code = 0;
                std::size_t k = i + 1;
                for (; k < n && hex_value(body[k]) >= 0; ++k) {
                    code = code * 16 + static_cast<std::uint32_t>(hex_value(body[k]));
                    if (code > 0x10FFFF) return std::nullopt;
                }
                if (k == i + 1 || k == n || body[k] != u'}') return std::nullopt;
                if (code >= 0x10000) {
                    value += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
                    value += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
                } else {
                    value += static_cast<char16_t>(code);
                }
                i = k + 1;
                continue;
            }
            if (n - i < 4) return std::nullopt;
            unsigned code = 0;
            for (std::size_t k = 0; k < 4; ++k) {
                const int digit = hex_value(body[i + k]);
                if (digit < 0) return std::nullopt;
                code = code * 16 + static_cast<unsigned>(digit);
            }
            value += static_cast<char16_t>(code);
            i += 4;
            continue;
        }
        switch (e) {
            case u'b':
                value += u'\b';
                break;
            case u't':
                value += u'\t';
                break;
            case u'n':
                value += u'\n';
                break;
            case u'f':
                value += u'\f';
                break;
            case u'r':
                value += u'\r';
                break;
            case u'v':
                // JScript reads \v as a plain v.
                if (!today) return std::nullopt;
                value += u'\v';
                break;
            default:
                value += e;
                break;  // \' \" \\ and every other character stand for themselves
        }
    }
    return value;
}

}  // namespace literal_model
