// Mirroring the model: after each event the view touches only the widgets
// and windows whose model changed. It reads the model and never writes to it.
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

void QtView::Sync() {
    if (!form1_)
        return;
    delivery_.Sync();
}

void QtView::MirrorAll() {
    MirrorForm1();
    MirrorTimers();
    MirrorForm2();
}

void QtView::MirrorForm1() {
    Form1Window& w = *form1_;
    // A hidden window's widgets are brought up to date when it shows again;
    // the 50 ms poll of a window in the tray thus costs no widget traffic.
    if (w.model.visible || w.shown)
        for (const ControlChange& change : w.changes.TakeControlChanges())
            MirrorControl(w, change);
    if (w.changes.TakeWindowChange() || w.stale) {
        w.stale = false;
        MirrorForm1Window();
    }
}

void QtView::MirrorForm1Window() {
    Form1Window& w = *form1_;
    const Form1& f = w.model;
    QWidget& s = *w.surface;
    // A minimised window keeps its place until it is restored.
    if (!s.isMinimized())
        PlaceWindow(s, f.Look());
    const bool wantMinimized = f.windowState == 1;
    if (f.visible) {
        if (!s.isVisible() || s.isMinimized() != wantMinimized) {
            if (wantMinimized) {
                s.showMinimized();
            } else {
                s.showNormal();
                PlaceWindow(s, f.Look());
                s.raise();
                s.activateWindow();
            }
        }
    } else if (s.isVisible()) {
        s.hide();
    }
    w.shown = s.isVisible();
}

void QtView::MirrorTimers() {
    for (Timer* t : form1_->model.Timers()) {
        QTimer* timer = timers_[t];
        const int want = Live() && t->enabled && t->interval > 0 ? t->interval : 0;
        const int running = timer->isActive() ? timer->interval() : 0;
        if (want == running)
            continue;
        if (want != 0)
            timer->start(want);
        else
            timer->stop();
    }
}

void QtView::MirrorForm2() {
    Form2* m = app_->form2.get();
    if (form2_ && &form2_->model != m)
        DestroyForm2();
    if (m == nullptr)
        return;
    if (!form2_) {
        CreateForm2(*m);
        form2_->stale = true;
    }
    for (const ControlChange& change : form2_->changes.TakeControlChanges())
        MirrorControl(*form2_, change);
    if (form2_->changes.TakeWindowChange() || form2_->stale) {
        form2_->stale = false;
        MirrorForm2Window();
    }
}

void QtView::MirrorForm2Window() {
    const Form2& m = form2_->model;
    QWidget& s = *form2_->surface;
    PlaceWindow(s, m.Look());
    if (m.visible && !s.isVisible()) {
        s.show();
        s.raise();
        s.activateWindow();
        if (QWidget* first = form2_->WidgetOf(m.TabOrder().front()))
            first->setFocus(Qt::TabFocusReason);
    } else if (!m.visible && s.isVisible()) {
        s.hide();
    }
}

void QtView::PlaceWindow(QWidget& widget, const WindowLook& look) {
    const QRect want(ToPixels(look.left, twipsPerPixel_), ToPixels(look.top, twipsPerPixel_),
                     ToPixels(look.width, twipsPerPixel_), ToPixels(look.height, twipsPerPixel_));
    if (widget.geometry() != want)
        widget.setGeometry(want);
}

void QtView::MirrorControl(NativeWindow& window, const ControlChange& change) {
    const Control& c = *change.control;
    if (c.kind == ControlKind::Line) {
        // A line is drawn by what holds it: its group, or the window.
        QWidget* holder = c.container ? window.WidgetOf(c.container) : window.surface.get();
        if (holder != nullptr)
            holder->update();
        return;
    }
    NativeControl* n = window.NativeOf(&c);
    if (n == nullptr)
        return; // out of reach: it has no widget
    QWidget& w = *n->widget;
    const ControlLook look = c.Look();
    if (change.Has(aspect::kFont | aspect::kColors | aspect::kPlace)) {
        // Colours, font and place together are cheap to set again and rare to change.
        ApplyLook(*n, look, &window == form1_.get());
        return;
    }
    if (change.Has(aspect::kText))
        MirrorText(*n, look.text);
    if (change.Has(aspect::kValue)) {
        if (auto* box = qobject_cast<QCheckBox*>(&w)) {
            box->setChecked(look.value == 1);
        } else if (auto* bar = qobject_cast<QScrollBar*>(&w)) {
            const QSignalBlocker quiet(bar);
            bar->setValue(look.value);
        }
    }
    if (change.Has(aspect::kEnabled))
        w.setEnabled(look.enabled);
    if (change.Has(aspect::kVisible))
        w.setVisible(look.visible);
}

void QtView::MirrorText(NativeControl& n, const std::string& text) {
    QWidget* w = n.widget;
    const QString q = ToQString(text);
    if (auto* box = qobject_cast<QLineEdit*>(w)) {
        // Typing already put the user's text there; setting it again would move the caret.
        if (n.text == text && box->text() == q)
            return;
        n.text = text;
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

} // namespace lumatone::view
