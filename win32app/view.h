// The native windows over the window model: Form1 and Form2 as real Windows
// controls. Messages become model events; after each event the view mirrors
// what it changed.
#pragma once

#include "app/app.h"
#include "app/delivery.h"
#include "app/shell_tray_icon.h"
#include "platform/window_runtime.h"
#include "win32app/native.h"

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace lumatone::view {

class Win32View : public WindowRuntime {
  public:
    explicit Win32View(HINSTANCE instance);
    ~Win32View() override;
    Win32View(const Win32View&) = delete;
    Win32View& operator=(const Win32View&) = delete;

    // Creates Form1's window and controls, hidden, before start-up runs.
    bool Create(App& app);
    // Where the icon's callback and "TaskbarCreated" go.
    void SetTrayIcon(ShellTrayIcon& icon) { trayIcon_ = &icon; }
    // Where Form1 first appears: centred in the work area.
    void PlaceInitially();
    // Mirrors into the native windows what changed in the model.
    void Sync();
    // The message loop; returns when the program ends.
    int Run();

    // WindowRuntime.
    WindowHandle MainWindow() override;
    IconHandle MainIcon() override;
    int PopupMenu(const std::vector<std::string>& captions) override;
    int ScreenWidthTwips() override;
    int ScreenHeightTwips() override;
    float TwipsPerPixelX() override { return twipsPerPixel_; }
    float TwipsPerPixelY() override { return twipsPerPixel_; }
    void EndProgram() override;

  private:
    // Pointer capture of a drag handle: which one took the press.
    struct Press {
        HWND hwnd = nullptr;
        Frame* frame = nullptr; // nullptr: the window background
    };

    // Creating windows and controls.
    bool RegisterClasses();
    void CreateControl(NativeWindow& window, Control& c, HWND parent);
    void CreateForm2(Form2& model);
    void DestroyForm2();
    void DestroyForm1();
    HWND Form1Handle() const { return form1_ ? form1_->hwnd : nullptr; }
    HWND Form2Handle() const { return form2_ ? form2_->hwnd : nullptr; }
    // Form2's window while its model still exists.
    Form2Window* LiveForm2() const;
    NativeControl* FindOnForm1(HWND hwnd) const;
    NativeControl* Find(HWND hwnd) const;

    // Input: messages into model events.
    static LRESULT CALLBACK FormProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK TextBoxProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleForm(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleTextBox(NativeControl&, UINT, WPARAM, LPARAM);
    bool Live() const { return delivery_.Live(); }
    // Runs a model event, then mirrors its effects (see EventDelivery).
    void Deliver(std::function<void()> event) { delivery_.Deliver(std::move(event)); }
    void OnCommand(HWND child, int code);
    void OnScroll(HWND bar, int code);
    void OnMouse(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnCaptureLost(HWND hwnd);
    void OnTimer(UINT_PTR id);
    // Asks Windows for the session's unlock and reconnect notices.
    void ListenForSessionChanges();
    void OnActivate(bool active);
    void MoveFocus(bool backwards);
    void FocusModelControl();

    // Painting.
    LRESULT OnControlColor(HWND child, HDC dc);
    void EraseBackground(HWND hwnd, HDC dc);
    void Paint(HWND hwnd);
    HFONT FontFor(const FontSpec& font);
    HBRUSH BrushFor(COLORREF color);

    // Mirroring the model.
    void MirrorAll();
    void MirrorForm1();
    void MirrorForm1Window();
    void MirrorTimers();
    void MirrorForm2();
    void MirrorForm2Window();
    void PlaceWindow(HWND hwnd, const WindowLook& look);
    void MirrorControl(NativeWindow& window, const ControlChange& change);
    void MirrorText(NativeControl& n, const std::string& text);
    void MirrorPlace(NativeWindow& window, NativeControl& n);
    void InvalidateLine(const Control& line);

    HINSTANCE instance_;
    App* app_ = nullptr;
    ShellTrayIcon* trayIcon_ = nullptr;
    std::unique_ptr<Form1Window> form1_;
    std::unique_ptr<Form2Window> form2_;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
    UINT taskbarCreated_ = 0;
    float twipsPerPixel_ = 15.0f;
    int dpi_ = 96;
    bool sessionNotices_ = false; // registered for unlock and reconnect
    EventDelivery delivery_{[this] { MirrorAll(); }};
    Press press_;

    std::map<std::string, HFONT> fonts_;
    std::map<COLORREF, HBRUSH> brushes_;
};

} // namespace lumatone::view
