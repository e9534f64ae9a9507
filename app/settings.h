// The edit boxes' texts kept from one run to the next in "data\setsoft.ini"
// beside the executable.
#pragma once

#include <windows.h>

#include "text/text.h"

// Handler of the main window's ready event: flat style on, texts restored.
void main_window_ready();

// Handler of the main window's closing event: texts stored.
void main_window_closing();

// The settings file's path; creates its folder when it is missing.
Text settings_path();

// Makes path end with a backslash and creates every missing folder on it.
void ensure_directory(Text& path);

// Puts each edit box of window back from the file. A null path means the
// settings path; a given one that is empty receives the settings path.
// Returns the number of edit boxes visited.
int restore_edit_boxes(HWND window, Text* path = nullptr);

// Writes each edit box of window whose name does not occur in skip to the
// file; path as for restore_edit_boxes. Returns the number of edit boxes.
int store_edit_boxes(HWND window, Text* path = nullptr, const Text& skip = {});
