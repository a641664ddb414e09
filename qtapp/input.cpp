// Input: Qt's events and signals into model events.
#include "model/twips.h"
#include "qtapp/view.h"

#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

namespace lumatone::view {

void QtView::Connect(NativeControl& n) {
    QWidget* w = n.widget;
    WithKind(*n.control,
             Overloaded{
                 [&](Button& b) {
                     connect(static_cast<QPushButton*>(w), &QPushButton::clicked, this,
                             [this, button = &b] { Deliver([button] { button->Click(); }); });
                 },
                 [&](CheckBox& c) {
                     connect(static_cast<QCheckBox*>(w), &QCheckBox::clicked, this,
                             [this, box = &c](bool ticked) {
                                 Deliver([box, ticked] { box->value = ticked ? 1 : 0; });
                             });
                 },
                 [&](TextBox& t) {
                     auto* box = static_cast<KeyBox*>(w);
                     box->onKey = [this, t = &t](int key, int shift) { OnKey(*t, key, shift); };
                     connect(box, &QLineEdit::textEdited, this,
                             [this, &n](const QString& text) { OnTyped(n, text); });
                 },
                 [&](Slider&) {
                     connect(static_cast<QScrollBar*>(w), &QScrollBar::valueChanged, this,
                             [this, &n](int value) { OnScroll(n, value); });
                 },
                 [](Control&) {},
             });
}

void QtView::OnKey(TextBox& box, int virtualKey, int shift) {
    const auto key = static_cast<std::int16_t>(virtualKey);
    Deliver([&box, key, shift] { box.KeyDown(key, shift); });
}

void QtView::OnTyped(NativeControl& n, const QString& typed) {
    if (delivery_.Mirroring())
        return;
    TextBox* box = nullptr;
    WithKind(*n.control, Overloaded{[&](TextBox& t) { box = &t; }, [](Control&) {}});
    std::string text = typed.toStdString();
    if (box == nullptr || text == n.text)
        return; // the view's own change, or none
    n.text = text;
    Deliver([box, text = std::move(text)] { box->SetTextByUser(text); });
    // A box that refused the edit shows the model's text again.
    if (box->text != n.text)
        MirrorText(n, box->text);
}

void QtView::OnScroll(NativeControl& n, int value) {
    if (delivery_.Mirroring())
        return;
    Slider* slider = nullptr;
    WithKind(*n.control, Overloaded{[&](Slider& s) { slider = &s; }, [](Control&) {}});
    if (slider == nullptr)
        return;
    value = std::clamp<int>(value, slider->min, slider->max);
    Deliver([slider, value] { slider->SetValue(value); });
    // A refused or unchanged value leaves the thumb where the model has it.
    if (slider->Value() != value) {
        auto* bar = static_cast<QScrollBar*>(n.widget);
        const QSignalBlocker quiet(bar);
        bar->setValue(slider->Value());
    }
}

void QtView::OnMouse(Frame* frame, MouseKind kind, int buttons, int shift, QPoint at) {
    if (!Live())
        return;
    Form1& f = app_->form1;
    const MouseHandler& down = frame ? frame->onMouseDown : f.onMouseDown;
    const MouseHandler& move = frame ? frame->onMouseMove : f.onMouseMove;
    const MouseHandler& up = frame ? frame->onMouseUp : f.onMouseUp;
    const float x = ToTwips(at.x(), twipsPerPixel_);
    const float y = ToTwips(at.y(), twipsPerPixel_);
    // Qt keeps sending the moves to the widget that took the press until the
    // last button is let go, as a captured window gets them.
    switch (kind) {
    case MouseKind::Press:
        if (down)
            Deliver([down, buttons, shift, x, y] { down(buttons, shift, x, y); });
        break;
    case MouseKind::Move:
        if (move)
            Deliver([move, buttons, shift, x, y] { move(buttons, shift, x, y); });
        break;
    case MouseKind::Release:
        if (up)
            Deliver([up, buttons, shift, x, y] { up(buttons, shift, x, y); });
        break;
    }
}

void QtView::OnTimer(Timer* t) {
    if (!Live())
        return;
    Deliver([t] { t->Tick(); });
}

void QtView::OnActivate(bool active) {
    if (!Live() || !form1_)
        return;
    if (active) {
        FocusModelControl();
        return;
    }
    // The control that had the focus gets it back when the window is active again.
    if (NativeControl* n = form1_->Find(form1_->surface->focusWidget()))
        Deliver([f = &app_->form1, c = n->control] { f->SetFocus(c); });
}

void QtView::FocusModelControl() {
    if (!Live())
        return;
    if (QWidget* w = form1_->WidgetOf(app_->form1.Focused());
        w != nullptr && w->isEnabled() && w->isVisible())
        w->setFocus(Qt::TabFocusReason);
    else
        form1_->surface->setFocus(Qt::OtherFocusReason);
}

void QtView::MoveFocus(bool backwards) {
    if (!Live())
        return;
    NativeControl* n = form1_->Find(form1_->surface->focusWidget());
    Deliver([f = &app_->form1, from = n ? n->control : nullptr, backwards] {
        if (from != nullptr)
            f->SetFocus(from);
        f->FocusNext(backwards);
    });
    FocusModelControl();
}

} // namespace lumatone::view
