// Turns a fuzz input into the arguments of the text routines: texts drawn
// either from raw bytes or from a small alphabet of the bytes that matter
// (letters of both cases, spaces, separators, lead bytes, the full-width
// space and digits), so that patterns meet their texts often, and numbers
// that sit mostly around the text's edges but now and then at the ends of
// the int range.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>

#include "text/text.h"

class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : provider_(data, size) {}

    // A Text of at most max_length bytes, never holding a zero byte.
    Text text(std::size_t max_length) {
        const bool from_alphabet = provider_.ConsumeBool();
        std::string raw = provider_.ConsumeRandomLengthString(max_length);
        Text out;
        out.reserve(raw.size());
        for (char c : raw) {
            unsigned char byte = static_cast<unsigned char>(c);
            if (from_alphabet) {
                out += alphabet[byte % (sizeof alphabet - 1)];
            } else {
                out += byte == 0 ? 'z' : c;
            }
        }
        return out;
    }

    // A position or count for a text of length n.
    int number(std::size_t n) {
        switch (provider_.ConsumeIntegralInRange<int>(0, 7)) {
            case 0:
                return INT_MIN;
            case 1:
                return INT_MAX;
            case 2:
                return provider_.ConsumeIntegral<int>();
            default: {
                const int edge = static_cast<int>(n > 1000 ? 1000 : n);
                return provider_.ConsumeIntegralInRange<int>(-3, edge + 3);
            }
        }
    }

    int small(int low, int high) { return provider_.ConsumeIntegralInRange<int>(low, high); }
    bool flag() { return provider_.ConsumeBool(); }
    std::uint8_t byte() { return provider_.ConsumeIntegral<std::uint8_t>(); }

  private:
    // 0xB0 0xA1 and 0xB0 0xB2 are double-byte characters; 0xA1 0xA1 is the
    // full-width space, 0xA3 0xB1 a full-width digit. Any byte may meet any
    // other, so lone lead bytes and pairs whose second byte looks like ASCII
    // come up too.
    static constexpr char alphabet[] =
        "aAbB  ;=.:/-+1\r\n\xB0\xB2\xA1\xA1\xA3\xB1#\xD2\xFD\xBA\xC5\x41";

    FuzzedDataProvider provider_;
};
