// Creating the windows and their widgets from the model.
#include "model/twips.h"
#include "qtapp/view.h"

#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleOption>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace lumatone::view {
namespace {

// Code boxes and the two code-only buttons sit right of the window's width:
// the user can neither see nor reach them, so they get no widget.
bool OutOfReach(const Control& c) {
    return c.container == nullptr && c.left >= kForm1Width;
}

QFont ToQFont(const FontSpec& wanted) {
    QFont font(ToQString(wanted.name));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(wanted.points);
    font.setUnderline(wanted.underline);
    return font;
}

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

} // namespace

QtView::QtView() {
    QApplication::setStyle(new SquareThumbs);
    // The designer's fonts are Windows ones: where they are missing, fonts of
    // the same widths keep the captions inside their controls.
    QFont::insertSubstitutions("MS Sans Serif", {"Microsoft Sans Serif", "Liberation Sans", "Arimo",
                                                 "Arial", "Helvetica"});
    for (const int size : {16, 32, 48, 64})
        icon_.addFile(QString(":/lumatone-%1.png").arg(size), QSize(size, size));
}

QtView::~QtView() {
    DestroyForm2();
    timers_.clear();
    form1_.reset();
}

bool QtView::Create(App& app) {
    app_ = &app;
    delivery_.Attach(app);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        twipsPerPixel_ =
            TwipsPerPixel(static_cast<int>(std::lround(screen->logicalDotsPerInchX())));
    QGuiApplication::setWindowIcon(icon_);

    Form1& f = app.form1;
    auto window = std::make_unique<Form1Window>(f);
    window->surface = std::make_unique<Surface>();
    Surface& s = *window->surface;
    s.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    s.setWindowTitle(ToQString(f.caption));
    s.setGeometry(ToPixels(f.left, twipsPerPixel_), ToPixels(f.top, twipsPerPixel_),
                  ToPixels(f.width, twipsPerPixel_), ToPixels(f.height, twipsPerPixel_));
    QPalette palette = s.palette();
    palette.setColor(QPalette::Window, ToQColor(f.backColor));
    s.setPalette(palette);
    s.setFocusPolicy(Qt::ClickFocus);
    s.hooks.mouse = [this](MouseKind k, int b, int sh, QPoint at) {
        OnMouse(nullptr, k, b, sh, at);
    };
    s.hooks.paint = [this](QPainter& p) { PaintLines(p, nullptr); };
    s.onClose = [this] { Deliver([this] { app_->Unload(UnloadReason::UserQuit); }); };
    s.onTab = [this](bool next) {
        MoveFocus(!next);
        return true;
    };
    s.onActivate = [this](bool active) { OnActivate(active); };
    s.onMoved = [this] {
        // The view put the window where the model has it; if something else
        // moved it, the next mirroring puts it back.
        if (!delivery_.Mirroring() && form1_)
            form1_->stale = true;
    };
    s.onMinimized = [this, &f](bool minimized) {
        if (delivery_.Mirroring() || !Live())
            return;
        if (minimized && f.windowState != 1)
            Deliver([&f] { f.windowState = 1; });
        else if (!minimized && f.windowState == 1 && form1_->surface->isVisible())
            Deliver([&f] { f.windowState = 0; });
    };
    form1_ = std::move(window);

    for (Control* c : f.Controls()) {
        if (OutOfReach(*c))
            continue;
        QWidget* parent = c->container ? form1_->WidgetOf(c->container) : form1_->surface.get();
        CreateControl(*form1_, *c, parent);
    }
    // Window-level controls lie above the groups ("_" and "x" overlap "Lumatone - V7").
    for (auto& n : form1_->controls)
        if (n->control->container == nullptr && n->control->kind != ControlKind::Frame)
            n->widget->raise();

    for (Timer* t : f.Timers()) {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, t] { OnTimer(t); });
        timers_[t] = timer;
    }
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

void QtView::PlaceInitially() {
    if (!form1_)
        return;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect work = screen->availableGeometry();
    Form1* f = &form1_->model;
    const int w = ToPixels(f->width, twipsPerPixel_);
    const int h = ToPixels(f->height, twipsPerPixel_);
    const int x = work.left() + std::max(0, (work.width() - w) / 2);
    const int y = work.top() + std::max(0, (work.height() - h) / 2);
    const int left = static_cast<int>(std::lround(ToTwips(x, twipsPerPixel_)));
    const int top = static_cast<int>(std::lround(ToTwips(y, twipsPerPixel_)));
    Deliver([f, left, top] {
        f->left = left;
        f->top = top;
    });
}

void QtView::CreateControl(NativeWindow& window, Control& c, QWidget* parent) {
    auto n = std::make_unique<NativeControl>();
    n->control = &c;
    WithKind(
        c, Overloaded{
               [&](Frame& frame) {
                   auto* group = new Group;
                   group->hooks.mouse = [this, fr = &frame](MouseKind k, int b, int s, QPoint at) {
                       OnMouse(fr, k, b, s, at);
                   };
                   group->hooks.paint = [this, fr = &frame](QPainter& p) { PaintLines(p, fr); };
                   n->widget = group;
               },
               [&](Label& l) {
                   auto* label = new ClickLabel;
                   label->setWordWrap(l.wordWrap);
                   label->setTextFormat(Qt::PlainText);
                   label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                   label->onClick = [this, label = &l] { Deliver([label] { label->Click(); }); };
                   n->autoSize = l.autoSize;
                   n->widget = label;
               },
               [&](TextBox& t) {
                   auto* box = new KeyBox;
                   box->locked = t.locked;
                   box->setReadOnly(t.locked);
                   n->text = t.text;
                   n->widget = box;
               },
               [&](Button&) { n->widget = new QPushButton; },
               [&](CheckBox&) {
                   auto* box = new QCheckBox;
                   // A button fills with the button colour; a check box shows
                   // its own back colour, as on Windows.
                   box->setBackgroundRole(QPalette::Window);
                   n->widget = box;
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
                   n->widget = bar;
               },
               [](Line&) {},
           });
    if (n->widget == nullptr)
        return; // painted by what holds it
    n->widget->setParent(parent);
    n->widget->setFocusPolicy(c.tabStop ? Qt::StrongFocus : Qt::NoFocus);
    // Created as the model has it now, which is where its change tracking starts.
    ApplyLook(*n, c.Look(), &window == form1_.get());
    Connect(*n);
    window.controls.push_back(std::move(n));
}

// Everything the look holds, as a widget just created shows it.
void QtView::ApplyLook(NativeControl& n, const ControlLook& look, bool form1) {
    QWidget& w = *n.widget;
    const PixelRect r = ToPixelRect(look.left, look.top, look.width, look.height, look.originLeft,
                                    look.originTop, twipsPerPixel_);
    w.setGeometry(r.left, r.top, r.Width(), r.Height());
    w.setFont(ToQFont(look.font));
    // Form2 keeps the desktop's dialog colours, as the designer left it.
    if (form1) {
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
    MirrorText(n, look.text);
    if (auto* box = qobject_cast<QCheckBox*>(&w))
        box->setChecked(look.value == 1);
    if (auto* bar = qobject_cast<QScrollBar*>(&w)) {
        const QSignalBlocker quiet(bar);
        bar->setValue(look.value);
    }
    w.setEnabled(look.enabled);
    w.setVisible(look.visible);
}

void QtView::CreateForm2(Form2& m) {
    auto window = std::make_unique<Form2Window>(m);
    window->surface = std::make_unique<Surface>();
    Surface& s = *window->surface;
    s.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    s.setWindowTitle(ToQString(m.caption));
    s.setAutoFillBackground(true);
    s.onClose = [this] {
        if (LiveForm2() != nullptr)
            Deliver([this] { app_->CloseForm2(); });
    };
    s.onMoved = [this] {
        if (!delivery_.Mirroring() && form2_)
            form2_->stale = true;
    };
    form2_ = std::move(window);
    PlaceWindow(s, m.Look());
    // Created in the dialog's focus order, which Qt's Tab then follows.
    for (Control* c : m.TabOrder())
        CreateControl(*form2_, *c, &s);
    for (Control* c : m.Controls())
        if (form2_->WidgetOf(c) == nullptr)
            CreateControl(*form2_, *c, &s);
}

void QtView::DestroyForm2() {
    if (!form2_)
        return;
    // Gone from the view at once; the widgets go once Qt is done with the
    // event that may be running in one of them ("Quit").
    const std::unique_ptr<Form2Window> dying = std::move(form2_);
    Surface* surface = dying->surface.release();
    surface->hide();
    surface->onClose = nullptr;
    surface->onMoved = nullptr;
    for (auto& n : dying->controls)
        n->widget->disconnect(this);
    surface->deleteLater();
}

Form2Window* QtView::LiveForm2() const {
    if (!form2_ || app_ == nullptr || app_->form2.get() != &form2_->model)
        return nullptr;
    return form2_.get();
}

} // namespace lumatone::view
