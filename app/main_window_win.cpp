// The main window: its controls, its events, start-up and the end of the
// program, and the operations other parts use on the window.
#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <exception>

#include "app/main_window.h"

namespace {

constexpr char window_title[] = "Quorvexa签到后自动退出";
constexpr char window_class_name[] = "QuorvexaMainWindow";
constexpr int window_width = 178;
constexpr int window_height = 143;
constexpr DWORD window_style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr int program_icon_id = 1;

constexpr char label_kind[] = "标签";
constexpr char button_kind[] = "按钮";

constexpr char password_label_name[] = "标签2";
constexpr char user_name_label_name[] = "标签1";
constexpr char check_in_button_name[] = "按钮1";

constexpr char password_label_text[] = "密码";
constexpr char user_name_label_text[] = "用户名";
constexpr char check_in_button_text[] = "Quorvexa  签  到";
constexpr char password_mask = '*';

constexpr DWORD label_style = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX;
constexpr DWORD edit_box_style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr DWORD button_style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

// One control of the window. The control's id is its index in the table
// plus first_control_id, which is how a control handle finds its name.
struct ControlInfo {
    const char* kind;
    const char* name;
    const char* window_class;
    DWORD style;
    DWORD ex_style;
    int left, top, width, height;
    const char* text;
};

constexpr int first_control_id = 1001;

// The controls in the order in which the window stores them; creation
// places each new child below the previous ones, so this is also their
// z-order and tab order.
constexpr std::array<ControlInfo, 5> control_table{{
    {label_kind, password_label_name, "Static", label_style, 0, 11, 30, 40, 24,
     password_label_text},
    {label_kind, user_name_label_name, "Static", label_style, 0, 9, 6, 40, 24,
     user_name_label_text},
    {edit_box_kind, password_box_name, "Edit", edit_box_style | ES_PASSWORD, WS_EX_CLIENTEDGE, 56,
     32, 96, 20, ""},
    {edit_box_kind, user_name_box_name, "Edit", edit_box_style, WS_EX_CLIENTEDGE, 56, 8, 96, 20,
     ""},
    {button_kind, check_in_button_name, "Button", button_style, 0, 16, 65, 144, 39,
     check_in_button_text},
}};

// The description of a child control of one of our windows, or nullptr.
const ControlInfo* info_of(HWND control) {
    HWND parent = GetParent(control);
    char class_name[64] = {};
    if (!parent || !GetClassNameA(parent, class_name, sizeof class_name) ||
        std::strcmp(class_name, window_class_name) != 0)
        return nullptr;
    const int index = GetDlgCtrlID(control) - first_control_id;
    if (index < 0 || index >= static_cast<int>(control_table.size())) return nullptr;
    return &control_table[static_cast<std::size_t>(index)];
}

// The window while it exists. The lock makes destroy_main_window's post and
// the window's final message exclusive, so a request is only ever posted to
// a live window, never to a handle that may since have been reused; one that
// is still queued when the window goes is discarded with it.
std::atomic<HWND> live_window{nullptr};
SRWLOCK live_window_lock = SRWLOCK_INIT;

void set_live_window(HWND window) {
    AcquireSRWLockExclusive(&live_window_lock);
    live_window.store(window);
    ReleaseSRWLockExclusive(&live_window_lock);
}

// Posted to the window by destroy_main_window.
constexpr UINT destroy_request_message = WM_APP + 1;

void raise(void (*event)()) {
    if (!event) return;
    try {
        event();
    } catch (...) {
        // A handler's failure must not stop start-up or the closing of the window.
    }
}

class MainWindow {
  public:
    explicit MainWindow(const MainWindowEvents& events) : events_(events) {}

    static bool register_class(HINSTANCE instance);
    HWND create(HINSTANCE instance);

    static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam);

  private:
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);

    // Creates the five controls in their stored order, with the GUI font.
    LRESULT on_create();
    // Raises the clicked event for the check-in button.
    LRESULT on_command(WPARAM wparam, LPARAM lparam);
    // Remembers the focused control when the window is deactivated.
    LRESULT on_activate(WPARAM wparam, LPARAM lparam);
    // Gives the focus back to the remembered control, at first the user name.
    LRESULT on_set_focus();
    // Keeps the window's font, which its controls are given too.
    LRESULT on_set_font(WPARAM wparam);
    // Gives the window's font.
    LRESULT on_get_font() const;
    // Destroys the window for a request of destroy_main_window.
    LRESULT on_destroy_request();
    // Raises the closing event; the window and its controls still exist.
    LRESULT on_destroy();
    // Withdraws the window from requests and ends the message loop: the
    // window was the program's only one.
    LRESULT on_nc_destroy();

    HWND window_ = nullptr;
    HWND focus_ = nullptr;
    HFONT font_ = nullptr;
    MainWindowEvents events_;
};

bool MainWindow::register_class(HINSTANCE instance) {
    WNDCLASSEXA window_class{};
    if (GetClassInfoExA(instance, window_class_name, &window_class)) return true;
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(program_icon_id));
    window_class.hIconSm = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(program_icon_id), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = window_class_name;
    return RegisterClassExA(&window_class) != 0;
}

HWND MainWindow::create(HINSTANCE instance) {
    // Halved with rounding toward zero, as integer division does.
    const int left = (GetSystemMetrics(SM_CXSCREEN) - window_width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - window_height) / 2;
    return CreateWindowExA(0, window_class_name, window_title, window_style, left, top,
                           window_width, window_height, nullptr, nullptr, instance, this);
}

LRESULT CALLBACK MainWindow::window_procedure(HWND window, UINT message, WPARAM wparam,
                                              LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        return self->on_nc_destroy();
    }
    try {
        return self->handle(message, wparam, lparam);
    } catch (...) {
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

LRESULT MainWindow::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            return on_create();
        case WM_COMMAND:
            return on_command(wparam, lparam);
        case WM_ACTIVATE:
            return on_activate(wparam, lparam);
        case WM_SETFOCUS:
            return on_set_focus();
        case WM_SETFONT:
            return on_set_font(wparam);
        case WM_GETFONT:
            return on_get_font();
        case destroy_request_message:
            return on_destroy_request();
        case WM_DESTROY:
            return on_destroy();
        default:
            return DefWindowProcA(window_, message, wparam, lparam);
    }
}

LRESULT MainWindow::on_create() {
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageA(window_, WM_SETFONT, font, FALSE);
    auto* const instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window_, GWLP_HINSTANCE));
    int id = first_control_id;
    for (const ControlInfo& control_info : control_table) {
        HWND control = CreateWindowExA(
            control_info.ex_style, control_info.window_class, control_info.text, control_info.style,
            control_info.left, control_info.top, control_info.width, control_info.height, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance, nullptr);
        if (!control) return -1;
        SendMessageA(control, WM_SETFONT, font, FALSE);
        if (control_info.style & ES_PASSWORD)
            SendMessageA(control, EM_SETPASSWORDCHAR, password_mask, 0);
    }
    return 0;
}

LRESULT MainWindow::on_command(WPARAM wparam, LPARAM lparam) {
    HWND control = reinterpret_cast<HWND>(lparam);
    if (control && HIWORD(wparam) == BN_CLICKED &&
        control == find_control(window_, check_in_button_name))
        raise(events_.check_in_clicked);
    return 0;
}

LRESULT MainWindow::on_activate(WPARAM wparam, LPARAM lparam) {
    if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) focus_ = focus;
    }
    return DefWindowProcA(window_, WM_ACTIVATE, wparam, lparam);
}

LRESULT MainWindow::on_set_focus() {
    HWND target =
        focus_ && IsChild(window_, focus_) ? focus_ : find_control(window_, user_name_box_name);
    if (target) SetFocus(target);
    return 0;
}

LRESULT MainWindow::on_set_font(WPARAM wparam) {
    font_ = reinterpret_cast<HFONT>(wparam);
    return 0;
}

LRESULT MainWindow::on_get_font() const { return reinterpret_cast<LRESULT>(font_); }

LRESULT MainWindow::on_destroy_request() {
    DestroyWindow(window_);
    return 0;
}

LRESULT MainWindow::on_destroy() {
    raise(events_.closing);
    return 0;
}

LRESULT MainWindow::on_nc_destroy() {
    set_live_window(nullptr);
    window_ = nullptr;
    PostQuitMessage(0);
    return 0;
}

}  // namespace

int run_main_window(HINSTANCE instance, const MainWindowEvents& events) {
    MainWindow main(events);
    if (!MainWindow::register_class(instance)) return 0;
    HWND window = main.create(instance);
    if (!window) return 0;
    set_live_window(window);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    raise(events.ready);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        HWND current = live_window.load();
        // Tab moves between the controls as in a dialog.
        if (current && IsDialogMessageA(current, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

HWND main_window() { return live_window.load(); }

void destroy_main_window() {
    AcquireSRWLockShared(&live_window_lock);
    if (HWND window = live_window.load()) PostMessageA(window, destroy_request_message, 0, 0);
    ReleaseSRWLockShared(&live_window_lock);
}

std::vector<HWND> window_edit_boxes(HWND window) {
    std::vector<HWND> boxes;
    if (!window) return boxes;
    // Children are listed in z-order, which is the order the window stores them in.
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const ControlInfo* info = info_of(child);
        if (info && std::strcmp(info->kind, edit_box_kind) == 0) boxes.push_back(child);
    }
    return boxes;
}

HWND find_control(HWND window, const Text& name) {
    if (!window) return nullptr;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const ControlInfo* info = info_of(child);
        if (info && name == info->name) return child;
    }
    return nullptr;
}

Text control_name(HWND box) {
    const ControlInfo* info = info_of(box);
    return info ? Text(info->name) : Text();
}

Text control_text(HWND box) {
    // From another thread each call is a message handled by the UI thread,
    // so the text may grow between measuring and reading: read again until
    // the buffer kept room to spare. The spare room covers a double-byte
    // character that did not fit at the end and was left out whole.
    constexpr int spare = 2;
    if (!box) return Text();
    Text text;
    int capacity = GetWindowTextLengthA(box) + 1 + spare;
    for (;;) {
        text.assign(static_cast<std::size_t>(capacity), '\0');
        const int copied = GetWindowTextA(box, text.data(), capacity);
        if (copied <= 0) return Text();
        if (copied < capacity - spare || capacity > (1 << 29)) {
            text.resize(std::min(static_cast<std::size_t>(copied), text.find('\0')));
            return text;
        }
        capacity = capacity * 2;
    }
}

void set_control_text(HWND box, const Text& text) { SetWindowTextA(box, text.c_str()); }
