// What both native programs do the same way over the window model: they
// create and discard the native windows as the model's come and go, mirror
// what changed after each event, run the model's timers, keep the model's
// focus and the native one in step, and turn native input into model events.
#pragma once

#include "app/app.h"
#include "platform/window_services.h"
#include "view/delivery.h"
#include "view/native_windows.h"

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace lumatone::view {

class ViewKit : public ScreenMetrics {
  public:
    explicit ViewKit(NativeWindows& native) : native_(native) {}
    ViewKit(const ViewKit&) = delete;
    ViewKit& operator=(const ViewKit&) = delete;

    // Creates Form1's window and controls, hidden, before start-up runs.
    bool Create(App& app);
    // Where Form1 first appears: centred in the work area.
    void PlaceInitially();
    // Mirrors into the native windows what changed in the model.
    void Sync();
    // Runs a model event, then mirrors its effects (see EventDelivery).
    void Deliver(std::function<void()> event) { delivery_.Deliver(std::move(event)); }
    bool Live() const { return delivery_.Live(); }
    bool Mirroring() const { return delivery_.Mirroring(); }
    float TwipsPerPixel() const { return twipsPerPixel_; }
    PixelRect PixelsOf(const WindowLook& look) const;

    // ScreenMetrics.
    int ScreenWidthTwips() override;
    int ScreenHeightTwips() override;
    float TwipsPerPixelX() override { return twipsPerPixel_; }
    float TwipsPerPixelY() override { return twipsPerPixel_; }

    // The native windows and controls.
    NativeHandle Form1Handle() const { return form1_ ? form1_->handle : nullptr; }
    NativeHandle Form2Handle() const { return form2_ ? form2_->handle : nullptr; }
    FormWindow* Form1Window() const { return form1_.get(); }
    // A control of Form1, or of Form2 while its model still exists.
    NativeControl* Find(NativeHandle handle) const;
    NativeControl* FindOnForm1(NativeHandle handle) const;
    // Form1 forgets its native window, which its program then destroys.
    NativeHandle ReleaseForm1();
    void DiscardForm2();
    // The lines a window (frame nullptr) or group draws, in its own pixels.
    std::vector<PixelLine> LinesOf(const Frame* frame) const;

    // Native input into model events.
    void Click(Control& control);
    void Tick(std::size_t timerIndex);
    Timer* TimerAt(std::size_t index) const;
    void KeyDown(TextBox& box, int virtualKey, int shift);
    void Ticked(CheckBox& box, bool ticked);
    void Typed(NativeControl& n, std::string text);
    void Scrolled(NativeControl& n, int value);
    // Whether a press on it starts a drag: it has a mouse handler.
    bool DragHandle(const Frame* frame) const;
    // Buttons: the one pressed or released, or those held while moving.
    void Mouse(const Frame* frame, MouseKind kind, int buttons, int shift, int x, int y);
    void CloseAsked(NativeHandle window);
    // Something other than the view moved, sized, showed or hid the window.
    void Relocated(NativeHandle window);
    // The user minimised or restored Form1.
    void MinimizedByUser(bool minimized);

    // Focus: the model's and the native one in step.
    void Activated(bool active);
    void MoveFocus(bool backwards);

  private:
    void CreateControl(FormWindow& window, Control& c, NativeHandle parent);
    bool CreateForm2(Form2& model);
    // Form2's window while its model still exists.
    FormWindow* LiveForm2() const;
    const MouseHandler& HandlerOf(const Frame* frame, MouseKind kind) const;
    void FocusModelControl();

    void MirrorAll();
    void MirrorForm1();
    void MirrorForm1Window();
    void MirrorTimers();
    void MirrorForm2();
    void MirrorForm2Window();
    void MirrorControl(FormWindow& window, const ControlChange& change);
    void MirrorText(NativeControl& n, const std::string& text);

    NativeWindows& native_;
    App* app_ = nullptr;
    std::unique_ptr<FormWindow> form1_;
    std::unique_ptr<FormWindow> form2_;
    const Form2* form2Model_ = nullptr;         // the model form2_ shows
    std::map<const Timer*, int> runningTimers_; // native timers: the interval set
    float twipsPerPixel_ = 15.0f;
    EventDelivery delivery_{[this] { MirrorAll(); }};
};

// A native program's view: its primitives, with the kit that drives them.
class KitView : public NativeWindows {
  public:
    KitView() : kit_(*this) {}
    KitView(const KitView&) = delete;
    KitView& operator=(const KitView&) = delete;

    // Creates Form1's window and controls, hidden, before start-up runs.
    virtual bool Create(App& app) = 0;
    // Where Form1 first appears: centred in the work area.
    void PlaceInitially() { kit_.PlaceInitially(); }
    // Mirrors into the native windows what changed in the model.
    void Sync() { kit_.Sync(); }
    // The native event loop; returns when the program ends.
    virtual int Run() = 0;
    // Runs a model event, then mirrors its effects (see EventDelivery).
    void Deliver(std::function<void()> event) { kit_.Deliver(std::move(event)); }
    bool Live() const { return kit_.Live(); }
    ScreenMetrics& Metrics() { return kit_; }

  protected:
    ViewKit kit_;
};

} // namespace lumatone::view
