// Slow, obvious versions of the scanning text primitives, for the fuzz
// targets to hold the real ones against. Each follows the character walk
// literally: it visits one character start after the other from the first
// byte of the walk and compares the pattern there byte by byte, so it is
// quadratic but has nothing clever in it to get wrong.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "text/text.h"

namespace reference {

inline bool is_lead(unsigned char byte) { return byte >= 0x80; }

inline unsigned char byte_at(const Text& text, std::size_t i) {
    return static_cast<unsigned char>(text[i]);
}

// 1 or 2: the length of the character starting at i (a lead byte counts as
// 2 even when nothing follows it, which ends the walk).
inline std::size_t step(const Text& text, std::size_t i) {
    return is_lead(byte_at(text, i)) ? 2 : 1;
}

inline unsigned char fold(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + 0x20) : byte;
}

// Whether pattern stands at index i of text, comparing exactly or with the
// ASCII folding; the caller has made sure enough bytes follow i.
inline bool matches_at(const Text& text, std::size_t i, const Text& pattern, bool ignore_case) {
    for (std::size_t k = 0; k < pattern.size(); ++k) {
        unsigned char a = byte_at(text, i + k);
        unsigned char b = static_cast<unsigned char>(pattern[k]);
        if (ignore_case ? fold(a) != fold(b) : a != b) return false;
    }
    return true;
}

// The indices a walk from begin visits, up to (not including) end.
inline std::vector<std::size_t> walk(const Text& text, std::size_t begin, std::size_t end) {
    std::vector<std::size_t> starts;
    for (std::size_t i = begin; i < end; i += step(text, i)) starts.push_back(i);
    return starts;
}

inline int find(const Text& text, const Text& pattern, int start, bool ignore_case) {
    const std::size_t n = text.size();
    std::size_t from = 0;
    if (start >= 1) {
        if (static_cast<std::size_t>(start) > n) return -1;
        from = static_cast<std::size_t>(start) - 1;
    }
    if (from >= n) return -1;
    if (pattern.empty()) return 1;
    for (std::size_t p : walk(text, from, n)) {
        if (n - p >= pattern.size() && matches_at(text, p, pattern, ignore_case))
            return static_cast<int>(p + 1);
    }
    return -1;
}

// start nullopt: the whole text.
inline int find_last(const Text& text, const Text& pattern, std::optional<int> start,
                     bool ignore_case) {
    const std::size_t n = text.size();
    std::size_t end = n;
    if (start) {
        if (*start <= 1) return -1;
        end = std::min(static_cast<std::size_t>(*start) - 1, n);
    }
    if (end == 0) return -1;
    if (pattern.empty()) return 1;
    int last = -1;
    for (std::size_t p : walk(text, 0, end)) {
        if (end - p >= pattern.size() && matches_at(text, p, pattern, ignore_case))
            last = static_cast<int>(p + 1);
    }
    return last;
}

inline Text replace(const Text& text, const Text& pattern, const Text& replacement, int start,
                    int count, bool case_sensitive) {
    const std::size_t n = text.size();
    const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
    if (n == 0 || pattern.empty() || (start >= 1 && static_cast<std::size_t>(start) > n) ||
        count == 0)
        return text;
    const bool limited = count > 0;
    long left = count;
    Text out = text.substr(0, from);
    std::size_t p = from;
    while (p < n && n - p >= pattern.size()) {
        if (matches_at(text, p, pattern, !case_sensitive)) {
            out += replacement;
            p += pattern.size();
            if (limited && --left == 0) break;
            continue;
        }
        if (p + step(text, p) > n) {
            // A lone lead byte at the end, reached only by a one-byte
            // pattern: there is no whole character to copy.
            p = n;
            break;
        }
        out.append(text, p, step(text, p));
        p += step(text, p);
    }
    if (p < n) out.append(text, p, Text::npos);
    return out;
}

inline TextList split(const Text& text, const Text& separator, std::optional<int> max_members) {
    TextList members;
    if (text.empty() || (max_members && *max_members <= 0)) return members;
    if (separator.empty()) return {text};
    const std::size_t n = text.size();
    std::size_t begin = 0;
    std::size_t p = 0;
    while (p < n) {
        if (n - p >= separator.size() && matches_at(text, p, separator, false)) {
            members.push_back(text.substr(begin, p - begin));
            p += separator.size();
            begin = p;
            if (max_members && members.size() == static_cast<std::size_t>(*max_members))
                return members;
            continue;
        }
        p += step(text, p);
    }
    if (begin < n) members.push_back(text.substr(begin));
    return members;
}

// A text cut into its characters; incomplete tells whether the last one is
// a lone lead byte, which is then left out of the list.
struct Characters {
    std::vector<Text> list;
    bool incomplete = false;
};

inline Characters characters(const Text& text) {
    Characters chars;
    for (std::size_t i : walk(text, 0, text.size())) {
        if (i + step(text, i) > text.size()) {
            chars.incomplete = true;
        } else {
            chars.list.push_back(text.substr(i, step(text, i)));
        }
    }
    return chars;
}

inline bool is_space(const Text& character) { return character == " " || character == "\xA1\xA1"; }

inline Text trim(const Text& text) {
    Characters chars = characters(text);
    std::size_t first = 0;
    std::size_t last = chars.list.size();
    while (first < last && is_space(chars.list[first])) ++first;
    // Spaces in front of an incomplete last character stay.
    if (!chars.incomplete) {
        while (last > first && is_space(chars.list[last - 1])) --last;
    }
    Text out;
    for (std::size_t i = first; i < last; ++i) out += chars.list[i];
    return out;
}

inline Text strip_spaces(const Text& text) {
    Text out;
    for (const Text& c : characters(text).list) {
        if (!is_space(c)) out += c;
    }
    return out;
}

inline Text lower(const Text& text) {
    Text out;
    for (std::size_t i : walk(text, 0, text.size())) {
        if (is_lead(byte_at(text, i))) {
            out.append(text, i, 2);
        } else {
            out += static_cast<char>(fold(byte_at(text, i)));
        }
    }
    return out;
}

inline int to_int(const Text& text) {
    // First the full-width forms become ASCII, then the plain number is read.
    std::string narrow;
    for (std::size_t i : walk(text, 0, text.size())) {
        unsigned char a = byte_at(text, i);
        if (!is_lead(a) || i + 1 == text.size()) {
            narrow += static_cast<char>(a);
            continue;
        }
        unsigned char b = byte_at(text, i + 1);
        if (a == 0xA3 && b >= 0xA1 && b <= 0xFE) {
            narrow += static_cast<char>(b - 0x80);
        } else if (a == 0xA1 && b == 0xA1) {
            narrow += ' ';
        } else if (a == 0xA1 && b == 0xAB) {
            narrow += '~';
        } else if (a == 0xA1 && (b == 0xEE || b == 0xEF)) {
            narrow += '*';
        } else {
            narrow.append(text, i, 2);
        }
    }
    std::size_t i = 0;
    while (i < narrow.size() && (narrow[i] == ' ' || (narrow[i] >= 0x09 && narrow[i] <= 0x0D))) ++i;
    bool negative = false;
    if (i < narrow.size() && (narrow[i] == '+' || narrow[i] == '-')) negative = narrow[i++] == '-';
    std::uint64_t value = 0;
    for (; i < narrow.size() && narrow[i] >= '0' && narrow[i] <= '9'; ++i)
        value = (value * 10 + static_cast<std::uint64_t>(narrow[i] - '0')) % 0x100000000u;
    if (negative) value = (0x100000000u - value) % 0x100000000u;
    return value >= 0x80000000u ? static_cast<int>(static_cast<std::int64_t>(value) - 0x100000000)
                                : static_cast<int>(value);
}

inline Text between(const Text& text, const Text& open_marker, const Text& close_marker, int start,
                    bool ignore_case) {
    const Text quote_marker = "#\xD2\xFD\xBA\xC5";
    const Text open = replace(open_marker, quote_marker, "\"", 1, -1, true);
    const Text close = replace(close_marker, quote_marker, "\"", 1, -1, true);
    int p = find(text, open, start < 1 ? 1 : start, ignore_case);
    if (p != -1) p += static_cast<int>(open.size());
    int q = find(text, close, p, ignore_case);
    if (p == -1 || q == -1 || q - p <= 0) return {};
    return text.substr(static_cast<std::size_t>(p) - 1, static_cast<std::size_t>(q - p));
}

inline Text join(const TextList& members, const Text& separator) {
    Text out;
    for (std::size_t i = 0; i < members.size(); ++i) {
        if (i > 0) out += separator;
        out += members[i];
    }
    return out;
}

// Shows what differed and stops, so libFuzzer keeps the input.
[[noreturn]] inline void fail(const char* what, const Text& got, const Text& expected) {
    auto show = [](const Text& t) {
        std::string s;
        for (unsigned char c : t) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, c >= 0x20 && c < 0x7F ? "%c" : "\\x%02X", c);
            s += buffer;
        }
        return s;
    };
    std::fprintf(stderr, "%s\n  got:      '%s'\n  expected: '%s'\n", what, show(got).c_str(),
                 show(expected).c_str());
    std::abort();
}

inline void expect_equal(const char* what, const Text& got, const Text& expected) {
    if (got != expected) fail(what, got, expected);
}

inline void expect_equal(const char* what, long got, long expected) {
    if (got != expected) fail(what, std::to_string(got), std::to_string(expected));
}

inline void expect_equal(const char* what, const TextList& got, const TextList& expected) {
    if (got != expected) fail(what, join(got, "|"), join(expected, "|"));
}

inline void expect(const char* what, bool condition) {
    if (!condition) fail(what, "false", "true");
}

}  // namespace reference
