// The HTTP exchange itself, over WinInet: open, connect, send, read the
// body, read the raw headers, close, then collect and merge the cookies.
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "http/cookies.h"
#include "http/request.h"
#include "http/request_parts.h"
#include "http/url.h"
#include "text/unique_any.h"

namespace {

using unique_hinternet =
    unique_any<HINTERNET, decltype(&::InternetCloseHandle), ::InternetCloseHandle>;

constexpr char protocol_version[] = "HTTP/1.1";
constexpr DWORD read_chunk_size = 1024;
constexpr int raw_header_buffer_size = 5000;

unique_hinternet open_internet(const Text& agent, const Text& url, const Text& proxy) {
    if (proxy.empty()) {
        return unique_hinternet(
            InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    }
    const Text proxy_text = request_proxy_text(url, proxy);
    return unique_hinternet(
        InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PROXY, proxy_text.c_str(), "", 0));
}

void send_request(HINTERNET request, HttpRequest& call, int method) {
    const DWORD header_length = static_cast<DWORD>(call.extra_headers.size());
    if (method == 0) {
        char no_body[] = "";
        HttpSendRequestA(request, call.extra_headers.c_str(), header_length, no_body, 0);
        return;
    }
    if (call.post_bytes.empty()) call.post_bytes = txt_to_bytes(call.post_text);
    HttpSendRequestA(request, call.extra_headers.c_str(), header_length, call.post_bytes.data(),
                     static_cast<DWORD>(call.post_bytes.size()));
}

// Reads until a read delivers nothing; a failed read counts as delivering
// nothing, so whatever arrived before a broken connection is kept.
Bytes read_body(HINTERNET request) {
    Bytes body;
    std::array<std::uint8_t, read_chunk_size> chunk{};
    for (;;) {
        DWORD count = 0;
        InternetReadFile(request, chunk.data(), read_chunk_size, &count);
        if (count == 0) break;
        count = std::min(count, read_chunk_size);
        body.insert(body.end(), chunk.begin(), chunk.begin() + count);
    }
    return body;
}

// Runs the raw-header query into buffer; true when it succeeded, and then
// buffer holds the text up to its terminating zero byte.
bool query_raw_headers(HINTERNET request, Text& buffer, DWORD& length) {
    length = static_cast<DWORD>(buffer.size());
    if (!HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &length, nullptr)) {
        return false;
    }
    buffer.resize(strnlen(buffer.data(), buffer.size()));
    return true;
}

// The raw response headers, or the 5000 spaces of the buffer when they
// cannot be read. A block too long for that buffer is read again with the
// size the platform asks for: otherwise a site that sends long headers
// would lose every Set-Cookie line and its login would fail unnoticed.
Text raw_headers_of(HINTERNET request) {
    Text buffer = txt_spaces(raw_header_buffer_size);
    DWORD length = 0;
    if (query_raw_headers(request, buffer, length)) return buffer;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || length <= raw_header_buffer_size) {
        return txt_spaces(raw_header_buffer_size);
    }
    Text larger(static_cast<std::size_t>(length) + 1, ' ');
    if (query_raw_headers(request, larger, length)) return larger;
    return txt_spaces(raw_header_buffer_size);
}

}  // namespace

Bytes http_request(HttpRequest& call) {
    const int method = request_method(call.method);
    const bool https = url_is_https(call.url);
    const Text agent = request_agent(call.extra_headers);

    unique_hinternet internet = open_internet(agent, call.url, call.proxy);
    if (!internet) return {};

    const Text host = url_host(call.url);
    const auto port = static_cast<INTERNET_PORT>(url_port(call.url));
    unique_hinternet connection(InternetConnectA(internet.get(), host.c_str(), port, nullptr,
                                                 nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return {};

    const DWORD flags = request_flags(call.send_cookies.has_value(), call.no_redirect, https);
    const Text path = url_path(call.url);
    unique_hinternet request(HttpOpenRequestA(connection.get(), request_verb(method), path.c_str(),
                                              protocol_version, nullptr, nullptr, flags, 0));
    if (!request) return {};

    // From here on every field of the call is written, whatever happens.
    complete_header_block(call.extra_headers, call.url, call.send_cookies.value_or(Text{}));
    send_request(request.get(), call, method);
    Bytes body = read_body(request.get());
    call.raw_headers = normalise_set_cookie(raw_headers_of(request.get()));

    request.reset();
    connection.reset();
    internet.reset();

    call.returned_cookies = set_cookie_values(call.raw_headers);
    if (call.send_cookies) cookies_merge(*call.send_cookies, call.returned_cookies);
    return body;
}
