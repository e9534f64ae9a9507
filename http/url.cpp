#include "http/url.h"

namespace {

constexpr char http_scheme[] = "http://";
constexpr char https_scheme[] = "https://";
constexpr char https_prefix[] = "https";
constexpr int http_default_port = 80;
constexpr int https_default_port = 443;

// The host between the scheme and the first "/" after it.
Text host_by_scheme(Text u) {
    if (txt_tail(u, 1) != "/") u += '/';
    if (txt_head(u, txt_len(https_scheme)) == https_scheme) {
        return txt_between(u, https_scheme, "/");
    }
    if (txt_find(u, http_scheme) == -1) u = txt_concat(http_scheme, u);
    return txt_between(u, http_scheme, "/");
}

// The last two labels, or the whole host when it has fewer.
Text last_two_labels(const Text& host) {
    const TextList labels = txt_split(host, ".");
    const int count = list_count(labels);
    if (count < 2) return host;
    return txt_concat(list_at(labels, count - 1), ".", list_at(labels, count));
}

// The host cut down to its last labels. A dot in the host's very last byte
// never counts, since the first search ends before it.
Text host_by_levels(const Text& u, bool main_domain, int levels) {
    Text host = txt_replace(u, http_scheme, {}, 1, txt_no_limit, true);
    host = txt_replace(host, https_scheme, {}, 1, txt_no_limit, true);
    const int slash = txt_find(host, "/");
    if (slash != -1) host = txt_head(host, slash - 1);

    const int n = txt_len(host);
    int p = n;
    // Once no dot is left p stays -1, so the loop may end there.
    for (int i = 0; i < levels && p != -1; ++i) p = txt_find_last(host, ".", p);
    const int e = txt_find_last(host, ".", p);
    if (main_domain) return txt_tail(host, n - e);
    if (e == -1) return host;
    const int f = txt_find_last(host, ".", e);
    if (f == -1) return host;
    return txt_tail(host, n - f);
}

}  // namespace

Text url_host(const Text& url, bool main_domain, bool keep_port, std::optional<int> levels) {
    const Text u = txt_lower(url);
    Text host;
    if (levels.has_value()) {
        host = host_by_levels(u, main_domain, *levels);
    } else {
        host = host_by_scheme(u);
        if (main_domain) host = last_two_labels(host);
    }
    if (keep_port) return host;
    const int colon = txt_find(host, ":");
    return colon == -1 ? host : txt_head(host, colon - 1);
}

bool url_is_https(const Text& url) {
    return txt_lower(txt_head(url, txt_len(https_prefix))) == https_prefix;
}

int url_port(const Text& url) {
    const Text host = url_host(url, false, true);
    const int colon = txt_find_last(host, ":");
    if (colon != -1) return txt_to_int(txt_tail(host, txt_len(host) - colon));
    return url_is_https(url) ? https_default_port : http_default_port;
}

Text url_path(const Text& url) {
    const int host_at = txt_find(url, url_host(url), 1, true);
    const int slash = txt_find(url, "/", host_at, true);
    if (slash == -1) return "/";
    return txt_tail(url, txt_len(url) - slash + 1);
}
