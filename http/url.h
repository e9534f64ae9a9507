// Taking a URL apart for the HTTP request: its host, its port and the path
// to request. The routines never fail: odd input gives an odd but fixed
// result. They neither validate nor percent-decode.
#pragma once

#include <optional>

#include "text/text.h"

// The host of url, always in lower case. A URL without a scheme is read as
// an http:// one.
//
// Without levels (the default mode) the host is what stands between the
// scheme and the next "/"; main_domain then cuts it down to its last two
// labels. With levels given, whatever its value (0 included), the host is
// cut down to its last levels + 2 labels, or levels + 1 with main_domain; a
// host with fewer labels stays whole. Unless keep_port is true, a ":" and
// what follows it are dropped.
Text url_host(const Text& url, bool main_domain = false, bool keep_port = false,
              std::optional<int> levels = std::nullopt);

// Whether url starts with "https" in any letter case.
bool url_is_https(const Text& url);

// The port written after the host's last ":" (0 when no digits follow it);
// without one, 443 for a URL that starts with "https" in any letter case and
// 80 for every other.
int url_port(const Text& url);

// Everything from the first "/" after the host to the end, query and
// fragment included, in the letter case of url; "/" when there is none.
Text url_path(const Text& url);
