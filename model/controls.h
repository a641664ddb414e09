// The control kinds of the window model. Plain state plus the event
// semantics other code relies on; no native widget lives here.
#pragma once

#include <array>
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
    bool operator==(const FontSpec&) const = default;
};

enum class ControlKind { Label, TextBox, Frame, Button, CheckBox, HScroll, VScroll, Line, Timer };

// Mouse handler arguments: button bits 1 left, 2 right, 4 middle; X, Y in twips.
using MouseHandler = std::function<void(int button, int shift, float x, float y)>;

class Label;
class Frame;
class Button;
class CheckBox;
class TextBox;
class Slider;
class Line;

class ControlVisitor {
  public:
    virtual void Visit(Label&) = 0;
    virtual void Visit(Frame&) = 0;
    virtual void Visit(Button&) = 0;
    virtual void Visit(CheckBox&) = 0;
    virtual void Visit(TextBox&) = 0;
    virtual void Visit(Slider&) = 0;
    virtual void Visit(Line&) = 0;

  protected:
    ~ControlVisitor() = default;
};

// What a view shows of a control: two equal looks show alike.
struct ControlLook {
    std::string text;
    int left = 0, top = 0, width = 0, height = 0; // twips, in the window
    int originLeft = 0, originTop = 0;            // where the container lies in the window
    std::array<int, 4> ends{};                    // a line's x1, y1, x2, y2
    bool visible = false;                         // the control's own flag
    bool enabled = false;
    std::int32_t value = 0; // a check box's tick, a slider's position
    Rgb foreColor, backColor;
    FontSpec font;
    bool operator==(const ControlLook&) const = default;
};

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

    virtual void Accept(ControlVisitor& visitor) = 0;
    ControlLook Look() const;
    // The same into a look kept between calls, whose strings keep their room.
    void LookInto(ControlLook& look) const;

  protected:
    // Adds what the kind shows beyond the common state.
    virtual void AddToLook(ControlLook&) const {}
};

// Calls handler with the control as its own kind: give it an overload for each
// kind it cares about and one taking Control& for the rest.
template <typename Handler> void WithKind(Control& control, Handler&& handler) {
    struct Adapter final : ControlVisitor {
        explicit Adapter(Handler& h) : handler(h) {}
        void Visit(Label& c) override { handler(c); }
        void Visit(Frame& c) override { handler(c); }
        void Visit(Button& c) override { handler(c); }
        void Visit(CheckBox& c) override { handler(c); }
        void Visit(TextBox& c) override { handler(c); }
        void Visit(Slider& c) override { handler(c); }
        void Visit(Line& c) override { handler(c); }
        Handler& handler;
    } adapter{handler};
    control.Accept(adapter);
}

// Lambdas as one overloaded handler.
template <typename... F> struct Overloaded : F... { using F::operator()...; };
template <typename... F> Overloaded(F...) -> Overloaded<F...>;

class Label : public Control {
  public:
    void Accept(ControlVisitor& v) override { v.Visit(*this); }
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

  protected:
    void AddToLook(ControlLook& look) const override { look.text = caption; }
};

class Frame : public Control {
  public:
    void Accept(ControlVisitor& v) override { v.Visit(*this); }
    Frame(std::string name, std::string caption, int left, int top, int width, int height)
        : Control(std::move(name), ControlKind::Frame, nullptr, left, top, width, height),
          caption(std::move(caption)) {}
    std::string caption;
    MouseHandler onMouseDown, onMouseMove, onMouseUp;

  protected:
    void AddToLook(ControlLook& look) const override { look.text = caption; }
};

class Button : public Control {
  public:
    void Accept(ControlVisitor& v) override { v.Visit(*this); }
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

  protected:
    void AddToLook(ControlLook& look) const override { look.text = caption; }
};

class CheckBox : public Control {
  public:
    void Accept(ControlVisitor& v) override { v.Visit(*this); }
    CheckBox(std::string name, Control* container, std::string caption, int left, int top,
             int width, int height)
        : Control(std::move(name), ControlKind::CheckBox, container, left, top, width, height),
          caption(std::move(caption)) {
        tabStop = true;
    }
    std::string caption;
    std::int16_t value = 0; // 0 not ticked, 1 ticked

  protected:
    void AddToLook(ControlLook& look) const override {
        look.text = caption;
        look.value = value;
    }
};

class TextBox : public Control {
  public:
    void Accept(ControlVisitor& v) override { v.Visit(*this); }
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

  protected:
    void AddToLook(ControlLook& look) const override { look.text = text; }
};

class Slider : public Control {
  public:
    void Accept(ControlVisitor& v) override { v.Visit(*this); }
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

  protected:
    void AddToLook(ControlLook& look) const override { look.value = value_; }

  private:
    std::int16_t value_ = 0;
};

class Line : public Control {
  public:
    void Accept(ControlVisitor& v) override { v.Visit(*this); }
    Line(std::string name, Control* container, int x1, int y1, int x2, int y2)
        : Control(std::move(name), ControlKind::Line, container, 0, 0, 0, 0), x1(x1), y1(y1),
          x2(x2), y2(y2) {}
    int x1, y1, x2, y2;

  protected:
    void AddToLook(ControlLook& look) const override { look.ends = {x1, y1, x2, y2}; }
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
