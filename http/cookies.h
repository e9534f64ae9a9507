// Merging the cookies that a reply set into the cookies a request sent.
// Cookies travel as one text of name=value members joined by "; "; the
// merge knows nothing of attributes, domains, paths or expiry. Names and
// members compare byte for byte, letter case included.
#pragma once

#include "text/text.h"

// Merges incoming into current and returns the result, which is also stored
// in current; incoming is left without its spaces. The result lists the
// incoming members first, in their order, then the current members whose
// name no incoming member has (of several current members with one name
// only the first); it leaves out every member ending in "=deleted", which
// also does away with the current value of that name, and every member
// equal to an earlier one. Spaces, half-width and full-width, are removed
// wherever they stand.
Text cookies_merge(Text& current, Text& incoming);

// The text before the first "=" (the whole cookie when it has none),
// trimmed of spaces.
Text cookie_name_of(const Text& cookie);

// Whether some member of list has the name name.
bool cookie_list_has_name(const TextList& list, const Text& name);

// joined, split on separator, without the members that repeat an earlier
// one; the first occurrence keeps its place.
Text dedupe_joined(const Text& joined, const Text& separator);

// The number (from 1) of the first member of list equal to item, or -1.
int text_list_index(const TextList& list, const Text& item);
