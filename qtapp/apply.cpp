// The kit's primitives in Qt: windows shown and placed, one widget brought to
// its model's look, the timers and the focus.
#include "model/twips.h"
#include "qtapp/view.h"

#include <QCheckBox>
#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>


namespace lumatone::view {
namespace {

QFont ToQFont(const FontSpec& wanted) {
    QFont font(ToQString(wanted.name));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(wanted.points);
    font.setUnderline(wanted.underline);
    return font;
}

} // namespace

void QtView::Place(NativeHandle window, const PixelRect& place) {
    QWidget* w = Widget(window);
    const QRect want(place.left, place.top, place.Width(), place.Height());
    if (w->geometry() != want)
        w->setGeometry(want);
}

void QtView::Show(NativeHandle window, bool minimized) {
    QWidget* w = Widget(window);
    if (minimized) {
        w->showMinimized();
        return;
    }
    w->showNormal();
    w->raise();
    w->activateWindow();
}

void QtView::ApplyText(NativeControl& n, const std::string& text) {
    QWidget* w = Widget(n.handle);
    const QString q = ToQString(text);
    if (auto* box = qobject_cast<QLineEdit*>(w)) {
        if (box->text() == q)
            return;
        const QSignalBlocker quiet(box);
        box->setText(q);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(q);
        // An auto-size label keeps the size of its text; only its place follows the model.
        if (n.autoSize)
            label->resize(QFontMetrics(label->font()).size(Qt::TextSingleLine, q));
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        group->setTitle(q);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(q);
    }
}

void QtView::ApplyValue(NativeControl& n, int value) {
    QWidget* w = Widget(n.handle);
    if (auto* box = qobject_cast<QCheckBox*>(w)) {
        box->setChecked(value == 1);
    } else if (auto* bar = qobject_cast<QScrollBar*>(w)) {
        const QSignalBlocker quiet(bar);
        bar->setValue(value);
    }
}

void QtView::ApplyLook(NativeControl& n, const ControlLook& look, unsigned aspects) {
    // Colours, font and place together are cheap to set again and rare to change.
    if ((aspects & (aspect::kFont | aspect::kColors | aspect::kPlace)) != 0) {
        ApplyAll(n, look);
        return;
    }
    QWidget* w = Widget(n.handle);
    if ((aspects & aspect::kEnabled) != 0)
        w->setEnabled(look.enabled);
    if ((aspects & aspect::kVisible) != 0)
        w->setVisible(look.visible);
}

void QtView::ApplyAll(NativeControl& n, const ControlLook& look) {
    QWidget& w = *Widget(n.handle);
    const PixelRect r = ToPixelRect(look.left, look.top, look.width, look.height, look.originLeft,
                                    look.originTop, kit_.TwipsPerPixel());
    w.setGeometry(r.left, r.top, r.Width(), r.Height());
    w.setFont(ToQFont(look.font));
    // Form2 keeps the desktop's dialog colours, as the designer left it.
    if (w.window() == form1_.get()) {
        QPalette p = w.palette();
        const QColor fore = ToQColor(look.foreColor), back = ToQColor(look.backColor);
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            p.setColor(group, QPalette::WindowText, fore);
            p.setColor(group, QPalette::Text, fore);
            p.setColor(group, QPalette::ButtonText, fore);
        }
        p.setColor(QPalette::Window, back);
        p.setColor(QPalette::Base, back);
        w.setPalette(p);
        w.setAutoFillBackground(n.control->kind != ControlKind::Button &&
                                n.control->kind != ControlKind::HScroll &&
                                n.control->kind != ControlKind::VScroll);
    }
    ApplyText(n, look.text);
    ApplyValue(n, look.value);
    w.setEnabled(look.enabled);
    w.setVisible(look.visible);
}

void QtView::StartTimer(std::size_t index, int intervalMs) {
    if (timers_.Start(index, intervalMs))
        RestartTimer();
}

void QtView::StopTimer(std::size_t index) {
    if (timers_.Stop(index))
        RestartTimer();
}

void QtView::RestartTimer() {
    if (timers_.Step() == 0)
        timer_->stop();
    else
        timer_->start(timers_.Step());
}

void QtView::OnTimer() {
    timers_.Tick([this](std::size_t i) { kit_.Tick(i); });
}

bool QtView::Focusable(NativeHandle control) {
    const QWidget* w = Widget(control);
    return w->isEnabled() && w->isVisible();
}

void QtView::Focus(NativeHandle windowOrControl) {
    QWidget* w = Widget(windowOrControl);
    w->setFocus(w->isWindow() ? Qt::OtherFocusReason : Qt::TabFocusReason);
}

} // namespace lumatone::view
