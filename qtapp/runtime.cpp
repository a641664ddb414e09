// The event loop, painting the lines, and what the window model asks of the
// form runtime.
#include "qtapp/view.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>

namespace lumatone::view {

int QtView::Run() {
    // The model may have ended the program before the loop ran.
    const int code = ended_ ? 0 : QApplication::exec();
    kit_.DiscardForm2();
    if (form1_)
        form1_->hide();
    return code;
}

void QtView::PaintLines(QPainter& painter, const Frame* frame) {
    painter.setPen(QPen(Qt::black, 0));
    for (const PixelLine& p : kit_.LinesOf(frame))
        painter.drawLine(p.x1, p.y1, p.x2, p.y2);
}

int QtView::Popup(const std::vector<std::string>& captions) {
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

void QtView::EndProgram() {
    ended_ = true;
    QCoreApplication::exit(0);
}

void QtView::ShowAsked() {
    if (!form1_ || !Live())
        return;
    // Under a message box the main window takes no input, as with the tray
    // icon's clicks; the box comes to the front instead.
    QWidget* front = QApplication::activeModalWidget();
    if (front == nullptr) {
        Deliver([this] { app_->tray.ShowAction(); });
        front = form1_.get();
    }
    if (front->isVisible()) {
        front->raise();
        front->activateWindow();
    }
}

} // namespace lumatone::view
