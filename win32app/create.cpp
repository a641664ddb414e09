// Creating the native windows and their controls from the model.
#include "model/twips.h"
#include "win32app/view.h"

#include <commctrl.h>
#include <wtsapi32.h>

#include <utility>

namespace lumatone::view {
namespace {

constexpr const char* kFrameClass = "LumatoneFrame";
constexpr const char* kForm2Class = "LumatoneForm2";
constexpr int kIconResource = 1;

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

// A call of user32 that older Windows lacks, or nullptr.
template <typename Fn> Fn FromUser32(const char* name) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 == nullptr
               ? nullptr
               : reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)));
}

// An elevated program hears neither the shell nor a later copy of itself,
// both running at a lower integrity level, unless it lets their messages in.
// Windows before 7 lacks the per-window filter, and before Vista any filter.
void LetIn(HWND hwnd, UINT message) {
    using WindowFilter = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    using ProcessFilter = BOOL(WINAPI*)(UINT, DWORD);
    constexpr DWORD kAllow = 1; // MSGFLT_ALLOW, and MSGFLT_ADD of the older call
    if (message == 0)
        return;
    if (auto* window = FromUser32<WindowFilter>("ChangeWindowMessageFilterEx"))
        window(hwnd, message, kAllow, nullptr);
    else if (auto* process = FromUser32<ProcessFilter>("ChangeWindowMessageFilter"))
        process(message, kAllow);
}

} // namespace

std::string WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

Win32View::Win32View(HINSTANCE instance) : instance_(instance) {}

Win32View::~Win32View() {
    kit_.DiscardForm2();
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
    HDC screen = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);

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
    return kit_.Create(app);
}

PixelSize Win32View::ScreenSize() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

std::optional<PixelRect> Win32View::WorkArea() {
    RECT work{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
        work = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return PixelRect{work.left, work.top, work.right, work.bottom};
}

NativeHandle Win32View::CreateForm1(Form1& f) {
    const PixelRect r = kit_.PixelsOf(f.Look());
    HWND hwnd = CreateWindowExA(WS_EX_APPWINDOW, kForm1Class, f.caption.c_str(),
                                WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX, r.left, r.top,
                                r.Width(), r.Height(), nullptr, nullptr, instance_, this);
    if (hwnd != nullptr) {
        ListenForSessionChanges(hwnd);
        ListenForDisplayPower(hwnd);
        LetIn(hwnd, taskbarCreated_);
        LetIn(hwnd, single_ != nullptr ? single_->ShowMessage() : 0);
        if (mixerVolume_ != nullptr)
            mixerVolume_->SendNoticesTo(reinterpret_cast<WindowHandle>(hwnd));
    }
    return hwnd;
}

NativeHandle Win32View::CreateForm2(Form2& m) {
    const PixelRect r = kit_.PixelsOf(m.Look());
    return CreateWindowExA(0, kForm2Class, m.caption.c_str(), WS_POPUP | WS_CLIPCHILDREN, r.left,
                           r.top, r.Width(), r.Height(), nullptr, nullptr, instance_, this);
}

void Win32View::CreateControl(NativeControl& n, NativeHandle parent, int id) {
    Control& c = *n.control;
    const NativeKind kind = KindOf(c);
    if (kind.cls == nullptr)
        return;
    const ControlLook look = c.Look();
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (c.tabStop ? WS_TABSTOP : 0) |
                        (look.visible ? WS_VISIBLE : 0) | (look.enabled ? 0 : WS_DISABLED) |
                        kind.style;
    const PixelRect r = ToPixelRect(look.left, look.top, look.width, look.height, look.originLeft,
                                    look.originTop, kit_.TwipsPerPixel());
    HWND hwnd = CreateWindowExA(kind.exStyle, kind.cls, look.text.c_str(), style, r.left, r.top,
                                r.Width(), r.Height(), Hwnd(parent),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, this);
    if (hwnd == nullptr)
        return;
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c.font)), FALSE);
    n.handle = hwnd;
    WithKind(c, Overloaded{
                    [&](CheckBox& b) { SendMessageA(hwnd, BM_SETCHECK, CheckState(b.value), 0); },
                    [&](Slider& s) {
                        SetScrollRange(hwnd, SB_CTL, s.min, s.max, FALSE);
                        SetScrollPos(hwnd, SB_CTL, s.Value(), FALSE);
                    },
                    [&](TextBox&) {
                        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&n));
                        baseProcs_[hwnd] = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
                            hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TextBoxProc)));
                    },
                    [](Control&) {},
                });
}

void Win32View::DestroyForm1() {
    HWND dying = Hwnd(kit_.ReleaseForm1());
    if (dying == nullptr)
        return;
    if (mixerVolume_ != nullptr)
        mixerVolume_->SendNoticesTo(0);
    if (sessionNotices_)
        WTSUnRegisterSessionNotification(dying);
    using Unregister = BOOL(WINAPI*)(HPOWERNOTIFY);
    if (auto* unregister = FromUser32<Unregister>("UnregisterPowerSettingNotification"))
        for (HPOWERNOTIFY& notice : powerNotices_)
            if (std::exchange(notice, nullptr) != nullptr)
                unregister(notice);
    DestroyWindow(dying);
}

void Win32View::ListenForDisplayPower(HWND form1) {
    using Register = HPOWERNOTIFY(WINAPI*)(HANDLE, LPCGUID, DWORD);
    auto* subscribe = FromUser32<Register>("RegisterPowerSettingNotification");
    if (subscribe == nullptr)
        return; // before Vista: resume is the only wake-up
    for (std::size_t i = 0; i < powerNotices_.size(); ++i)
        powerNotices_[i] = subscribe(form1, &kDisplayPowerSettings[i], DEVICE_NOTIFY_WINDOW_HANDLE);
}

Frame* Win32View::FrameOf(HWND hwnd) const {
    const FormWindow* form1 = kit_.Form1Window();
    return form1 ? form1->FrameOf(hwnd) : nullptr;
}

} // namespace lumatone::view
