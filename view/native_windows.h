// What a native program offers the view kit: a few primitives over its own
// windows and controls, which the kit drives from the window model.
#pragma once

#include "model/changes.h"
#include "model/forms.h"
#include "model/twips.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lumatone::view {

// A native window or control as its program names it (a window handle, a
// widget); the kit only compares and hands them back.
using NativeHandle = void*;

enum class MouseKind { Press, Move, Release };

struct PixelSize {
    int width = 0, height = 0;
};

// One native control over its model control.
struct NativeControl {
    Control* control = nullptr;
    NativeHandle handle = nullptr;
    bool autoSize = false; // a label that keeps the size of its text
    // Text boxes: the text the native shows, which typing changes before the
    // model hears of it.
    std::string text;
};

// One native window over its model window.
class FormWindow {
  public:
    template <typename Form> explicit FormWindow(const Form& form) : changes(form) {}
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    NativeControl* Find(NativeHandle handle) const;
    NativeControl* NativeOf(const Control* control) const;
    NativeHandle HandleOf(const Control* control) const;
    // The group whose native this is, if any.
    Frame* FrameOf(NativeHandle handle) const;

    NativeHandle handle = nullptr;
    std::vector<std::unique_ptr<NativeControl>> controls;
    ChangeTracker changes;
    // The native window may differ from the model's: it is new, or something other
    // than the view moved, sized, showed or hid it.
    bool stale = false;
    bool shown = false; // as the view last showed or hid it
};

class NativeWindows {
  public:
    virtual ~NativeWindows() = default;

    // The screen's dots per inch; 0 when unknown.
    virtual int DotsPerInch() = 0;
    virtual PixelSize ScreenSize() = 0;
    // Where a window may appear; nothing when there is no screen.
    virtual std::optional<PixelRect> WorkArea() = 0;

    // Hidden, at the model's place; nullptr when it cannot be made.
    virtual NativeHandle CreateForm1(Form1& form) = 0;
    virtual NativeHandle CreateForm2(Form2& form) = 0;
    // Sets n.handle, or leaves it nullptr for a control that has no native.
    // The native shows the control as its model is now.
    virtual void CreateControl(NativeControl& n, NativeHandle parent, int id) = 0;
    // Above its siblings.
    virtual void Raise(NativeHandle control) = 0;
    // The kit has already forgotten the window when this runs.
    virtual void Discard(FormWindow& window) = 0;

    virtual bool Shown(NativeHandle window) = 0;
    virtual bool Minimized(NativeHandle window) = 0;
    // Sets the place only where it differs.
    virtual void Place(NativeHandle window, const PixelRect& place) = 0;
    // Shown normally, a window comes to the front.
    virtual void Show(NativeHandle window, bool minimized) = 0;
    // minimized: the model has the window minimised.
    virtual void Hide(NativeHandle window, bool minimized) = 0;
    // A window or group repaints what it draws (its lines).
    virtual void Repaint(NativeHandle holder) = 0;

    virtual void ApplyText(NativeControl& n, const std::string& text) = 0;
    virtual void ApplyValue(NativeControl& n, int value) = 0;
    // Place, visibility, enabled state, font and colours, as aspects names them.
    virtual void ApplyLook(NativeControl& n, const ControlLook& look, unsigned aspects) = 0;

    // index: of the timer in Form1's Timers().
    virtual void StartTimer(std::size_t index, int intervalMs) = 0;
    virtual void StopTimer(std::size_t index) = 0;

    // The control of the window that has the native focus, or nullptr.
    virtual NativeHandle FocusIn(NativeHandle window) = 0;
    virtual bool Focusable(NativeHandle control) = 0;
    virtual void Focus(NativeHandle windowOrControl) = 0;
};

} // namespace lumatone::view
