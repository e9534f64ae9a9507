#include "text/text.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t not_found = static_cast<std::size_t>(-1);
constexpr unsigned char space_byte = 0x20;
// The full-width space of code page 936 is this byte twice.
constexpr unsigned char full_width_space_byte = 0xA1;
// Callers write a double quote inside a marker of txt_between as this text:
// "#引号" in code page 936, spelt as bytes so that every compiler stores the
// same bytes whatever its execution character set.
constexpr char quote_marker[] = "#\xD2\xFD\xBA\xC5";
constexpr char double_quote[] = "\"";

const unsigned char* bytes_of(const Text& text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

bool is_lead(unsigned char byte) { return byte >= 0x80; }

unsigned char fold(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + 0x20) : byte;
}

// Sizes beyond the int range cannot be told to a caller; they never occur.
int to_int(std::size_t size) { return size > INT_MAX ? INT_MAX : static_cast<int>(size); }

// A zero-based byte index as a 1-based position.
int to_position(std::size_t index) { return to_int(index + 1); }

// A position the caller gave, as a zero-based index; positions below 1 count as 1.
std::size_t to_index(int position) {
    return position < 1 ? 0 : static_cast<std::size_t>(position) - 1;
}

// Aborts on a member or byte number that no correct caller passes.
void require(bool condition) {
    if (!condition) std::abort();
}

// Tells which bytes of a text start a character, for bytes asked in
// increasing order, without walking the text from its start each time.
// The byte after any byte below 0x80 starts a character, whether that byte
// was a one-byte character or the trail of a pair, so a run of lead-range
// bytes before a byte decides it by its parity.
class CharStarts {
  public:
    // walk_start is taken to start a character, whatever lies before it.
    CharStarts(const unsigned char* bytes, std::size_t walk_start)
        : bytes_(bytes), known_start_(walk_start) {}

    // index must not lie before the last byte asked or decreed.
    bool is_start(std::size_t index) {
        std::size_t j = index;
        while (j > known_start_ && is_lead(bytes_[j - 1])) --j;
        bool start = (index - j) % 2 == 0;
        known_start_ = start ? index : index + 1;
        return start;
    }

    // The walk resumes at index, which counts as a character start.
    void restart_at(std::size_t index) { known_start_ = index; }

  private:
    const unsigned char* bytes_;
    std::size_t known_start_;
};

// The occurrences of a pattern inside bytes [walk_start, end) of a text
// that begin at a character start of a walk from walk_start. The scan is
// Knuth-Morris-Pratt, with memchr to skip ahead while nothing is matched, so
// it is linear in the stretch whatever the pattern.
class Occurrences {
  public:
    Occurrences(const Text& text, std::size_t walk_start, std::size_t end, const Text& pattern,
                bool ignore_case)
        : bytes_(bytes_of(text)),
          end_(end),
          pattern_(pattern.size()),
          border_(pattern.size(), 0),
          ignore_case_(ignore_case),
          next_(walk_start),
          starts_(bytes_, walk_start) {
        for (std::size_t i = 0; i < pattern.size(); ++i) {
            unsigned char byte = static_cast<unsigned char>(pattern[i]);
            pattern_[i] = ignore_case ? fold(byte) : byte;
        }
        std::size_t k = 0;
        for (std::size_t i = 1; i < pattern_.size(); ++i) {
            while (k > 0 && pattern_[i] != pattern_[k]) k = border_[k - 1];
            if (pattern_[i] == pattern_[k]) ++k;
            border_[i] = k;
        }
    }

    // The next occurrence, which may overlap the one before; not_found at the end.
    std::size_t next() {
        const std::size_t length = pattern_.size();
        while (next_ < end_) {
            if (matched_ == 0) {
                next_ = skip_to_first_byte();
                if (next_ == end_) break;
            }
            unsigned char byte = bytes_[next_++];
            if (ignore_case_) byte = fold(byte);
            while (matched_ > 0 && pattern_[matched_] != byte) matched_ = border_[matched_ - 1];
            if (pattern_[matched_] == byte) ++matched_;
            if (matched_ == length) {
                matched_ = border_[length - 1];
                std::size_t found = next_ - length;
                if (starts_.is_start(found)) return found;
            }
        }
        return not_found;
    }

    // Takes the occurrence at index: the scan resumes after it, at a character start.
    void take(std::size_t index) {
        next_ = index + pattern_.size();
        matched_ = 0;
        starts_.restart_at(next_);
    }

  private:
    std::size_t skip_to_first_byte() const {
        const unsigned char first = pattern_[0];
        if (ignore_case_ && first >= 'a' && first <= 'z') {
            std::size_t i = next_;
            while (i < end_ && fold(bytes_[i]) != first) ++i;
            return i;
        }
        const void* hit = std::memchr(bytes_ + next_, first, end_ - next_);
        return hit ? static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - bytes_)
                   : end_;
    }

    const unsigned char* bytes_;
    std::size_t end_;
    std::vector<unsigned char> pattern_;
    std::vector<std::size_t> border_;
    bool ignore_case_;
    std::size_t next_;
    std::size_t matched_ = 0;
    CharStarts starts_;
};

bool is_white_space(unsigned char byte) {
    return byte == space_byte || (byte >= 0x09 && byte <= 0x0D);
}

// The ASCII form of one character for number reading: full-width digits,
// signs and letters, the full-width space, tilde and asterisks become their
// ASCII bytes. Returns 0 for a character that has none.
unsigned char narrow_character(const unsigned char* bytes, std::size_t index, std::size_t length) {
    unsigned char lead = bytes[index];
    if (!is_lead(lead)) return lead;
    if (index + 1 >= length) return 0;
    unsigned char trail = bytes[index + 1];
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE)
        return static_cast<unsigned char>(trail - 0x80);
    if (lead == 0xA1) {
        if (trail == 0xA1) return ' ';
        if (trail == 0xAB) return '~';
        if (trail == 0xEE || trail == 0xEF) return '*';
    }
    return 0;
}

}  // namespace

int txt_len(const Text& text) { return to_int(text.size()); }

int bytes_len(const Bytes& data) { return to_int(data.size()); }

Text txt_head(const Text& text, int count) {
    if (count <= 0) return {};
    return text.substr(0, static_cast<std::size_t>(count));
}

Text txt_tail(const Text& text, int count) {
    if (count <= 0) return {};
    std::size_t n = std::min(static_cast<std::size_t>(count), text.size());
    return text.substr(text.size() - n);
}

Text txt_slice(const Text& text, int start, int count) {
    if (start < 1 || count <= 0 || static_cast<std::size_t>(start) > text.size()) return {};
    return text.substr(static_cast<std::size_t>(start) - 1, static_cast<std::size_t>(count));
}

Text txt_from_code(int code) {
    unsigned char byte = static_cast<unsigned char>(code);
    if (byte == 0) return {};
    return Text(1, static_cast<char>(byte));
}

int txt_find(const Text& text, const Text& pattern, int start, bool case_insensitive) {
    std::size_t from = to_index(start);
    if (from >= text.size()) return -1;
    if (pattern.empty()) return 1;
    Occurrences occurrences(text, from, text.size(), pattern, case_insensitive);
    std::size_t found = occurrences.next();
    return found == not_found ? -1 : to_position(found);
}

int txt_find_last(const Text& text, const Text& pattern, int start, bool case_insensitive) {
    if (start <= 1 || text.empty()) return -1;
    std::size_t end = std::min(static_cast<std::size_t>(start) - 1, text.size());
    if (pattern.empty()) return 1;
    Occurrences occurrences(text, 0, end, pattern, case_insensitive);
    std::size_t last = not_found;
    for (std::size_t found; (found = occurrences.next()) != not_found;) last = found;
    return last == not_found ? -1 : to_position(last);
}

Text txt_lower(const Text& text) {
    Text lower = text;
    for (std::size_t i = 0; i < lower.size();) {
        unsigned char byte = static_cast<unsigned char>(lower[i]);
        if (is_lead(byte)) {
            i += 2;
        } else {
            lower[i] = static_cast<char>(fold(byte));
            ++i;
        }
    }
    return lower;
}

int txt_to_int(const Text& text) {
    const unsigned char* bytes = bytes_of(text);
    const std::size_t length = text.size();
    std::size_t i = 0;
    auto advance = [&] { i += is_lead(bytes[i]) ? 2 : 1; };

    while (i < length && is_white_space(narrow_character(bytes, i, length))) advance();
    bool negative = false;
    if (i < length) {
        unsigned char sign = narrow_character(bytes, i, length);
        if (sign == '+' || sign == '-') {
            negative = sign == '-';
            advance();
        }
    }
    // Unsigned, so that an overflow keeps the low 32 bits instead of being undefined.
    std::uint32_t value = 0;
    for (; i < length; advance()) {
        unsigned char digit = narrow_character(bytes, i, length);
        if (digit < '0' || digit > '9') break;
        value = value * 10u + static_cast<std::uint32_t>(digit - '0');
    }
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

Text txt_trim(const Text& text) {
    const unsigned char* bytes = bytes_of(text);
    const std::size_t length = text.size();
    // Length of the space at index, or 0 when no space starts there.
    auto space_at = [&](std::size_t i) -> std::size_t {
        if (bytes[i] == space_byte) return 1;
        if (bytes[i] == full_width_space_byte && i + 1 < length &&
            bytes[i + 1] == full_width_space_byte)
            return 2;
        return 0;
    };

    std::size_t i = 0;
    for (std::size_t n; i < length && (n = space_at(i)) > 0;) i += n;
    const std::size_t begin = i;
    std::size_t end = length;
    std::size_t run = not_found;
    while (i < length) {
        if (is_lead(bytes[i]) && i + 1 == length) {
            // An incomplete last character is cut off; spaces before it stay.
            end = i;
            run = not_found;
            break;
        }
        std::size_t n = space_at(i);
        if (n > 0) {
            if (run == not_found) run = i;
        } else {
            run = not_found;
            n = is_lead(bytes[i]) ? 2 : 1;
        }
        i += n;
    }
    if (run != not_found) end = run;
    return text.substr(begin, end - begin);
}

Text txt_strip_spaces(const Text& text) {
    const unsigned char* bytes = bytes_of(text);
    const std::size_t length = text.size();
    Text kept;
    kept.reserve(length);
    std::size_t copied = 0;
    std::size_t i = 0;
    while (i < length) {
        unsigned char byte = bytes[i];
        std::size_t dropped = 0;
        if (byte == space_byte) {
            dropped = 1;
        } else if (is_lead(byte)) {
            if (i + 1 == length) {
                dropped = 1;  // an incomplete last character
            } else if (byte == full_width_space_byte && bytes[i + 1] == full_width_space_byte) {
                dropped = 2;
            } else {
                i += 2;
                continue;
            }
        } else {
            ++i;
            continue;
        }
        kept.append(text, copied, i - copied);
        i += dropped;
        copied = i;
    }
    kept.append(text, copied, Text::npos);
    return kept;
}

Text txt_replace(const Text& text, const Text& pattern, const Text& replacement, int start,
                 int count, bool case_sensitive) {
    const std::size_t from = to_index(start);
    if (text.empty() || pattern.empty() || from >= text.size() || count == 0) return text;
    const bool limited = count > 0;
    int left = count;

    Text result;
    result.reserve(text.size());
    Occurrences occurrences(text, from, text.size(), pattern, !case_sensitive);
    std::size_t copied = 0;
    for (std::size_t found; (found = occurrences.next()) != not_found;) {
        result.append(text, copied, found - copied);
        result += replacement;
        copied = found + pattern.size();
        occurrences.take(found);
        if (limited && --left == 0) {
            result.append(text, copied, Text::npos);
            return result;
        }
    }
    // A one-byte pattern walks up to the last byte; an unmatched lone lead
    // byte there is not copied, as no whole character stands there.
    std::size_t end = text.size();
    const unsigned char* bytes = bytes_of(text);
    if (pattern.size() == 1 && copied < end && is_lead(bytes[end - 1]) &&
        CharStarts(bytes, std::max(copied, from)).is_start(end - 1))
        --end;
    result.append(text, copied, end - copied);
    return result;
}

TextList txt_split(const Text& text, const Text& separator, std::optional<int> max_members) {
    TextList members;
    if (text.empty() || (max_members && *max_members <= 0)) return members;
    if (separator.empty()) return {text};
    Occurrences occurrences(text, 0, text.size(), separator, false);
    std::size_t begin = 0;
    for (std::size_t found; (found = occurrences.next()) != not_found;) {
        members.emplace_back(text, begin, found - begin);
        begin = found + separator.size();
        occurrences.take(found);
        if (max_members && members.size() == static_cast<std::size_t>(*max_members)) {
            return members;
        }
    }
    if (begin < text.size()) members.emplace_back(text, begin);
    return members;
}

Text txt_between(const Text& text, const Text& open_marker, const Text& close_marker, int start,
                 bool case_insensitive) {
    Text open = txt_replace(open_marker, quote_marker, double_quote, 1, txt_no_limit, true);
    Text close = txt_replace(close_marker, quote_marker, double_quote, 1, txt_no_limit, true);
    int p = txt_find(text, open, start < 1 ? 1 : start, case_insensitive);
    if (p == -1) return {};
    // p and the marker both lie inside the text, so this stays within its length + 1.
    std::int64_t after_open = static_cast<std::int64_t>(p) + txt_len(open);
    if (after_open > INT_MAX) return {};
    int q = txt_find(text, close, static_cast<int>(after_open), case_insensitive);
    if (q == -1) return {};
    return txt_slice(text, static_cast<int>(after_open), q - static_cast<int>(after_open));
}

Bytes txt_to_bytes(const Text& text) { return Bytes(text.begin(), text.end()); }

Text txt_spaces(int count) {
    if (count < 1) return {};
    return Text(static_cast<std::size_t>(count), ' ');
}

Text txt_hex_byte(int value) {
    constexpr char digits[] = "0123456789ABCDEF";
    // A negative value shows as its 32-bit two's complement.
    std::uint32_t rest = static_cast<std::uint32_t>(value);
    Text hex;
    do {
        hex.insert(hex.begin(), digits[rest % 16]);
        rest /= 16;
    } while (rest != 0);
    return hex;
}

Text txt_concat(std::initializer_list<const Text*> parts) {
    std::size_t total = 0;
    for (const Text* part : parts) total += part->size();
    Text joined;
    joined.reserve(total);
    for (const Text* part : parts) joined += *part;
    return joined;
}

int txt_compare(const Text& a, const Text& b) {
    std::size_t common = std::min(a.size(), b.size());
    int order = common == 0 ? 0 : std::memcmp(a.data(), b.data(), common);
    if (order == 0) order = a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

Bytes bytes_head(const Bytes& data, int count) {
    if (count <= 0) return {};
    std::size_t n = std::min(static_cast<std::size_t>(count), data.size());
    return Bytes(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(n));
}

Bytes bytes_zeroed(int count) {
    if (count <= 0) return {};
    return Bytes(static_cast<std::size_t>(count), 0);
}

Text bytes_to_txt(const Bytes& data) {
    std::size_t n = 0;
    while (n < data.size() && data[n] != 0) ++n;
    return Text(reinterpret_cast<const char*>(data.data()), n);
}

Bytes bytes_concat(std::initializer_list<const Bytes*> parts) {
    std::size_t total = 0;
    for (const Bytes* part : parts) total += part->size();
    Bytes joined;
    joined.reserve(total);
    for (const Bytes* part : parts) joined.insert(joined.end(), part->begin(), part->end());
    return joined;
}

bool bytes_equal(const Bytes& a, const Bytes& b) { return a == b; }

std::uint8_t bytes_at(const Bytes& data, int number) {
    require(number >= 1 && static_cast<std::size_t>(number) <= data.size());
    return data[static_cast<std::size_t>(number) - 1];
}

int bit_or(int a, int b) { return a | b; }

int list_count(const TextList& list) { return to_int(list.size()); }

const Text& list_at(const TextList& list, int number) {
    require(number >= 1 && static_cast<std::size_t>(number) <= list.size());
    return list[static_cast<std::size_t>(number) - 1];
}

void list_append(TextList& list, const Text& text) { list.push_back(text); }
