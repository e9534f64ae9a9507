// The flat control style, measured in the window's pixels.
#include <windows.h>
// The common controls header needs the Windows types first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "app/main_window.h"
#include "app/visual_style.h"
#include "window_fixture_win.h"

namespace {

constexpr char password_box[] = "\xB1\xE0\xBC\xAD\xBF\xF2\x32";   // 编辑框2
constexpr char user_name_box[] = "\xB1\xE0\xBC\xAD\xBF\xF2\x31";  // 编辑框1
constexpr char password_label[] = "\xB1\xEA\xC7\xA9\x32";         // 标签2
constexpr char user_name_label[] = "\xB1\xEA\xC7\xA9\x31";        // 标签1
constexpr char check_in_button[] = "\xB0\xB4\xC5\xA5\x31";        // 按钮1

constexpr COLORREF scheme_colours[] = {RGB(123, 158, 189), RGB(164, 185, 127), RGB(198, 197, 215)};

// A build-tree path as the Windows side names it.
std::wstring windows_path(const char* path) {
    std::wstring result = path[0] == '/' ? L"Z:" : L"";
    for (const char* c = path; *c; ++c) result += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return result;
}

// The four middle points of a control's outer frame line, and the four of
// the line inside it.
struct FrameSample {
    COLORREF outer[4];
    COLORREF inner[4];
};

FrameSample sample_frame(const WindowPixels& pixels, HWND control) {
    const RECT r = rect_in_window(control);
    const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    return {{pixels.at(r.left, y), pixels.at(r.right - 1, y), pixels.at(x, r.top),
             pixels.at(x, r.bottom - 1)},
            {pixels.at(r.left + 1, y), pixels.at(r.right - 2, y), pixels.at(x, r.top + 1),
             pixels.at(x, r.bottom - 2)}};
}

std::string hex(COLORREF colour) {
    char text[16];
    wsprintfA(text, "#%02X%02X%02X", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return text;
}

TEST(FlatStyle, EditBoxesGetAFrameInTheSchemeColourAroundTheirBackground) {
    RunningWindow running(1);
    running.on_ui([&] {
        SetFocus(nullptr);
        const WindowPixels pixels(running.window());
        for (const char* name : {password_box, user_name_box}) {
            const FrameSample frame = sample_frame(pixels, running.control(name));
            for (COLORREF c : frame.outer) EXPECT_EQ(hex(c), hex(scheme_colours[0])) << name;
            for (COLORREF c : frame.inner)
                EXPECT_EQ(hex(c), hex(GetSysColor(COLOR_WINDOW))) << name;
        }
        const FrameSample button = sample_frame(pixels, running.control(check_in_button));
        for (COLORREF c : button.outer) EXPECT_EQ(hex(c), hex(scheme_colours[0]));
    });
}

TEST(FlatStyle, EachSchemeHasItsColourAndAnyOtherValueGivesTheOrdinaryLookBack) {
    RunningWindow running;
    running.on_ui([&] {
        SetFocus(nullptr);
        const WindowPixels ordinary(running.window());
        HWND box = running.control(password_box);
        for (int scheme : {1, 2, 3, 1}) {
            set_visual_style(scheme);
            const FrameSample frame = sample_frame(WindowPixels(running.window()), box);
            for (COLORREF c : frame.outer)
                EXPECT_EQ(hex(c), hex(scheme_colours[scheme - 1])) << scheme;
        }
        for (int off : {0, 4, -1}) {
            set_visual_style(1);
            set_visual_style(off);
            const WindowPixels pixels(running.window());
            const RECT whole{0, 0, pixels.width(), pixels.height()};
            EXPECT_EQ(pixels.region(whole), ordinary.region(whole)) << off;
            EXPECT_NE(hex(sample_frame(pixels, box).outer[0]), hex(scheme_colours[0]));
        }
    });
}

TEST(FlatStyle, LabelsKeepTheirLook) {
    RunningWindow running;
    running.on_ui([&] {
        SetFocus(nullptr);
        const RECT labels[] = {rect_in_window(running.control(password_label)),
                               rect_in_window(running.control(user_name_label))};
        const WindowPixels before(running.window());
        set_visual_style(1);
        const WindowPixels after(running.window());
        for (const RECT& label : labels) EXPECT_EQ(after.region(label), before.region(label));
        EXPECT_FALSE(has_flat_style(running.control(password_label)));
        EXPECT_TRUE(has_flat_style(running.control(password_box)));
        EXPECT_TRUE(has_flat_style(running.control(check_in_button)));
        set_visual_style(0);
    });
}

// Which controls take the style, for windows that exist when it is switched
// on and for windows created afterwards.
TEST(FlatStyle, TakenByButtonsEditBoxesCombosAndUpDownsOnly) {
    struct Case {
        const char* window_class;
        DWORD style;
        bool flat;
    };
    const Case cases[] = {
        {"Button", BS_PUSHBUTTON, true},
        {"Button", BS_DEFPUSHBUTTON, true},
        {"Button", BS_AUTOCHECKBOX, true},
        {"Button", BS_AUTO3STATE, true},
        {"Button", BS_AUTORADIOBUTTON, true},
        {"Button", BS_GROUPBOX, true},
        {"Button", BS_AUTOCHECKBOX | BS_PUSHLIKE, true},
        {"Button", BS_OWNERDRAW, false},
        {"Button", BS_PUSHBUTTON | BS_BITMAP, false},
        {"Edit", ES_AUTOHSCROLL, true},
        {"Edit", ES_MULTILINE | WS_VSCROLL, true},
        {"ComboBox", CBS_DROPDOWNLIST, true},
        {"ComboBox", CBS_DROPDOWN, true},
        {"ComboBox", CBS_SIMPLE, false},
        {UPDOWN_CLASSA, 0, true},
        {"Static", SS_LEFT, false},
        {"ListBox", 0, false},
        {"ScrollBar", SBS_VERT, false},
    };
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof classes;
    classes.dwICC = ICC_UPDOWN_CLASS | ICC_INTERNET_CLASSES;
    InitCommonControlsEx(&classes);
    RunningWindow running;
    running.on_ui([&] {
        for (bool created_after : {false, true}) {
            if (created_after) set_visual_style(1);
            HWND host = CreateWindowExA(0, "Static", "host", WS_POPUP, 0, 0, 400, 400, nullptr,
                                        nullptr, nullptr, nullptr);
            std::vector<HWND> controls;
            for (const Case& c : cases)
                controls.push_back(CreateWindowExA(WS_EX_CLIENTEDGE, c.window_class, "x",
                                                   WS_CHILD | c.style, 0, 0, 80, 80, host, nullptr,
                                                   nullptr, nullptr));
            HWND address = CreateWindowExA(0, WC_IPADDRESSA, "", WS_CHILD, 0, 0, 150, 20, host,
                                           nullptr, nullptr, nullptr);
            if (!created_after) set_visual_style(1);
            for (std::size_t i = 0; i < controls.size(); ++i) {
                ASSERT_NE(controls[i], nullptr) << cases[i].window_class;
                EXPECT_EQ(has_flat_style(controls[i]), cases[i].flat)
                    << cases[i].window_class << " " << std::hex << cases[i].style << " "
                    << created_after;
                COMBOBOXINFO info{};
                info.cbSize = sizeof info;
                if (GetComboBoxInfo(controls[i], &info) && info.hwndList) {
                    EXPECT_EQ(has_flat_style(info.hwndList), cases[i].flat) << "list " << i;
                }
            }
            // The fields of an IP-address control keep their look.
            for (HWND field = GetWindow(address, GW_CHILD); field;
                 field = GetWindow(field, GW_HWNDNEXT))
                EXPECT_FALSE(has_flat_style(field));
            set_visual_style(0);
            for (HWND control : controls) EXPECT_FALSE(has_flat_style(control));
            DestroyWindow(host);
        }
    });
}

// Leaves pictures of the window and of every kind of flat control for review.
TEST(FlatStyle, Screenshots) {
    RunningWindow running(1);
    set_control_text(running.control(user_name_box), "alice");
    set_control_text(running.control(password_box), "secret");
    running.on_ui([&] {
        SetFocus(running.control(check_in_button));
        const WindowPixels pixels(running.window());
        EXPECT_TRUE(pixels.save_png(windows_path(QUORVEXA_SCREENSHOT)));

        HWND host = CreateWindowExA(0, "#32770", "flat", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0,
                                    330, 150, nullptr, nullptr, nullptr, nullptr);
        const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
        struct Child {
            const char* window_class;
            DWORD style;
            DWORD ex_style;
            RECT place;  // left, top, width, height
        };
        const Child children[] = {
            {"Button", BS_PUSHBUTTON, 0, {8, 8, 80, 24}},
            {"Button", BS_AUTOCHECKBOX, 0, {8, 40, 80, 20}},
            {"Button", BS_AUTORADIOBUTTON, 0, {8, 64, 80, 20}},
            {"Button", BS_GROUPBOX, 0, {96, 4, 110, 80}},
            {"Edit", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, {104, 24, 90, 20}},
            {"ComboBox", CBS_DROPDOWNLIST, 0, {104, 50, 90, 100}},
            {UPDOWN_CLASSA, 0, 0, {214, 8, 18, 36}},
            {"Static", SS_LEFT, 0, {214, 52, 80, 20}},
        };
        for (const Child& c : children) {
            HWND child = CreateWindowExA(
                c.ex_style, c.window_class, "Flat", WS_CHILD | WS_VISIBLE | c.style, c.place.left,
                c.place.top, c.place.right, c.place.bottom, host, nullptr, nullptr, nullptr);
            SendMessageA(child, WM_SETFONT, font, FALSE);
            SendMessageA(child, BM_SETCHECK, BST_CHECKED, 0);
            SendMessageA(child, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Flat"));
            SendMessageA(child, CB_SETCURSEL, 0, 0);
        }
        const WindowPixels controls(host);
        EXPECT_TRUE(controls.save_png(windows_path(QUORVEXA_SCREENSHOT) + L".controls.png"));
        DestroyWindow(host);
    });
}

}  // namespace
