// The main window: its geometry, controls, events and end, driven from
// another thread as the check-in worker drives it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <thread>

#include "app/main_window.h"
#include "window_fixture_win.h"

namespace {

// Names and texts as the user and the settings file see them, in code page 936.
constexpr char title[] = "Quorvexa\xC7\xA9\xB5\xBD\xBA\xF3\xD7\xD4\xB6\xAF\xCD\xCB\xB3\xF6";
constexpr char password_box[] = "\xB1\xE0\xBC\xAD\xBF\xF2\x32";   // 编辑框2
constexpr char user_name_box[] = "\xB1\xE0\xBC\xAD\xBF\xF2\x31";  // 编辑框1
constexpr char password_label[] = "\xB1\xEA\xC7\xA9\x32";         // 标签2
constexpr char user_name_label[] = "\xB1\xEA\xC7\xA9\x31";        // 标签1
constexpr char check_in_button[] = "\xB0\xB4\xC5\xA5\x31";        // 按钮1

std::string window_text(HWND window) {
    char buffer[256] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

std::string class_of(HWND window) {
    char buffer[64] = {};
    GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

DWORD style_of(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)); }
DWORD ex_style_of(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)); }

TEST(MainWindow, OpensCentredWithAFixedFrameAndTitle) {
    RunningWindow running;
    HWND window = running.window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window_text(window), title);

    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 178);
    EXPECT_EQ(rect.bottom - rect.top, 143);
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 178) / 2);
    EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 143) / 2);
    if (GetSystemMetrics(SM_CXSCREEN) == 1024 && GetSystemMetrics(SM_CYSCREEN) == 768) {
        EXPECT_EQ(rect.left, 423);
        EXPECT_EQ(rect.top, 312);
    }

    const DWORD style = style_of(window);
    EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(ex_style_of(window) & WS_EX_TOPMOST);
    EXPECT_EQ(GetClassLongPtrA(window, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)),
              GetStockObject(DEFAULT_GUI_FONT));
}

TEST(MainWindow, HoldsItsFiveControlsInTheirStoredOrder) {
    struct Expected {
        const char* name;
        const char* window_class;
        RECT rect;  // in the client area: left, top, right, bottom
        const char* text;
    };
    const Expected expected[] = {
        {password_label, "Static", {11, 30, 51, 54}, "\xC3\xDC\xC2\xEB"},
        {user_name_label, "Static", {9, 6, 49, 30}, "\xD3\xC3\xBB\xA7\xC3\xFB"},
        {password_box, "Edit", {56, 32, 152, 52}, ""},
        {user_name_box, "Edit", {56, 8, 152, 28}, ""},
        {check_in_button, "Button", {16, 65, 160, 104}, "Quorvexa  \xC7\xA9  \xB5\xBD"},
    };
    RunningWindow running;
    HWND window = running.window();
    HWND control = GetWindow(window, GW_CHILD);
    for (const Expected& e : expected) {
        ASSERT_NE(control, nullptr) << e.name;
        EXPECT_EQ(control_name(control), e.name);
        EXPECT_EQ(find_control(window, e.name), control);
        EXPECT_EQ(class_of(control), e.window_class) << e.name;
        EXPECT_EQ(window_text(control), e.text) << e.name;
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_TRUE(EqualRect(&rect, &e.rect)) << e.name << ": " << rect.left << "," << rect.top
                                               << "," << rect.right << "," << rect.bottom;
        EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)),
                  GetStockObject(DEFAULT_GUI_FONT))
            << e.name;
        control = GetWindow(control, GW_HWNDNEXT);
    }
    EXPECT_EQ(control, nullptr);

    const std::vector<HWND> boxes = window_edit_boxes(window);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], running.control(password_box));
    EXPECT_EQ(boxes[1], running.control(user_name_box));
    EXPECT_EQ(find_control(window, "\xB1\xE0\xBC\xAD\xBF\xF2"), nullptr);  // the kind is no name
    EXPECT_EQ(control_name(window), "");
    EXPECT_TRUE(window_edit_boxes(nullptr).empty());
}

TEST(MainWindow, EditBoxesAreSingleLineSunkenAndHideTheirSelection) {
    RunningWindow running;
    for (const char* name : {password_box, user_name_box}) {
        HWND box = running.control(name);
        const DWORD style = style_of(box);
        EXPECT_TRUE(ex_style_of(box) & WS_EX_CLIENTEDGE) << name;
        EXPECT_TRUE(style & ES_AUTOHSCROLL) << name;
        EXPECT_FALSE(style & (ES_MULTILINE | ES_NOHIDESEL | ES_UPPERCASE | ES_LOWERCASE |
                              ES_CENTER | ES_RIGHT | ES_READONLY))
            << name;
    }
    HWND password = running.control(password_box);
    EXPECT_TRUE(style_of(password) & ES_PASSWORD);
    EXPECT_EQ(SendMessageA(password, EM_GETPASSWORDCHAR, 0, 0), '*');
    EXPECT_FALSE(style_of(running.control(user_name_box)) & ES_PASSWORD);
}

TEST(MainWindow, ThePasswordBoxShowsStarsAndGivesBackWhatWasTyped) {
    RunningWindow running;
    HWND password = running.control(password_box);
    HWND user_name = running.control(user_name_box);
    for (char c : std::string("pa ss")) SendMessageA(password, WM_CHAR, static_cast<WPARAM>(c), 1);
    EXPECT_EQ(control_text(password), "pa ss");  // read from this thread, as a worker does

    // Five stars in the plain box look exactly like the five typed characters.
    set_control_text(user_name, "*****");
    std::vector<COLORREF> shown, stars;
    running.on_ui([&] {
        SetFocus(running.control(check_in_button));
        WindowPixels pixels(running.window());
        RECT inner_password = rect_in_window(password), inner_user_name = rect_in_window(user_name);
        InflateRect(&inner_password, -2, -2);
        InflateRect(&inner_user_name, -2, -2);
        shown = pixels.region(inner_password);
        stars = pixels.region(inner_user_name);
    });
    EXPECT_EQ(shown, stars);
    EXPECT_EQ(control_text(user_name), "*****");
}

TEST(MainWindow, ControlTextFollowsLongAndDoubleByteTexts) {
    RunningWindow running;
    HWND box = running.control(user_name_box);
    const std::string texts[] = {"", "a", "\xD3\xC3\xBB\xA7\xC3\xFB",
                                 std::string(5000, 'x') + "\xC7\xA9"};
    for (const std::string& text : texts) {
        set_control_text(box, text);
        EXPECT_EQ(control_text(box), text);
    }
    EXPECT_EQ(control_text(nullptr), "");
}

TEST(MainWindow, TheButtonRaisesItsClickedEvent) {
    RunningWindow running;
    SendMessageA(running.control(check_in_button), BM_CLICK, 0, 0);
    SendMessageA(running.control(check_in_button), BM_CLICK, 0, 0);
    EXPECT_EQ(event_counts.clicked, 2);
    EXPECT_EQ(event_counts.ready, 1);
    EXPECT_EQ(event_counts.closing, 0);
}

TEST(MainWindow, TheCloseCommandRaisesClosingOnceAndEndsTheLoop) {
    RunningWindow running;
    HWND window = running.window();
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(running.wait_for_end(), 0);
    EXPECT_EQ(event_counts.closing, 1);
    // The closing handler still found both edit boxes.
    EXPECT_EQ(event_counts.boxes_at_closing,
              (std::vector<std::string>{password_box, user_name_box}));
    EXPECT_EQ(main_window(), nullptr);
    EXPECT_FALSE(IsWindow(window));
}

TEST(MainWindow, DestroyRequestsFromAWorkerDestroyTheWindowOnce) {
    RunningWindow running;
    std::thread worker([] {
        destroy_main_window();
        destroy_main_window();
    });
    worker.join();
    EXPECT_EQ(running.wait_for_end(), 0);
    EXPECT_EQ(event_counts.closing, 1);
    EXPECT_EQ(main_window(), nullptr);
    destroy_main_window();  // no window: nothing happens
}

TEST(MainWindow, ADestroyRequestReturnsBeforeTheWindowIsGone) {
    RunningWindow running;
    bool still_there = false;
    running.on_ui([&] {
        destroy_main_window();
        still_there = main_window() == running.window() && IsWindow(running.window());
    });
    EXPECT_TRUE(still_there);
    EXPECT_EQ(running.wait_for_end(), 0);
    EXPECT_EQ(event_counts.closing, 1);
}

}  // namespace
