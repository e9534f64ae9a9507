#include "app/profile_value.h"

namespace {

constexpr char line_break[] = "\r\n";
constexpr char stored_line_break[] = "><br><";
constexpr char double_quote[] = "\"";

// The bytes the profile reader trims from either end of a value.
bool is_trimmed_by_reader(unsigned char byte) {
    return byte == ' ' || (byte >= '\t' && byte <= '\r') || byte == 0x1A;
}

bool is_quote(unsigned char byte) { return byte == '"' || byte == '\''; }

bool reader_would_alter(const Text& value) {
    if (value.empty()) return false;
    const auto first = static_cast<unsigned char>(value.front());
    const auto last = static_cast<unsigned char>(value.back());
    if (is_trimmed_by_reader(first) || is_trimmed_by_reader(last)) return true;
    return value.size() >= 2 && is_quote(first) && first == last;
}

// Whether the text's character walk ends on a lead byte with no trail byte.
bool ends_inside_character(const Text& text) {
    std::size_t index = 0;
    while (index < text.size()) index += static_cast<unsigned char>(text[index]) >= 0x80 ? 2 : 1;
    return index > text.size();
}

}  // namespace

Text profile_value_from_text(const Text& text) {
    Text value = txt_replace(text, line_break, stored_line_break, 1, txt_no_limit, true);
    if (reader_would_alter(value)) return txt_concat(double_quote, value, double_quote);
    return value;
}

Text profile_value_to_text(const Text& value) {
    Text whole = value;
    if (ends_inside_character(whole)) whole.pop_back();
    return txt_replace(whole, stored_line_break, line_break, 1, txt_no_limit, true);
}
