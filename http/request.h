// One blocking HTTP exchange over WinInet, with the program's default
// headers, proxy, redirect and cookie handling.
#pragma once

#include <optional>

#include "text/text.h"

// One HTTP exchange. The fields carry the names of the routine's parameters;
// the in-out and out ones are written back into this object.
struct HttpRequest {
    Text url;
    int method = 0;  // 0 GET, 1 POST, 2 HEAD; others GET
    Text post_text;
    std::optional<Text> send_cookies;  // given mark = has_value(); in-out
    Text returned_cookies;             // out
    Text extra_headers;                // in-out: the complete block sent
    Text raw_headers;                  // out
    bool no_redirect = false;
    Bytes post_bytes;  // in-out
    Text proxy;
};

// Performs the exchange and returns the whole response body; empty when
// nothing could be read. Nothing is reported as an error: when a handle
// cannot be opened the result is empty and request is left as it was;
// once the request exists every field is written, whatever the server did.
//
// On return extra_headers holds the block that was sent, raw_headers the
// response's header block (the buffer's spaces when it could not be read),
// returned_cookies the name=value parts of the Set-Cookie lines joined by
// "; ", and post_bytes the body that a POST or HEAD sent. When send_cookies
// was given, even empty, the platform's own cookie store is kept out of the
// request and the reply's cookies are merged into send_cookies, incoming
// first; returned_cookies then loses its spaces.
Bytes http_request(HttpRequest& request);

// The text after the first ":" of text, trimmed of spaces at both ends (line
// breaks and any later lines stay); "" when text holds no ":".
Text header_value(const Text& text);
