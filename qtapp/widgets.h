// The few widget kinds whose events Qt does not offer as signals, and the
// conversions between the kit's handles and the widgets.
#pragma once

#include "model/forms.h"
#include "view/native_windows.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QWidget>

#include <functional>
#include <string>

namespace lumatone::view {

// Button bits 1 left, 2 right, 4 middle.
using MouseHook = std::function<void(MouseKind, int buttons, int shift, QPoint at)>;

// Shift bits 1 Shift, 2 Ctrl, 4 Alt.
int ShiftBits(Qt::KeyboardModifiers modifiers);
int ButtonBits(Qt::MouseButtons buttons);

// What a drag handle (the window background, a group) forwards to the view.
struct SurfaceHooks {
    MouseHook mouse;
    std::function<void(QPainter&)> paint;
};

// A top-level window of the model. Its close (Alt+F4, the window manager)
// is the model's to decide, so Qt is never left to close it.
class Surface : public QWidget {
  public:
    SurfaceHooks hooks;
    std::function<void()> onClose;
    std::function<bool(bool next)> onTab;
    std::function<void(bool active)> onActivate;
    std::function<void()> onMoved;
    std::function<void(bool minimized)> onMinimized;

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool focusNextPrevChild(bool next) override;
    void changeEvent(QEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    bool event(QEvent* e) override;
};

class Group : public QGroupBox {
  public:
    SurfaceHooks hooks;

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
};

// Labels take their clicks, so a press on one never reaches a drag handle.
class ClickLabel : public QLabel {
  public:
    std::function<void()> onClick;

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
};

// A text box whose key presses go to the model first; a locked one takes no
// typed text.
class KeyBox : public QLineEdit {
  public:
    std::function<void(int virtualKey, int shift)> onKey;
    bool locked = false;

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
};

inline QColor ToQColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

inline QString ToQString(const std::string& s) {
    return QString::fromStdString(s);
}

// Every handle the view hands the kit is a widget.
inline QWidget* Widget(NativeHandle h) {
    return static_cast<QWidget*>(h);
}

} // namespace lumatone::view
