// The guard that keeps a reply from ever running as script: a text is only
// put between the single quotes of a JScript statement when it cannot end
// the string literal early. Plain C++.
#pragma once

#include <string_view>

// True when the single-quoted literal '<body>' is exactly one string literal
// whose value the JScript engine reads as ECMAScript does. Refused are what
// would end or break the literal (an unescaped single quote, a line
// terminator - CR, LF, U+2028, U+2029 - or a backslash at the end or before
// a line terminator), escapes that ECMAScript 3 rejects (a \x without two
// hex digits, a \u without four, \8, \9), and the escapes that JScript reads
// differently: \v (a plain "v" to JScript) and octal escapes that JScript
// takes one digit further (an 8 or 9 within the first three digits, or a
// third digit after 4 to 7). The body is checked in UTF-16, the form that
// the engine sees.
bool stays_one_string_literal(std::u16string_view body);
