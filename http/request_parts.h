// The decisions of http_request that need no network: which agent, which
// proxy text, which flags, which header block, which cookies. Kept apart so
// they can be checked without WinInet.
#pragma once

#include <cstdint>

#include "text/text.h"

inline constexpr char default_agent[] = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// The method as the request uses it: 0 GET, 1 POST, 2 HEAD; anything else
// becomes 0.
int request_method(int method);
const char* request_verb(int method);

// The agent named by a "User-Agent:" line of the caller's header block, or
// the default agent when there is no such line in any letter case. A line
// spelt in another letter case, or one without a line break after it,
// falls back to header_value of the whole block.
Text request_agent(const Text& extra_headers);

// The proxy text handed to the platform: proxy itself for an https URL,
// "http=" + proxy for any other, so that only plain http goes through it.
Text request_proxy_text(const Text& url, const Text& proxy);

// The platform's request flags (WinInet's INTERNET_FLAG_* values).
namespace request_flag {
inline constexpr std::uint32_t reload = 0x80000000u;
inline constexpr std::uint32_t need_file = 0x00000010u;
inline constexpr std::uint32_t no_cookies = 0x00080000u;
inline constexpr std::uint32_t no_auto_redirect = 0x00200000u;
inline constexpr std::uint32_t secure = 0x00800000u;
inline constexpr std::uint32_t ignore_redirect_to_https = 0x00004000u;
}  // namespace request_flag

std::uint32_t request_flags(bool cookies_given, bool no_redirect, bool https);

// Completes the caller's header block in place with the default lines it
// lacks (Accept, Referer, Accept-Language, Content-Type, in this order) and
// a Cookie line for non-empty send_cookies. The tests for existing lines
// are exact-case substring searches over the whole block.
void complete_header_block(Text& extra_headers, const Text& url, const Text& send_cookies);

// raw_headers with every "Set-Cookie" in any letter case written as
// "Set-Cookie".
Text normalise_set_cookie(const Text& raw_headers);

// The name=value parts of the Set-Cookie lines of a normalised header block,
// in order, joined by "; " (attributes dropped); "" when there are none.
Text set_cookie_values(const Text& raw_headers);
