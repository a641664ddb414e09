// Creating, finding and discarding the native windows, and mirroring the
// model into them: after each event the kit touches only the native controls
// and windows whose model changed. It reads the model and never writes to it.
#include "view/kit.h"

#include "model/twips.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace lumatone::view {
namespace {

// Code boxes and the two code-only buttons sit right of the window's width:
// the user can neither see nor reach them, so they get no native.
bool OutOfReach(const Control& c) {
    return c.container == nullptr && c.left >= kForm1Width;
}

} // namespace

NativeControl* FormWindow::Find(NativeHandle h) const {
    if (h == nullptr)
        return nullptr;
    for (auto& n : controls)
        if (n->handle == h)
            return n.get();
    return nullptr;
}

NativeControl* FormWindow::NativeOf(const Control* c) const {
    for (auto& n : controls)
        if (n->control == c)
            return n.get();
    return nullptr;
}

NativeHandle FormWindow::HandleOf(const Control* c) const {
    const NativeControl* n = NativeOf(c);
    return n ? n->handle : nullptr;
}

Frame* FormWindow::FrameOf(NativeHandle h) const {
    Frame* frame = nullptr;
    if (const NativeControl* n = Find(h))
        WithKind(*n->control, Overloaded{[&](Frame& f) { frame = &f; }, [](Control&) {}});
    return frame;
}

bool ViewKit::Create(App& app) {
    app_ = &app;
    delivery_.Attach(app);
    twipsPerPixel_ = lumatone::TwipsPerPixel(native_.DotsPerInch());
    Form1& f = app.form1;
    auto window = std::make_unique<FormWindow>(f);
    window->handle = native_.CreateForm1(f);
    if (window->handle == nullptr)
        return false;
    form1_ = std::move(window);
    for (Control* c : f.Controls()) {
        if (OutOfReach(*c))
            continue;
        const NativeHandle parent = c->container ? form1_->HandleOf(c->container) : form1_->handle;
        CreateControl(*form1_, *c, parent);
    }
    // Window-level controls lie above the groups ("_" and "x" overlap "Lumatone - V7").
    for (auto& n : form1_->controls)
        if (n->control->container == nullptr && n->control->kind != ControlKind::Frame)
            native_.Raise(n->handle);
    return true;
}

void ViewKit::CreateControl(FormWindow& window, Control& c, NativeHandle parent) {
    if (c.kind == ControlKind::Line)
        return; // drawn by what holds it
    auto n = std::make_unique<NativeControl>();
    n->control = &c;
    WithKind(c, Overloaded{[&](Label& l) { n->autoSize = l.autoSize; },
                           [&](TextBox& t) { n->text = t.text; }, [](Control&) {}});
    native_.CreateControl(*n, parent, static_cast<int>(window.controls.size() + 1));
    if (n->handle != nullptr)
        window.controls.push_back(std::move(n));
}

bool ViewKit::CreateForm2(Form2& m) {
    auto window = std::make_unique<FormWindow>(m);
    window->handle = native_.CreateForm2(m);
    if (window->handle == nullptr)
        return false;
    form2_ = std::move(window);
    form2Model_ = &m;
    // Created in the dialog's focus order, which the native focus then follows.
    for (Control* c : m.TabOrder())
        CreateControl(*form2_, *c, form2_->handle);
    for (Control* c : m.Controls())
        if (form2_->HandleOf(c) == nullptr)
            CreateControl(*form2_, *c, form2_->handle);
    return true;
}

void ViewKit::DiscardForm2() {
    if (!form2_)
        return;
    // Gone from the view before the native window's last messages.
    const std::unique_ptr<FormWindow> dying = std::move(form2_);
    form2Model_ = nullptr;
    native_.Discard(*dying);
}

NativeHandle ViewKit::ReleaseForm1() {
    return form1_ ? std::exchange(form1_->handle, nullptr) : nullptr;
}

FormWindow* ViewKit::LiveForm2() const {
    if (!form2_ || app_ == nullptr || app_->form2.get() != form2Model_)
        return nullptr;
    return form2_.get();
}

NativeControl* ViewKit::FindOnForm1(NativeHandle h) const {
    return form1_ ? form1_->Find(h) : nullptr;
}

NativeControl* ViewKit::Find(NativeHandle h) const {
    if (NativeControl* n = FindOnForm1(h))
        return n;
    const FormWindow* form2 = LiveForm2();
    return form2 ? form2->Find(h) : nullptr;
}

std::vector<PixelLine> ViewKit::LinesOf(const Frame* frame) const {
    std::vector<PixelLine> lines;
    if (app_ == nullptr)
        return lines;
    const int ox = frame ? frame->WindowLeft() : 0;
    const int oy = frame ? frame->WindowTop() : 0;
    for (const Line* line : app_->form1.Lines())
        if (line->container == frame && line->visible)
            lines.push_back(
                ToPixelLine(line->x1, line->y1, line->x2, line->y2, ox, oy, twipsPerPixel_));
    return lines;
}

void ViewKit::PlaceInitially() {
    if (!form1_)
        return;
    const std::optional<PixelRect> work = native_.WorkArea();
    if (!work)
        return;
    Form1* f = &app_->form1;
    const int w = ToPixels(f->width, twipsPerPixel_);
    const int h = ToPixels(f->height, twipsPerPixel_);
    const int x = work->left + std::max(0, (work->Width() - w) / 2);
    const int y = work->top + std::max(0, (work->Height() - h) / 2);
    const int left = static_cast<int>(std::lround(ToTwips(x, twipsPerPixel_)));
    const int top = static_cast<int>(std::lround(ToTwips(y, twipsPerPixel_)));
    Deliver([f, left, top] {
        f->left = left;
        f->top = top;
    });
}

int ViewKit::ScreenWidthTwips() {
    return static_cast<int>(std::lround(ToTwips(native_.ScreenSize().width, twipsPerPixel_)));
}

int ViewKit::ScreenHeightTwips() {
    return static_cast<int>(std::lround(ToTwips(native_.ScreenSize().height, twipsPerPixel_)));
}

PixelRect ViewKit::PixelsOf(const WindowLook& look) const {
    const int x = ToPixels(look.left, twipsPerPixel_), y = ToPixels(look.top, twipsPerPixel_);
    return {x, y, x + ToPixels(look.width, twipsPerPixel_),
            y + ToPixels(look.height, twipsPerPixel_)};
}

// ---- mirroring -------------------------------------------------------------

void ViewKit::Sync() {
    if (!form1_ || form1_->handle == nullptr)
        return;
    delivery_.Sync();
}

void ViewKit::MirrorAll() {
    MirrorForm1();
    MirrorTimers();
    MirrorForm2();
}

void ViewKit::MirrorForm1() {
    FormWindow& w = *form1_;
    // A hidden window's controls are brought up to date when it shows again;
    // the 50 ms poll of a window in the tray thus costs no native traffic.
    if (app_->form1.visible || w.shown)
        for (const ControlChange& change : w.changes.TakeControlChanges())
            MirrorControl(w, change);
    if (w.changes.TakeWindowChange() || w.stale) {
        w.stale = false;
        MirrorForm1Window();
    }
}

void ViewKit::MirrorForm1Window() {
    const Form1& f = app_->form1;
    const NativeHandle h = form1_->handle;
    const PixelRect place = PixelsOf(f.Look());
    // A minimised window keeps its place until it is restored.
    if (!native_.Minimized(h))
        native_.Place(h, place);
    const bool wantMinimized = f.windowState == 1;
    if (f.visible) {
        if (!native_.Shown(h) || native_.Minimized(h) != wantMinimized) {
            native_.Show(h, wantMinimized);
            if (!native_.Minimized(h))
                native_.Place(h, place);
        }
    } else if (native_.Shown(h)) {
        native_.Hide(h, wantMinimized);
    }
    form1_->shown = native_.Shown(h);
}

void ViewKit::MirrorTimers() {
    auto timers = app_->form1.Timers();
    for (std::size_t i = 0; i < timers.size(); ++i) {
        const Timer* t = timers[i];
        const int want = Live() && t->enabled && t->interval > 0 ? t->interval : 0;
        int& running = runningTimers_[t];
        if (want == running)
            continue;
        if (want != 0)
            native_.StartTimer(i, want);
        else
            native_.StopTimer(i);
        running = want;
    }
}

void ViewKit::MirrorForm2() {
    Form2* m = app_->form2.get();
    if (form2_ && form2Model_ != m)
        DiscardForm2();
    if (m == nullptr)
        return;
    if (!form2_) {
        if (!CreateForm2(*m))
            return; // tried again after the next event
        form2_->stale = true;
    }
    for (const ControlChange& change : form2_->changes.TakeControlChanges())
        MirrorControl(*form2_, change);
    if (form2_->changes.TakeWindowChange() || form2_->stale) {
        form2_->stale = false;
        MirrorForm2Window();
    }
}

void ViewKit::MirrorForm2Window() {
    const Form2& m = *form2Model_;
    const NativeHandle h = form2_->handle;
    native_.Place(h, PixelsOf(m.Look()));
    const bool shown = native_.Shown(h);
    if (m.visible && !shown) {
        native_.Show(h, false);
        if (NativeHandle first = form2_->HandleOf(m.TabOrder().front()))
            native_.Focus(first);
    } else if (!m.visible && shown) {
        native_.Hide(h, false);
    }
}

void ViewKit::MirrorControl(FormWindow& window, const ControlChange& change) {
    const Control& c = *change.control;
    if (c.kind == ControlKind::Line) {
        // A line is drawn by what holds it: its group, or the window.
        if (NativeHandle holder = c.container ? window.HandleOf(c.container) : window.handle)
            native_.Repaint(holder);
        return;
    }
    NativeControl* n = window.NativeOf(&c);
    if (n == nullptr)
        return; // out of reach: it has no native
    const ControlLook look = c.Look();
    if (change.Has(aspect::kText))
        MirrorText(*n, look.text);
    if (change.Has(aspect::kValue))
        native_.ApplyValue(*n, look.value);
    if (const unsigned rest = change.aspects & ~(aspect::kText | aspect::kValue); rest != 0)
        native_.ApplyLook(*n, look, rest);
}

void ViewKit::MirrorText(NativeControl& n, const std::string& text) {
    if (n.control->kind == ControlKind::TextBox) {
        // Typing already put the user's text there; setting it again would move the caret.
        if (n.text == text)
            return;
        n.text = text;
    }
    native_.ApplyText(n, text);
}

} // namespace lumatone::view
