// Start-up: the main window with its three events bound to their handlers.
#include <windows.h>

#include "app/main_window.h"
#include "app/settings.h"
#include "checkin/check_in.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const MainWindowEvents events{main_window_ready, main_window_closing, check_in_button_click};
    return run_main_window(instance, events);
}
