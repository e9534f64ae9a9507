// Every text, byte-buffer and list primitive, driven by one fuzz input and
// held against the slow references and against properties that must hold
// whatever the input: a split joined again gives the text back, a pattern
// replaced by itself leaves the text as it was, trimming twice changes
// nothing more, and so on.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>

#include "fuzz/fuzz_input.h"
#include "fuzz/reference.h"
#include "text/text.h"

namespace {

using reference::expect;
using reference::expect_equal;

void check_parts(const Text& text, int start, int count) {
    const long n = static_cast<long>(text.size());
    Text head =
        count <= 0 ? Text() : text.substr(0, static_cast<std::size_t>(std::min<long>(count, n)));
    expect_equal("txt_head", txt_head(text, count), head);
    Text tail =
        count <= 0 ? Text() : text.substr(static_cast<std::size_t>(n - std::min<long>(count, n)));
    expect_equal("txt_tail", txt_tail(text, count), tail);
    Text slice;
    if (start >= 1 && start <= n && count > 0)
        slice = text.substr(static_cast<std::size_t>(start) - 1, static_cast<std::size_t>(count));
    expect_equal("txt_slice", txt_slice(text, start, count), slice);
    expect_equal("txt_len", txt_len(text), n);
}

void check_searches(const Text& text, const Text& pattern, int start, bool ignore_case) {
    expect_equal("txt_find", txt_find(text, pattern, start, ignore_case),
                 reference::find(text, pattern, start, ignore_case));
    expect_equal("txt_find from the start", txt_find(text, pattern),
                 reference::find(text, pattern, 1, false));
    expect_equal("txt_find_last", txt_find_last(text, pattern, start, ignore_case),
                 reference::find_last(text, pattern, start, ignore_case));
    expect_equal("txt_find_last to the end", txt_find_last(text, pattern),
                 reference::find_last(text, pattern, std::nullopt, false));

    // What a search finds is the pattern, at or after start, ending before it
    // for the backward search.
    const int found = txt_find(text, pattern, start, ignore_case);
    if (found != -1 && !pattern.empty()) {
        expect("txt_find: inside the text",
               found >= 1 && static_cast<std::size_t>(found) - 1 + pattern.size() <= text.size());
        expect("txt_find: at or after start", found >= start);
        expect(
            "txt_find: the pattern stands there",
            reference::matches_at(text, static_cast<std::size_t>(found) - 1, pattern, ignore_case));
    }
    const int last = txt_find_last(text, pattern, start, ignore_case);
    if (last != -1 && !pattern.empty()) {
        expect("txt_find_last: ends before start",
               static_cast<long>(last) + static_cast<long>(pattern.size()) <= start);
    }
}

void check_replace(const Text& text, const Text& pattern, const Text& replacement, int start,
                   int count, bool case_sensitive) {
    expect_equal("txt_replace",
                 txt_replace(text, pattern, replacement, start, count, case_sensitive),
                 reference::replace(text, pattern, replacement, start, count, case_sensitive));
    expect_equal("txt_replace with defaults", txt_replace(text, pattern, replacement),
                 reference::replace(text, pattern, replacement, 1, -1, false));
    expect_equal("txt_replace removing", txt_replace(text, pattern),
                 reference::replace(text, pattern, {}, 1, -1, false));

    // The pattern replaced exactly by itself gives the text back, but for a
    // lone lead byte at the end that a one-byte pattern leaves out.
    const Text same = txt_replace(text, pattern, pattern, 1, txt_no_limit, true);
    if (same != text) {
        expect("txt_replace by itself changes only a lone last lead byte",
               pattern.size() == 1 && same == text.substr(0, text.size() - 1) &&
                   reference::is_lead(reference::byte_at(text, text.size() - 1)));
    }

    // The replacement is never searched again: replacing the pattern by
    // itself twice over doubles it where it stood, one more pattern length
    // for each occurrence.
    if (!pattern.empty() && !text.empty()) {
        const Text doubled = txt_replace(text, pattern, pattern + pattern, 1, txt_no_limit, true);
        long occurrences = 0;
        for (int p = 1; (p = reference::find(text, pattern, p, false)) != -1;
             p += static_cast<int>(pattern.size()))
            ++occurrences;
        expect_equal(
            "txt_replace: one more pattern for each occurrence", static_cast<long>(doubled.size()),
            static_cast<long>(same.size()) + occurrences * static_cast<long>(pattern.size()));
    }
}

void check_split(const Text& text, const Text& separator, std::optional<int> max_members) {
    const TextList members = txt_split(text, separator, max_members);
    expect_equal("txt_split", members, reference::split(text, separator, max_members));
    const TextList all = txt_split(text, separator);
    expect_equal("txt_split without a limit", all, reference::split(text, separator, std::nullopt));
    expect_equal("txt_split on a comma", txt_split(text),
                 reference::split(text, ",", std::nullopt));

    if (text.empty()) {
        expect("txt_split of the empty text", all.empty());
        return;
    }
    if (separator.empty()) {
        expect("txt_split on the empty separator", all == TextList{text});
        return;
    }
    // Joined again the members give the text, short of one separator at its end.
    const Text joined = reference::join(all, separator);
    expect("txt_split joined gives the text", joined == text || joined + separator == text);

    if (max_members) {
        const std::size_t limit = *max_members < 0 ? 0 : static_cast<std::size_t>(*max_members);
        expect("txt_split: no more members than the limit", members.size() <= limit);
        expect("txt_split: the limited members begin the full list",
               std::equal(members.begin(), members.end(), all.begin(),
                          all.begin() + static_cast<long>(std::min(members.size(), all.size()))));
    }
}

void check_spaces_and_case(const Text& text) {
    const Text trimmed = txt_trim(text);
    expect_equal("txt_trim", trimmed, reference::trim(text));
    // Spaces in front of a lone lead byte at the end stay the first time and
    // go the second, as the lead byte went the first time.
    if (!reference::characters(text).incomplete)
        expect_equal("txt_trim twice", txt_trim(trimmed), trimmed);
    const Text stripped = txt_strip_spaces(text);
    expect_equal("txt_strip_spaces", stripped, reference::strip_spaces(text));
    expect_equal("txt_strip_spaces twice", txt_strip_spaces(stripped), stripped);
    const Text lower = txt_lower(text);
    expect_equal("txt_lower", lower, reference::lower(text));
    expect_equal("txt_lower keeps the length", static_cast<long>(lower.size()),
                 static_cast<long>(text.size()));
    expect_equal("txt_to_int", txt_to_int(text), reference::to_int(text));
}

void check_between(const Text& text, const Text& open, const Text& close, int start,
                   bool ignore_case) {
    expect_equal("txt_between", txt_between(text, open, close, start, ignore_case),
                 reference::between(text, open, close, start, ignore_case));
    expect_equal("txt_between as the program calls it", txt_between(text, open, close),
                 reference::between(text, open, close, 0, false));
}

void check_conversions(const Text& a, const Text& b, int number, std::uint8_t code) {
    expect_equal("txt_hex_byte", txt_hex_byte(number), [&] {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%X", static_cast<unsigned>(number));
        return Text(buffer);
    }());
    expect_equal("txt_from_code", txt_from_code(code),
                 code == 0 ? Text() : Text(1, static_cast<char>(code)));
    const int small_count = number % 300;
    expect_equal("txt_spaces", txt_spaces(small_count),
                 small_count < 1 ? Text() : Text(static_cast<std::size_t>(small_count), ' '));
    expect_equal("bytes_zeroed", static_cast<long>(bytes_zeroed(small_count).size()),
                 small_count < 1 ? 0 : small_count);
    expect("bytes_zeroed holds zeros",
           bytes_equal(bytes_zeroed(small_count),
                       Bytes(static_cast<std::size_t>(small_count < 1 ? 0 : small_count), 0)));

    expect_equal("txt_concat", txt_concat(a, b, a), a + b + a);
    const int order = txt_compare(a, b);
    const int expected = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                      [](char x, char y) {
                                                          return static_cast<unsigned char>(x) <
                                                                 static_cast<unsigned char>(y);
                                                      })
                             ? -1
                             : (a == b ? 0 : 1);
    expect_equal("txt_compare", order, expected);
    expect_equal("txt_compare the other way", txt_compare(b, a), -expected);
    expect_equal("bit_or", bit_or(number, static_cast<int>(code) << 3), number | (code << 3));

    // Bytes: a round trip, and the cut at the first zero byte.
    Bytes bytes = txt_to_bytes(a);
    expect("txt_to_bytes", bytes_equal(bytes, Bytes(a.begin(), a.end())));
    expect_equal("bytes_to_txt of txt_to_bytes", bytes_to_txt(bytes), a);
    Bytes with_zero = bytes_concat(bytes, Bytes{0}, txt_to_bytes(b));
    expect_equal("bytes_concat length", bytes_len(with_zero),
                 static_cast<long>(a.size() + 1 + b.size()));
    expect_equal("bytes_to_txt stops at a zero", bytes_to_txt(with_zero), a);
    const Bytes head = bytes_head(with_zero, number);
    expect_equal("bytes_head", bytes_len(head),
                 number <= 0 ? 0 : std::min<long>(number, bytes_len(with_zero)));
    for (int i = 1; i <= bytes_len(head); ++i)
        expect_equal("bytes_at", bytes_at(head, i), bytes_at(with_zero, i));
    expect("bytes_equal differs from a longer buffer", !bytes_equal(bytes, with_zero));
}

void check_lists(const Text& text, const Text& separator) {
    TextList list;
    expect_equal("list_count of a new list", list_count(list), 0);
    const TextList members = txt_split(text, separator);
    for (int i = 1; i <= list_count(members); ++i) list_append(list, list_at(members, i));
    expect_equal("list_append copies", list, members);
    expect_equal("list_count", list_count(list), static_cast<long>(members.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const Text pattern = input.text(8);
    const Text other = input.text(8);
    const Text text = input.text(4096);
    const int start = input.number(text.size());
    const int count = input.number(text.size());
    const bool flag = input.flag();
    const std::optional<int> max_members =
        input.flag() ? std::optional<int>(input.small(-2, 6)) : std::nullopt;
    const std::uint8_t code = input.byte();

    check_parts(text, start, count);
    check_searches(text, pattern, start, flag);
    check_replace(text, pattern, other, start, count, flag);
    check_split(text, pattern, max_members);
    check_spaces_and_case(text);
    check_between(text, pattern, other, start, flag);
    check_conversions(pattern, other, count, code);
    check_lists(text, pattern);
    return 0;
}
