#include "window_fixture_win.h"

#include <objidl.h>
// objidl.h first: the lean Windows headers leave out what GDI+ needs.
#include <gdiplus.h>

#include <chrono>

EventCounts event_counts;

namespace {

constexpr char invoker_class[] = "QuorvexaTestInvoker";
constexpr UINT invoke_message = WM_APP + 7;

std::atomic<int> flat_scheme_at_ready{0};
HWND invoker = nullptr;  // lives on the UI thread from ready to the loop's end

LRESULT CALLBACK invoker_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == invoke_message) {
        (*reinterpret_cast<const std::function<void()>*>(wparam))();
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

void on_ready() {
    if (int scheme = flat_scheme_at_ready.load()) set_visual_style(scheme);
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = invoker_procedure;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = invoker_class;
    RegisterClassA(&window_class);
    invoker = CreateWindowExA(0, invoker_class, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    ++event_counts.ready;
}

void on_closing() {
    for (HWND box : window_edit_boxes(main_window()))
        event_counts.boxes_at_closing.push_back(control_name(box));
    ++event_counts.closing;
}

void on_clicked() { ++event_counts.clicked; }

}  // namespace

RunningWindow::RunningWindow(int flat_scheme) {
    event_counts.ready = 0;
    event_counts.closing = 0;
    event_counts.clicked = 0;
    event_counts.boxes_at_closing.clear();
    flat_scheme_at_ready = flat_scheme;
    thread_ = std::thread([this] {
        const MainWindowEvents events{on_ready, on_closing, on_clicked};
        exit_code_ = run_main_window(GetModuleHandleA(nullptr), events);
        DestroyWindow(invoker);
        invoker = nullptr;
        set_visual_style(0);
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (event_counts.ready == 0 && std::chrono::steady_clock::now() < deadline) Sleep(5);
    window_ = main_window();
}

RunningWindow::~RunningWindow() {
    if (!ended_) {
        destroy_main_window();
        wait_for_end();
    }
}

void RunningWindow::on_ui(const std::function<void()>& work) const {
    SendMessageA(invoker, invoke_message, reinterpret_cast<WPARAM>(&work), 0);
}

int RunningWindow::wait_for_end() {
    if (thread_.joinable()) thread_.join();
    ended_ = true;
    return exit_code_;
}

WindowPixels::WindowPixels(HWND window) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT rect;
    GetWindowRect(window, &rect);
    width_ = rect.right - rect.left;
    height_ = rect.bottom - rect.top;
    HDC window_dc = GetWindowDC(window);
    HDC memory_dc = CreateCompatibleDC(window_dc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(window_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory_dc, bitmap);
    BitBlt(memory_dc, 0, 0, width_, height_, window_dc, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* quads = static_cast<const RGBQUAD*>(bits);
    for (int i = 0; i < width_ * height_; ++i)
        pixels_.push_back(RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue));
    SelectObject(memory_dc, old);
    DeleteObject(bitmap);
    DeleteDC(memory_dc);
    ReleaseDC(window, window_dc);
}

COLORREF WindowPixels::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    return pixels_[static_cast<std::size_t>(y * width_ + x)];
}

std::vector<COLORREF> WindowPixels::region(const RECT& rect) const {
    std::vector<COLORREF> result;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) result.push_back(at(x, y));
    return result;
}

bool WindowPixels::save_png(const std::wstring& path) const {
    using namespace Gdiplus;
    GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (GdiplusStartup(&token, &input, nullptr) != Ok) return false;
    bool saved = false;
    {
        std::vector<BYTE> bgra;
        for (COLORREF pixel : pixels_) {
            bgra.insert(bgra.end(), {GetBValue(pixel), GetGValue(pixel), GetRValue(pixel), 255});
        }
        Bitmap image(width_, height_, width_ * 4, PixelFormat32bppARGB, bgra.data());
        // The PNG encoder of GDI+.
        const CLSID png{
            0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
        saved = image.Save(path.c_str(), &png, nullptr) == Ok;
    }
    GdiplusShutdown(token);
    return saved;
}

RECT rect_in_window(HWND control) {
    RECT frame, rect;
    GetWindowRect(GetAncestor(control, GA_ROOT), &frame);
    GetWindowRect(control, &rect);
    OffsetRect(&rect, -frame.left, -frame.top);
    return rect;
}
