// Code-page conversion and percent-encoding. Every Text holds code page 936;
// this is the one place where text is converted to and from UTF-16.
//
// Code pages are Windows code-page numbers: 936, 65001 for UTF-8, 0 for the
// running system's ANSI code page. A UTF-16 buffer is a Bytes of
// little-endian 16-bit units whose last unit is zero.
//
// percent_encode and utf16_units are plain C++; the others call Windows.
#pragma once

#include <optional>
#include <string>

#include "text/text.h"

// Every byte of source as "%" and two upper-case hexadecimal digits, or,
// with keep_plain, the bytes "-", ".", digits and ASCII letters as they are.
// Everything else is escaped, "/", "_", "~" and the space (as %20) included.
Text percent_encode(const Bytes& source, bool keep_plain);

// The units of a UTF-16 buffer before its first zero unit; a buffer without
// one gives all its whole units (an odd last byte is no unit), so nothing is
// read past its end.
std::u16string utf16_units(const Bytes& wide);

// percent_encode of text, or with utf8_first of its UTF-8 form.
Text url_encode(const Text& text, bool keep_plain = false, bool utf8_first = false);

// The UTF-8 bytes, without a byte-order mark, of a text in code page 936.
Text gbk_to_utf8(const Text& text);

// text, read in code_page (65001 when not given), as a UTF-16 buffer: its
// units, then the zero unit. The whole conversion always comes back. When
// the ANSI code page splits text into more units than code_page does, the
// buffer is as long as the ANSI form would be, and zero units fill the rest.
// Empty text gives the zero unit alone; a failed conversion, zero units or
// an empty buffer.
Bytes multibyte_to_utf16(const Text& text, std::optional<int> code_page = std::nullopt);

// The units of wide up to its first zero unit (all of them when it has
// none) in code_page (the ANSI code page when not given), whole. Characters
// that code_page lacks become its default character. A failed conversion
// gives the empty text.
Text utf16_to_multibyte(const Bytes& wide, std::optional<int> code_page = std::nullopt);
