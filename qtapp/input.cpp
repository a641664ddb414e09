// Input: Qt's signals into model events.
#include "qtapp/view.h"

#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>

namespace lumatone::view {

void QtView::Connect(NativeControl& n) {
    QWidget* w = Widget(n.handle);
    WithKind(
        *n.control,
        Overloaded{
            [&](Button& b) {
                connect(static_cast<QPushButton*>(w), &QPushButton::clicked, this,
                        [this, button = &b] { kit_.Click(*button); });
            },
            [&](CheckBox& c) {
                connect(static_cast<QCheckBox*>(w), &QCheckBox::clicked, this,
                        [this, box = &c](bool ticked) { kit_.Ticked(*box, ticked); });
            },
            [&](TextBox& t) {
                auto* box = static_cast<KeyBox*>(w);
                box->onKey = [this, t = &t](int key, int shift) { kit_.KeyDown(*t, key, shift); };
                connect(box, &QLineEdit::textEdited, this,
                        [this, &n](const QString& text) { kit_.Typed(n, text.toStdString()); });
            },
            [&](Slider&) {
                connect(static_cast<QScrollBar*>(w), &QScrollBar::valueChanged, this,
                        [this, &n](int value) {
                            if (!kit_.Mirroring())
                                kit_.Scrolled(n, value);
                        });
            },
            [](Control&) {},
        });
}

} // namespace lumatone::view
