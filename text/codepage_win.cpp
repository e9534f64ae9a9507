#include <windows.h>

#include <cstddef>
#include <string>

#include "text/codepage.h"

namespace {

constexpr int utf8_code_page = CP_UTF8;
constexpr int gbk_code_page = 936;

// The units needed for text in code_page, the zero unit included; 0 when
// the code page cannot read it.
int units_needed(const Text& text, UINT code_page) {
    return MultiByteToWideChar(code_page, 0, text.c_str(), -1, nullptr, 0);
}

}  // namespace

Text url_encode(const Text& text, bool keep_plain, bool utf8_first) {
    if (txt_compare(text, {}) == 0) return {};
    return percent_encode(txt_to_bytes(utf8_first ? gbk_to_utf8(text) : text), keep_plain);
}

Text gbk_to_utf8(const Text& text) {
    return utf16_to_multibyte(multibyte_to_utf16(text, gbk_code_page), utf8_code_page);
}

// Sized by the code page converted from, so the conversion always fits. The
// buffer keeps the length of the ANSI form where that is longer, so callers
// that were handed that zero-padded buffer before still get it unchanged.
Bytes multibyte_to_utf16(const Text& text, std::optional<int> code_page) {
    const auto from = static_cast<UINT>(code_page.value_or(utf8_code_page));
    const int needed = units_needed(text, from);
    const int ansi_needed = units_needed(text, CP_ACP);
    const int size = needed > ansi_needed ? needed : ansi_needed;
    if (size <= 0) return {};

    std::wstring units(static_cast<std::size_t>(size), L'\0');
    if (needed > 0) MultiByteToWideChar(from, 0, text.c_str(), -1, units.data(), size);
    Bytes wide;
    wide.reserve(units.size() * 2);
    for (const wchar_t unit : units) {
        wide.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        wide.push_back(static_cast<std::uint8_t>((unit >> 8) & 0xFF));
    }
    return wide;
}

// Converts an explicit count of units, so a buffer without its zero unit is
// never read past its end.
Text utf16_to_multibyte(const Bytes& wide, std::optional<int> code_page) {
    const auto to = static_cast<UINT>(code_page.value_or(CP_ACP));
    const std::u16string utf16 = utf16_units(wide);
    const std::wstring units(utf16.begin(), utf16.end());
    if (units.empty()) return {};
    const int count = static_cast<int>(units.size());
    const int needed =
        WideCharToMultiByte(to, 0, units.data(), count, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return {};

    Text out(static_cast<std::size_t>(needed), '\0');
    const int written =
        WideCharToMultiByte(to, 0, units.data(), count, out.data(), needed, nullptr, nullptr);
    if (written <= 0) return {};
    out.resize(static_cast<std::size_t>(written));
    // A Text holds no zero byte.
    return out.substr(0, out.find('\0'));
}
