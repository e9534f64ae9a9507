// The edit boxes' texts in the settings file beside the executable.
#include <windows.h>

#include "app/settings.h"
// The helper headers need the Windows types first.
#include <dbghelp.h>
#include <shlwapi.h>

#include "app/main_window.h"
#include "app/profile_value.h"

namespace {

constexpr char data_folder[] = "\\data";
constexpr char settings_file[] = "\\data\\setsoft.ini";
// The section is named after the kind of the controls it holds.
constexpr const char* settings_section = edit_box_kind;
constexpr char backslash[] = "\\";
constexpr int flat_style_scheme = 1;
// Terminating zero included; a longer value comes back cut.
constexpr DWORD read_buffer_size = 10240;

// The running executable's folder, without a trailing backslash.
Text executable_folder() {
    Text path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);  // the path was cut: try a larger buffer
    }
    const int last_backslash = txt_find_last(path, backslash);
    return last_backslash > 0 ? txt_head(path, last_backslash - 1) : path;
}

// A null or empty path means the settings path, which an empty variable receives.
Text resolve_path(Text* path) {
    if (!path) return settings_path();
    if (path->empty()) *path = settings_path();
    return *path;
}

Text read_value(const Text& name, const Text& path) {
    Text buffer(read_buffer_size, '\0');
    GetPrivateProfileStringA(settings_section, name.c_str(), nullptr, buffer.data(),
                             read_buffer_size, path.c_str());
    buffer.resize(buffer.find('\0'));
    return buffer;
}

}  // namespace

void main_window_ready() {
    set_visual_style(flat_style_scheme);
    restore_edit_boxes(main_window());
}

void main_window_closing() { store_edit_boxes(main_window()); }

Text settings_path() {
    const Text folder = executable_folder();
    Text data = txt_concat(folder, data_folder);
    if (!PathIsDirectoryA(data.c_str())) ensure_directory(data);
    return txt_concat(folder, settings_file);
}

void ensure_directory(Text& path) {
    if (txt_tail(path, 1) != backslash) path = txt_concat(path, backslash);
    MakeSureDirectoryPathExists(path.c_str());
}

int restore_edit_boxes(HWND window, Text* path) {
    const Text file = resolve_path(path);
    const std::vector<HWND> boxes = window_edit_boxes(window);
    for (HWND box : boxes) {
        const Text value = read_value(control_name(box), file);
        if (txt_compare(value, "") != 0) set_control_text(box, profile_value_to_text(value));
    }
    return static_cast<int>(boxes.size());
}

int store_edit_boxes(HWND window, Text* path, const Text& skip) {
    const Text file = resolve_path(path);
    const std::vector<HWND> boxes = window_edit_boxes(window);
    for (HWND box : boxes) {
        const Text name = control_name(box);
        if (txt_find(skip, name) != -1) continue;
        const Text value = profile_value_from_text(control_text(box));
        WritePrivateProfileStringA(settings_section, name.c_str(), value.c_str(), file.c_str());
    }
    return static_cast<int>(boxes.size());
}
