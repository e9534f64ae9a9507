#include "checkin/site.h"

#include <gtest/gtest.h>

namespace {

TEST(SiteTexts, AddressesAndFormPrefixCarryTheHost) {
    SiteTexts site = site_texts("127.0.0.1:8080");
    EXPECT_EQ(site.login_url, "http://127.0.0.1:8080/index.php/Login/head_login_handle.html");
    EXPECT_EQ(site.check_in_url, "http://127.0.0.1:8080/index.php/Index/qiandao_handle.html");
    EXPECT_EQ(site.form_prefix, "http_referer=http%3A%2F%2F127.0.0.1:8080%2F&username=");
}

TEST(SiteTexts, LoginHeadersAreSixLinesWithoutAFinalLineBreak) {
    SiteTexts site = site_texts("www.quorvexa.com");
    EXPECT_EQ(site.login_headers,
              "Host: www.quorvexa.com\r\n"
              "Connection: keep-alive\r\n"
              "User-Agent: Mozilla/5.0 (Linux; Android 4.4.2; Coolpad 8675 Build/KOT49H) "
              "AppleWebKit/537.36 (KHTML, like Gecko) Version/4.0 Chrome/30.0.0.0 Mobile "
              "Safari/537.36 MicroMessenger/5.3.1.51_r733746.462 NetType/WIFI\r\n"
              "Accept-Encoding: gzip,deflate\r\n"
              "Accept-Language: zh-CN,en-US;q=0.8\r\n"
              "Referer: http://www.quorvexa.com/index.php/Login/head_login.html");
}

TEST(LoginForm, PasswordBytesGoInUnencodedAndEmptyFieldsStayInPlace) {
    SiteTexts site = site_texts("h");
    struct Case {
        const char* user;
        const char* password;
        const char* form;
    } cases[] = {
        {"%E7%AD%BE%E5%88%B0", "a&b=c%d+e f签",
         "http_referer=http%3A%2F%2Fh%2F&username=%E7%AD%BE%E5%88%B0&password=a&b=c%d+e f签"},
        {"", "pw", "http_referer=http%3A%2F%2Fh%2F&username=&password=pw"},
        {"u", "", "http_referer=http%3A%2F%2Fh%2F&username=u&password="},
    };
    for (const Case& c : cases) EXPECT_EQ(login_form(site, c.user, c.password), c.form) << c.user;
}

}  // namespace
