// The check-in: a click starts a worker that logs in, checks in, shows the
// site's decoded answer and then has the window closed, which ends the
// program.
#include "app/main_window.h"
#include "checkin/check_in.h"
#include "checkin/site.h"
#include "http/request.h"
#include "text/codepage.h"
#include "text/script_unescape.h"
#include "text/text.h"

namespace {

// The site spells non-ASCII characters of its answer as "/u" and four
// hexadecimal digits.
constexpr char escape_marker[] = "/u";
// The last character is the full-width colon.
constexpr char message_caption[] = "信息：";
constexpr int method_post = 1;

// The box of that name while the main window exists; the window is looked
// up at each read, since the user may close it while a check-in runs.
Text box_text(const char* name) { return control_text(find_control(main_window(), name)); }

}  // namespace

void check_in_button_click() {
    DWORD thread_id = 0;
    HANDLE thread = CreateThread(nullptr, 0, check_in_thread, nullptr, 0, &thread_id);
    // Nothing waits for the worker: every click starts one more, and the
    // process ends them all when the window is gone.
    if (thread) CloseHandle(thread);
}

DWORD WINAPI check_in_thread(LPVOID) {
    try {
        perform_check_in();
    } catch (...) {
        // Out of memory is the only way here; the run simply ends.
    }
    return 0;
}

void perform_check_in() {
    const SiteTexts site = site_texts(site_host);

    const Text user = box_text(user_name_box_name);
    const Text encoded_user = url_encode(user, true, true);
    const Text password = box_text(password_box_name);
    const Text form = login_form(site, encoded_user, password);

    HttpRequest login;
    login.url = site.login_url;
    login.method = method_post;
    login.post_text = form;
    login.extra_headers = site.login_headers;
    http_request(login);
    Text login_cookies = login.returned_cookies;

    HttpRequest check_in;
    check_in.url = site.check_in_url;
    check_in.method = method_post;
    check_in.send_cookies = login_cookies;
    Bytes answer = http_request(check_in);

    Text shown = script_unescape(bytes_to_txt(answer), escape_marker);
    MessageBoxA(nullptr, shown.c_str(), message_caption, MB_OK | MB_TASKMODAL);
    destroy_main_window();
}
