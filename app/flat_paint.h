// How a control that wears the flat style is painted, shared by the code
// that decides which controls wear it (visual_style_win.cpp) and the code
// that paints them (flat_paint_win.cpp).
#pragma once

#include <windows.h>

namespace flat_style {

// What a control is, as far as its flat painting goes.
enum class Restyle : DWORD_PTR { none, button, edit, combo_box, combo_list, up_down };

// The calling thread's scheme colour, the colour of every outer line.
COLORREF flat_scheme_colour();

// Whether the control currently wears the style of the calling thread.
bool is_restyled(HWND window);

// The flat look a button of that style takes: none for the buttons that
// draw themselves (owner-drawn, user, bitmap and icon buttons).
Restyle button_restyle(DWORD style);

// The subclass procedure's work for each kind of control: the control's
// own procedure runs (through DefSubclassProc), and the flat look is drawn
// in place of or over what it drew.
LRESULT flat_button(HWND button, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT flat_bordered(HWND window, UINT message, WPARAM wparam, LPARAM lparam, Restyle kind);
LRESULT flat_combo(HWND combo, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT flat_up_down(HWND up_down, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace flat_style
