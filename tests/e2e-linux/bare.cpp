// The bare Qt program the footprint of the Linux program is measured against:
// one window, one 50 ms timer that does nothing.
//   lumatone_bare_qt [show]
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstring>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle("LumatoneBare");
    window.resize(441, 489);
    if (argc > 1 && std::strcmp(argv[1], "show") == 0)
        window.show();
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [] {});
    timer.start(50);
    return QApplication::exec();
}
