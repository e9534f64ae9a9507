// The flat control style: buttons, edit boxes, combo boxes and up-down
// controls of a thread lose their three-dimensional look and get frames of
// one-pixel lines in the scheme colour. A CBT hook catches the thread's new
// windows; each control that takes the style is subclassed.
#include <windows.h>
// The common controls header needs the Windows types first.
#include <commctrl.h>

#include <algorithm>
#include <array>
#include <vector>

#include "app/flat_paint.h"
#include "app/visual_style.h"
#include "text/unique_any.h"

namespace flat_style {
namespace {

using unique_hook = unique_any<HHOOK, decltype(&::UnhookWindowsHookEx), ::UnhookWindowsHookEx>;

constexpr std::array<COLORREF, 3> scheme_colours{RGB(123, 158, 189), RGB(164, 185, 127),
                                                 RGB(198, 197, 215)};
constexpr UINT_PTR flat_subclass_id = 0x51564658;  // any value; one subclass per control

// The style is a setting of one thread: its colour, its hook and the
// controls it has restyled so far.
struct ThreadStyle {
    COLORREF colour = 0;
    unique_hook hook;
    std::vector<HWND> restyled;
};
thread_local ThreadStyle thread_style;

void forget(HWND window) {
    auto& list = thread_style.restyled;
    list.erase(std::remove(list.begin(), list.end(), window), list.end());
}

// Class names compare without regard to the case of ASCII letters.
bool same_class_name(const char* a, const char* b) {
    for (;; ++a, ++b) {
        auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (fold(*a) != fold(*b)) return false;
        if (*a == '\0') return true;
    }
}

bool has_class(HWND window, const char* name) {
    char class_name[64] = {};
    return window && GetClassNameA(window, class_name, sizeof class_name) &&
           same_class_name(class_name, name);
}

// Which flat look a window takes, from its class, its style and its parent
// (for a pop-up list, its owner).
Restyle restyle_for(HWND window, DWORD style, HWND parent) {
    char class_name[64] = {};
    if (!GetClassNameA(window, class_name, sizeof class_name)) return Restyle::none;
    if (same_class_name(class_name, WC_BUTTONA)) return button_restyle(style);
    if (same_class_name(class_name, WC_EDITA))
        return has_class(parent, WC_IPADDRESSA) ? Restyle::none : Restyle::edit;
    if (same_class_name(class_name, WC_COMBOBOXA))
        return (style & 3) == CBS_SIMPLE ? Restyle::none : Restyle::combo_box;
    if (same_class_name(class_name, "ComboLBox")) {
        const bool in_simple_combo =
            has_class(parent, WC_COMBOBOXA) &&
            (static_cast<DWORD>(GetWindowLongA(parent, GWL_STYLE)) & 3) == CBS_SIMPLE;
        return in_simple_combo ? Restyle::none : Restyle::combo_list;
    }
    if (same_class_name(class_name, UPDOWN_CLASSA)) return Restyle::up_down;
    return Restyle::none;
}

// --- Switching ---

LRESULT CALLBACK flat_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                DWORD_PTR reference) {
    if (message == WM_NCDESTROY) {
        forget(window);
        RemoveWindowSubclass(window, flat_procedure, flat_subclass_id);
        return DefSubclassProc(window, message, wparam, lparam);
    }
    try {
        switch (static_cast<Restyle>(reference)) {
            case Restyle::button:
                return flat_button(window, message, wparam, lparam);
            case Restyle::edit:
            case Restyle::combo_list:
                return flat_bordered(window, message, wparam, lparam,
                                     static_cast<Restyle>(reference));
            case Restyle::combo_box:
                return flat_combo(window, message, wparam, lparam);
            case Restyle::up_down:
                return flat_up_down(window, message, wparam, lparam);
            case Restyle::none:
                break;
        }
    } catch (...) {
        // Nothing above throws but the text buffers; the ordinary look will do.
    }
    return DefSubclassProc(window, message, wparam, lparam);
}

void repaint_whole(HWND window) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// Restyles one window of this thread if its kind takes the style. Throws nothing.
void restyle(HWND window, DWORD style, HWND parent, bool repaint) {
    const Restyle kind = restyle_for(window, style, parent);
    if (kind == Restyle::none || is_restyled(window)) return;
    try {
        thread_style.restyled.reserve(thread_style.restyled.size() + 1);
    } catch (...) {
        return;  // without memory the window keeps its ordinary look
    }
    if (!SetWindowSubclass(window, flat_procedure, flat_subclass_id, static_cast<DWORD_PTR>(kind)))
        return;
    thread_style.restyled.push_back(window);
    if (repaint) repaint_whole(window);
}

LRESULT CALLBACK creation_hook(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lparam)->lpcs;
        restyle(reinterpret_cast<HWND>(wparam), static_cast<DWORD>(create->style),
                create->hwndParent, false);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

BOOL CALLBACK restyle_child(HWND window, LPARAM) {
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId())
        restyle(window, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), GetParent(window),
                true);
    return TRUE;
}

BOOL CALLBACK restyle_top_level(HWND window, LPARAM) {
    restyle_child(window, 0);
    EnumChildWindows(window, restyle_child, 0);
    return TRUE;
}

void switch_off() {
    thread_style.hook.reset();
    std::vector<HWND> restyled;
    restyled.swap(thread_style.restyled);
    for (HWND window : restyled) {
        RemoveWindowSubclass(window, flat_procedure, flat_subclass_id);
        repaint_whole(window);
    }
}

}  // namespace

Restyle button_restyle(DWORD style) {
    if (style & (BS_BITMAP | BS_ICON)) return Restyle::none;
    switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_GROUPBOX:
        case BS_AUTORADIOBUTTON:
            return Restyle::button;
        default:
            return Restyle::none;  // owner-drawn and user buttons draw themselves
    }
}

COLORREF flat_scheme_colour() { return thread_style.colour; }

bool is_restyled(HWND window) {
    const auto& list = thread_style.restyled;
    return std::find(list.begin(), list.end(), window) != list.end();
}

}  // namespace flat_style

void set_visual_style(int scheme) {
    using namespace flat_style;
    switch_off();
    if (scheme < 1 || scheme > static_cast<int>(scheme_colours.size())) return;
    thread_style.colour = scheme_colours[static_cast<std::size_t>(scheme - 1)];
    thread_style.hook.reset(
        SetWindowsHookExA(WH_CBT, creation_hook, nullptr, GetCurrentThreadId()));
    EnumThreadWindows(GetCurrentThreadId(), restyle_top_level, 0);
}

bool has_flat_style(HWND control) { return flat_style::is_restyled(control); }
