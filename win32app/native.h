// The native windows the view keeps over the window model: one object per
// window, each knowing its model and its controls.
#pragma once

#include "model/changes.h"
#include "model/forms.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace lumatone::view {

inline COLORREF ToColorRef(Rgb c) {
    return RGB(c.r, c.g, c.b);
}

std::string WindowText(HWND hwnd);

inline WPARAM CheckState(std::int32_t value) {
    return value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED;
}

// One native control over its model control.
struct NativeControl {
    Control* control = nullptr;
    HWND hwnd = nullptr;
    bool autoSize = false; // a label that keeps the size of its text
    // Text boxes: the window procedure under ours, and the text the native
    // shows, which typing changes before the model hears of it.
    WNDPROC baseProc = nullptr;
    std::string text;
};

class NativeWindow {
  public:
    NativeWindow() = default;
    virtual ~NativeWindow() = default;
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    NativeControl* Find(HWND hwnd) const;
    NativeControl* NativeOf(const Control* control) const;
    HWND HandleOf(const Control* control) const;

    HWND hwnd = nullptr;
    std::vector<std::unique_ptr<NativeControl>> controls;
    // The native window may differ from the model's: it is new, or something other
    // than the view moved, sized, showed or hid it.
    bool stale = false;
};

class Form1Window : public NativeWindow {
  public:
    explicit Form1Window(Form1& form) : model(form), changes(form) {}
    Frame* FrameOf(HWND hwnd) const;

    Form1& model;
    ChangeTracker changes;
    std::vector<std::pair<HWND, Frame*>> frames; // group boxes paint their own border and lines
    std::map<const Timer*, int> runningTimers;   // native timers: the interval set
    bool shown = false;                          // as the view last showed or hid it
};

class Form2Window : public NativeWindow {
  public:
    explicit Form2Window(Form2& form) : model(form), changes(form) {}

    Form2& model;
    ChangeTracker changes;
};

} // namespace lumatone::view
