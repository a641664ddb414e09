// Mirroring the model: after each event the view touches only the native
// controls and windows whose model changed. It reads the model and never
// writes to it.
#include "model/twips.h"
#include "win32app/view.h"

namespace lumatone::view {

void Win32View::Sync() {
    if (!form1_ || form1_->hwnd == nullptr)
        return;
    delivery_.Sync();
}

void Win32View::MirrorAll() {
    MirrorForm1();
    MirrorTimers();
    MirrorForm2();
}

void Win32View::MirrorForm1() {
    Form1Window& w = *form1_;
    // A hidden window's controls are brought up to date when it shows again;
    // the 50 ms poll of a window in the tray thus costs no control traffic.
    if (w.model.visible || w.shown)
        for (const ControlChange& change : w.changes.TakeControlChanges())
            MirrorControl(w, change);
    if (w.changes.TakeWindowChange() || w.stale) {
        w.stale = false;
        MirrorForm1Window();
    }
}

void Win32View::MirrorForm1Window() {
    Form1Window& w = *form1_;
    const Form1& f = w.model;
    HWND hwnd = w.hwnd;
    // A minimised window keeps its place until it is restored.
    const auto place = [&] {
        if (!IsIconic(hwnd))
            PlaceWindow(hwnd, f.Look());
    };
    place();
    const bool shown = IsWindowVisible(hwnd) != FALSE;
    const bool iconic = IsIconic(hwnd) != FALSE;
    const bool wantIconic = f.windowState == 1;
    if (f.visible) {
        if (!shown || iconic != wantIconic) {
            ShowWindow(hwnd, wantIconic ? SW_SHOWMINNOACTIVE : SW_SHOWNORMAL);
            if (!wantIconic)
                SetForegroundWindow(hwnd);
            place();
        }
    } else if (shown) {
        if (wantIconic && !iconic)
            ShowWindow(hwnd, SW_SHOWMINNOACTIVE);
        ShowWindow(hwnd, SW_HIDE);
    }
    w.shown = IsWindowVisible(hwnd) != FALSE;
}

void Win32View::MirrorTimers() {
    Form1Window& w = *form1_;
    auto timers = w.model.Timers();
    for (std::size_t i = 0; i < timers.size(); ++i) {
        const Timer* t = timers[i];
        const int want = Live() && t->enabled && t->interval > 0 ? t->interval : 0;
        int& running = w.runningTimers[t];
        if (want == running)
            continue;
        if (want != 0)
            SetTimer(w.hwnd, i + 1, static_cast<UINT>(want), nullptr);
        else
            KillTimer(w.hwnd, i + 1);
        running = want;
    }
}

void Win32View::MirrorForm2() {
    Form2* m = app_->form2.get();
    if (form2_ && &form2_->model != m)
        DestroyForm2();
    if (m == nullptr)
        return;
    if (!form2_) {
        CreateForm2(*m);
        if (!form2_)
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

void Win32View::MirrorForm2Window() {
    const Form2& m = form2_->model;
    HWND hwnd = form2_->hwnd;
    PlaceWindow(hwnd, m.Look());
    const bool shown = IsWindowVisible(hwnd) != FALSE;
    if (m.visible && !shown) {
        ShowWindow(hwnd, SW_SHOWNORMAL);
        SetForegroundWindow(hwnd);
        if (HWND first = form2_->HandleOf(m.TabOrder().front()))
            SetFocus(first);
    } else if (!m.visible && shown) {
        ShowWindow(hwnd, SW_HIDE);
    }
}

void Win32View::PlaceWindow(HWND hwnd, const WindowLook& look) {
    RECT have{};
    GetWindowRect(hwnd, &have);
    const int x = ToPixels(look.left, twipsPerPixel_), y = ToPixels(look.top, twipsPerPixel_);
    const int cx = ToPixels(look.width, twipsPerPixel_), cy = ToPixels(look.height, twipsPerPixel_);
    if (have.left != x || have.top != y || have.right - have.left != cx ||
        have.bottom - have.top != cy)
        SetWindowPos(hwnd, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32View::MirrorControl(NativeWindow& window, const ControlChange& change) {
    const Control& c = *change.control;
    if (c.kind == ControlKind::Line) {
        InvalidateLine(c);
        return;
    }
    NativeControl* n = window.NativeOf(&c);
    if (n == nullptr)
        return; // out of reach: it has no native window
    HWND h = n->hwnd;
    const ControlLook look = c.Look();
    if (change.Has(aspect::kText))
        MirrorText(*n, look.text);
    if (change.Has(aspect::kPlace)) {
        const PixelRect want = ToPixelRect(look.left, look.top, look.width, look.height,
                                           look.originLeft, look.originTop, twipsPerPixel_);
        // An auto-size label keeps the size of its text; only its place follows the model.
        if (n->autoSize)
            SetWindowPos(h, nullptr, want.left, want.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        else
            SetWindowPos(h, nullptr, want.left, want.top, want.Width(), want.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (change.Has(aspect::kValue)) {
        if (c.kind == ControlKind::CheckBox)
            SendMessageA(h, BM_SETCHECK, CheckState(look.value), 0);
        else if (c.kind == ControlKind::HScroll || c.kind == ControlKind::VScroll)
            SetScrollPos(h, SB_CTL, look.value, TRUE);
    }
    if (change.Has(aspect::kEnabled))
        EnableWindow(h, look.enabled ? TRUE : FALSE);
    if (change.Has(aspect::kVisible))
        ShowWindow(h, look.visible ? SW_SHOWNA : SW_HIDE);
    if (change.Has(aspect::kFont))
        SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(look.font)), TRUE);
    if (change.Has(aspect::kColors))
        InvalidateRect(h, nullptr, TRUE);
}

void Win32View::MirrorText(NativeControl& n, const std::string& text) {
    HWND h = n.hwnd;
    if (n.control->kind == ControlKind::TextBox) {
        // Typing already put the user's text there; setting it again would move the caret.
        if (n.text == text)
            return;
        n.text = text;
        SetWindowTextA(h, text.c_str());
        return;
    }
    SetWindowTextA(h, text.c_str());
    if (n.autoSize) {
        HDC dc = GetDC(h);
        HGDIOBJ old = SelectObject(dc, FontFor(n.control->font));
        SIZE size{};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(h, dc);
        SetWindowPos(h, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (n.control->kind == ControlKind::Frame) {
        InvalidateRect(h, nullptr, TRUE);
    }
}

void Win32View::InvalidateLine(const Control& line) {
    // A line is drawn by what holds it: its group, or the window.
    HWND holder = line.container ? form1_->HandleOf(line.container) : form1_->hwnd;
    if (holder != nullptr)
        InvalidateRect(holder, nullptr, TRUE);
}

} // namespace lumatone::view
