// The control kinds of the window model. Plain state plus the event
// semantics other code relies on; no native widget lives here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace lumatone {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kDefaultText{0, 0, 0};

struct FontSpec {
    std::string name = "MS Sans Serif";
    float points = 8.25f;
    bool underline = false;
};

enum class ControlKind { Label, TextBox, Frame, Button, CheckBox, HScroll, VScroll, Line, Timer };

// Mouse handler arguments: button bits 1 left, 2 right, 4 middle; X, Y in twips.
using MouseHandler = std::function<void(int button, int shift, float x, float y)>;

class Control {
  public:
    Control(std::string name, ControlKind kind, Control* container, int left, int top, int width,
            int height)
        : name(std::move(name)), kind(kind), container(container), left(left), top(top),
          width(width), height(height) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string name;
    const ControlKind kind;
    Control* const container; // nullptr: placed on the window itself

    int left, top, width, height; // twips, relative to the container
    bool visible = true;
    bool enabled = true;
    bool tabStop = false; // takes part in the Tab order when it can take focus
    FontSpec font;
    Rgb foreColor = kDefaultText;
    Rgb backColor = kWhite;

    // Visible and enabled along the whole container chain.
    bool EffectivelyVisible() const {
        return visible && (container == nullptr || container->EffectivelyVisible());
    }
    bool CanTakeFocus() const { return tabStop && enabled && EffectivelyVisible(); }
    // Position relative to the window's client area.
    int WindowLeft() const { return left + (container ? container->WindowLeft() : 0); }
    int WindowTop() const { return top + (container ? container->WindowTop() : 0); }
};

class Label : public Control {
  public:
    Label(std::string name, Control* container, std::string caption, int left, int top, int width,
          int height)
        : Control(std::move(name), ControlKind::Label, container, left, top, width, height),
          caption(std::move(caption)) {}
    std::string caption;
    bool autoSize = false;
    bool wordWrap = false;
    std::function<void()> onClick;
    void Click() {
        if (onClick && enabled)
            onClick();
    }
};

class Frame : public Control {
  public:
    Frame(std::string name, std::string caption, int left, int top, int width, int height)
        : Control(std::move(name), ControlKind::Frame, nullptr, left, top, width, height),
          caption(std::move(caption)) {}
    std::string caption;
    MouseHandler onMouseDown, onMouseMove, onMouseUp;
};

class Button : public Control {
  public:
    Button(std::string name, Control* container, std::string caption, int left, int top, int width,
           int height)
        : Control(std::move(name), ControlKind::Button, container, left, top, width, height),
          caption(std::move(caption)) {
        tabStop = true;
    }
    std::string caption;
    std::function<void()> onClick;
    // A click performed by code runs even on a control the user cannot reach.
    void Click() {
        if (onClick)
            onClick();
    }
};

class CheckBox : public Control {
  public:
    CheckBox(std::string name, Control* container, std::string caption, int left, int top,
             int width, int height)
        : Control(std::move(name), ControlKind::CheckBox, container, left, top, width, height),
          caption(std::move(caption)) {
        tabStop = true;
    }
    std::string caption;
    std::int16_t value = 0; // 0 not ticked, 1 ticked
};

class TextBox : public Control {
  public:
    TextBox(std::string name, Control* container, std::string text, int left, int top, int width,
            int height)
        : Control(std::move(name), ControlKind::TextBox, container, left, top, width, height),
          text(std::move(text)) {
        tabStop = true;
    }
    std::string text;
    bool locked = false; // typing leaves the text alone; key-down is still delivered
    std::function<void(std::int16_t keyCode, int shift)> onKeyDown;

    // User input. A disabled box takes none of it.
    void KeyDown(std::int16_t keyCode, int shift) {
        if (enabled && onKeyDown)
            onKeyDown(keyCode, shift);
    }
    void Type(const std::string& typed) {
        if (enabled && !locked)
            text += typed;
    }
    void SetTextByUser(const std::string& newText) {
        if (enabled && !locked)
            text = newText;
    }
};

class Slider : public Control {
  public:
    Slider(std::string name, Control* container, bool vertical, std::int16_t max, int left, int top,
           int width, int height)
        : Control(std::move(name), vertical ? ControlKind::VScroll : ControlKind::HScroll,
                  container, left, top, width, height),
          max(max) {
        tabStop = true;
    }
    const std::int16_t min = 0;
    const std::int16_t max;
    std::int16_t Value() const { return value_; }
    // Runs the change handler at once, and only when the value really changes.
    // A value outside min..max is refused and changes nothing.
    bool SetValue(std::int32_t v) {
        if (v < min || v > max)
            return false;
        if (v == value_)
            return true;
        value_ = static_cast<std::int16_t>(v);
        if (onChange)
            onChange();
        return true;
    }
    std::function<void()> onChange;

  private:
    std::int16_t value_ = 0;
};

class Line : public Control {
  public:
    Line(std::string name, Control* container, int x1, int y1, int x2, int y2)
        : Control(std::move(name), ControlKind::Line, container, 0, 0, 0, 0), x1(x1), y1(y1),
          x2(x2), y2(y2) {}
    int x1, y1, x2, y2;
};

class Timer {
  public:
    Timer(std::string name, int interval, bool enabled)
        : name(std::move(name)), interval(interval), enabled(enabled) {}
    const std::string name;
    int interval; // milliseconds
    bool enabled;
    std::function<void()> onTick;
    void Tick() {
        if (enabled && onTick)
            onTick();
    }
};

class MenuItem {
  public:
    MenuItem(std::string name, std::string caption)
        : name(std::move(name)), caption(std::move(caption)) {}
    const std::string name;
    std::string caption;
    bool visible = true;
    std::function<void()> onClick;
    void Click() {
        if (onClick)
            onClick();
    }
};

} // namespace lumatone
