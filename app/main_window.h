// The program's one window, its controls and the operations other parts of
// the program use on them.
#pragma once

#include <windows.h>

#include <vector>

#include "text/text.h"

// The three events of the main window. Each runs on the UI thread; a null
// entry is simply not raised.
struct MainWindowEvents {
    void (*ready)();             // the window and all its controls exist
    void (*closing)();           // the window is being destroyed; controls still exist
    void (*check_in_clicked)();  // the check-in button was clicked
};

// Start-up, on the thread that is to be the UI thread: creates and shows the
// window centred on the screen, raises ready, then runs the message loop
// until the window is gone. Returns 0.
int run_main_window(HINSTANCE instance, const MainWindowEvents& events);

// Names that other parts reach the controls by. The settings file keys each
// edit box's text by its name and names its section after the boxes' kind,
// so these are stored data as much as names.
inline constexpr char edit_box_kind[] = "编辑框";
inline constexpr char user_name_box_name[] = "编辑框1";
inline constexpr char password_box_name[] = "编辑框2";

// The main window while it exists, else nullptr. Any thread.
HWND main_window();

// The edit boxes that are children of window, in the order in which the
// window stores its controls: for the main window 编辑框2, then 编辑框1.
std::vector<HWND> window_edit_boxes(HWND window);

// The child control of window with that name, or nullptr.
HWND find_control(HWND window, const Text& name);

// The control's name ("编辑框1"...), or the empty text for a window that is
// not one of ours.
Text control_name(HWND box);

// The control's current text. Safe from a worker thread; a window that has
// gone gives the empty text.
Text control_text(HWND box);

void set_control_text(HWND box, const Text& text);

// Asks the UI thread to destroy the main window and returns at once. Any
// thread; a request that finds no window does nothing.
void destroy_main_window();

// Switches the flat control style on (schemes 1, 2, 3) or off (any other
// value) for the existing and later windows of the calling thread.
void set_visual_style(int scheme);
