#include "win32app/view.h"

#include "app/tray.h"
#include "win32app/twips.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>

namespace lumatone::view {
namespace {

constexpr const char* kForm1Class = "LumatoneForm1";
constexpr const char* kFrameClass = "LumatoneFrame";
constexpr const char* kForm2Class = "LumatoneForm2";
constexpr int kIconResource = 1;

COLORREF ToColorRef(Rgb c) {
    return RGB(c.r, c.g, c.b);
}

// Button bits 1 left, 2 right, 4 middle; shift bits 1 Shift, 2 Ctrl, 4 Alt.
int HeldButtons(WPARAM keys) {
    return ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) |
           ((keys & MK_MBUTTON) ? 4 : 0);
}
int ShiftState() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

std::string WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

const std::string* TextOf(Control& c) {
    switch (c.kind) {
    case ControlKind::Label:
        return &static_cast<Label&>(c).caption;
    case ControlKind::TextBox:
        return &static_cast<TextBox&>(c).text;
    case ControlKind::Frame:
        return &static_cast<Frame&>(c).caption;
    case ControlKind::Button:
        return &static_cast<Button&>(c).caption;
    case ControlKind::CheckBox:
        return &static_cast<CheckBox&>(c).caption;
    default:
        return nullptr;
    }
}

// Code boxes and the two code-only buttons sit right of the window's width:
// the user can neither see nor reach them, so they get no native window.
bool OutOfReach(const Control& c) {
    return c.container == nullptr && c.left >= kForm1Width;
}

RECT ChildRect(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace

Win32View::Win32View(HINSTANCE instance) : instance_(instance) {}

Win32View::~Win32View() {
    DestroyForm2();
    if (form1_ != nullptr)
        DestroyWindow(form1_);
    for (auto& [key, font] : fonts_)
        DeleteObject(font);
    for (auto& [key, brush] : brushes_)
        DeleteObject(brush);
    if (smallIcon_ != nullptr)
        DestroyIcon(smallIcon_);
    if (icon_ != nullptr)
        DestroyIcon(icon_);
}

bool Win32View::RegisterClasses() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FormProc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = icon_;
    wc.hIconSm = smallIcon_;
    wc.lpszClassName = kForm1Class;
    if (RegisterClassExA(&wc) == 0)
        return false;

    wc.hIcon = nullptr;
    wc.hIconSm = nullptr;
    wc.lpszClassName = kFrameClass;
    if (RegisterClassExA(&wc) == 0)
        return false;

    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kForm2Class;
    return RegisterClassExA(&wc) != 0;
}

bool Win32View::Create(App& app) {
    app_ = &app;
    HDC screen = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    twipsPerPixel_ = TwipsPerPixel(dpi_);

    // The manifest asks for version 6 of the common controls; XP loads them
    // only after this call.
    InitCommonControls();
    icon_ = static_cast<HICON>(
        LoadImageA(instance_, MAKEINTRESOURCEA(kIconResource), IMAGE_ICON, 32, 32, 0));
    smallIcon_ = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(kIconResource),
                                               IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    if (!RegisterClasses())
        return false;
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");

    Form1& f = app.form1;
    form1_ = CreateWindowExA(WS_EX_APPWINDOW, kForm1Class, f.caption.c_str(),
                             WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX,
                             ToPixels(f.left, twipsPerPixel_), ToPixels(f.top, twipsPerPixel_),
                             ToPixels(f.width, twipsPerPixel_), ToPixels(f.height, twipsPerPixel_),
                             nullptr, nullptr, instance_, this);
    if (form1_ == nullptr)
        return false;
    for (Control* c : f.Controls())
        CreateControl(*c, form1_, false);
    // Window-level controls lie above the groups ("_" and "x" overlap "Lumatone - V7").
    for (auto& n : natives_)
        if (!n->form2 && n->control->container == nullptr && n->control->kind != ControlKind::Frame)
            SetWindowPos(n->hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

void Win32View::PlaceInitially() {
    if (app_ == nullptr)
        return;
    RECT work{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
        work = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    Form1& f = app_->form1;
    const int w = ToPixels(f.width, twipsPerPixel_);
    const int h = ToPixels(f.height, twipsPerPixel_);
    const int x = work.left + std::max(0L, (work.right - work.left - w) / 2);
    const int y = work.top + std::max(0L, (work.bottom - work.top - h) / 2);
    f.left = static_cast<int>(std::lround(ToTwips(x, twipsPerPixel_)));
    f.top = static_cast<int>(std::lround(ToTwips(y, twipsPerPixel_)));
}

HWND Win32View::ParentFor(const Control& c, bool onForm2) const {
    if (onForm2)
        return form2_;
    if (c.container != nullptr)
        return HandleOf(c.container);
    return form1_;
}

void Win32View::CreateControl(Control& c, HWND form, bool onForm2) {
    if (c.kind == ControlKind::Line || c.kind == ControlKind::Timer || (!onForm2 && OutOfReach(c)))
        return;
    const char* cls = nullptr;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (c.tabStop ? WS_TABSTOP : 0);
    DWORD exStyle = 0;
    switch (c.kind) {
    case ControlKind::Frame:
        cls = kFrameClass;
        style |= WS_CLIPCHILDREN;
        break;
    case ControlKind::Label:
        cls = "STATIC";
        // Labels take their clicks, so a press on one never reaches a drag handle.
        style |= SS_NOTIFY | (static_cast<Label&>(c).wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP);
        break;
    case ControlKind::TextBox:
        cls = "EDIT";
        style |= ES_AUTOHSCROLL | (static_cast<TextBox&>(c).locked ? ES_READONLY : 0);
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case ControlKind::Button:
        cls = "BUTTON";
        style |= BS_PUSHBUTTON;
        break;
    case ControlKind::CheckBox:
        cls = "BUTTON";
        style |= BS_AUTOCHECKBOX;
        break;
    case ControlKind::HScroll:
        cls = "SCROLLBAR";
        style |= SBS_HORZ;
        break;
    case ControlKind::VScroll:
        cls = "SCROLLBAR";
        style |= SBS_VERT;
        break;
    default:
        return;
    }
    HWND parent = onForm2 ? form : ParentFor(c, false);
    const std::string* text = TextOf(c);
    const int origin = c.container ? 1 : 0;
    const PixelRect r = ToPixelRect(c.WindowLeft(), c.WindowTop(), c.width, c.height,
                                    origin ? c.container->WindowLeft() : 0,
                                    origin ? c.container->WindowTop() : 0, twipsPerPixel_);
    HWND hwnd = CreateWindowExA(exStyle, cls, text ? text->c_str() : "", style, r.left, r.top,
                                r.Width(), r.Height(), parent,
                                reinterpret_cast<HMENU>(natives_.size() + 1), instance_, this);
    if (hwnd == nullptr)
        return;
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c.font)), FALSE);
    auto n = std::make_unique<Native>();
    n->control = &c;
    n->hwnd = hwnd;
    n->form2 = onForm2;
    if (c.kind == ControlKind::HScroll || c.kind == ControlKind::VScroll) {
        auto& s = static_cast<Slider&>(c);
        SetScrollRange(hwnd, SB_CTL, s.min, s.max, FALSE);
        SetScrollPos(hwnd, SB_CTL, s.Value(), FALSE);
    }
    if (c.kind == ControlKind::TextBox) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(n.get()));
        n->baseProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TextBoxProc)));
    }
    natives_.push_back(std::move(n));
}

void Win32View::CreateForm2() {
    Form2& m = *app_->form2;
    // Centred on the screen.
    m.left = (ScreenWidthTwips() - m.width) / 2;
    m.top = (ScreenHeightTwips() - m.height) / 2;
    form2_ = CreateWindowExA(0, kForm2Class, m.caption.c_str(), WS_POPUP | WS_CLIPCHILDREN,
                             ToPixels(m.left, twipsPerPixel_), ToPixels(m.top, twipsPerPixel_),
                             ToPixels(m.width, twipsPerPixel_), ToPixels(m.height, twipsPerPixel_),
                             nullptr, nullptr, instance_, this);
    if (form2_ == nullptr)
        return;
    form2Model_ = &m;
    // Created in the dialog's focus order, which is what the dialog manager follows.
    for (Control* c : m.TabOrder())
        CreateControl(*c, form2_, true);
    for (Control* c : m.Controls())
        if (HandleOf(c) == nullptr)
            CreateControl(*c, form2_, true);
}

void Win32View::DestroyForm2() {
    std::erase_if(natives_, [](const std::unique_ptr<Native>& n) { return n->form2; });
    form2Model_ = nullptr;
    if (form2_ != nullptr) {
        HWND dying = form2_;
        form2_ = nullptr;
        DestroyWindow(dying);
    }
}

Win32View::Native* Win32View::Find(HWND hwnd) {
    if (hwnd == nullptr)
        return nullptr;
    for (auto& n : natives_)
        if (n->hwnd == hwnd)
            return n->form2 && (app_ == nullptr || app_->form2.get() != form2Model_) ? nullptr
                                                                                     : n.get();
    return nullptr;
}

HWND Win32View::HandleOf(const Control* c) const {
    for (auto& n : natives_)
        if (n->control == c)
            return n->hwnd;
    return nullptr;
}

Frame* Win32View::FrameOf(HWND hwnd) const {
    for (auto& n : natives_)
        if (n->hwnd == hwnd && n->control->kind == ControlKind::Frame)
            return static_cast<Frame*>(n->control);
    return nullptr;
}

bool Win32View::Live() const {
    return app_ != nullptr && app_->form1.loaded && !app_->Ended();
}

template <typename F> void Win32View::Deliver(F&& event) {
    if (!Live())
        return;
    event();
    Sync();
}

// ---- window procedures -----------------------------------------------------

LRESULT CALLBACK Win32View::FormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32View*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    return self->HandleForm(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK Win32View::TextBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* n = reinterpret_cast<Native*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    auto* self =
        reinterpret_cast<Win32View*>(GetWindowLongPtrA(GetAncestor(hwnd, GA_ROOT), GWLP_USERDATA));
    if (n == nullptr || self == nullptr)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    return self->HandleTextBox(*n, msg, wParam, lParam);
}

LRESULT Win32View::HandleTextBox(Native& n, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto& box = static_cast<TextBox&>(*n.control);
    const WNDPROC base = n.baseProc;
    HWND hwnd = n.hwnd;
    switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const bool altF4 = wParam == VK_F4 && (lParam & (1L << 29)) != 0;
        Deliver([&] { box.KeyDown(static_cast<std::int16_t>(wParam), ShiftState()); });
        // A binding box keeps Alt and F10 from opening the (absent) menu, but
        // Alt+F4 still closes the window.
        if (msg == WM_SYSKEYDOWN && box.locked && !altF4)
            return 0;
        break;
    }
    case WM_SYSKEYUP:
        if (box.locked)
            return 0;
        break;
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_IME_CHAR:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case WM_CONTEXTMENU:
        if (box.locked)
            return 0;
        break;
    default:
        break;
    }
    return CallWindowProcA(base, hwnd, msg, wParam, lParam);
}

LRESULT Win32View::HandleForm(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const bool isForm1 = hwnd == form1_;
    if (msg == taskbarCreated_ && taskbarCreated_ != 0 && isForm1) {
        Deliver([&] { app_->tray.OnTaskbarCreated(); });
        return 0;
    }
    switch (msg) {
    case kTrayCallbackMessage:
        if (isForm1)
            Deliver([&] { app_->tray.OnCallback(LOWORD(lParam)); });
        return 0;
    case WM_COMMAND:
        if (lParam != 0)
            OnCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam != 0)
            OnScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        if (hwnd != form2_) {
            const LRESULT brush =
                OnControlColor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
            if (brush != 0)
                return brush;
        }
        break;
    case WM_ERASEBKGND:
        if (hwnd != form2_) {
            RECT r{};
            GetClientRect(hwnd, &r);
            const Rgb back =
                isForm1 || !FrameOf(hwnd) ? app_->form1.backColor : FrameOf(hwnd)->backColor;
            FillRect(reinterpret_cast<HDC>(wParam), &r, BrushFor(ToColorRef(back)));
            return 1;
        }
        break;
    case WM_PAINT:
        if (hwnd != form2_) {
            Paint(hwnd);
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
        if (hwnd != form2_)
            OnMouse(hwnd, msg, wParam, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        // Capture taken away mid-press (a system dialog, Alt+Tab): the drag ends
        // as if the button had been released.
        if (press_.hwnd == hwnd) {
            const Press lost = press_;
            press_ = {};
            const MouseHandler& up = lost.frame ? lost.frame->onMouseUp : app_->form1.onMouseUp;
            if (up)
                Deliver([&] { up(1, ShiftState(), 0.0f, 0.0f); });
        }
        return 0;
    case WM_TIMER:
        if (isForm1)
            OnTimer(wParam);
        return 0;
    case WM_SIZE:
        if (isForm1 && !syncing_ && Live()) {
            Form1& f = app_->form1;
            if (wParam == SIZE_MINIMIZED && f.windowState != 1)
                Deliver([&] { f.windowState = 1; });
            else if (wParam == SIZE_RESTORED && f.windowState == 1 && IsWindowVisible(hwnd))
                Deliver([&] { f.windowState = 0; });
        }
        return 0;
    case WM_ACTIVATE:
        if (isForm1 && Live()) {
            if (LOWORD(wParam) == WA_INACTIVE) {
                if (Native* n = Find(GetFocus()); n != nullptr && !n->form2)
                    app_->form1.SetFocus(n->control);
            } else {
                FocusModelControl();
            }
            return 0;
        }
        break;
    case WM_CLOSE:
        if (isForm1) {
            Deliver([&] { app_->Unload(UnloadReason::UserQuit); });
        } else if (hwnd == form2_ && Live()) {
            // Form2 has no unload handler of its own: closing it just discards it.
            Deliver([&] { app_->form2.reset(); });
        }
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE; // never hold up the end of the session
    case WM_ENDSESSION:
        if (isForm1 && wParam != 0)
            Deliver([&] { app_->Unload(UnloadReason::SystemClosing); });
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// ---- events into the model -------------------------------------------------

void Win32View::OnCommand(HWND child, int code) {
    Native* n = Find(child);
    if (n == nullptr)
        return;
    Control* c = n->control;
    switch (c->kind) {
    case ControlKind::Button:
        if (code == BN_CLICKED)
            Deliver([&] { static_cast<Button*>(c)->Click(); });
        break;
    case ControlKind::CheckBox:
        if (code == BN_CLICKED) {
            const bool ticked = SendMessageA(child, BM_GETCHECK, 0, 0) == BST_CHECKED;
            Deliver([&] { static_cast<CheckBox*>(c)->value = ticked ? 1 : 0; });
        }
        break;
    case ControlKind::Label:
        if (code == STN_CLICKED)
            Deliver([&] { static_cast<Label*>(c)->Click(); });
        break;
    case ControlKind::TextBox:
        if (code == EN_CHANGE && !syncing_) {
            const std::string text = WindowText(child);
            Deliver([&] { static_cast<TextBox*>(c)->SetTextByUser(text); });
        }
        break;
    default:
        break;
    }
}

void Win32View::OnScroll(HWND bar, int code) {
    Native* n = Find(bar);
    if (n == nullptr ||
        (n->control->kind != ControlKind::HScroll && n->control->kind != ControlKind::VScroll))
        return;
    auto& slider = static_cast<Slider&>(*n->control);
    int value = slider.Value();
    // Arrow and page steps are both 1. The value changes when the thumb is
    // let go, not while it is dragged.
    switch (code) {
    case SB_LINEUP:
    case SB_PAGEUP:
        value -= 1;
        break;
    case SB_LINEDOWN:
    case SB_PAGEDOWN:
        value += 1;
        break;
    case SB_TOP:
        value = slider.min;
        break;
    case SB_BOTTOM:
        value = slider.max;
        break;
    case SB_THUMBPOSITION: {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_TRACKPOS;
        GetScrollInfo(bar, SB_CTL, &si);
        value = si.nTrackPos;
        break;
    }
    default:
        return;
    }
    value = std::clamp<int>(value, slider.min, slider.max);
    Deliver([&] { slider.SetValue(value); });
    // A refused or unchanged value leaves the thumb where the model has it.
    Sync();
}

void Win32View::OnMouse(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!Live())
        return;
    Frame* frame = FrameOf(hwnd);
    Form1& f = app_->form1;
    const MouseHandler& down = frame ? frame->onMouseDown : f.onMouseDown;
    const MouseHandler& move = frame ? frame->onMouseMove : f.onMouseMove;
    const MouseHandler& up = frame ? frame->onMouseUp : f.onMouseUp;
    const float x = ToTwips(GET_X_LPARAM(lParam), twipsPerPixel_);
    const float y = ToTwips(GET_Y_LPARAM(lParam), twipsPerPixel_);
    const int shift = ShiftState();
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        if (!down && !move && !up)
            return; // not a drag handle
        const int button = msg == WM_LBUTTONDOWN ? 1 : msg == WM_RBUTTONDOWN ? 2 : 4;
        press_ = {hwnd, frame};
        SetCapture(hwnd);
        if (down)
            Deliver([&] { down(button, shift, x, y); });
        break;
    }
    case WM_MOUSEMOVE:
        if (move)
            Deliver([&] { move(HeldButtons(wParam), shift, x, y); });
        break;
    default: {
        const int button = msg == WM_LBUTTONUP ? 1 : msg == WM_RBUTTONUP ? 2 : 4;
        const bool last = HeldButtons(wParam) == 0;
        if (last && press_.hwnd == hwnd) {
            press_ = {};
            ReleaseCapture();
        }
        if (up)
            Deliver([&] { up(button, shift, x, y); });
        break;
    }
    }
}

void Win32View::OnTimer(UINT_PTR id) {
    if (!Live())
        return;
    auto timers = app_->form1.Timers();
    if (id == 0 || id > timers.size())
        return;
    Timer* t = timers[id - 1];
    Deliver([&] { t->Tick(); });
}

void Win32View::FocusModelControl() {
    if (!Live())
        return;
    if (HWND h = HandleOf(app_->form1.Focused());
        h != nullptr && IsWindowEnabled(h) && IsWindowVisible(h))
        SetFocus(h);
    else
        SetFocus(form1_);
}

void Win32View::MoveFocus(bool backwards) {
    if (!Live())
        return;
    Form1& f = app_->form1;
    if (Native* n = Find(GetFocus()); n != nullptr && !n->form2)
        f.SetFocus(n->control);
    f.FocusNext(backwards);
    FocusModelControl();
}

LRESULT Win32View::OnControlColor(HWND child, HDC dc) {
    Native* n = Find(child);
    if (n == nullptr || n->form2)
        return 0;
    const Control& c = *n->control;
    SetTextColor(dc,
                 IsWindowEnabled(child) ? ToColorRef(c.foreColor) : GetSysColor(COLOR_GRAYTEXT));
    SetBkColor(dc, ToColorRef(c.backColor));
    return reinterpret_cast<LRESULT>(BrushFor(ToColorRef(c.backColor)));
}

// ---- drawing ---------------------------------------------------------------

void Win32View::Paint(HWND hwnd) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd, &ps);
    if (app_ != nullptr) {
        Form1& f = app_->form1;
        Frame* frame = FrameOf(hwnd);
        const int ox = frame ? frame->WindowLeft() : 0;
        const int oy = frame ? frame->WindowTop() : 0;
        if (frame != nullptr) {
            // The group's etched border, broken by its caption.
            HGDIOBJ oldFont = SelectObject(dc, FontFor(frame->font));
            SIZE text{};
            GetTextExtentPoint32A(dc, frame->caption.c_str(),
                                  static_cast<int>(frame->caption.size()), &text);
            RECT r{};
            GetClientRect(hwnd, &r);
            r.top = text.cy / 2;
            DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
            if (!frame->caption.empty()) {
                SetTextColor(dc, ToColorRef(frame->foreColor));
                SetBkColor(dc, ToColorRef(frame->backColor));
                SetBkMode(dc, OPAQUE);
                const std::string padded = " " + frame->caption + " ";
                TextOutA(dc, 6, 0, padded.c_str(), static_cast<int>(padded.size()));
            }
            SelectObject(dc, oldFont);
        }
        HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        for (Control* c : f.Controls()) {
            if (c->kind != ControlKind::Line || c->container != frame || !c->visible)
                continue;
            const auto& line = static_cast<const Line&>(*c);
            const int x1 = ToPixels(line.x1 + ox, twipsPerPixel_) - ToPixels(ox, twipsPerPixel_);
            const int y1 = ToPixels(line.y1 + oy, twipsPerPixel_) - ToPixels(oy, twipsPerPixel_);
            const int x2 = ToPixels(line.x2 + ox, twipsPerPixel_) - ToPixels(ox, twipsPerPixel_);
            const int y2 = ToPixels(line.y2 + oy, twipsPerPixel_) - ToPixels(oy, twipsPerPixel_);
            MoveToEx(dc, x1, y1, nullptr);
            LineTo(dc, x2, y2);
            SetPixel(dc, x2, y2, GetSysColor(COLOR_WINDOWTEXT)); // both ends drawn
        }
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }
    EndPaint(hwnd, &ps);
}

HFONT Win32View::FontFor(const FontSpec& wanted) {
    const std::string key = wanted.name + "|" + std::to_string(std::lround(wanted.points * 100)) +
                            (wanted.underline ? "|u" : "");
    if (auto it = fonts_.find(key); it != fonts_.end())
        return it->second;
    const int height =
        -static_cast<int>(std::lround(wanted.points * static_cast<float>(dpi_) / 72));
    HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, wanted.underline ? TRUE : FALSE,
                             FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, wanted.name.c_str());
    fonts_[key] = font;
    return font;
}

HBRUSH Win32View::BrushFor(COLORREF color) {
    if (auto it = brushes_.find(color); it != brushes_.end())
        return it->second;
    HBRUSH brush = CreateSolidBrush(color);
    brushes_[color] = brush;
    return brush;
}

// ---- mirroring the model ---------------------------------------------------

void Win32View::Sync() {
    if (syncing_ || app_ == nullptr || form1_ == nullptr)
        return;
    syncing_ = true;
    Form1& f = app_->form1;
    // A hidden window's controls are brought up to date when it shows again;
    // the 50 ms poll of a window in the tray thus costs no control traffic.
    if (f.visible || IsWindowVisible(form1_)) {
        for (auto& n : natives_)
            if (!n->form2)
                SyncControl(*n);
        if (std::vector<int> lines = LineGeometry(); lines != drawnLines_) {
            drawnLines_ = std::move(lines);
            InvalidateRect(form1_, nullptr, TRUE);
            for (auto& n : natives_)
                if (!n->form2 && n->control->kind == ControlKind::Frame)
                    InvalidateRect(n->hwnd, nullptr, TRUE);
        }
    }
    SyncForm1Window();
    SyncTimers();
    SyncForm2();
    syncing_ = false;
}

std::vector<int> Win32View::LineGeometry() const {
    std::vector<int> geometry;
    for (const Control* c : app_->form1.Controls())
        if (c->kind == ControlKind::Line) {
            const auto& l = static_cast<const Line&>(*c);
            geometry.insert(geometry.end(), {l.EffectivelyVisible() ? 1 : 0, l.WindowLeft(),
                                             l.WindowTop(), l.x1, l.y1, l.x2, l.y2});
        }
    return geometry;
}

void Win32View::SyncGeometry(Native& n) {
    Control& c = *n.control;
    const bool onWindow = c.container == nullptr || n.form2;
    const PixelRect want = ToPixelRect(c.WindowLeft(), c.WindowTop(), c.width, c.height,
                                       onWindow ? 0 : c.container->WindowLeft(),
                                       onWindow ? 0 : c.container->WindowTop(), twipsPerPixel_);
    const RECT have = ChildRect(n.hwnd);
    const bool autoSize = c.kind == ControlKind::Label && static_cast<Label&>(c).autoSize;
    if (autoSize) {
        // An auto-size label keeps the size of its text; only its place follows the model.
        if (have.left != want.left || have.top != want.top)
            SetWindowPos(n.hwnd, nullptr, want.left, want.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    if (have.left != want.left || have.top != want.top || have.right != want.right ||
        have.bottom != want.bottom)
        SetWindowPos(n.hwnd, nullptr, want.left, want.top, want.Width(), want.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32View::SyncControl(Native& n) {
    Control& c = *n.control;
    HWND h = n.hwnd;
    if (const std::string* text = TextOf(c); text != nullptr && WindowText(h) != *text) {
        SetWindowTextA(h, text->c_str());
        if (c.kind == ControlKind::Label && static_cast<Label&>(c).autoSize) {
            HDC dc = GetDC(h);
            HGDIOBJ old = SelectObject(dc, FontFor(c.font));
            SIZE size{};
            GetTextExtentPoint32A(dc, text->c_str(), static_cast<int>(text->size()), &size);
            SelectObject(dc, old);
            ReleaseDC(h, dc);
            SetWindowPos(h, nullptr, 0, 0, size.cx, size.cy,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        } else if (c.kind == ControlKind::Frame) {
            InvalidateRect(h, nullptr, TRUE);
        }
    }
    SyncGeometry(n);
    if (c.kind == ControlKind::CheckBox) {
        const WPARAM want = static_cast<CheckBox&>(c).value == 1   ? BST_CHECKED
                            : static_cast<CheckBox&>(c).value == 2 ? BST_INDETERMINATE
                                                                   : BST_UNCHECKED;
        if (static_cast<WPARAM>(SendMessageA(h, BM_GETCHECK, 0, 0)) != want)
            SendMessageA(h, BM_SETCHECK, want, 0);
    }
    if (c.kind == ControlKind::HScroll || c.kind == ControlKind::VScroll) {
        const int want = static_cast<Slider&>(c).Value();
        if (GetScrollPos(h, SB_CTL) != want)
            SetScrollPos(h, SB_CTL, want, TRUE);
    }
    if ((IsWindowEnabled(h) != FALSE) != c.enabled)
        EnableWindow(h, c.enabled ? TRUE : FALSE);
    const bool shown = (GetWindowLongPtrA(h, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != c.visible)
        ShowWindow(h, c.visible ? SW_SHOWNA : SW_HIDE);
}

void Win32View::SyncForm1Window() {
    Form1& f = app_->form1;
    if (!IsIconic(form1_)) {
        RECT have{};
        GetWindowRect(form1_, &have);
        const int x = ToPixels(f.left, twipsPerPixel_), y = ToPixels(f.top, twipsPerPixel_);
        const int w = ToPixels(f.width, twipsPerPixel_), h = ToPixels(f.height, twipsPerPixel_);
        if (have.left != x || have.top != y || have.right - have.left != w ||
            have.bottom - have.top != h)
            SetWindowPos(form1_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const bool shown = IsWindowVisible(form1_) != FALSE;
    const bool iconic = IsIconic(form1_) != FALSE;
    const bool wantIconic = f.windowState == 1;
    if (f.visible) {
        if (!shown || iconic != wantIconic) {
            if (f.Focused() == nullptr)
                f.FocusNext(); // the first control in the focus order
            ShowWindow(form1_, wantIconic ? SW_SHOWMINNOACTIVE : SW_SHOWNORMAL);
            if (!wantIconic)
                SetForegroundWindow(form1_);
        }
    } else if (shown) {
        if (wantIconic && !iconic)
            ShowWindow(form1_, SW_SHOWMINNOACTIVE);
        ShowWindow(form1_, SW_HIDE);
    }
}

void Win32View::SyncTimers() {
    auto timers = app_->form1.Timers();
    for (std::size_t i = 0; i < timers.size(); ++i) {
        const Timer* t = timers[i];
        const int want = Live() && t->enabled && t->interval > 0 ? t->interval : 0;
        int& running = runningTimers_[t];
        if (want == running)
            continue;
        if (want != 0)
            SetTimer(form1_, i + 1, static_cast<UINT>(want), nullptr);
        else
            KillTimer(form1_, i + 1);
        running = want;
    }
}

void Win32View::SyncForm2() {
    Form2* m = app_->form2.get();
    if (m != form2Model_ || (m != nullptr && form2_ == nullptr)) {
        DestroyForm2();
        if (m != nullptr)
            CreateForm2();
    }
    if (form2_ == nullptr || m == nullptr)
        return;
    for (auto& n : natives_)
        if (n->form2)
            SyncControl(*n);
    RECT have{};
    GetWindowRect(form2_, &have);
    const int x = ToPixels(m->left, twipsPerPixel_), y = ToPixels(m->top, twipsPerPixel_);
    const int w = ToPixels(m->width, twipsPerPixel_), h = ToPixels(m->height, twipsPerPixel_);
    if (have.left != x || have.top != y || have.right - have.left != w ||
        have.bottom - have.top != h)
        SetWindowPos(form2_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    const bool shown = IsWindowVisible(form2_) != FALSE;
    if (m->visible && !shown) {
        ShowWindow(form2_, SW_SHOWNORMAL);
        SetForegroundWindow(form2_);
        if (HWND first = HandleOf(m->TabOrder().front()))
            SetFocus(first);
    } else if (!m->visible && shown) {
        ShowWindow(form2_, SW_HIDE);
    }
}

// ---- the runtime -----------------------------------------------------------

int Win32View::Run() {
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (form2_ != nullptr && IsDialogMessageA(form2_, &msg))
            continue;
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && form1_ != nullptr &&
            (msg.hwnd == form1_ || IsChild(form1_, msg.hwnd))) {
            // Tab moves the focus and goes no further, as in a dialog: a
            // binding box would otherwise bind Tab on the way out.
            MoveFocus(GetKeyState(VK_SHIFT) < 0);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DestroyForm2();
    if (form1_ != nullptr) {
        HWND dying = form1_;
        form1_ = nullptr;
        DestroyWindow(dying);
    }
    return static_cast<int>(msg.wParam);
}

WindowHandle Win32View::MainWindow() {
    return reinterpret_cast<WindowHandle>(form1_);
}

IconHandle Win32View::MainIcon() {
    return reinterpret_cast<IconHandle>(icon_);
}

int Win32View::PopupMenu(const std::vector<std::string>& captions) {
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr)
        return -1;
    for (std::size_t i = 0; i < captions.size(); ++i)
        AppendMenuA(menu, MF_STRING, i + 1, captions[i].c_str());
    POINT at{};
    GetCursorPos(&at);
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(form1_);
    const int chosen = static_cast<int>(
        TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x,
                       at.y, 0, form1_, nullptr));
    PostMessageA(form1_, WM_NULL, 0, 0);
    DestroyMenu(menu);
    return chosen - 1;
}

int Win32View::ScreenWidthTwips() {
    return static_cast<int>(std::lround(ToTwips(GetSystemMetrics(SM_CXSCREEN), twipsPerPixel_)));
}

int Win32View::ScreenHeightTwips() {
    return static_cast<int>(std::lround(ToTwips(GetSystemMetrics(SM_CYSCREEN), twipsPerPixel_)));
}

void Win32View::EndProgram() {
    PostQuitMessage(0);
}

} // namespace lumatone::view
