// Escape decoding through the JScript engine of the Microsoft Script Control.
#pragma once

#include "text/text.h"

// Rewrites every occurrence of marker in text (compared exactly) to "%u" and
// returns the JScript unescape() of the result, in code page 936 and cut at
// the first decoded zero character; "/u7B7E/u5230" with the marker "/u"
// gives 签到. A text that could not stand as one single-quoted string literal
// is never handed to the engine, so no part of it can run as script. Every
// failure (a refused text, no Script Control, a statement the engine does
// not accept) gives the empty text and shows nothing. Initialises COM on the
// calling thread for the duration of the call.
Text script_unescape(const Text& text, const Text& marker);
