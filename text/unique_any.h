// One move-only owner for every kind of Windows handle, in the spirit of
// WIL's unique_any: the handle type, the type of its close routine and the
// routine itself make the type, and each handle kind gets a one-line alias
// beside the code that uses it, for example
//
//   using unique_hinternet = unique_any<HINTERNET, decltype(&::InternetCloseHandle),
//                                       ::InternetCloseHandle>;
//
// A null handle (the value-initialised one) is never closed.
#pragma once

#include <utility>

template <typename Handle, typename Close, Close close_handle>
class unique_any {
public:
    unique_any() = default;
    explicit unique_any(Handle handle) : handle_(handle) {}
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& other) noexcept : handle_(other.release()) {}
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~unique_any() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }

    // Gives up ownership without closing.
    Handle release() { return std::exchange(handle_, Handle{}); }

    void reset(Handle handle = Handle{}) {
        Handle old = std::exchange(handle_, handle);
        if (old != Handle{}) close_handle(old);
    }

    // For routines that return a handle through an out pointer.
    Handle* put() {
        reset();
        return &handle_;
    }

private:
    Handle handle_{};
};
