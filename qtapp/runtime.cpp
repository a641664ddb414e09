// The event loop, painting the lines, and what the window model asks of the
// form runtime.
#include "model/twips.h"
#include "qtapp/view.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QScreen>

#include <cmath>

namespace lumatone::view {

int QtView::Run() {
    // The model may have ended the program before the loop ran.
    const int code = ended_ ? 0 : QApplication::exec();
    DestroyForm2();
    if (form1_)
        form1_->surface->hide();
    return code;
}

void QtView::PaintLines(QPainter& painter, const Frame* frame) {
    if (app_ == nullptr)
        return;
    const int ox = frame ? frame->WindowLeft() : 0;
    const int oy = frame ? frame->WindowTop() : 0;
    painter.setPen(QPen(Qt::black, 0));
    for (const Line* line : app_->form1.Lines()) {
        if (line->container != frame || !line->visible)
            continue;
        const PixelLine p =
            ToPixelLine(line->x1, line->y1, line->x2, line->y2, ox, oy, twipsPerPixel_);
        painter.drawLine(p.x1, p.y1, p.x2, p.y2);
    }
}

WindowHandle QtView::MainWindow() {
    return form1_ ? static_cast<WindowHandle>(form1_->surface->winId()) : 0;
}

IconHandle QtView::MainIcon() {
    // The shell shows the view's one icon; any handle but 0 names it.
    return icon_.isNull() ? 0 : 1;
}

int QtView::PopupMenu(const std::vector<std::string>& captions) {
    QMenu menu;
    std::vector<QAction*> actions;
    for (const std::string& caption : captions)
        actions.push_back(menu.addAction(ToQString(caption)));
    const QAction* chosen = menu.exec(QCursor::pos());
    for (std::size_t i = 0; i < actions.size(); ++i)
        if (actions[i] == chosen)
            return static_cast<int>(i);
    return -1;
}

int QtView::ScreenWidthTwips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int pixels = screen ? screen->geometry().width() : 0;
    return static_cast<int>(std::lround(ToTwips(pixels, twipsPerPixel_)));
}

int QtView::ScreenHeightTwips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int pixels = screen ? screen->geometry().height() : 0;
    return static_cast<int>(std::lround(ToTwips(pixels, twipsPerPixel_)));
}

void QtView::EndProgram() {
    ended_ = true;
    QCoreApplication::exit(0);
}

} // namespace lumatone::view
