// The parts of the HTTP request that are plain text work: the agent, the
// proxy text, the flag word, the header block and the cookies of a reply.
#include "http/request.h"

#include "http/request_parts.h"
#include "http/url.h"

namespace {

constexpr char user_agent_marker[] = "User-Agent:";
constexpr char line_break[] = "\r\n";
constexpr char plain_http_proxy_prefix[] = "http=";
constexpr const char* verbs[] = {"GET", "POST", "HEAD"};

constexpr char accept_marker[] = "Accept:";
constexpr char accept_line[] = "Accept: */*";
constexpr char referer_marker[] = "Referer:";
constexpr char referer_line_start[] = "\r\nReferer: ";
constexpr char accept_language_marker[] = "Accept-Language:";
constexpr char accept_language_line[] = "\r\nAccept-Language: zh-cn";
constexpr char content_type_marker[] = "Content-Type:";
constexpr char content_type_line[] = "\r\nContent-Type: application/x-www-form-urlencoded";
constexpr char cookie_line_start[] = "\r\nCookie: ";

constexpr char set_cookie_name[] = "Set-Cookie";
constexpr char set_cookie_marker[] = "Set-Cookie:";
constexpr char attribute_separator[] = ";";
constexpr char cookie_joint[] = "; ";

}  // namespace

Text header_value(const Text& text) {
    const int colon = txt_find(text, ":");
    if (colon == -1) return {};
    return txt_trim(txt_tail(text, txt_len(text) - colon));
}

int request_method(int method) { return method < 0 || method > 2 ? 0 : method; }

const char* request_verb(int method) { return verbs[request_method(method)]; }

Text request_agent(const Text& extra_headers) {
    if (txt_find(extra_headers, user_agent_marker, 1, true) == -1) return default_agent;
    Text agent = txt_trim(txt_between(extra_headers, user_agent_marker, line_break));
    if (agent.empty()) agent = header_value(extra_headers);
    return agent;
}

Text request_proxy_text(const Text& url, const Text& proxy) {
    if (url_is_https(url)) return proxy;
    return txt_concat(plain_http_proxy_prefix, proxy);
}

std::uint32_t request_flags(bool cookies_given, bool no_redirect, bool https) {
    std::uint32_t flags = request_flag::reload | request_flag::need_file;
    if (cookies_given) flags |= request_flag::no_cookies;
    if (no_redirect) flags |= request_flag::no_auto_redirect;
    flags |= https ? request_flag::secure : request_flag::ignore_redirect_to_https;
    return flags;
}

void complete_header_block(Text& extra_headers, const Text& url, const Text& send_cookies) {
    Text& block = extra_headers;
    if (block.empty()) {
        block = accept_line;
    } else if (txt_find(block, accept_marker) == -1) {
        block = txt_concat(block, line_break, accept_line);
    }
    if (txt_find(block, referer_marker) == -1) block = txt_concat(block, referer_line_start, url);
    if (txt_find(block, accept_language_marker) == -1) {
        block = txt_concat(block, accept_language_line);
    }
    if (txt_find(block, content_type_marker) == -1) block = txt_concat(block, content_type_line);
    // Sent even when the block already has a Cookie line of its own.
    if (!send_cookies.empty()) block = txt_concat(block, cookie_line_start, send_cookies);
}

Text normalise_set_cookie(const Text& raw_headers) {
    return txt_replace(raw_headers, set_cookie_name, set_cookie_name);
}

Text set_cookie_values(const Text& raw_headers) {
    Text cookies;
    for (const Text& line : txt_split(raw_headers, line_break)) {
        if (txt_find(line, set_cookie_name) == -1) continue;
        Text value;
        if (txt_find(line, attribute_separator) != -1) {
            value = txt_trim(txt_between(line, set_cookie_marker, attribute_separator));
        } else {
            value = txt_trim(txt_replace(line, set_cookie_marker));
        }
        cookies += value;
        cookies += cookie_joint;
    }
    return txt_head(cookies, txt_len(cookies) - 2);
}
