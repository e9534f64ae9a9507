// Inside view of the flat control style, for the window code and its tests.
#pragma once

#include <windows.h>

// Whether the control currently wears the flat style; asked on the
// control's own thread, which is the thread whose setting the style is.
bool has_flat_style(HWND control);
