#include <ole2.h>
#include <oleauto.h>
#include <windows.h>
#include <wrl/client.h>

#include <cstddef>
#include <exception>
#include <new>
#include <string>
#include <string_view>

#include "text/codepage.h"
#include "text/script_literal.h"
#include "text/script_unescape.h"
#include "text/unique_any.h"

namespace {

using Microsoft::WRL::ComPtr;
using unique_bstr = unique_any<BSTR, decltype(&::SysFreeString), ::SysFreeString>;
using unique_safearray = unique_any<SAFEARRAY*, decltype(&::SafeArrayDestroy), ::SafeArrayDestroy>;

constexpr char escape_replacement[] = "%u";
constexpr wchar_t script_control_prog_id[] = L"ScriptControl";
constexpr wchar_t language_property[] = L"Language";
constexpr char script_language[] = "JScript";
constexpr wchar_t allow_ui_property[] = L"AllowUI";
constexpr wchar_t use_safe_subset_property[] = L"UseSafeSubset";
constexpr wchar_t execute_statement_method[] = L"ExecuteStatement";
constexpr wchar_t run_method[] = L"Run";
constexpr char function_name[] = "xx";
constexpr char statement_head[] = "function xx(){var x='";
constexpr char statement_tail[] = "';return unescape(x);}";

// Initialises COM for the calling thread and balances a successful
// initialisation when it goes out of scope. A thread that already runs in
// another apartment is left as it is.
class com_scope {
  public:
    com_scope() : initialised_(SUCCEEDED(::CoInitialize(nullptr))) {}
    com_scope(const com_scope&) = delete;
    com_scope& operator=(const com_scope&) = delete;
    ~com_scope() {
        if (initialised_) ::CoUninitialize();
    }

  private:
    bool initialised_;
};

// A VARIANT that owns what it holds.
class unique_variant {
  public:
    unique_variant() { ::VariantInit(&value_); }
    unique_variant(const unique_variant&) = delete;
    unique_variant& operator=(const unique_variant&) = delete;
    ~unique_variant() { ::VariantClear(&value_); }

    VARIANT* get() { return &value_; }

  private:
    VARIANT value_;
};

unique_bstr make_bstr(std::u16string_view units) {
    unique_bstr text(::SysAllocStringLen(nullptr, static_cast<UINT>(units.size())));
    if (!text) throw std::bad_alloc();
    for (std::size_t i = 0; i < units.size(); ++i) text.get()[i] = static_cast<wchar_t>(units[i]);
    return text;
}

unique_bstr text_to_bstr(const Text& text) {
    return make_bstr(utf16_units(multibyte_to_utf16(text, CP_ACP)));
}

// The string up to its first zero unit, in the ANSI code page.
Text bstr_to_text(BSTR text) {
    Bytes wide;
    const UINT length = ::SysStringLen(text);
    wide.reserve(2 * std::size_t{length} + 2);
    for (UINT i = 0; i < length && text[i] != 0; ++i) {
        wide.push_back(static_cast<std::uint8_t>(text[i] & 0xFF));
        wide.push_back(static_cast<std::uint8_t>(text[i] >> 8));
    }
    wide.push_back(0);
    wide.push_back(0);
    return utf16_to_multibyte(wide, CP_ACP);
}

// The whole statement in UTF-16 when its middle stays one string literal,
// otherwise nothing. The statement is converted as a whole, exactly as the
// engine receives it, so a lead byte at the end of the text that swallows
// the closing quote is caught as well.
std::u16string checked_statement(const Text& body) {
    const std::u16string head = utf16_units(multibyte_to_utf16(statement_head, CP_ACP));
    const std::u16string tail = utf16_units(multibyte_to_utf16(statement_tail, CP_ACP));
    std::u16string statement =
        utf16_units(multibyte_to_utf16(txt_concat(statement_head, body, statement_tail), CP_ACP));
    const std::u16string_view whole(statement);
    if (head.empty() || whole.size() < head.size() + tail.size() || !whole.starts_with(head) ||
        !whole.ends_with(tail)) {
        return {};
    }
    if (!stays_one_string_literal(
            whole.substr(head.size(), whole.size() - head.size() - tail.size()))) {
        return {};
    }
    return statement;
}

ComPtr<IDispatch> create_object(const wchar_t* prog_id) {
    CLSID class_id{};
    if (FAILED(::CLSIDFromProgID(prog_id, &class_id))) return {};
    ComPtr<IDispatch> object;
    if (FAILED(::CoCreateInstance(class_id, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&object)))) return {};
    if (FAILED(::OleRun(object.Get()))) return {};
    return object;
}

// Calls a member by name. args holds the arguments in reverse order, as
// IDispatch::Invoke takes them; a missing object fails without effect.
HRESULT invoke(IDispatch* object, const wchar_t* name, WORD flags, VARIANTARG* args, UINT arg_count,
               VARIANT* result) {
    if (!object) return E_POINTER;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID member = DISPID_UNKNOWN;
    HRESULT status = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member);
    if (FAILED(status)) return status;
    DISPID property_put = DISPID_PROPERTYPUT;
    DISPPARAMS params{args, nullptr, arg_count, 0};
    if (flags & DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &property_put;
        params.cNamedArgs = 1;
    }
    EXCEPINFO exception{};
    UINT bad_arg = 0;
    status = object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result,
                            &exception, &bad_arg);
    ::SysFreeString(exception.bstrSource);
    ::SysFreeString(exception.bstrDescription);
    ::SysFreeString(exception.bstrHelpFile);
    return status;
}

VARIANT bstr_argument(BSTR text) {
    VARIANT arg;
    ::VariantInit(&arg);
    arg.vt = VT_BSTR;
    arg.bstrVal = text;
    return arg;
}

void put_text(IDispatch* object, const wchar_t* name, const Text& value) {
    unique_bstr text = text_to_bstr(value);
    VARIANT arg = bstr_argument(text.get());
    invoke(object, name, DISPATCH_PROPERTYPUT, &arg, 1, nullptr);
}

void put_flag(IDispatch* object, const wchar_t* name, bool value) {
    VARIANT arg;
    ::VariantInit(&arg);
    arg.vt = VT_BOOL;
    arg.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    invoke(object, name, DISPATCH_PROPERTYPUT, &arg, 1, nullptr);
}

void execute_statement(IDispatch* object, std::u16string_view statement) {
    unique_bstr text = make_bstr(statement);
    VARIANT arg = bstr_argument(text.get());
    invoke(object, execute_statement_method, DISPATCH_METHOD, &arg, 1, nullptr);
}

// Runs a procedure without arguments and gives its result as text. Run takes
// the procedure's arguments as an array of VARIANTs, here an empty one.
Text run(IDispatch* object, const Text& procedure) {
    if (!object) return {};
    unique_bstr name = text_to_bstr(procedure);
    unique_safearray parameters(::SafeArrayCreateVector(VT_VARIANT, 0, 0));
    if (!parameters) return {};
    VARIANT args[2];
    ::VariantInit(&args[0]);
    args[0].vt = VT_ARRAY | VT_VARIANT;
    args[0].parray = parameters.get();
    args[1] = bstr_argument(name.get());
    unique_variant result;
    if (FAILED(invoke(object, run_method, DISPATCH_METHOD, args, 2, result.get()))) return {};
    if (FAILED(::VariantChangeType(result.get(), result.get(), 0, VT_BSTR))) return {};
    return bstr_to_text(result.get()->bstrVal);
}

Text decode(const Text& text, const Text& marker) {
    const Text rewritten = txt_replace(text, marker, escape_replacement, 1, txt_no_limit, true);
    const std::u16string statement = checked_statement(rewritten);
    if (statement.empty()) return {};

    com_scope com;
    ComPtr<IDispatch> control = create_object(script_control_prog_id);
    put_text(control.Get(), language_property, script_language);
    put_flag(control.Get(), allow_ui_property, false);
    put_flag(control.Get(), use_safe_subset_property, true);
    execute_statement(control.Get(), statement);
    Text result = run(control.Get(), function_name);
    control.Reset();
    return result;
}

}  // namespace

Text script_unescape(const Text& text, const Text& marker) {
    try {
        return decode(text, marker);
    } catch (const std::exception&) {
        // Running out of memory on a huge reply is a failure like any other.
        return {};
    }
}
