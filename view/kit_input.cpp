// Native input into model events, and the round trip between the model's
// focus and the native one.
#include "view/kit.h"

#include "model/twips.h"

#include <algorithm>
#include <cstdint>

namespace lumatone::view {

void ViewKit::Click(Control& control) {
    WithKind(control, Overloaded{[&](Button& b) { Deliver([button = &b] { button->Click(); }); },
                                 [&](Label& l) { Deliver([label = &l] { label->Click(); }); },
                                 [](Control&) {}});
}

Timer* ViewKit::TimerAt(std::size_t index) const {
    if (app_ == nullptr)
        return nullptr;
    const auto timers = app_->form1.Timers();
    return index < timers.size() ? timers[index] : nullptr;
}

void ViewKit::Tick(std::size_t timerIndex) {
    if (!Live())
        return;
    if (Timer* t = TimerAt(timerIndex))
        Deliver([t] { t->Tick(); });
}

void ViewKit::KeyDown(TextBox& box, int virtualKey, int shift) {
    const auto key = static_cast<std::int16_t>(virtualKey);
    Deliver([b = &box, key, shift] { b->KeyDown(key, shift); });
}

void ViewKit::Ticked(CheckBox& box, bool ticked) {
    Deliver([b = &box, ticked] { b->value = ticked ? 1 : 0; });
}

void ViewKit::Typed(NativeControl& n, std::string text) {
    if (Mirroring())
        return;
    TextBox* box = nullptr;
    WithKind(*n.control, Overloaded{[&](TextBox& t) { box = &t; }, [](Control&) {}});
    if (box == nullptr || text == n.text)
        return; // the view's own change, or none
    n.text = text;
    Deliver([box, typed = std::move(text)] { box->SetTextByUser(typed); });
    // A box that refused the edit shows the model's text again.
    if (box->text != n.text)
        MirrorText(n, box->text);
}

void ViewKit::Scrolled(NativeControl& n, int value) {
    Slider* slider = nullptr;
    WithKind(*n.control, Overloaded{[&](Slider& s) { slider = &s; }, [](Control&) {}});
    if (slider == nullptr)
        return;
    value = std::clamp<int>(value, slider->min, slider->max);
    Deliver([slider, value] { slider->SetValue(value); });
    // A refused or unchanged value leaves the thumb where the model has it.
    if (slider->Value() != value)
        native_.ApplyValue(n, slider->Value());
}

const MouseHandler& ViewKit::HandlerOf(const Frame* frame, MouseKind kind) const {
    const Form1& f = app_->form1;
    switch (kind) {
    case MouseKind::Press:
        return frame ? frame->onMouseDown : f.onMouseDown;
    case MouseKind::Move:
        return frame ? frame->onMouseMove : f.onMouseMove;
    case MouseKind::Release:
        break;
    }
    return frame ? frame->onMouseUp : f.onMouseUp;
}

bool ViewKit::DragHandle(const Frame* frame) const {
    return app_ != nullptr &&
           (HandlerOf(frame, MouseKind::Press) || HandlerOf(frame, MouseKind::Move) ||
            HandlerOf(frame, MouseKind::Release));
}

void ViewKit::Mouse(const Frame* frame, MouseKind kind, int buttons, int shift, int x, int y) {
    if (!Live())
        return;
    const MouseHandler& handler = HandlerOf(frame, kind);
    if (!handler)
        return;
    const float tx = ToTwips(x, twipsPerPixel_);
    const float ty = ToTwips(y, twipsPerPixel_);
    Deliver([handler, buttons, shift, tx, ty] { handler(buttons, shift, tx, ty); });
}

void ViewKit::CloseAsked(NativeHandle window) {
    if (window == nullptr)
        return;
    if (window == Form1Handle())
        Deliver([this] { app_->Unload(UnloadReason::UserQuit); });
    else if (const FormWindow* form2 = LiveForm2(); form2 && window == form2->handle)
        Deliver([this] { app_->CloseForm2(); });
}

void ViewKit::Relocated(NativeHandle window) {
    // The view put the window where the model has it; if something else
    // moved it, the next mirroring puts it back.
    if (Mirroring() || window == nullptr)
        return;
    if (window == Form1Handle())
        form1_->stale = true;
    else if (window == Form2Handle())
        form2_->stale = true;
}

void ViewKit::MinimizedByUser(bool minimized) {
    if (Mirroring() || !Live() || !form1_)
        return;
    Form1* f = &app_->form1;
    if (minimized && f->windowState != 1)
        Deliver([f] { f->windowState = 1; });
    else if (!minimized && f->windowState == 1 && native_.Shown(form1_->handle))
        Deliver([f] { f->windowState = 0; });
}

void ViewKit::Activated(bool active) {
    if (!Live() || !form1_)
        return;
    if (active) {
        FocusModelControl();
        return;
    }
    // The control that had the focus gets it back when the window is active again.
    if (NativeControl* n = form1_->Find(native_.FocusIn(form1_->handle)))
        Deliver([f = &app_->form1, c = n->control] { f->SetFocus(c); });
}

void ViewKit::FocusModelControl() {
    if (!Live())
        return;
    if (NativeHandle h = form1_->HandleOf(app_->form1.Focused()); h && native_.Focusable(h))
        native_.Focus(h);
    else
        native_.Focus(form1_->handle);
}

void ViewKit::MoveFocus(bool backwards) {
    if (!Live() || !form1_)
        return;
    NativeControl* n = form1_->Find(native_.FocusIn(form1_->handle));
    Deliver([f = &app_->form1, from = n ? n->control : nullptr, backwards] {
        if (from != nullptr)
            f->SetFocus(from);
        f->FocusNext(backwards);
    });
    FocusModelControl();
}

} // namespace lumatone::view
