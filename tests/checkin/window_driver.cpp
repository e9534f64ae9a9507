// Drives the running program from outside, the way a user would, through
// window messages only: finds the main window by its title, fills the edit
// boxes, clicks the button, finds the answer box by its caption, reads it and
// confirms it. Texts travel on the command line and on standard output as
// hex of their code-page-936 bytes, so no shell or console code page can
// alter them.
//
//   window_driver wait-window MS          exit 0 once the main window exists
//   window_driver fill USER_HEX PASS_HEX  set 编辑框1 and 编辑框2
//   window_driver read                    print the two boxes' texts
//   window_driver click                   click the check-in button
//   window_driver wait-boxes N MS         wait until N answer boxes are open;
//                                         print "HWND TEXT_HEX L T R B" per box
//   window_driver ok HWND                 press OK on one answer box
//   window_driver close                   the title bar's Close command
//   window_driver wait-gone MS            exit 0 once the main window is gone
//   window_driver main-rect               print "L T R B" of the main window
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr char main_title[] = "Quorvexa签到后自动退出";
constexpr char box_caption[] = "信息：";
constexpr char dialog_class[] = "#32770";
// The static control that holds a message box's text.
constexpr int message_box_text_id = 0xFFFF;

std::string from_hex(const char* hex) {
    std::string out;
    for (size_t i = 0; hex[i] && hex[i + 1]; i += 2) {
        char pair[3] = {hex[i], hex[i + 1], 0};
        out.push_back(static_cast<char>(std::strtoul(pair, nullptr, 16)));
    }
    return out;
}

std::string to_hex(const std::string& text) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        out.push_back(digits[c >> 4]);
        out.push_back(digits[c & 15]);
    }
    return out.empty() ? "-" : out;
}

// A control's text as its own window procedure reports it: GetWindowText
// would only read the stored caption of another process's control.
std::string window_text(HWND window) {
    LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    LRESULT got = SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(length) + 1,
                               reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

HWND find_main() { return FindWindowA(nullptr, main_title); }

// The edit boxes of the main window in the order the window keeps them:
// the password box first, then the user-name box.
std::vector<HWND> edit_boxes(HWND window) {
    std::vector<HWND> boxes;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[32] = {};
        GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpiA(cls, "Edit") == 0) boxes.push_back(child);
    }
    return boxes;
}

HWND find_button(HWND window) {
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[32] = {};
        GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpiA(cls, "Button") == 0) return child;
    }
    return nullptr;
}

std::vector<HWND> answer_boxes() {
    std::vector<HWND> boxes;
    for (HWND w = FindWindowExA(nullptr, nullptr, dialog_class, box_caption); w;
         w = FindWindowExA(nullptr, w, dialog_class, box_caption)) {
        if (IsWindowVisible(w)) boxes.push_back(w);
    }
    return boxes;
}

std::string box_text(HWND box) {
    HWND text = GetDlgItem(box, message_box_text_id);
    return text ? window_text(text) : std::string();
}

bool wait_for(int ms, bool (*ready)()) {
    for (int waited = 0;; waited += 50) {
        if (ready()) return true;
        if (waited >= ms) return false;
        Sleep(50);
    }
}

int need_main(HWND* window) {
    *window = find_main();
    if (!*window) {
        std::fprintf(stderr, "window_driver: main window not found\n");
        return 2;
    }
    return 0;
}

void print_rect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    std::printf(" %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 64;
    std::string command = argv[1];
    HWND window = nullptr;

    if (command == "wait-window" && argc == 3)
        return wait_for(std::atoi(argv[2]), [] { return find_main() != nullptr; }) ? 0 : 1;
    if (command == "wait-gone" && argc == 3)
        return wait_for(std::atoi(argv[2]), [] { return find_main() == nullptr; }) ? 0 : 1;

    if (command == "fill" && argc == 4) {
        if (int rc = need_main(&window)) return rc;
        std::vector<HWND> boxes = edit_boxes(window);
        if (boxes.size() != 2) return 3;
        std::string user = from_hex(argv[2]), password = from_hex(argv[3]);
        SendMessageA(boxes[1], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(user.c_str()));
        SendMessageA(boxes[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(password.c_str()));
        return 0;
    }
    if (command == "read" && argc == 2) {
        if (int rc = need_main(&window)) return rc;
        std::vector<HWND> boxes = edit_boxes(window);
        if (boxes.size() != 2) return 3;
        std::printf("%s %s\n", to_hex(window_text(boxes[1])).c_str(),
                    to_hex(window_text(boxes[0])).c_str());
        return 0;
    }
    if (command == "click" && argc == 2) {
        if (int rc = need_main(&window)) return rc;
        HWND button = find_button(window);
        if (!button) return 3;
        PostMessageA(button, BM_CLICK, 0, 0);
        return 0;
    }
    if (command == "wait-boxes" && argc == 4) {
        static size_t wanted;
        wanted = static_cast<size_t>(std::atoi(argv[2]));
        bool found = wait_for(std::atoi(argv[3]), [] { return answer_boxes().size() >= wanted; });
        // Give a just-created box a moment to receive its text.
        Sleep(200);
        for (HWND box : answer_boxes()) {
            std::printf("%llu %s", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(box)),
                        to_hex(box_text(box)).c_str());
            print_rect(box);
        }
        return found ? 0 : 1;
    }
    if (command == "ok" && argc == 3) {
        HWND box =
            reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(argv[2], nullptr, 10)));
        if (!IsWindow(box)) return 3;
        HWND button = GetDlgItem(box, IDOK);
        if (button)
            PostMessageA(button, BM_CLICK, 0, 0);
        else
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return 0;
    }
    if (command == "close" && argc == 2) {
        if (int rc = need_main(&window)) return rc;
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    }
    if (command == "main-rect" && argc == 2) {
        if (int rc = need_main(&window)) return rc;
        std::printf("main");
        print_rect(window);
        return 0;
    }
    std::fprintf(stderr, "window_driver: unknown command\n");
    return 64;
}
