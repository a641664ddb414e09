// Creating the native windows and their controls from the model.
#include "model/twips.h"
#include "win32app/view.h"

#include <commctrl.h>
#include <wtsapi32.h>

#include <algorithm>
#include <cmath>

namespace lumatone::view {
namespace {

constexpr const char* kForm1Class = "LumatoneForm1";
constexpr const char* kFrameClass = "LumatoneFrame";
constexpr const char* kForm2Class = "LumatoneForm2";
constexpr int kIconResource = 1;

// Code boxes and the two code-only buttons sit right of the window's width:
// the user can neither see nor reach them, so they get no native window.
bool OutOfReach(const Control& c) {
    return c.container == nullptr && c.left >= kForm1Width;
}

struct NativeKind {
    const char* cls = nullptr; // nullptr: no native window
    DWORD style = 0;
    DWORD exStyle = 0;
};

NativeKind KindOf(Control& c) {
    NativeKind k;
    WithKind(
        c, Overloaded{
               [&](Frame&) {
                   k = {kFrameClass, WS_CLIPCHILDREN};
               },
               // Labels take their clicks, so a press on one never reaches a drag handle.
               [&](Label& l) {
                   k = {"STATIC",
                        static_cast<DWORD>(SS_NOTIFY | (l.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP))};
               },
               [&](TextBox& t) {
                   k = {"EDIT", static_cast<DWORD>(ES_AUTOHSCROLL | (t.locked ? ES_READONLY : 0)),
                        WS_EX_CLIENTEDGE};
               },
               [&](Button&) {
                   k = {"BUTTON", BS_PUSHBUTTON};
               },
               [&](CheckBox&) {
                   k = {"BUTTON", BS_AUTOCHECKBOX};
               },
               [&](Slider& s) {
                   k = {"SCROLLBAR",
                        static_cast<DWORD>(s.kind == ControlKind::VScroll ? SBS_VERT : SBS_HORZ)};
               },
               [](Line&) {},
           });
    return k;
}

} // namespace

std::string WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

NativeControl* NativeWindow::Find(HWND h) const {
    if (h == nullptr)
        return nullptr;
    for (auto& n : controls)
        if (n->hwnd == h)
            return n.get();
    return nullptr;
}

NativeControl* NativeWindow::NativeOf(const Control* c) const {
    for (auto& n : controls)
        if (n->control == c)
            return n.get();
    return nullptr;
}

HWND NativeWindow::HandleOf(const Control* c) const {
    const NativeControl* n = NativeOf(c);
    return n ? n->hwnd : nullptr;
}

Frame* Form1Window::FrameOf(HWND h) const {
    for (const auto& [frameHwnd, frame] : frames)
        if (frameHwnd == h)
            return frame;
    return nullptr;
}

Win32View::Win32View(HINSTANCE instance) : instance_(instance) {}

Win32View::~Win32View() {
    DestroyForm2();
    DestroyForm1();
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
    delivery_.Attach(app);
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
    auto window = std::make_unique<Form1Window>(f);
    window->hwnd = CreateWindowExA(
        WS_EX_APPWINDOW, kForm1Class, f.caption.c_str(),
        WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX, ToPixels(f.left, twipsPerPixel_),
        ToPixels(f.top, twipsPerPixel_), ToPixels(f.width, twipsPerPixel_),
        ToPixels(f.height, twipsPerPixel_), nullptr, nullptr, instance_, this);
    if (window->hwnd == nullptr)
        return false;
    form1_ = std::move(window);
    ListenForSessionChanges();
    for (Control* c : f.Controls()) {
        if (OutOfReach(*c))
            continue;
        const HWND parent = c->container ? form1_->HandleOf(c->container) : form1_->hwnd;
        CreateControl(*form1_, *c, parent);
        WithKind(*c, Overloaded{[this](Frame& frame) {
                                    if (HWND h = form1_->HandleOf(&frame))
                                        form1_->frames.emplace_back(h, &frame);
                                },
                                [](Control&) {}});
    }
    // Window-level controls lie above the groups ("_" and "x" overlap "Lumatone - V7").
    for (auto& n : form1_->controls)
        if (n->control->container == nullptr && n->control->kind != ControlKind::Frame)
            SetWindowPos(n->hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

void Win32View::PlaceInitially() {
    if (!form1_)
        return;
    RECT work{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
        work = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    Form1* f = &form1_->model;
    const int w = ToPixels(f->width, twipsPerPixel_);
    const int h = ToPixels(f->height, twipsPerPixel_);
    const int x = work.left + std::max(0L, (work.right - work.left - w) / 2);
    const int y = work.top + std::max(0L, (work.bottom - work.top - h) / 2);
    const int left = static_cast<int>(std::lround(ToTwips(x, twipsPerPixel_)));
    const int top = static_cast<int>(std::lround(ToTwips(y, twipsPerPixel_)));
    Deliver([f, left, top] {
        f->left = left;
        f->top = top;
    });
}

void Win32View::CreateControl(NativeWindow& window, Control& c, HWND parent) {
    const NativeKind kind = KindOf(c);
    if (kind.cls == nullptr)
        return;
    // Created as the model has it now, which is where its change tracking starts.
    const ControlLook look = c.Look();
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (c.tabStop ? WS_TABSTOP : 0) |
                        (look.visible ? WS_VISIBLE : 0) | (look.enabled ? 0 : WS_DISABLED) |
                        kind.style;
    const PixelRect r = ToPixelRect(look.left, look.top, look.width, look.height, look.originLeft,
                                    look.originTop, twipsPerPixel_);
    HWND hwnd = CreateWindowExA(
        kind.exStyle, kind.cls, look.text.c_str(), style, r.left, r.top, r.Width(), r.Height(),
        parent, reinterpret_cast<HMENU>(window.controls.size() + 1), instance_, this);
    if (hwnd == nullptr)
        return;
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c.font)), FALSE);
    auto n = std::make_unique<NativeControl>();
    n->control = &c;
    n->hwnd = hwnd;
    WithKind(c, Overloaded{
                    [&](Label& l) { n->autoSize = l.autoSize; },
                    [&](CheckBox& b) { SendMessageA(hwnd, BM_SETCHECK, CheckState(b.value), 0); },
                    [&](Slider& s) {
                        SetScrollRange(hwnd, SB_CTL, s.min, s.max, FALSE);
                        SetScrollPos(hwnd, SB_CTL, s.Value(), FALSE);
                    },
                    [&](TextBox& t) {
                        n->text = t.text;
                        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(n.get()));
                        n->baseProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
                            hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TextBoxProc)));
                    },
                    [](Control&) {},
                });
    window.controls.push_back(std::move(n));
}

void Win32View::CreateForm2(Form2& m) {
    auto window = std::make_unique<Form2Window>(m);
    window->hwnd =
        CreateWindowExA(0, kForm2Class, m.caption.c_str(), WS_POPUP | WS_CLIPCHILDREN,
                        ToPixels(m.left, twipsPerPixel_), ToPixels(m.top, twipsPerPixel_),
                        ToPixels(m.width, twipsPerPixel_), ToPixels(m.height, twipsPerPixel_),
                        nullptr, nullptr, instance_, this);
    if (window->hwnd == nullptr)
        return;
    form2_ = std::move(window);
    // Created in the dialog's focus order, which is what the dialog manager follows.
    for (Control* c : m.TabOrder())
        CreateControl(*form2_, *c, form2_->hwnd);
    for (Control* c : m.Controls())
        if (form2_->HandleOf(c) == nullptr)
            CreateControl(*form2_, *c, form2_->hwnd);
}

void Win32View::DestroyForm2() {
    if (!form2_)
        return;
    // Gone from the view before Windows sends its last messages.
    const std::unique_ptr<Form2Window> dying = std::move(form2_);
    DestroyWindow(dying->hwnd);
}

void Win32View::DestroyForm1() {
    if (!form1_)
        return;
    HWND dying = form1_->hwnd;
    form1_->hwnd = nullptr;
    if (sessionNotices_)
        WTSUnRegisterSessionNotification(dying);
    DestroyWindow(dying);
}

Form2Window* Win32View::LiveForm2() const {
    if (!form2_ || app_ == nullptr || app_->form2.get() != &form2_->model)
        return nullptr;
    return form2_.get();
}

NativeControl* Win32View::FindOnForm1(HWND hwnd) const {
    return form1_ ? form1_->Find(hwnd) : nullptr;
}

NativeControl* Win32View::Find(HWND hwnd) const {
    if (NativeControl* n = FindOnForm1(hwnd))
        return n;
    const Form2Window* form2 = LiveForm2();
    return form2 ? form2->Find(hwnd) : nullptr;
}

} // namespace lumatone::view
