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

Text txt_head(const Text& text, int count);
Text txt_tail(const Text& text, int count);
Text txt_slice(const Text& text, int start, int count);
Text txt_from_code(int code);

int txt_find(const Text& text, const Text& pattern, int start = 1,
             bool case_insensitive = false);
int txt_find_last(const Text& text, const Text& pattern, int start = txt_to_end,
                  bool case_insensitive = false);

Text txt_lower(const Text& text);
int txt_to_int(const Text& text);
Text txt_trim(const Text& text);
Text txt_strip_spaces(const Text& text);

Text txt_replace(const Text& text, const Text& pattern, const Text& replacement = {},
                 int start = 1, int count = txt_no_limit, bool case_sensitive = false);

// An omitted max_members means no limit; a given negative one counts as 0.
TextList txt_split(const Text& text, const Text& separator = ",",
                   std::optional<int> max_members = std::nullopt);

Text txt_between(const Text& text, const Text& open_marker, const Text& close_marker,
                 int start = 0, bool case_insensitive = false);

Bytes txt_to_bytes(const Text& text);
Text txt_spaces(int count);
Text txt_hex_byte(int value);
Text txt_concat(std::initializer_list<const Text*> parts);
template <typename... More>
Text txt_concat(const Text& first, const Text& second, const More&... more) {
    return txt_concat({&first, &second, &static_cast<const Text&>(more)...});
}
int txt_compare(const Text& a, const Text& b);

Bytes bytes_head(const Bytes& data, int count);
Bytes bytes_zeroed(int count);
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
