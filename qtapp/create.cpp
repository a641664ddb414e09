// Creating the windows and their widgets from the model.
#include "qtapp/view.h"

#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOption>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace lumatone::view {
namespace {

// Windows draws a scroll bar's thumb as a square of the bar's thickness,
// whatever the range; a style's thumb grows with the bar's length.
class SquareThumbs : public QProxyStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_ScrollBarSliderMin && option != nullptr)
            return std::min(option->rect.width(), option->rect.height());
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

PixelRect ToPixelRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

} // namespace

QtView::QtView() : timer_(new QTimer(this)) {
    connect(timer_, &QTimer::timeout, this, [this] { OnTimer(); });
    QApplication::setStyle(new SquareThumbs);
    // The designer's fonts are Windows ones: where they are missing, fonts of
    // the same widths keep the captions inside their controls.
    QFont::insertSubstitutions("MS Sans Serif", {"Microsoft Sans Serif", "Liberation Sans", "Arimo",
                                                 "Arial", "Helvetica"});
    for (const int size : {16, 32, 48, 64})
        icon_.addFile(QString(":/lumatone-%1.png").arg(size), QSize(size, size));
}

QtView::~QtView() {
    kit_.DiscardForm2();
    form1_.reset();
}

bool QtView::Create(App& app) {
    app_ = &app;
    QGuiApplication::setWindowIcon(icon_);
    if (!kit_.Create(app))
        return false;
    for (QScreen* screen : QGuiApplication::screens())
        WatchScreen(screen);
    connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        WatchScreen(screen);
        Deliver([this] { app_->OnDisplayChange(); });
    });
    connect(qApp, &QGuiApplication::screenRemoved, this,
            [this] { Deliver([this] { app_->OnDisplayChange(); }); });
    return true;
}

void QtView::WatchScreen(QScreen* screen) {
    // Each of these may have reset the screen's gamma ramps.
    const auto changed = [this] { Deliver([this] { app_->OnDisplayChange(); }); };
    connect(screen, &QScreen::geometryChanged, this, changed);
    connect(screen, &QScreen::refreshRateChanged, this, changed);
}

int QtView::DotsPerInch() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchX())) : 0;
}

PixelSize QtView::ScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? PixelSize{screen->geometry().width(), screen->geometry().height()}
                  : PixelSize{};
}

std::optional<PixelRect> QtView::WorkArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return std::nullopt;
    return ToPixelRect(screen->availableGeometry());
}

NativeHandle QtView::CreateForm1(Form1& f) {
    form1_ = std::make_unique<Surface>();
    Surface& s = *form1_;
    const PixelRect r = kit_.PixelsOf(f.Look());
    s.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    s.setWindowTitle(ToQString(f.caption));
    s.setGeometry(r.left, r.top, r.Width(), r.Height());
    QPalette palette = s.palette();
    palette.setColor(QPalette::Window, ToQColor(f.backColor));
    s.setPalette(palette);
    s.setFocusPolicy(Qt::ClickFocus);
    QWidget* handle = &s;
    s.hooks.mouse = [this](MouseKind k, int b, int sh, QPoint at) {
        kit_.Mouse(nullptr, k, b, sh, at.x(), at.y());
    };
    s.hooks.paint = [this](QPainter& p) { PaintLines(p, nullptr); };
    s.onClose = [this, handle] { kit_.CloseAsked(handle); };
    s.onTab = [this](bool next) {
        kit_.MoveFocus(!next);
        return true;
    };
    s.onActivate = [this](bool active) { kit_.Activated(active); };
    s.onMoved = [this, handle] { kit_.Relocated(handle); };
    s.onMinimized = [this](bool minimized) { kit_.MinimizedByUser(minimized); };
    return handle;
}

NativeHandle QtView::CreateForm2(Form2& m) {
    auto* s = new Surface;
    s->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    s->setWindowTitle(ToQString(m.caption));
    s->setAutoFillBackground(true);
    QWidget* handle = s;
    s->onClose = [this, handle] { kit_.CloseAsked(handle); };
    s->onMoved = [this, handle] { kit_.Relocated(handle); };
    Place(handle, kit_.PixelsOf(m.Look()));
    return handle;
}

void QtView::CreateControl(NativeControl& n, NativeHandle parent, int) {
    Control& c = *n.control;
    QWidget* widget = nullptr;
    WithKind(
        c, Overloaded{
               [&](Frame& frame) {
                   auto* group = new Group;
                   group->hooks.mouse = [this, fr = &frame](MouseKind k, int b, int s, QPoint at) {
                       kit_.Mouse(fr, k, b, s, at.x(), at.y());
                   };
                   group->hooks.paint = [this, fr = &frame](QPainter& p) { PaintLines(p, fr); };
                   widget = group;
               },
               [&](Label& l) {
                   auto* label = new ClickLabel;
                   label->setWordWrap(l.wordWrap);
                   label->setTextFormat(Qt::PlainText);
                   label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                   label->onClick = [this, label = &l] { kit_.Click(*label); };
                   widget = label;
               },
               [&](TextBox& t) {
                   auto* box = new KeyBox;
                   box->locked = t.locked;
                   box->setReadOnly(t.locked);
                   widget = box;
               },
               [&](Button&) { widget = new QPushButton; },
               [&](CheckBox&) {
                   auto* box = new QCheckBox;
                   // A button fills with the button colour; a check box shows
                   // its own back colour, as on Windows.
                   box->setBackgroundRole(QPalette::Window);
                   widget = box;
               },
               [&](Slider& s) {
                   auto* bar = new QScrollBar(s.kind == ControlKind::VScroll ? Qt::Vertical
                                                                             : Qt::Horizontal);
                   bar->setRange(s.min, s.max);
                   // Arrow and page steps are both 1; the value changes when
                   // the thumb is let go, not while it is dragged.
                   bar->setSingleStep(1);
                   bar->setPageStep(1);
                   bar->setTracking(false);
                   widget = bar;
               },
               [](Line&) {},
           });
    if (widget == nullptr)
        return; // painted by what holds it
    widget->setParent(Widget(parent));
    widget->setFocusPolicy(c.tabStop ? Qt::StrongFocus : Qt::NoFocus);
    n.handle = widget;
    ApplyAll(n, c.Look());
    Connect(n);
}

void QtView::Discard(FormWindow& window) {
    // The widgets go once Qt is done with the event that may be running in
    // one of them ("Quit").
    auto* surface = static_cast<Surface*>(Widget(window.handle));
    surface->hide();
    surface->onClose = nullptr;
    surface->onMoved = nullptr;
    for (auto& n : window.controls)
        Widget(n->handle)->disconnect(this);
    surface->deleteLater();
}

} // namespace lumatone::view
