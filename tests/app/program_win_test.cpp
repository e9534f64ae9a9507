// The real program, copied into a fresh folder, started and closed from
// outside as a user would: the settings file it leaves and its exit code.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "temp_folder_win.h"

namespace {

constexpr char title[] = "Quorvexa\xC7\xA9\xB5\xBD\xBA\xF3\xD7\xD4\xB6\xAF\xCD\xCB\xB3\xF6";
constexpr char section_line[] = "[\xB1\xE0\xBC\xAD\xBF\xF2]\r\n";  // [编辑框]
constexpr char password_key[] = "\xB1\xE0\xBC\xAD\xBF\xF2\x32";    // 编辑框2
constexpr char user_name_key[] = "\xB1\xE0\xBC\xAD\xBF\xF2\x31";   // 编辑框1
constexpr DWORD wait_limit_ms = 30000;

// A build-tree path as the Windows side names it.
std::string windows_path(const char* path) {
    std::string result = path[0] == '/' ? "Z:" : "";
    for (const char* c = path; *c; ++c) result += *c == '/' ? '\\' : *c;
    return result;
}

class Program {
  public:
    explicit Program(const std::string& exe) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string command = "\"" + exe + "\"";
        started_ = CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process_);
        if (!started_) return;
        const DWORD deadline = GetTickCount() + wait_limit_ms;
        while (!window_ && GetTickCount() < deadline) {
            HWND found = FindWindowA(nullptr, title);
            DWORD owner = 0;
            if (found) GetWindowThreadProcessId(found, &owner);
            if (owner == process_.dwProcessId)
                window_ = found;
            else
                Sleep(20);
        }
        // Idle means the window has run its ready handler and waits for input.
        if (window_) WaitForInputIdle(process_.hProcess, wait_limit_ms);
    }
    ~Program() {
        if (!started_) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    HWND window() const { return window_; }
    // The n-th control in the window's order, from 0.
    HWND control(int n) const {
        HWND child = GetWindow(window_, GW_CHILD);
        while (child && n-- > 0) child = GetWindow(child, GW_HWNDNEXT);
        return child;
    }
    HWND password() const { return control(2); }
    HWND user_name() const { return control(3); }

    // Closes the window with its Close command; the process's exit code, or
    // -1 when it did not end.
    long close() {
        PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
        if (WaitForSingleObject(process_.hProcess, wait_limit_ms) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<long>(code);
    }

  private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
    HWND window_ = nullptr;
};

std::string text_of(HWND control) {
    char buffer[512] = {};
    SendMessageA(control, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

void set_text(HWND control, const std::string& text) {
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

TEST(Program, KeepsTheTypedTextsFromOneRunToTheNext) {
    TempFolder folder;
    const std::string exe = folder.file("quorvexa-checkin.exe");
    ASSERT_TRUE(CopyFileA(windows_path(QUORVEXA_PROGRAM).c_str(), exe.c_str(), FALSE));
    const std::string settings = folder.file("data\\setsoft.ini");
    const std::string user_name = "\xD3\xC3\xBB\xA7 a";  // 用户 a
    const std::string password = " p\"w ";

    {
        Program first(exe);
        ASSERT_NE(first.window(), nullptr);
        // The first start makes the folder but writes nothing yet.
        EXPECT_TRUE(folder_exists(folder.file("data")));
        EXPECT_FALSE(file_exists(settings));
        EXPECT_EQ(text_of(first.user_name()), "");
        set_text(first.user_name(), user_name);
        set_text(first.password(), password);
        EXPECT_EQ(first.close(), 0);
    }
    EXPECT_EQ(read_file(settings), std::string(section_line) + password_key + "=\"" + password +
                                       "\"\r\n" + user_name_key + "=" + user_name + "\r\n");
    {
        Program second(exe);
        ASSERT_NE(second.window(), nullptr);
        EXPECT_EQ(text_of(second.user_name()), user_name);
        EXPECT_EQ(text_of(second.password()), password);
        EXPECT_EQ(SendMessageA(second.password(), EM_GETPASSWORDCHAR, 0, 0), '*');
        set_text(second.user_name(), "");
        EXPECT_EQ(second.close(), 0);
    }
    EXPECT_EQ(read_file(settings), std::string(section_line) + password_key + "=\"" + password +
                                       "\"\r\n" + user_name_key + "=\r\n");
}

}  // namespace
