// The guard that decides which texts may stand between the single quotes of
// the decoding statement: it must accept a text exactly when the quoted text
// is one string literal that JScript reads as ECMAScript does. The fuzz
// target holds it against an independent reader of the grammar
// (fuzz/literal_model.h); before fuzzing, that reader and the guard are held
// against Node's verdicts on a fixed table of texts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "fuzz/literal_model.h"
#include "text/script_literal.h"

namespace {

using literal_model::Reading;

std::string show(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, c >= 0x20 && c < 0x7F ? "%c" : "\\u%04X",
                      static_cast<unsigned>(c));
        out += buffer;
    }
    return out;
}

[[noreturn]] void fail(const char* what, std::u16string_view body) {
    std::fprintf(stderr, "%s: '%s'\n", what, show(body).c_str());
    std::abort();
}

std::u16string from_hex(const std::string& field) {
    std::u16string units;
    if (field == "-") return units;
    for (std::size_t i = 0; i + 4 <= field.size(); i += 4)
        units += static_cast<char16_t>(std::stoul(field.substr(i, 4), nullptr, 16));
    return units;
}

// The guard against the reader, and the reader against what the guard lets
// through: an accepted text must be one literal to today's engines too.
void check(std::u16string_view body) {
    const std::optional<std::u16string> both = literal_model::read(body, Reading::both_engines);
    const bool accepted = stays_one_string_literal(body);
    if (accepted != both.has_value())
        fail(accepted ? "accepted, but not one literal that both engines read alike"
                      : "refused, but one literal that both engines read alike",
             body);
    const std::optional<std::u16string> today = literal_model::read(body, Reading::today);
    if (both && (!today || *today != *both)) fail("the two readings differ", body);
}

void check_against_node() {
    const std::string table = QUORVEXA_FUZZ_DATA "/literal_cases.txt";
    std::ifstream in(table);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", table.c_str());
        std::abort();
    }
    std::string line;
    int cases = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string body_hex, verdict, value_hex;
        std::getline(fields, body_hex, '\t');
        std::getline(fields, verdict, '\t');
        std::getline(fields, value_hex, '\t');
        const std::u16string body = from_hex(body_hex);
        const std::optional<std::u16string> today = literal_model::read(body, Reading::today);
        if (today.has_value() != (verdict == "1")) fail("the reader and Node disagree", body);
        if (today && *today != from_hex(value_hex)) fail("the reader's value is not Node's", body);
        if (stays_one_string_literal(body) && verdict != "1")
            fail("the guard accepts what Node does not read as one literal", body);
        check(body);
        ++cases;
    }
    if (cases == 0) fail("no cases in the table", u"");
}

// The units that matter to the grammar; any other unit comes from two raw bytes.
constexpr char16_t units[] = {u'\'', u'\\', u'"',  u'x',   u'u',   u'v', u'b',   u'n',  u'0',
                              u'1',  u'3',  u'4',  u'7',   u'8',   u'9', u'a',   u'F',  u'{',
                              u'}',  u'\n', u'\r', 0x2028, 0x2029, u' ', 0x4E2D, 0xD800};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    check_against_node();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string body;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] < 0xF0) {
            body += units[data[i] % (sizeof units / sizeof units[0])];
        } else if (i + 2 < size) {
            body += static_cast<char16_t>(data[i + 1] << 8 | data[i + 2]);
            i += 2;
        }
    }
    check(body);
    return 0;
}
