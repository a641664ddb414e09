// The kit's primitives on Windows: windows shown, hidden and placed, one
// control brought to its model's look, the native timers and the focus.
#include "model/twips.h"
#include "win32app/view.h"


namespace lumatone::view {

void Win32View::Place(NativeHandle window, const PixelRect& want) {
    HWND hwnd = Hwnd(window);
    RECT have{};
    GetWindowRect(hwnd, &have);
    if (have.left != want.left || have.top != want.top || have.right != want.right ||
        have.bottom != want.bottom)
        SetWindowPos(hwnd, nullptr, want.left, want.top, want.Width(), want.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32View::Show(NativeHandle window, bool minimized) {
    HWND hwnd = Hwnd(window);
    ShowWindow(hwnd, minimized ? SW_SHOWMINNOACTIVE : SW_SHOWNORMAL);
    if (!minimized)
        SetForegroundWindow(hwnd);
}

void Win32View::Hide(NativeHandle window, bool minimized) {
    HWND hwnd = Hwnd(window);
    if (minimized && !IsIconic(hwnd))
        ShowWindow(hwnd, SW_SHOWMINNOACTIVE);
    ShowWindow(hwnd, SW_HIDE);
}

void Win32View::ApplyText(NativeControl& n, const std::string& text) {
    HWND h = Hwnd(n.handle);
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

void Win32View::ApplyValue(NativeControl& n, int value) {
    HWND h = Hwnd(n.handle);
    if (n.control->kind == ControlKind::CheckBox)
        SendMessageA(h, BM_SETCHECK, CheckState(value), 0);
    else if (n.control->kind == ControlKind::HScroll || n.control->kind == ControlKind::VScroll)
        SetScrollPos(h, SB_CTL, value, TRUE);
}

void Win32View::ApplyLook(NativeControl& n, const ControlLook& look, unsigned aspects) {
    HWND h = Hwnd(n.handle);
    if ((aspects & aspect::kPlace) != 0) {
        const PixelRect want = ToPixelRect(look.left, look.top, look.width, look.height,
                                           look.originLeft, look.originTop, kit_.TwipsPerPixel());
        // An auto-size label keeps the size of its text; only its place follows the model.
        if (n.autoSize)
            SetWindowPos(h, nullptr, want.left, want.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        else
            SetWindowPos(h, nullptr, want.left, want.top, want.Width(), want.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if ((aspects & aspect::kEnabled) != 0)
        EnableWindow(h, look.enabled ? TRUE : FALSE);
    if ((aspects & aspect::kVisible) != 0)
        ShowWindow(h, look.visible ? SW_SHOWNA : SW_HIDE);
    if ((aspects & aspect::kFont) != 0)
        SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(look.font)), TRUE);
    if ((aspects & aspect::kColors) != 0)
        InvalidateRect(h, nullptr, TRUE);
}

void Win32View::StartTimer(std::size_t index, int intervalMs) {
    if (timers_.Start(index, intervalMs))
        RestartTimer();
}

void Win32View::StopTimer(std::size_t index) {
    if (timers_.Stop(index))
        RestartTimer();
}

void Win32View::RestartTimer() {
    // A timer of the same id replaces the one running.
    if (timers_.Step() == 0)
        KillTimer(Form1Handle(), kTimerId);
    else
        SetTimer(Form1Handle(), kTimerId, static_cast<UINT>(timers_.Step()), nullptr);
}

bool Win32View::Focusable(NativeHandle control) {
    HWND h = Hwnd(control);
    return IsWindowEnabled(h) && IsWindowVisible(h);
}

} // namespace lumatone::view
