#include "http/cookies.h"

#include <unordered_set>

namespace {

constexpr char member_separator[] = ";";
constexpr char joined_separator[] = "; ";
constexpr char deleted_mark[] = "=deleted";

}  // namespace

// Both loops keep a set of what they have met beside the ordered list, so a
// reply with thousands of cookies costs one pass, not one pass per member.
Text cookies_merge(Text& current, Text& incoming) {
    current = txt_strip_spaces(current);
    incoming = txt_strip_spaces(incoming);

    TextList merged = txt_split(incoming, member_separator);
    std::unordered_set<Text> names;
    for (const Text& member : merged) names.insert(cookie_name_of(member));
    for (const Text& member : txt_split(current, member_separator)) {
        if (names.insert(cookie_name_of(member)).second) list_append(merged, member);
    }

    const int mark_length = txt_len(deleted_mark);
    Text out;
    for (const Text& member : merged) {
        if (txt_tail(member, mark_length) == deleted_mark) continue;
        out += member;
        out += joined_separator;
    }
    out = txt_head(out, txt_len(out) - txt_len(joined_separator));
    out = dedupe_joined(out, joined_separator);
    current = out;
    return out;
}

Text cookie_name_of(const Text& cookie) {
    const int equals = txt_find(cookie, "=");
    return txt_trim(equals == -1 ? cookie : txt_head(cookie, equals - 1));
}

bool cookie_list_has_name(const TextList& list, const Text& name) {
    for (const Text& member : list) {
        if (cookie_name_of(member) == name) return true;
    }
    return false;
}

Text dedupe_joined(const Text& joined, const Text& separator) {
    std::unordered_set<Text> seen;
    Text out;
    for (const Text& part : txt_split(joined, separator)) {
        if (!seen.insert(part).second) continue;
        out += part;
        out += separator;
    }
    return txt_head(out, txt_len(out) - txt_len(separator));
}

int text_list_index(const TextList& list, const Text& item) {
    const int count = list_count(list);
    for (int number = 1; number <= count; ++number) {
        if (list_at(list, number) == item) return number;
    }
    return -1;
}
