#include "checkin/site.h"

namespace {

constexpr char login_path[] = "/index.php/Login/head_login_handle.html";
constexpr char check_in_path[] = "/index.php/Index/qiandao_handle.html";
constexpr char login_page_path[] = "/index.php/Login/head_login.html";
// The site's root address, percent-encoded around the host.
constexpr char referer_field_open[] = "http_referer=http%3A%2F%2F";
constexpr char referer_field_close[] = "%2F&username=";
constexpr char password_field[] = "&password=";
constexpr char line_break[] = "\r\n";

constexpr char connection_line[] = "Connection: keep-alive";
constexpr char mobile_agent_line[] =
    "User-Agent: Mozilla/5.0 (Linux; Android 4.4.2; Coolpad 8675 Build/KOT49H) "
    "AppleWebKit/537.36 (KHTML, like Gecko) Version/4.0 Chrome/30.0.0.0 Mobile Safari/537.36 "
    "MicroMessenger/5.3.1.51_r733746.462 NetType/WIFI";
constexpr char encoding_line[] = "Accept-Encoding: gzip,deflate";
constexpr char language_line[] = "Accept-Language: zh-CN,en-US;q=0.8";

}  // namespace

SiteTexts site_texts(const Text& host) {
    const Text root = "http://" + host;
    SiteTexts site;
    site.login_url = root + login_path;
    site.check_in_url = root + check_in_path;
    site.form_prefix = referer_field_open + host + referer_field_close;
    // Six lines joined by CR LF, with none after the last.
    site.login_headers = "Host: " + host + line_break + connection_line + line_break +
                         mobile_agent_line + line_break + encoding_line + line_break +
                         language_line + line_break + "Referer: " + root + login_page_path;
    return site;
}

Text login_form(const SiteTexts& site, const Text& encoded_user, const Text& password) {
    return site.form_prefix + encoded_user + password_field + password;
}
