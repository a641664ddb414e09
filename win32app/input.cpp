// Input: window messages into model events.
#include "win32app/view.h"

#include "app/shell_tray_icon.h"

#include <windowsx.h>
#include <wtsapi32.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

namespace lumatone::view {
namespace {

// Button bits 1 left, 2 right, 4 middle; shift bits 1 Shift, 2 Ctrl, 4 Alt.
int HeldButtons(WPARAM keys) {
    return ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) |
           ((keys & MK_MBUTTON) ? 4 : 0);
}
int ShiftState() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

// A move, a resize, or a show or hide; not a mere change of stacking order.
bool Relocated(const WINDOWPOS& pos) {
    constexpr UINT still = SWP_NOMOVE | SWP_NOSIZE;
    return (pos.flags & still) != still || (pos.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) != 0;
}

} // namespace

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
    auto* n = reinterpret_cast<NativeControl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    auto* self =
        reinterpret_cast<Win32View*>(GetWindowLongPtrA(GetAncestor(hwnd, GA_ROOT), GWLP_USERDATA));
    if (n == nullptr || self == nullptr)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    return self->HandleTextBox(*n, msg, wParam, lParam);
}

LRESULT Win32View::HandleTextBox(NativeControl& n, UINT msg, WPARAM wParam, LPARAM lParam) {
    TextBox* box = nullptr;
    WithKind(*n.control, Overloaded{[&](TextBox& t) { box = &t; }, [](Control&) {}});
    HWND hwnd = Hwnd(n.handle);
    const auto found = baseProcs_.find(hwnd);
    if (found == baseProcs_.end())
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    const WNDPROC base = found->second;
    if (box == nullptr)
        return CallWindowProcA(base, hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const bool altF4 = wParam == VK_F4 && (lParam & (1L << 29)) != 0;
        kit_.KeyDown(*box, static_cast<int>(wParam), ShiftState());
        // A binding box keeps Alt and F10 from opening the (absent) menu, but
        // Alt+F4 still closes the window.
        if (msg == WM_SYSKEYDOWN && box->locked && !altF4)
            return 0;
        break;
    }
    case WM_SYSKEYUP:
        if (box->locked)
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
        if (box->locked)
            return 0;
        break;
    default:
        break;
    }
    return CallWindowProcA(base, hwnd, msg, wParam, lParam);
}

LRESULT Win32View::HandleForm(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const bool isForm1 = hwnd == Form1Handle();
    const bool isForm2 = hwnd == Form2Handle();
    if (msg == taskbarCreated_ && taskbarCreated_ != 0 && isForm1) {
        Deliver([this] { trayIcon_->OnTaskbarCreated(); });
        return 0;
    }
    if (single_ != nullptr && msg == single_->ShowMessage() && msg != 0 && isForm1) {
        single_->ShowAsked();
        return 0;
    }
    switch (msg) {
    case kTrayCallbackMessage:
        // While a message box it owns is up, Form1 is disabled and takes no
        // input, its icon's clicks included: "&Exit" would end the program under the box.
        if (isForm1 && IsWindowEnabled(hwnd)) {
            const auto event = static_cast<std::uint32_t>(LOWORD(lParam));
            Deliver([this, event] { trayIcon_->OnCallback(event); });
        }
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
        if (!isForm2) {
            const LRESULT brush =
                OnControlColor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
            if (brush != 0)
                return brush;
        }
        break;
    case WM_ERASEBKGND:
        if (!isForm2) {
            EraseBackground(hwnd, reinterpret_cast<HDC>(wParam));
            return 1;
        }
        break;
    case WM_PAINT:
        if (!isForm2) {
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
        if (!isForm2)
            OnMouse(hwnd, msg, wParam, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureLost(hwnd);
        return 0;
    case WM_TIMER:
        if (isForm1)
            OnTimer(wParam);
        return 0;
    case WM_WINDOWPOSCHANGED:
        if (Relocated(*reinterpret_cast<const WINDOWPOS*>(lParam)))
            kit_.Relocated(hwnd);
        break;
    case WM_SIZE:
        if (isForm1 && (wParam == SIZE_MINIMIZED || wParam == SIZE_RESTORED))
            kit_.MinimizedByUser(wParam == SIZE_MINIMIZED);
        return 0;
    case WM_ACTIVATE:
        if (isForm1 && Live()) {
            kit_.Activated(LOWORD(wParam) != WA_INACTIVE);
            return 0;
        }
        break;
    case WM_CLOSE:
        kit_.CloseAsked(hwnd);
        return 0;
    default:
        return HandleSystem(hwnd, msg, wParam, lParam);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// The system's notices to the main window.
LRESULT Win32View::HandleSystem(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const bool isForm1 = hwnd == Form1Handle();
    switch (msg) {
    // Each of these may have reset the screen's gamma ramps.
    case WM_DISPLAYCHANGE:
        if (isForm1 && Live())
            Deliver([this] { app_->OnDisplayChange(); });
        return 0;
    case WM_POWERBROADCAST:
        if (isForm1 && Live() &&
            (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND))
            Deliver([this] { app_->OnResume(); });
        if (isForm1 && Live() && wParam == PBT_POWERSETTINGCHANGE && lParam != 0)
            OnPowerSetting(*reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam));
        return TRUE;
    case WM_WTSSESSION_CHANGE:
        if (!isForm1 || !Live())
            return 0;
        if (wParam == WTS_SESSION_UNLOCK || wParam == WTS_CONSOLE_CONNECT ||
            wParam == WTS_REMOTE_CONNECT)
            Deliver([this] { app_->OnSessionUnlock(); });
        else if (wParam == WTS_SESSION_LOCK || wParam == WTS_CONSOLE_DISCONNECT ||
                 wParam == WTS_REMOTE_DISCONNECT)
            Deliver([this] { app_->OnSessionLock(); });
        return 0;
    // The mixer's own notices of the handle it posts to: read, or open afresh, at the next poll.
    case kMmMixmControlChange:
    case kMmMixmLineChange:
        if (isForm1 && mixerVolume_ != nullptr)
            mixerVolume_->OnMixerNotice(msg, static_cast<MixerHandle>(wParam),
                                        static_cast<std::uint32_t>(lParam));
        return 0;
    case WM_DEVICECHANGE:
        if (isForm1 && mixerVolume_ != nullptr)
            mixerVolume_->OnDeviceChange();
        return TRUE;
    case WM_QUERYENDSESSION:
        return TRUE; // never hold up the end of the session
    case WM_ENDSESSION:
        if (isForm1 && wParam != 0)
            Deliver([this] { app_->Unload(UnloadReason::SystemClosing); });
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// ---- events into the model -------------------------------------------------

void Win32View::OnCommand(HWND child, int code) {
    NativeControl* n = kit_.Find(child);
    if (n == nullptr)
        return;
    WithKind(*n->control,
             Overloaded{
                 [&](Button& b) {
                     if (code == BN_CLICKED)
                         kit_.Click(b);
                 },
                 [&](CheckBox& c) {
                     if (code == BN_CLICKED)
                         kit_.Ticked(c, SendMessageA(child, BM_GETCHECK, 0, 0) == BST_CHECKED);
                 },
                 [&](Label& l) {
                     if (code == STN_CLICKED)
                         kit_.Click(l);
                 },
                 [&](TextBox&) {
                     if (code == EN_CHANGE)
                         kit_.Typed(*n, WindowText(child));
                 },
                 [](Control&) {},
             });
}

void Win32View::OnScroll(HWND bar, int code) {
    NativeControl* n = kit_.Find(bar);
    Slider* slider = nullptr;
    if (n != nullptr)
        WithKind(*n->control, Overloaded{[&](Slider& s) { slider = &s; }, [](Control&) {}});
    if (slider == nullptr)
        return;
    int value = slider->Value();
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
        value = slider->min;
        break;
    case SB_BOTTOM:
        value = slider->max;
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
    kit_.Scrolled(*n, value);
}

void Win32View::OnMouse(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!Live())
        return;
    Frame* frame = FrameOf(hwnd);
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    const int shift = ShiftState();
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        if (!kit_.DragHandle(frame))
            return;
        const int button = msg == WM_LBUTTONDOWN ? 1 : msg == WM_RBUTTONDOWN ? 2 : 4;
        press_ = {hwnd, frame};
        SetCapture(hwnd);
        kit_.Mouse(frame, MouseKind::Press, button, shift, x, y);
        break;
    }
    case WM_MOUSEMOVE:
        kit_.Mouse(frame, MouseKind::Move, HeldButtons(wParam), shift, x, y);
        break;
    default: {
        const int button = msg == WM_LBUTTONUP ? 1 : msg == WM_RBUTTONUP ? 2 : 4;
        if (HeldButtons(wParam) == 0 && press_.hwnd == hwnd) {
            press_ = {};
            ReleaseCapture();
        }
        kit_.Mouse(frame, MouseKind::Release, button, shift, x, y);
        break;
    }
    }
}

void Win32View::OnCaptureLost(HWND hwnd) {
    // Capture taken away mid-press (a system dialog, Alt+Tab): the drag ends
    // as if the button had been released.
    if (press_.hwnd != hwnd || app_ == nullptr)
        return;
    const Press lost = press_;
    press_ = {};
    kit_.Mouse(lost.frame, MouseKind::Release, 1, ShiftState(), 0, 0);
}

void Win32View::OnTimer(UINT_PTR id) {
    if (id != kTimerId)
        return;
    timers_.Tick([this](std::size_t i) {
        if (!Live())
            return;
        if (kit_.TimerAt(i) == &app_->form1.Timer2 && !sessionNotices_)
            ListenForSessionChanges(Form1Handle());
        kit_.Tick(i);
    });
}

void Win32View::OnPowerSetting(const POWERBROADCAST_SETTING& setting) {
    if (setting.DataLength < sizeof(DWORD) ||
        std::find(std::begin(kDisplayPowerSettings), std::end(kDisplayPowerSettings),
                  setting.PowerSetting) == std::end(kDisplayPowerSettings))
        return;
    DWORD state = 0;
    std::memcpy(&state, setting.Data, sizeof state);
    // Only off to on: each subscription reports the current state at once.
    const bool wasOff = std::exchange(displayOff_, state == 0);
    if (wasOff && state != 0)
        Deliver([this] { app_->OnResume(); });
}

void Win32View::ListenForSessionChanges(HWND form1) {
    // Started with Windows, the program may ask before the session service
    // runs; Timer2 asks again until it answers.
    sessionNotices_ = WTSRegisterSessionNotification(form1, NOTIFY_FOR_THIS_SESSION) != FALSE;
}

} // namespace lumatone::view
