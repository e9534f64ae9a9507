// url_host in every combination of its options, url_port and url_path,
// held against a model built step by step on the slow reference primitives,
// and against what must hold of any result: the host is in lower case and
// without a ":" unless the port was kept, and the path starts with "/".
#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "fuzz/reference.h"
#include "http/url.h"

namespace {

using reference::expect;
using reference::expect_equal;

Text cut_port(const Text& host) {
    const int colon = reference::find(host, ":", 1, false);
    return colon == -1 ? host : host.substr(0, static_cast<std::size_t>(colon) - 1);
}

Text model_host(const Text& url, bool main_domain, bool keep_port, std::optional<int> levels) {
    Text u = reference::lower(url);
    Text host;
    if (!levels) {
        if (u.empty() || u.back() != '/') u += '/';
        if (u.compare(0, 8, "https://") == 0) {
            host = reference::between(u, "https://", "/", 0, false);
        } else {
            if (reference::find(u, "http://", 1, false) == -1) u = "http://" + u;
            host = reference::between(u, "http://", "/", 0, false);
        }
        if (main_domain) {
            const TextList labels = reference::split(host, ".", std::nullopt);
            if (labels.size() >= 2)
                host = labels[labels.size() - 2] + "." + labels[labels.size() - 1];
        }
    } else {
        host = reference::replace(u, "http://", {}, 1, -1, true);
        host = reference::replace(host, "https://", {}, 1, -1, true);
        const int slash = reference::find(host, "/", 1, false);
        if (slash != -1) host = host.substr(0, static_cast<std::size_t>(slash) - 1);
        // The dots at character starts, the very last byte left out, from
        // the right: levels of them are passed over, and the host keeps what
        // follows the next one (main_domain) or the one after that.
        std::vector<std::size_t> dots;
        if (!host.empty()) {
            for (std::size_t i : reference::walk(host, 0, host.size() - 1))
                if (host[i] == '.') dots.push_back(i);
        }
        std::reverse(dots.begin(), dots.end());
        const std::size_t passed = static_cast<std::size_t>(std::max(*levels, 0));
        const std::size_t cut = passed + (main_domain ? 1 : 2);
        if (cut <= dots.size()) host = host.substr(dots[cut - 1] + 1);
    }
    return keep_port ? host : cut_port(host);
}

int model_port(const Text& url) {
    const Text host = model_host(url, false, true, std::nullopt);
    const int colon = reference::find_last(host, ":", std::nullopt, false);
    if (colon != -1) return reference::to_int(host.substr(static_cast<std::size_t>(colon)));
    return reference::lower(url).compare(0, 5, "https") == 0 ? 443 : 80;
}

Text model_path(const Text& url) {
    const Text host = model_host(url, false, false, std::nullopt);
    const int at = reference::find(url, host, 1, true);
    const int slash = reference::find(url, "/", at, true);
    return slash == -1 ? Text("/") : url.substr(static_cast<std::size_t>(slash) - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    static const char* const prefixes[] = {"", "http://", "https://", "HTTPS://", "Http://"};
    const Text url = prefixes[input.small(0, 4)] + input.text(1024);
    const std::optional<int> levels =
        input.flag() ? std::optional<int>(input.number(8)) : std::nullopt;

    for (int options = 0; options < 4; ++options) {
        const bool main_domain = options & 1;
        const bool keep_port = options & 2;
        for (std::optional<int> given : {std::optional<int>(), levels, std::optional<int>(0)}) {
            const Text host = url_host(url, main_domain, keep_port, given);
            expect_equal("url_host", host, model_host(url, main_domain, keep_port, given));
            expect_equal("url_host is in lower case", host, reference::lower(host));
            if (!keep_port) {
                expect("url_host without the port has no \":\"",
                       reference::find(host, ":", 1, false) == -1);
                expect_equal("url_host without the port is the kept one cut", host,
                             cut_port(url_host(url, main_domain, true, given)));
            }
        }
    }
    expect_equal("url_host with the defaults", url_host(url),
                 model_host(url, false, false, std::nullopt));

    const int port = url_port(url);
    expect_equal("url_port", port, model_port(url));

    const Text path = url_path(url);
    expect_equal("url_path", path, model_path(url));
    expect("url_path starts with /", !path.empty() && path[0] == '/');
    expect("url_path is the end of the url",
           path == "/" || (path.size() <= url.size() &&
                           url.compare(url.size() - path.size(), path.size(), path) == 0));
    return 0;
}
