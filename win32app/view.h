// The native windows over the window model: Form1 and Form2 as real
// Windows controls, mirrored from the model after every event they deliver.
#pragma once

#include "app/app.h"
#include "platform/window_runtime.h"

#include <windows.h>

#include <cstdint>
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
    // Where Form1 first appears: centred in the work area.
    void PlaceInitially();
    // Mirrors the model into the native windows.
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
    struct Native {
        Control* control = nullptr;
        HWND hwnd = nullptr;
        WNDPROC baseProc = nullptr; // set on subclassed text boxes
        bool form2 = false;
    };
    // Pointer capture of a drag handle: which one took the press.
    struct Press {
        HWND hwnd = nullptr;
        Frame* frame = nullptr; // nullptr: the window background
    };

    static LRESULT CALLBACK FormProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK TextBoxProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleForm(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleTextBox(Native&, UINT, WPARAM, LPARAM);

    bool RegisterClasses();
    void CreateControl(Control& c, HWND form, bool onForm2);
    void CreateForm2();
    void DestroyForm2();
    HWND ParentFor(const Control& c, bool onForm2) const;

    Native* Find(HWND hwnd);
    HWND HandleOf(const Control* c) const;
    Frame* FrameOf(HWND hwnd) const;

    bool Live() const;
    // Runs a model event, then mirrors its effects.
    template <typename F> void Deliver(F&& event);

    void OnCommand(HWND child, int code);
    void OnScroll(HWND bar, int code);
    void OnMouse(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR id);
    void MoveFocus(bool backwards);
    void FocusModelControl();
    LRESULT OnControlColor(HWND child, HDC dc);
    void Paint(HWND hwnd);

    void SyncForm1Window();
    void SyncControl(Native& n);
    void SyncTimers();
    void SyncForm2();
    void SyncGeometry(Native& n);
    std::vector<int> LineGeometry() const;

    HFONT FontFor(const FontSpec& font);
    HBRUSH BrushFor(COLORREF color);

    HINSTANCE instance_;
    App* app_ = nullptr;
    HWND form1_ = nullptr;
    HWND form2_ = nullptr;
    const Form2* form2Model_ = nullptr;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
    UINT taskbarCreated_ = 0;
    float twipsPerPixel_ = 15.0f;
    int dpi_ = 96;
    bool syncing_ = false;
    Press press_;

    std::vector<std::unique_ptr<Native>> natives_;
    std::vector<int> drawnLines_;               // the line geometry last mirrored
    std::map<const Timer*, int> runningTimers_; // native timers: interval set
    std::map<std::string, HFONT> fonts_;
    std::map<COLORREF, HBRUSH> brushes_;
};

} // namespace lumatone::view
