#include "text/codepage.h"

namespace {

constexpr char hex_digits[] = "0123456789ABCDEF";

// "-", "." and the digits form one range with "/" taken out of it.
constexpr bool is_plain(std::uint8_t b) {
    return (b >= 0x2D && b <= 0x39 && b != 0x2F) || (b >= 0x41 && b <= 0x5A) ||
           (b >= 0x61 && b <= 0x7A);
}

}  // namespace

Text percent_encode(const Bytes& source, bool keep_plain) {
    Text out;
    out.reserve(source.size() * 3);
    for (const std::uint8_t b : source) {
        if (keep_plain && is_plain(b)) {
            out += static_cast<char>(b);
            continue;
        }
        out += '%';
        out += hex_digits[b >> 4];
        out += hex_digits[b & 0x0F];
    }
    return out;
}
