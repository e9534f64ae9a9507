// The edit boxes' texts in a settings file, through the real profile
// routines on a temporary folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/main_window.h"
#include "app/settings.h"
#include "temp_folder_win.h"
#include "window_fixture_win.h"

namespace {

constexpr char password_box[] = "\xB1\xE0\xBC\xAD\xBF\xF2\x32";    // 编辑框2
constexpr char user_name_box[] = "\xB1\xE0\xBC\xAD\xBF\xF2\x31";   // 编辑框1
constexpr char section_line[] = "[\xB1\xE0\xBC\xAD\xBF\xF2]\r\n";  // [编辑框]
constexpr char section[] = "\xB1\xE0\xBC\xAD\xBF\xF2";
constexpr char user_name[] = "\xD3\xC3\xBB\xA7 a";  // 用户 a

class Settings : public ::testing::Test {
  protected:
    void set(const char* box, const std::string& text) {
        set_control_text(running.control(box), text);
    }
    std::string text(const char* box) { return control_text(running.control(box)); }
    int store(const Text& skip = {}) {
        int visited = 0;
        running.on_ui([&] { visited = store_edit_boxes(running.window(), &path, skip); });
        return visited;
    }
    int restore() {
        int visited = 0;
        running.on_ui([&] { visited = restore_edit_boxes(running.window(), &path); });
        return visited;
    }
    std::string file() { return read_file(path); }

    TempFolder folder;
    Text path = folder.file("setsoft.ini");
    RunningWindow running;
};

TEST_F(Settings, TheFirstWritesGiveTheSectionThenThePasswordThenTheUserName) {
    set(user_name_box, user_name);
    set(password_box, "s3cret");
    EXPECT_EQ(store(), 2);
    EXPECT_EQ(file(), std::string(section_line) + password_box + "=s3cret\r\n" + user_name_box +
                          "=" + user_name + "\r\n");

    set(user_name_box, "");
    set(password_box, "");
    EXPECT_EQ(restore(), 2);
    EXPECT_EQ(text(user_name_box), user_name);
    EXPECT_EQ(text(password_box), "s3cret");
}

TEST_F(Settings, AnEmptyBoxIsStoredAsItsKeyAndLeavesTheBoxAsItIsOnRestore) {
    set(password_box, "pw");
    store();
    EXPECT_EQ(file(),
              std::string(section_line) + password_box + "=pw\r\n" + user_name_box + "=\r\n");
    set(user_name_box, "typed");
    restore();
    EXPECT_EQ(text(user_name_box), "typed");
}

TEST_F(Settings, AMissingFileLeavesTheBoxesAlone) {
    set(user_name_box, "kept");
    EXPECT_EQ(restore(), 2);
    EXPECT_EQ(text(user_name_box), "kept");
    EXPECT_FALSE(file_exists(path));
}

// Values the profile reader would trim or unquote come back exactly;
// everything else is in the file as typed.
TEST_F(Settings, TextsComeBackExactly) {
    struct Case {
        std::string typed;
        std::string in_file;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"a b", "a b"},
        {" lead", "\" lead\""},
        {"trail ", "\"trail \""},
        {"  ", "\"  \""},
        {"\"quoted\"", "\"\"quoted\"\""},
        {"'single'", "\"'single'\""},
        {"in\"side", "in\"side"},
        {"\xC7\xA9\xB5\xBD", "\xC7\xA9\xB5\xBD"},
        {"tab\t", "\"tab\t\""},
        {"semi;colon=x", "semi;colon=x"},
    };
    for (const Case& c : cases) {
        set(password_box, c.typed);
        store();
        EXPECT_EQ(file(), std::string(section_line) + password_box + "=" + c.in_file + "\r\n" +
                              user_name_box + "=\r\n")
            << c.typed;
        set(password_box, "");
        restore();
        EXPECT_EQ(text(password_box), c.typed);
    }
}

TEST_F(Settings, TheLineBreakMarkerComesBackAsALineBreak) {
    write_file(path, std::string(section_line) + user_name_box + "=one><br><two\r\n");
    restore();
    EXPECT_EQ(text(user_name_box), "one\r\ntwo");
    store();
    EXPECT_EQ(read_file(path), std::string(section_line) + user_name_box + "=one><br><two\r\n" +
                                   password_box + "=\r\n");
}

TEST_F(Settings, AValueLongerThanTheReadBufferComesBackCutToWholeCharacters) {
    struct Case {
        std::string value;
        std::string restored;
    };
    std::string double_byte;
    for (int i = 0; i < 6000; ++i) double_byte += "\xC7\xA9";  // 签
    // After one single-byte character the buffer ends inside a double-byte one.
    const std::string shifted = std::string("x").append(double_byte);
    const Case cases[] = {
        {std::string(20000, 'a'), std::string(10239, 'a')},
        {std::string(10239, 'b'), std::string(10239, 'b')},
        {double_byte, double_byte.substr(0, 10238)},
        {shifted, shifted.substr(0, 10239)},
    };
    for (const Case& c : cases) {
        WritePrivateProfileStringA(section, user_name_box, c.value.c_str(), path.c_str());
        set(user_name_box, "");
        restore();
        const std::string restored = text(user_name_box);
        EXPECT_EQ(restored.size(), c.restored.size());
        EXPECT_TRUE(restored == c.restored);
    }
}

TEST_F(Settings, OtherSectionsAndKeysSurviveAndValuesAreReplacedInPlace) {
    const std::string other = "[other]\r\nkey=value\r\n";
    write_file(path, other + section_line + user_name_box + "=old\r\nextra=keep\r\n");
    set(user_name_box, "new");
    set(password_box, "pw");
    store();
    EXPECT_EQ(file(), other + section_line + user_name_box + "=new\r\nextra=keep\r\n" +
                          password_box + "=pw\r\n");
}

TEST_F(Settings, BoxesNamedInTheSkipListAreNotStored) {
    struct Case {
        std::string skip;
        bool password_stored;
        bool user_name_stored;
    };
    const Case cases[] = {
        {"", true, true},
        {password_box, false, true},
        {std::string("x") + user_name_box + "," + password_box, false, false},
        {std::string(section) + "12", true, false},  // holds 编辑框1 as a substring
        {section, true, true},
    };
    set(password_box, "pw");
    set(user_name_box, "me");
    for (const Case& c : cases) {
        DeleteFileA(path.c_str());
        EXPECT_EQ(store(c.skip), 2);
        EXPECT_EQ(file().find(password_box) != std::string::npos, c.password_stored) << c.skip;
        EXPECT_EQ(file().find(user_name_box) != std::string::npos, c.user_name_stored) << c.skip;
    }
}

TEST_F(Settings, AnEmptyPathVariableReceivesTheSettingsPath) {
    Text given;
    running.on_ui([&] { restore_edit_boxes(running.window(), &given); });
    EXPECT_EQ(given, settings_path());
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string expected = module;
    expected = expected.substr(0, expected.rfind('\\')) + "\\data\\setsoft.ini";
    EXPECT_EQ(given, expected);
}

TEST(EnsureDirectory, EndsThePathWithABackslashAndCreatesEveryFolder) {
    TempFolder folder;
    struct Case {
        std::string path;
        std::string after;
    };
    const Case cases[] = {
        {folder.path() + "\\a\\b", folder.path() + "\\a\\b\\"},
        {folder.path() + "\\c\\", folder.path() + "\\c\\"},
        {folder.path() + "\\a", folder.path() + "\\a\\"},
        {folder.path() + "\\\xB1\xE0\xBC\xAD", folder.path() + "\\\xB1\xE0\xBC\xAD\\"},
    };
    for (const Case& c : cases) {
        Text path = c.path;
        ensure_directory(path);
        EXPECT_EQ(path, c.after);
        EXPECT_TRUE(folder_exists(c.after)) << c.after;
    }
}

}  // namespace
