// cookies_merge and its helpers, held against the merge done the slow way
// (list searches instead of sets) on the reference primitives, and against
// what any merge must give: no member twice, no deleted member, no spaces
// left in either argument's members, and the merged text in current.
#include <cstdint>
#include <optional>

#include "fuzz/fuzz_input.h"
#include "fuzz/reference.h"
#include "http/cookies.h"

namespace {

using reference::expect;
using reference::expect_equal;

const Text deleted_mark = "=deleted";

Text model_name_of(const Text& cookie) {
    const int equals = reference::find(cookie, "=", 1, false);
    return reference::trim(equals == -1 ? cookie
                                        : cookie.substr(0, static_cast<std::size_t>(equals) - 1));
}

bool model_has_name(const TextList& list, const Text& name) {
    for (const Text& member : list)
        if (model_name_of(member) == name) return true;
    return false;
}

int model_index(const TextList& list, const Text& item) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i] == item) return static_cast<int>(i + 1);
    return -1;
}

Text model_dedupe(const Text& joined, const Text& separator) {
    TextList seen;
    Text out;
    for (const Text& part : reference::split(joined, separator, std::nullopt)) {
        if (model_index(seen, part) != -1) continue;
        seen.push_back(part);
        out += part + separator;
    }
    return out.substr(0, out.size() - std::min(out.size(), separator.size()));
}

Text model_merge(Text& current, Text& incoming) {
    current = reference::strip_spaces(current);
    incoming = reference::strip_spaces(incoming);
    const TextList olds = reference::split(current, ";", std::nullopt);
    TextList merged = reference::split(incoming, ";", std::nullopt);
    for (const Text& m : olds)
        if (!model_has_name(merged, model_name_of(m))) merged.push_back(m);
    Text out;
    for (const Text& m : merged) {
        const bool deleted =
            m.size() >= deleted_mark.size() &&
            m.compare(m.size() - deleted_mark.size(), deleted_mark.size(), deleted_mark) == 0;
        if (!deleted) out += m + "; ";
    }
    out = out.substr(0, out.size() - std::min<std::size_t>(out.size(), 2));
    out = model_dedupe(out, "; ");
    current = out;
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const Text separator = input.text(3);
    Text current = input.text(512);
    Text incoming = input.text(512);
    const Text current_given = current;
    const Text incoming_given = incoming;

    Text model_current = current;
    Text model_incoming = incoming;
    const Text merged = cookies_merge(current, incoming);
    const Text expected = model_merge(model_current, model_incoming);
    expect_equal("cookies_merge", merged, expected);
    expect_equal("cookies_merge stores the result in current", current, merged);
    expect_equal("cookies_merge leaves incoming without spaces", incoming, model_incoming);
    expect_equal("incoming has no space left", incoming, reference::strip_spaces(incoming));

    const TextList members = reference::split(merged, "; ", std::nullopt);
    for (std::size_t i = 0; i < members.size(); ++i) {
        expect_equal("a merged member holds no space", members[i],
                     reference::strip_spaces(members[i]));
        expect("no merged member is deleted",
               members[i].size() < deleted_mark.size() ||
                   members[i].compare(members[i].size() - deleted_mark.size(), deleted_mark.size(),
                                      deleted_mark) != 0);
        for (std::size_t j = 0; j < i; ++j)
            expect("no merged member twice", members[i] != members[j]);
    }

    expect_equal("dedupe_joined", dedupe_joined(current_given, separator),
                 model_dedupe(current_given, separator));
    expect_equal("dedupe_joined on the cookie separator", dedupe_joined(incoming_given, "; "),
                 model_dedupe(incoming_given, "; "));
    expect_equal("cookie_name_of", cookie_name_of(current_given), model_name_of(current_given));

    const TextList list = reference::split(incoming_given, separator, std::nullopt);
    expect_equal("text_list_index", text_list_index(list, current_given),
                 model_index(list, current_given));
    if (!list.empty()) {
        expect_equal("text_list_index of a member", text_list_index(list, list.back()),
                     model_index(list, list.back()));
        const Text name = model_name_of(list.front());
        expect("cookie_list_has_name of a member's name", cookie_list_has_name(list, name));
    }
    expect_equal("cookie_list_has_name", cookie_list_has_name(list, separator),
                 model_has_name(list, separator));
    return 0;
}
