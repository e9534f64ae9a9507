// The check-in: the button's handler, the worker thread and the workflow.
#pragma once

#include <windows.h>

// Handler of the clicked event of the check-in button, on the UI thread:
// starts one more independent worker and returns at once.
void check_in_button_click();

// Start routine of the worker thread; the parameter is always null.
DWORD WINAPI check_in_thread(LPVOID parameter);

// Logs in, checks in, shows the site's decoded answer, then asks the UI
// thread to destroy the main window.
void perform_check_in();
