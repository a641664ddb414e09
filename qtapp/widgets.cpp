#include "qtapp/widgets.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextLayout>

#include "platform/linux/x11_keys.h"

namespace lumatone::view {

int ShiftBits(Qt::KeyboardModifiers m) {
    return (m.testFlag(Qt::ShiftModifier) ? 1 : 0) | (m.testFlag(Qt::ControlModifier) ? 2 : 0) |
           (m.testFlag(Qt::AltModifier) ? 4 : 0);
}

int ButtonBits(Qt::MouseButtons b) {
    return (b.testFlag(Qt::LeftButton) ? 1 : 0) | (b.testFlag(Qt::RightButton) ? 2 : 0) |
           (b.testFlag(Qt::MiddleButton) ? 4 : 0);
}

namespace {

void Forward(const SurfaceHooks& hooks, MouseKind kind, QMouseEvent* e) {
    if (!hooks.mouse) {
        e->ignore();
        return;
    }
    // A press or release names its own button; a move, the buttons held.
    const int buttons =
        kind == MouseKind::Move ? ButtonBits(e->buttons()) : ButtonBits(e->button());
    hooks.mouse(kind, buttons, ShiftBits(e->modifiers()), e->position().toPoint());
    e->accept();
}

} // namespace

void Surface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (hooks.paint)
        hooks.paint(painter);
}

void Surface::mousePressEvent(QMouseEvent* e) {
    Forward(hooks, MouseKind::Press, e);
}
void Surface::mouseMoveEvent(QMouseEvent* e) {
    Forward(hooks, MouseKind::Move, e);
}
void Surface::mouseReleaseEvent(QMouseEvent* e) {
    Forward(hooks, MouseKind::Release, e);
}

void Surface::closeEvent(QCloseEvent* e) {
    e->ignore();
    if (onClose)
        onClose();
}

bool Surface::focusNextPrevChild(bool next) {
    return onTab ? onTab(next) : QWidget::focusNextPrevChild(next);
}

void Surface::changeEvent(QEvent* e) {
    if (e->type() == QEvent::WindowStateChange && onMinimized)
        onMinimized(isMinimized());
    QWidget::changeEvent(e);
}

void Surface::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    if (onMoved)
        onMoved();
}

bool Surface::event(QEvent* e) {
    if (onActivate &&
        (e->type() == QEvent::WindowActivate || e->type() == QEvent::WindowDeactivate))
        onActivate(e->type() == QEvent::WindowActivate);
    return QWidget::event(e);
}

void Group::paintEvent(QPaintEvent*) {
    // The group's etched border, broken by its caption, as the designer drew
    // it; a style's own group box would lay its caption out elsewhere.
    QPainter painter(this);
    const QPalette& p = palette();
    painter.fillRect(rect(), p.color(QPalette::Window));
    const QFontMetrics metrics(font());
    const int top = metrics.height() / 2;
    const QRect edge = rect().adjusted(0, top, -1, -1);
    painter.setPen(p.color(QPalette::Dark));
    painter.drawRect(edge.adjusted(0, 0, -1, -1));
    painter.setPen(p.color(QPalette::Light));
    painter.drawRect(edge.adjusted(1, 1, 0, 0));
    if (!title().isEmpty()) {
        const QString padded = " " + title() + " ";
        const QRect text(6, 0, metrics.horizontalAdvance(padded), metrics.height());
        painter.fillRect(text, p.color(QPalette::Window));
        painter.setPen(
            p.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, padded);
    }
    if (hooks.paint)
        hooks.paint(painter);
}

void Group::mousePressEvent(QMouseEvent* e) {
    Forward(hooks, MouseKind::Press, e);
}
void Group::mouseMoveEvent(QMouseEvent* e) {
    Forward(hooks, MouseKind::Move, e);
}
void Group::mouseReleaseEvent(QMouseEvent* e) {
    Forward(hooks, MouseKind::Release, e);
}

void ClickLabel::paintEvent(QPaintEvent* e) {
    if (!wordWrap()) {
        QLabel::paintEvent(e);
        return;
    }
    // The designer sized wrapped labels for Windows' line step, the font's
    // cell without leading; a substitute font's own step is a pixel taller,
    // which cuts off a label's last line.
    const int step = QFontMetrics(font(), this).height();
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WordWrap);
    QTextLayout layout(text(), font(), this);
    layout.setTextOption(option);
    layout.beginLayout();
    for (int i = 0;; ++i) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width());
        line.setPosition(QPointF(0, i * step));
    }
    layout.endLayout();
    QPainter painter(this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    layout.draw(&painter, QPointF(0, 0));
}

void ClickLabel::mousePressEvent(QMouseEvent* e) {
    e->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && onClick)
        onClick();
}

void KeyBox::keyPressEvent(QKeyEvent* e) {
    if (onKey) {
        // By the key's place, not the character it types: the poll watches
        // the same place, so the key bound is the key that fires on every
        // layout. On X the native scan code is the X keycode.
        const int key = static_cast<int>(VirtualKeyForKeycode(e->nativeScanCode()));
        if (key != 0)
            onKey(key, ShiftBits(e->modifiers()));
    }
    if (locked) {
        e->accept();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void KeyBox::inputMethodEvent(QInputMethodEvent* e) {
    if (locked) {
        e->accept();
        return;
    }
    QLineEdit::inputMethodEvent(e);
}

} // namespace lumatone::view
