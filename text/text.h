// The text, byte-buffer and list primitives on which all of the program's
// logic is written. Plain C++: nothing here calls Windows.
//
// A Text holds bytes in code page 936 and never a zero byte; positions are
// byte positions counted from 1, and a search that finds nothing gives -1.
// A byte of 0x80 or above starts a two-byte character, and the scanning
// operations treat such a pair as one unit.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <vector>

using Text = std::string;
using Bytes = std::vector<std::uint8_t>;
using TextList = std::vector<Text>;

// Start position meaning "to the end of the text" for txt_find_last.
constexpr int txt_to_end = std::numeric_limits<int>::max();
// Count meaning "no limit" for txt_replace.
constexpr int txt_no_limit = -1;

int txt_len(const Text& text);
int bytes_len(const Bytes& data);

// Counts of 0 or below give the empty text; a count past the end is cut to
// it. These three count plain bytes and may cut a two-byte character.
Text txt_head(const Text& text, int count);
Text txt_tail(const Text& text, int count);
// Empty when start lies outside the text.
Text txt_slice(const Text& text, int start, int count);
// The one-byte text of code; code 0 gives the empty text.
Text txt_from_code(int code);

// Position of the first occurrence at or after start, at a character start,
// or -1. A start below 1 counts as 1. An empty pattern gives 1 whenever
// there is something to search.
int txt_find(const Text& text, const Text& pattern, int start = 1, bool case_insensitive = false);
// Position of the last occurrence that ends before start, or -1; a start of
// 1 or below leaves nothing to search.
int txt_find_last(const Text& text, const Text& pattern, int start = txt_to_end,
                  bool case_insensitive = false);

Text txt_lower(const Text& text);
// The decimal number at the start, after white space and one sign; full-width
// forms count as their ASCII ones. No digits give 0; an overflow keeps the
// low 32 bits.
int txt_to_int(const Text& text);
// Spaces are 0x20 and the full-width space 0xA1 0xA1; tabs and line breaks
// stay. Both drop an incomplete last character.
Text txt_trim(const Text& text);
Text txt_strip_spaces(const Text& text);

// Unlike the searches, an omitted case flag here means case is ignored.
// The replacement is never searched again. A negative count is no limit.
Text txt_replace(const Text& text, const Text& pattern, const Text& replacement = {}, int start = 1,
                 int count = txt_no_limit, bool case_sensitive = false);

// Empty members count, but a separator at the very end adds none; the empty
// text gives an empty list. An omitted max_members means no limit; a given
// negative one counts as 0.
TextList txt_split(const Text& text, const Text& separator = ",",
                   std::optional<int> max_members = std::nullopt);

// The text between the first open marker at or after start and the next
// close marker after it, or empty; "#引号" in a marker stands for a double quote.
Text txt_between(const Text& text, const Text& open_marker, const Text& close_marker, int start = 0,
                 bool case_insensitive = false);

Bytes txt_to_bytes(const Text& text);
Text txt_spaces(int count);
// Upper-case hexadecimal without leading zeros: 10 gives "A".
Text txt_hex_byte(int value);
Text txt_concat(std::initializer_list<const Text*> parts);
template <typename... More>
Text txt_concat(const Text& first, const Text& second, const More&... more) {
    return txt_concat({&first, &second, &static_cast<const Text&>(more)...});
}
// -1, 0 or 1, comparing bytes as unsigned values; a prefix comes first.
int txt_compare(const Text& a, const Text& b);

Bytes bytes_head(const Bytes& data, int count);
Bytes bytes_zeroed(int count);
// The bytes up to the first zero byte.
Text bytes_to_txt(const Bytes& data);
Bytes bytes_concat(std::initializer_list<const Bytes*> parts);
template <typename... More>
Bytes bytes_concat(const Bytes& first, const Bytes& second, const More&... more) {
    return bytes_concat({&first, &second, &static_cast<const Bytes&>(more)...});
}
bool bytes_equal(const Bytes& a, const Bytes& b);
// number runs from 1 to bytes_len(data); anything else is a programming error.
std::uint8_t bytes_at(const Bytes& data, int number);

int bit_or(int a, int b);

int list_count(const TextList& list);
// number runs from 1 to list_count(list); anything else is a programming error.
const Text& list_at(const TextList& list, int number);
void list_append(TextList& list, const Text& text);
