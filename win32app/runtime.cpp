// The message loop and what the window model asks of the form runtime.
#include "win32app/view.h"

namespace lumatone::view {

int Win32View::Run() {
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (HWND dialog = Form2Handle(); dialog != nullptr && IsDialogMessageA(dialog, &msg))
            continue;
        if (HWND form = Form1Handle(); msg.message == WM_KEYDOWN && msg.wParam == VK_TAB &&
                                       form != nullptr &&
                                       (msg.hwnd == form || IsChild(form, msg.hwnd))) {
            // Tab moves the focus and goes no further, as in a dialog: a
            // binding box would otherwise bind Tab on the way out.
            kit_.MoveFocus(GetKeyState(VK_SHIFT) < 0);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    kit_.DiscardForm2();
    DestroyForm1();
    return static_cast<int>(msg.wParam);
}

WindowHandle Win32View::MainWindow() {
    return reinterpret_cast<WindowHandle>(Form1Handle());
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
    HWND form = Form1Handle();
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(form);
    const int chosen = static_cast<int>(
        TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x,
                       at.y, 0, form, nullptr));
    PostMessageA(form, WM_NULL, 0, 0);
    DestroyMenu(menu);
    return chosen - 1;
}

void Win32View::EndProgram() {
    PostQuitMessage(0);
}

void Win32View::ShowAsked() {
    HWND form = Form1Handle();
    if (form == nullptr || !Live())
        return;
    // Under a message box Form1 takes no input, as with the tray icon's
    // clicks; the box comes to the front instead.
    if (IsWindowEnabled(form))
        Deliver([this] { app_->tray.ShowAction(); });
    if (IsWindowVisible(form))
        SetForegroundWindow(GetLastActivePopup(form));
}

} // namespace lumatone::view
