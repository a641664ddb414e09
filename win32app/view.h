// The native windows over the window model: Form1 and Form2 as real Windows
// controls, driven by the view kit. Messages become model events; after each
// event the kit mirrors what they changed.
#pragma once

#include "app/app.h"
#include "app/shell_tray_icon.h"
#include "audio/mixer_master_volume.h"
#include "platform/win32/win32_single_instance.h"
#include "platform/window_runtime.h"
#include "view/kit.h"
#include "view/timer_steps.h"
#include "win32app/native.h"

#include <windows.h>

#include <array>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace lumatone::view {

// The console display's state and the monitor's power (off, on, dimmed), from
// Windows 8 and Vista on. The SDK's own are defined only with initguid.h.
inline constexpr GUID kDisplayPowerSettings[2] = {
    {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}},
    {0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}}};

class Win32View : public KitView, public WindowRuntime {
  public:
    explicit Win32View(HINSTANCE instance);
    ~Win32View() override;
    bool Create(App& app) override;
    int Run() override; // the message loop
    // Where the icon's callback and "TaskbarCreated" go.
    void SetTrayIcon(ShellTrayIcon& icon) { trayIcon_ = &icon; }
    // Where the mixer's notices and the device changes go; Form1 takes them.
    void SetMixerVolume(MixerMasterVolume& volume) { mixerVolume_ = &volume; }
    // Where a later copy's request goes; before Create, which lets it in.
    void SetSingleInstance(Win32SingleInstance& instance) { single_ = &instance; }
    // A later copy asked: Form1 shows as through the tray, and comes to the front.
    void ShowAsked();

    // WindowRuntime.
    WindowHandle MainWindow() override;
    IconHandle MainIcon() override;
    int PopupMenu(const std::vector<std::string>& captions) override;
    int ScreenWidthTwips() override { return kit_.ScreenWidthTwips(); }
    int ScreenHeightTwips() override { return kit_.ScreenHeightTwips(); }
    float TwipsPerPixelX() override { return kit_.TwipsPerPixelX(); }
    float TwipsPerPixelY() override { return kit_.TwipsPerPixelY(); }
    void EndProgram() override;

  private:
    // Pointer capture of a drag handle: which one took the press.
    struct Press {
        HWND hwnd = nullptr;
        Frame* frame = nullptr; // nullptr: the window background
    };

    // NativeWindows: the screen and creating (create.cpp).
    int DotsPerInch() override { return dpi_; }
    PixelSize ScreenSize() override;
    std::optional<PixelRect> WorkArea() override;
    NativeHandle CreateForm1(Form1& form) override;
    NativeHandle CreateForm2(Form2& form) override;
    void CreateControl(NativeControl& n, NativeHandle parent, int id) override;
    void Raise(NativeHandle control) override {
        SetWindowPos(Hwnd(control), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    void Discard(FormWindow& window) override { DestroyWindow(Hwnd(window.handle)); }
    // NativeWindows: windows, controls, timers and focus (apply.cpp).
    bool Shown(NativeHandle window) override { return IsWindowVisible(Hwnd(window)) != FALSE; }
    bool Minimized(NativeHandle window) override { return IsIconic(Hwnd(window)) != FALSE; }
    void Place(NativeHandle window, const PixelRect& place) override;
    void Show(NativeHandle window, bool minimized) override;
    void Hide(NativeHandle window, bool minimized) override;
    void Repaint(NativeHandle holder) override { InvalidateRect(Hwnd(holder), nullptr, TRUE); }
    void ApplyText(NativeControl& n, const std::string& text) override;
    void ApplyValue(NativeControl& n, int value) override;
    void ApplyLook(NativeControl& n, const ControlLook& look, unsigned aspects) override;
    void StartTimer(std::size_t index, int intervalMs) override;
    void StopTimer(std::size_t index) override;
    NativeHandle FocusIn(NativeHandle) override { return GetFocus(); }
    bool Focusable(NativeHandle control) override;
    void Focus(NativeHandle windowOrControl) override { SetFocus(Hwnd(windowOrControl)); }

    bool RegisterClasses();
    void DestroyForm1();
    HWND Form1Handle() const { return Hwnd(kit_.Form1Handle()); }
    HWND Form2Handle() const { return Hwnd(kit_.Form2Handle()); }
    Frame* FrameOf(HWND hwnd) const;

    // Input: messages into model events.
    static LRESULT CALLBACK FormProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK TextBoxProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleForm(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleSystem(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleTextBox(NativeControl&, UINT, WPARAM, LPARAM);
    void OnCommand(HWND child, int code);
    void OnScroll(HWND bar, int code);
    void OnMouse(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnCaptureLost(HWND hwnd);
    void OnTimer(UINT_PTR id);
    // The native timer's step: the greatest common one of the running intervals.
    void RestartTimer();
    // Asks Windows for the session's unlock and reconnect notices.
    void ListenForSessionChanges(HWND form1);
    // And for the display's power, which Modern Standby and a monitor waking
    // turn on without a resume.
    void ListenForDisplayPower(HWND form1);
    void OnPowerSetting(const POWERBROADCAST_SETTING& setting);

    // Painting.
    LRESULT OnControlColor(HWND child, HDC dc);
    void EraseBackground(HWND hwnd, HDC dc);
    void Paint(HWND hwnd);
    HFONT FontFor(const FontSpec& font);
    HBRUSH BrushFor(COLORREF color);

    HINSTANCE instance_;
    App* app_ = nullptr;
    ShellTrayIcon* trayIcon_ = nullptr;
    MixerMasterVolume* mixerVolume_ = nullptr;
    Win32SingleInstance* single_ = nullptr;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
    UINT taskbarCreated_ = 0;
    int dpi_ = 96;
    bool sessionNotices_ = false; // registered for unlock and reconnect
    std::array<HPOWERNOTIFY, std::size(kDisplayPowerSettings)> powerNotices_{};
    bool displayOff_ = false;
    Press press_;
    // The model's timers, by the kit's index, on the one native timer.
    static constexpr UINT_PTR kTimerId = 1;
    TimerSteps<std::tuple_size_v<decltype(std::declval<Form1&>().Timers())>> timers_{
        USER_TIMER_MINIMUM};
    // Text boxes: the window procedure under ours.
    std::map<HWND, WNDPROC> baseProcs_;

    std::map<std::string, HFONT> fonts_;
    std::map<COLORREF, HBRUSH> brushes_;
};

} // namespace lumatone::view
