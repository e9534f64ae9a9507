// Runs the main window on a UI thread of its own, so that a test can drive
// it from outside as a worker thread would, and run code on the UI thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/main_window.h"

// What the window's events did; the events are plain functions, so these are shared.
struct EventCounts {
    std::atomic<int> ready{0};
    std::atomic<int> closing{0};
    std::atomic<int> clicked{0};
    // Names of the edit boxes the closing handler still found.
    std::vector<std::string> boxes_at_closing;
};
extern EventCounts event_counts;

class RunningWindow {
  public:
    // Starts the window; when flat_scheme is not 0, the ready handler switches
    // the flat style on with it, as the program does.
    explicit RunningWindow(int flat_scheme = 0);
    ~RunningWindow();
    RunningWindow(const RunningWindow&) = delete;
    RunningWindow& operator=(const RunningWindow&) = delete;

    HWND window() const { return window_; }
    HWND control(const char* name) const { return find_control(window_, name); }

    // Runs work on the UI thread and waits for it.
    void on_ui(const std::function<void()>& work) const;

    // Waits until the UI thread has left its message loop; returns its result.
    int wait_for_end();

  private:
    std::thread thread_;
    HWND window_ = nullptr;
    std::atomic<int> exit_code_{-1};
    bool ended_ = false;
};

// The window's pixels as they are on its surface, frame included.
class WindowPixels {
  public:
    explicit WindowPixels(HWND window);  // on the window's thread
    COLORREF at(int x, int y) const;
    int width() const { return width_; }
    int height() const { return height_; }
    // The pixels of a rectangle given in window coordinates.
    std::vector<COLORREF> region(const RECT& rect) const;
    // Writes them as a PNG file; false when that failed.
    bool save_png(const std::wstring& path) const;

  private:
    int width_ = 0, height_ = 0;
    std::vector<COLORREF> pixels_;
};

// A control's rectangle in the coordinates of its top-level window's frame.
RECT rect_in_window(HWND control);
