#include "text/codepage.h"

std::u16string utf16_units(const Bytes& wide) {
    std::u16string units;
    units.reserve(wide.size() / 2);
    for (std::size_t at = 0; at + 1 < wide.size(); at += 2) {
        const auto unit = static_cast<char16_t>(wide[at] | (wide[at + 1] << 8));
        if (unit == 0) break;
        units.push_back(unit);
    }
    return units;
}
