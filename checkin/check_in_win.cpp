#include "checkin/check_in.h"

void check_in_button_click() {}

DWORD WINAPI check_in_thread(LPVOID) {
    perform_check_in();
    return 0;
}

void perform_check_in() {}
