// script_unescape against the real Script Control: the decoded results, a
// table of results computed by another ECMAScript engine, and replies built
// to break out of the string literal and run script.
#include <gtest/gtest.h>
#include <ole2.h>
#include <oleauto.h>
#include <windows.h>
#include <wrl/client.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "text/script_unescape.h"

#ifndef QUORVEXA_TEXT_TEST_DATA
#error "QUORVEXA_TEXT_TEST_DATA must name the folder of the test data"
#endif

namespace {

std::string to_hex(std::string_view bytes) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 0x0F]);
    }
    return out;
}

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// "-" is the empty field.
bool from_hex(std::string_view hex, std::size_t digits_per_unit, std::vector<unsigned>& units) {
    units.clear();
    if (hex == "-") return true;
    if (hex.empty() || hex.size() % digits_per_unit != 0) return false;
    for (std::size_t at = 0; at < hex.size(); at += digits_per_unit) {
        unsigned unit = 0;
        for (std::size_t i = 0; i < digits_per_unit; ++i) {
            const int digit = hex_value(hex[at + i]);
            if (digit < 0) return false;
            unit = unit * 16 + static_cast<unsigned>(digit);
        }
        units.push_back(unit);
    }
    return true;
}

// UTF-16 in the ANSI code page, its default character for what it lacks.
Text ansi_of(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    Text out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

std::string data_file(const char* name) {
    std::string folder = QUORVEXA_TEXT_TEST_DATA;
    // Under Wine a Unix path is a path on drive Z:.
    if (!folder.empty() && folder.front() == '/') folder.insert(0, "Z:");
    return folder + "/" + name;
}

struct UnescapeCase {
    const char* what;
    Text text;
    Text marker;
    Text expected;
};

TEST(ScriptUnescape, DecodesTheEscapesOfAReply) {
    const UnescapeCase cases[] = {
        {"percent-u escapes", "%u7B7E%u5230", "/u", "\xC7\xA9\xB5\xBD"},
        {"the marker rewritten", "/u7B7E/u5230", "/u", "\xC7\xA9\xB5\xBD"},
        {"the marker compared by case", "/U7B7E", "/u", "/U7B7E"},
        {"byte escapes", "%41%42c", "/u", "ABc"},
        {"a percent sign that starts no escape", "100%zz", "/u", "100%zz"},
        {"a decoded zero ends the result", "ab%00cd", "/u", "ab"},
        {"the empty text", "", "/u", ""},
        {"a line feed", "a\nb", "/u", ""},
        {"a carriage return and line feed", "/u7B7E\r\n", "/u", ""},
        {"an empty marker", "/u7B7E%41", "", "/u7B7EA"},
        {"a reply in code page 936", "签到/u6210/u529F", "/u", "签到成功"},
        {"a character that code page 936 lacks", "a%u0E01b", "/u", "a?b"},
        {"a lead byte at the end swallows the closing quote", "abc\x81", "/u", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(to_hex(script_unescape(c.text, c.marker)), to_hex(c.expected)) << c.what;
    }
}

// Each line of the table: name, marker and text in code page 936 (hex), and
// the expected result as UTF-16 units (hex), all computed by Node.
TEST(ScriptUnescape, AgreesWithAnotherEcmascriptEngine) {
    std::ifstream table(data_file("unescape_cases.txt"), std::ios::binary);
    ASSERT_TRUE(table) << data_file("unescape_cases.txt");
    std::string line;
    bool any = false;
    while (std::getline(table, line)) {
        if (line.empty() || line.front() == '#') continue;
        std::istringstream fields(line);
        std::string name, marker_hex, text_hex, expected_hex;
        ASSERT_TRUE(std::getline(fields, name, '\t') && std::getline(fields, marker_hex, '\t') &&
                    std::getline(fields, text_hex, '\t') && std::getline(fields, expected_hex))
            << line;
        std::vector<unsigned> marker, text, expected;
        ASSERT_TRUE(from_hex(marker_hex, 2, marker) && from_hex(text_hex, 2, text) &&
                    from_hex(expected_hex, 4, expected))
            << name;
        const Text marker_text(marker.begin(), marker.end());
        const Text input(text.begin(), text.end());
        const Text expected_text = ansi_of(std::wstring(expected.begin(), expected.end()));
        EXPECT_EQ(to_hex(script_unescape(input, marker_text)), to_hex(expected_text)) << name;
        any = true;
    }
    EXPECT_TRUE(any) << "the table holds no case";
}

TEST(ScriptUnescape, DecodesAMebibyteReply) {
    // Each piece decodes to 签到成功AB, and 签到ok passes through.
    const Text piece = "/u7B7E/u5230%u6210%u529F%41%42 签到ok ";
    const Text decoded_piece = "签到成功AB 签到ok ";
    Text reply, expected;
    while (reply.size() + piece.size() <= 1024 * 1024) {
        reply += piece;
        expected += decoded_piece;
    }
    const auto start = std::chrono::steady_clock::now();
    const Text result = script_unescape(reply, "/u");
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    EXPECT_TRUE(result == expected)
        << "result of " << result.size() << " bytes, expected " << expected.size();
    RecordProperty("mebibyte_reply_ms", static_cast<int>(elapsed.count()));
    std::printf("a reply of %zu bytes decoded in %lld ms\n", reply.size(),
                static_cast<long long>(elapsed.count()));
}

TEST(ScriptUnescape, LeavesTheCallersComApartmentAsItWas) {
    // A caller that runs in the multithreaded apartment keeps it: the routine
    // cannot join it with CoInitialize and must not uninitialise it either.
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    EXPECT_EQ(to_hex(script_unescape("/u7B7E", "/u")), "C7A9");
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE)
        << "COM was uninitialised under the caller";
    CoUninitialize();
    CoUninitialize();

    // A caller in a single-threaded apartment keeps it as well.
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(to_hex(script_unescape("/u7B7E", "/u")), "C7A9");
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE) << "COM was uninitialised under the caller";
    CoUninitialize();
    CoUninitialize();
}

// Replies that try to close the string literal and create a file. The
// fixture first runs one such statement straight through the Script
// Control, so the probes are known to leave a trace should they ever run.
class ScriptInjection : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        folder_ =
            std::wstring(temp) + L"quorvexa-injection-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder_.c_str(), nullptr);
    }
    void TearDown() override {
        for (const auto& file : files_) DeleteFileW(file.c_str());
        RemoveDirectoryW(folder_.c_str());
    }

    // A new trace file; its path as a JScript string body (backslashes doubled).
    std::wstring new_trace(Text& script_path) {
        std::wstring file = folder_ + L"\\trace" + std::to_wstring(files_.size()) + L".txt";
        files_.push_back(file);
        script_path.clear();
        for (char c : ansi_of(file)) {
            if (c == '\\') script_path += '\\';
            script_path += c;
        }
        return file;
    }

    static bool exists(const std::wstring& file) {
        return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    // Runs the statement the way script_unescape would, but without any
    // guard; for the control only.
    static void run_unguarded(const Text& text) {
        using Microsoft::WRL::ComPtr;
        const std::wstring statement =
            L"function xx(){var x='" + wide_of(text) + L"';return unescape(x);}";
        CoInitialize(nullptr);
        {
            CLSID id{};
            ComPtr<IDispatch> control;
            if (SUCCEEDED(CLSIDFromProgID(L"ScriptControl", &id)) &&
                SUCCEEDED(CoCreateInstance(id, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&control)))) {
                call(control.Get(), L"Language", DISPATCH_PROPERTYPUT, L"JScript");
                call(control.Get(), L"ExecuteStatement", DISPATCH_METHOD, statement);
                call(control.Get(), L"Eval", DISPATCH_METHOD, L"xx()");
            }
        }
        CoUninitialize();
    }

  private:
    static std::wstring wide_of(const Text& text) {
        const int size =
            MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
        std::wstring out(static_cast<std::size_t>(size), L'\0');
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(),
                            size);
        return out;
    }

    static void call(IDispatch* object, const wchar_t* name, WORD flags,
                     const std::wstring& argument) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        DISPID member = 0;
        if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member))) {
            return;
        }
        VARIANT arg;
        VariantInit(&arg);
        arg.vt = VT_BSTR;
        arg.bstrVal = SysAllocStringLen(argument.data(), static_cast<UINT>(argument.size()));
        DISPID put = DISPID_PROPERTYPUT;
        DISPPARAMS params{&arg, nullptr, 1, 0};
        if (flags == DISPATCH_PROPERTYPUT) {
            params.rgdispidNamedArgs = &put;
            params.cNamedArgs = 1;
        }
        VARIANT result;
        VariantInit(&result);
        EXCEPINFO exception{};
        object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, &exception,
                       nullptr);
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
        VariantClear(&result);
        VariantClear(&arg);
    }

    std::wstring folder_;
    std::vector<std::wstring> files_;
};

const Text create_file = "new ActiveXObject(\"Scripting.FileSystemObject\").CreateTextFile(\"";

TEST_F(ScriptInjection, ProbesWouldLeaveATraceIfTheyRan) {
    const struct {
        const char* what;
        Text head, tail;
    } controls[] = {
        {"a quote that closes the literal", "';", "\");x='"},
        // A check that ignored double-byte characters would take 0x81 0x5C
        // for a backslash that escapes the quote after it.
        {"a backslash hidden in a double-byte character", "\x81\\';", "\");x=\x81\\\x81\\+'"},
    };
    for (const auto& c : controls) {
        Text path;
        const std::wstring trace = new_trace(path);
        run_unguarded(c.head + create_file + path + c.tail);
        if (!exists(trace)) {
            GTEST_SKIP() << "the Script Control here cannot create files: " << c.what;
        }
    }
}

TEST_F(ScriptInjection, NoReplyRunsAsScript) {
    const struct {
        const char* what;
        Text head, tail;
        bool decodes;  // the reply stays text and comes back decoded
    } probes[] = {
        {"a quote that closes the literal", "';", "\");x='", false},
        {"a quote after the marker", "/u7B7E';", "\");x='/u5230", false},
        {"a backslash hidden in a double-byte character", "\x81\\';", "\");x=\x81\\\x81\\+'",
         false},
        {"a quote behind a byte that is no lead byte", "\xFF';", "\");x=\xFF", false},
        // Code page 936 reads 0x81 0x27 as one unknown character, so the
        // quote is gone before the engine could see it.
        {"a quote swallowed by an invalid double-byte pair", "\x81';", "\");x=\x81'", true},
        {"a backslash before the closing quote", "\\';", "\");x='\\", false},
        {"an escaped backslash before a quote", "\\\\';", "\");x='\\\\", false},
        {"a line feed before the quote", "\n';", "\");x='", false},
        {"a carriage return and line feed", "a\r\n';", "\");x='\r\n", false},
        {"a line continuation", "\\\n';", "\");x='\\\n", false},
        {"a lead byte before the closing quote", "';", "\");x='\x81", false},
        {"an escaped quote stays text", "\\';", "\");x=\\'", true},
        {"hex and octal quotes stay text", "\\x27;", "\");x=\\47", true},
        {"a unicode quote stays text", "\\u0027;", "\");//\\u2028", true},
        {"percent-escaped quotes stay text", "%27;", "\");x=%u0027%u2028%0A", true},
        {"marker-escaped quotes stay text", "/u0027;", "\");x=/u0027", true},
    };
    for (const auto& p : probes) {
        Text path;
        const std::wstring trace = new_trace(path);
        const Text result = script_unescape(p.head + create_file + path + p.tail, "/u");
        EXPECT_FALSE(exists(trace)) << p.what << ": the reply ran as script";
        EXPECT_EQ(result.empty(), !p.decodes) << p.what << ": " << result;
        if (p.decodes) {
            EXPECT_NE(result.find("CreateTextFile"), Text::npos) << p.what << ": " << result;
        }
    }
}

}  // namespace
