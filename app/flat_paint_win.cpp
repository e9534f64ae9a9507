// Painting of the flat control style: frames of one-pixel lines in the
// scheme colour and flat faces, drawn in place of or over each control's
// own three-dimensional look.
#include <windows.h>
// The common controls header needs the Windows types first.
#include <commctrl.h>

#include <algorithm>

#include "app/flat_paint.h"
#include "text/text.h"

namespace flat_style {
namespace {

constexpr int check_box_size = 13;

// A device context of GetDC or GetWindowDC, released by scope.
class WindowDc {
  public:
    WindowDc(HWND window, bool whole_window)
        : window_(window), dc_(whole_window ? GetWindowDC(window) : GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// Keeps a device context's state (objects, colours, modes) across a painting.
class SavedDc {
  public:
    explicit SavedDc(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;
    ~SavedDc() {
        if (saved_) RestoreDC(dc_, saved_);
    }

  private:
    HDC dc_;
    int saved_;
};

COLORREF blend(COLORREF a, COLORREF b, int weight_of_b_in_quarters) {
    auto mix = [&](BYTE x, BYTE y) {
        return static_cast<BYTE>((x * (4 - weight_of_b_in_quarters) + y * weight_of_b_in_quarters) /
                                 4);
    };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
               mix(GetBValue(a), GetBValue(b)));
}

void fill(HDC dc, const RECT& rect, COLORREF colour) {
    SetDCBrushColor(dc, colour);
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void frame(HDC dc, const RECT& rect, COLORREF colour) {
    SetDCBrushColor(dc, colour);
    FrameRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// The solid colour of the brush the parent gives for a control, or the
// system colour when the parent gives none that is solid.
COLORREF parent_brush_colour(HWND control, HDC dc, UINT ctlcolor_message, int system_colour) {
    HWND parent = GetParent(control);
    auto brush = parent ? reinterpret_cast<HBRUSH>(SendMessageA(parent, ctlcolor_message,
                                                                reinterpret_cast<WPARAM>(dc),
                                                                reinterpret_cast<LPARAM>(control)))
                        : nullptr;
    LOGBRUSH logical{};
    if (brush && GetObjectA(brush, sizeof logical, &logical) == sizeof logical &&
        logical.lbStyle == BS_SOLID)
        return logical.lbColor;
    return GetSysColor(system_colour);
}

Text window_text(HWND window) {
    Text text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        std::max(0, GetWindowTextA(window, text.data(), static_cast<int>(text.size())))));
    return text;
}

void draw_arrow(HDC dc, const RECT& box, int direction, COLORREF colour) {
    // direction: 0 up, 1 down, 2 left, 3 right; a small solid triangle.
    const LONG cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    const LONG half = std::max<LONG>(2, std::min(box.right - box.left, box.bottom - box.top) / 4);
    POINT points[3];
    switch (direction) {
        case 0:
            points[0] = {cx - half, cy + half / 2};
            points[1] = {cx + half, cy + half / 2};
            points[2] = {cx, cy - half / 2 - 1};
            break;
        case 1:
            points[0] = {cx - half, cy - half / 2};
            points[1] = {cx + half, cy - half / 2};
            points[2] = {cx, cy + half / 2 + 1};
            break;
        case 2:
            points[0] = {cx + half / 2, cy - half};
            points[1] = {cx + half / 2, cy + half};
            points[2] = {cx - half / 2 - 1, cy};
            break;
        default:
            points[0] = {cx - half / 2, cy - half};
            points[1] = {cx - half / 2, cy + half};
            points[2] = {cx + half / 2 + 1, cy};
            break;
    }
    SavedDc saved(dc);
    SelectObject(dc, GetStockObject(DC_PEN));
    SelectObject(dc, GetStockObject(DC_BRUSH));
    SetDCPenColor(dc, colour);
    SetDCBrushColor(dc, colour);
    Polygon(dc, points, 3);
}

// --- Bordered controls: the edit box and the pop-up list of a combo box ---

int border_thickness(HWND window) {
    const auto style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    const auto ex_style = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
    int thickness = 0;
    if (ex_style & WS_EX_CLIENTEDGE) thickness += 2;
    if (ex_style & WS_EX_STATICEDGE) thickness += 1;
    if (style & WS_BORDER) thickness += 1;
    return thickness;
}

COLORREF edit_background(HWND edit, HDC dc) {
    const auto style = static_cast<DWORD>(GetWindowLongA(edit, GWL_STYLE));
    const bool read_only = (style & ES_READONLY) || !IsWindowEnabled(edit);
    return read_only ? parent_brush_colour(edit, dc, WM_CTLCOLORSTATIC, COLOR_BTNFACE)
                     : parent_brush_colour(edit, dc, WM_CTLCOLOREDIT, COLOR_WINDOW);
}

// Replaces the border by an outer line in the scheme colour and inner lines
// in the background colour. dc has the window's top left corner as origin.
void draw_flat_border(HWND window, HDC dc, Restyle kind) {
    const int thickness = border_thickness(window);
    if (thickness == 0) return;
    const COLORREF background =
        kind == Restyle::edit ? edit_background(window, dc) : GetSysColor(COLOR_WINDOW);
    RECT rect;
    GetWindowRect(window, &rect);
    OffsetRect(&rect, -rect.left, -rect.top);
    frame(dc, rect, flat_scheme_colour());
    for (int line = 1; line < thickness; ++line) {
        InflateRect(&rect, -1, -1);
        frame(dc, rect, background);
    }
}

void redraw_flat_border(HWND window, Restyle kind) {
    WindowDc dc(window, true);
    if (dc.get()) draw_flat_border(window, dc.get(), kind);
}

// --- Buttons ---

bool is_push_like(DWORD style) {
    const DWORD type = style & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || (style & BS_PUSHLIKE);
}

UINT text_format(DWORD style, bool centred_by_default) {
    UINT format = 0;
    const DWORD horizontal = style & BS_CENTER;
    if (horizontal == BS_CENTER || (horizontal == 0 && centred_by_default))
        format |= DT_CENTER;
    else if (horizontal == BS_RIGHT)
        format |= DT_RIGHT;
    const DWORD vertical = style & BS_VCENTER;
    if (vertical == BS_TOP)
        format |= DT_TOP;
    else if (vertical == BS_BOTTOM)
        format |= DT_BOTTOM;
    else
        format |= DT_VCENTER;
    return format | DT_SINGLELINE;
}

bool focus_shown(HWND button) {
    return GetFocus() == button && !(SendMessageA(button, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

void draw_button_text(HWND button, HDC dc, RECT rect, UINT format) {
    const Text text = window_text(button);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(IsWindowEnabled(button) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

void paint_push_button(HWND button, HDC dc, DWORD style, LRESULT state, const RECT& client) {
    const bool pressed = (state & BST_PUSHED) || ((style & BS_PUSHLIKE) && (state & BST_CHECKED));
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    fill(dc, client, pressed ? blend(face, flat_scheme_colour(), 1) : face);
    RECT rect = client;
    frame(dc, rect, flat_scheme_colour());
    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON || GetFocus() == button) {
        InflateRect(&rect, -1, -1);
        frame(dc, rect, flat_scheme_colour());
    }
    RECT text_rect = client;
    InflateRect(&text_rect, -3, -3);
    if (pressed) OffsetRect(&text_rect, 1, 1);
    draw_button_text(button, dc, text_rect, text_format(style, true));
    if (focus_shown(button)) {
        RECT focus = client;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

void paint_group_box(HWND button, HDC dc, const RECT& client) {
    const COLORREF background = parent_brush_colour(button, dc, WM_CTLCOLORSTATIC, COLOR_BTNFACE);
    const Text text = window_text(button);
    SIZE extent{};
    GetTextExtentPoint32A(dc, text.empty() ? "M" : text.c_str(),
                          text.empty() ? 1 : static_cast<int>(text.size()), &extent);
    RECT line = client;
    line.top += extent.cy / 2;
    frame(dc, line, flat_scheme_colour());
    if (text.empty()) return;
    RECT label{client.left + 8, client.top, client.left + 8 + extent.cx + 4,
               client.top + extent.cy};
    fill(dc, label, background);
    OffsetRect(&label, 2, 0);
    draw_button_text(button, dc, label, DT_LEFT | DT_TOP | DT_SINGLELINE);
}

void paint_check_box(HWND button, HDC dc, DWORD style, LRESULT state, const RECT& client) {
    fill(dc, client, parent_brush_colour(button, dc, WM_CTLCOLORSTATIC, COLOR_BTNFACE));
    const DWORD type = style & BS_TYPEMASK;
    const bool radio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
    const bool box_on_right = (style & BS_LEFTTEXT) != 0;
    const int top = (style & BS_VCENTER) == BS_TOP ? client.top
                    : (style & BS_VCENTER) == BS_BOTTOM
                        ? client.bottom - check_box_size
                        : (client.top + client.bottom - check_box_size) / 2;
    const int left = box_on_right ? client.right - check_box_size : client.left;
    RECT box{left, top, left + check_box_size, top + check_box_size};

    const bool enabled = IsWindowEnabled(button) != FALSE;
    COLORREF inside = GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE);
    if (state & BST_PUSHED) inside = blend(inside, flat_scheme_colour(), 1);
    const COLORREF mark = GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    {
        SavedDc saved(dc);
        SelectObject(dc, GetStockObject(DC_PEN));
        SelectObject(dc, GetStockObject(DC_BRUSH));
        SetDCPenColor(dc, flat_scheme_colour());
        SetDCBrushColor(dc, inside);
        if (radio) {
            Ellipse(dc, box.left, box.top, box.right, box.bottom);
            if (state & BST_CHECKED) {
                SetDCPenColor(dc, mark);
                SetDCBrushColor(dc, mark);
                Ellipse(dc, box.left + 4, box.top + 4, box.right - 4, box.bottom - 4);
            }
        } else {
            Rectangle(dc, box.left, box.top, box.right, box.bottom);
            if ((state & 3) == BST_CHECKED) {
                SetDCPenColor(dc, mark);
                for (int row = 0; row < 3; ++row) {
                    const POINT tick[3] = {{box.left + 3, box.top + 5 + row},
                                           {box.left + 5, box.top + 7 + row},
                                           {box.left + 10, box.top + 2 + row}};
                    Polyline(dc, tick, 3);
                }
            } else if ((state & 3) == BST_INDETERMINATE) {
                RECT inner = box;
                InflateRect(&inner, -3, -3);
                fill(dc, inner, GetSysColor(COLOR_GRAYTEXT));
            }
        }
    }
    RECT text_rect = client;
    if (box_on_right)
        text_rect.right = box.left - 4;
    else
        text_rect.left = box.right + 4;
    draw_button_text(button, dc, text_rect, text_format(style, false));
    if (focus_shown(button)) {
        const Text text = window_text(button);
        RECT focus = text_rect;
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &focus,
                  DT_CALCRECT | DT_SINGLELINE);
        focus.top = (text_rect.top + text_rect.bottom - (focus.bottom - focus.top)) / 2 - 1;
        focus.bottom = focus.top + (focus.bottom - focus.top) + 2;
        InflateRect(&focus, 1, 0);
        DrawFocusRect(dc, &focus);
    }
}

void paint_flat_button(HWND button, HDC dc) {
    SavedDc saved(dc);
    RECT client;
    GetClientRect(button, &client);
    const auto style = static_cast<DWORD>(GetWindowLongA(button, GWL_STYLE));
    const LRESULT state = SendMessageA(button, BM_GETSTATE, 0, 0);
    if (auto font = reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0)))
        SelectObject(dc, font);
    if ((style & BS_TYPEMASK) == BS_GROUPBOX)
        paint_group_box(button, dc, client);
    else if (is_push_like(style))
        paint_push_button(button, dc, style, state, client);
    else
        paint_check_box(button, dc, style, state, client);
}

// Messages after which the button's own procedure may have drawn its
// ordinary look straight onto the screen.
bool button_draws_on(UINT message) {
    switch (message) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
        case WM_SETTEXT:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
        case WM_MOUSEMOVE:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CAPTURECHANGED:
        case WM_UPDATEUISTATE:
        case BM_SETSTATE:
        case BM_SETCHECK:
        case BM_SETSTYLE:
        case BM_CLICK:
            return true;
        default:
            return false;
    }
}

}  // namespace

LRESULT flat_button(HWND button, UINT message, WPARAM wparam, LPARAM lparam) {
    // A button whose style has since become one that draws itself keeps its own look.
    const auto style = static_cast<DWORD>(GetWindowLongA(button, GWL_STYLE));
    if (button_restyle(style) == Restyle::none)
        return DefSubclassProc(button, message, wparam, lparam);
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            if (HDC dc = BeginPaint(button, &paint)) {
                paint_flat_button(button, dc);
                EndPaint(button, &paint);
            }
            return 0;
        }
        case WM_PRINTCLIENT:
            paint_flat_button(button, reinterpret_cast<HDC>(wparam));
            return 0;
        default:
            break;
    }
    const LRESULT result = DefSubclassProc(button, message, wparam, lparam);
    // The handler of a click may have destroyed the button or switched the style off.
    if (button_draws_on(message) && is_restyled(button) && IsWindowVisible(button)) {
        WindowDc dc(button, false);
        if (dc.get()) paint_flat_button(button, dc.get());
    }
    return result;
}

// --- Edit boxes and pop-up lists ---

LRESULT flat_bordered(HWND window, UINT message, WPARAM wparam, LPARAM lparam, Restyle kind) {
    const LRESULT result = DefSubclassProc(window, message, wparam, lparam);
    switch (message) {
        case WM_NCPAINT:
            redraw_flat_border(window, kind);
            break;
        case WM_PRINT:
            if (lparam & PRF_NONCLIENT)
                draw_flat_border(window, reinterpret_cast<HDC>(wparam), kind);
            break;
        case WM_ENABLE:
        case EM_SETREADONLY:
            // The background, and with it the inner line, may have changed.
            if (is_restyled(window)) redraw_flat_border(window, kind);
            break;
        default:
            break;
    }
    return result;
}

// --- Combo boxes ---

// The combo box draws its sunken edge and its arrow button inside its
// client area; both are drawn over once its own painting is done.
void paint_flat_combo(HWND combo, HDC dc) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(combo, &info)) return;
    RECT client;
    GetClientRect(combo, &client);
    const bool enabled = IsWindowEnabled(combo) != FALSE;
    frame(dc, client, flat_scheme_colour());
    RECT inner = client;
    InflateRect(&inner, -1, -1);
    frame(dc, inner, GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    if (IsRectEmpty(&info.rcButton)) return;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const bool pressed = (info.stateButton & STATE_SYSTEM_PRESSED) != 0;
    fill(dc, info.rcButton, pressed ? blend(face, flat_scheme_colour(), 1) : face);
    draw_arrow(dc, info.rcButton, 1, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
}

LRESULT flat_combo(HWND combo, UINT message, WPARAM wparam, LPARAM lparam) {
    const LRESULT result = DefSubclassProc(combo, message, wparam, lparam);
    if (message == WM_PRINTCLIENT) {
        paint_flat_combo(combo, reinterpret_cast<HDC>(wparam));
    } else if ((message == WM_PAINT || message == WM_ENABLE) && is_restyled(combo)) {
        WindowDc dc(combo, false);
        if (dc.get()) paint_flat_combo(combo, dc.get());
    }
    return result;
}

// --- Up-down controls ---

void paint_flat_up_down(HWND up_down, HDC dc) {
    RECT client;
    GetClientRect(up_down, &client);
    const bool horizontal = (GetWindowLongA(up_down, GWL_STYLE) & UDS_HORZ) != 0;
    RECT first = client, second = client;
    if (horizontal)
        first.right = second.left = (client.left + client.right) / 2;
    else
        first.bottom = second.top = (client.top + client.bottom) / 2;

    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(up_down, &cursor);
    const bool held = GetCapture() == up_down && (GetKeyState(VK_LBUTTON) & 0x8000);
    const bool enabled = IsWindowEnabled(up_down) != FALSE;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF glyph = GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    const RECT halves[2] = {first, second};
    for (int half = 0; half < 2; ++half) {
        const bool pressed = held && PtInRect(&halves[half], cursor);
        fill(dc, halves[half], pressed ? blend(face, flat_scheme_colour(), 1) : face);
        frame(dc, halves[half], flat_scheme_colour());
        draw_arrow(dc, halves[half], horizontal ? (half == 0 ? 2 : 3) : half, glyph);
    }
}

LRESULT flat_up_down(HWND up_down, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            if (HDC dc = BeginPaint(up_down, &paint)) {
                paint_flat_up_down(up_down, dc);
                EndPaint(up_down, &paint);
            }
            return 0;
        }
        case WM_PRINTCLIENT:
            paint_flat_up_down(up_down, reinterpret_cast<HDC>(wparam));
            return 0;
        default:
            return DefSubclassProc(up_down, message, wparam, lparam);
    }
}

}  // namespace flat_style
