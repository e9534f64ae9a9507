// How an edit box's text is written as a profile value and read back.
// Plain C++: the profile routines themselves are called elsewhere.
#pragma once

#include "text/text.h"

// The value to write for a text: every CR LF becomes "><br><" (a profile
// value is one line). A value that the profile reader would alter, because
// it begins or ends with white space or is enclosed in a pair of quotes, is
// wrapped in one pair of double quotes, which the reader strips again; every
// other value is written as it stands.
Text profile_value_from_text(const Text& text);

// The text for a value as the profile reader returned it: every "><br><"
// becomes CR LF, after dropping a lead byte left alone at the end where the
// read buffer cut a double-byte character in two.
Text profile_value_to_text(const Text& value);
