// The two windows of the program with every control in its design state.
#pragma once

#include "model/controls.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace lumatone {

constexpr int kForm1Width = 6615;
constexpr int kForm1Height = 7335;

// Shown by Label30 and used by the mail link.
inline constexpr const char* kContactAddress = "lumatone@example.org";

// A window's own properties that a view shows.
struct WindowLook {
    int left = 0, top = 0, width = 0, height = 0;
    bool visible = false;
    int windowState = 0;
    Rgb backColor;
    bool operator==(const WindowLook&) const = default;
};

// One key of a hotkey pair: the box that shows its name and the one that keeps its code.
struct BindingSlot {
    TextBox* binding;
    TextBox* code;
};
// A hotkey group: its lock button and its three pairs, in poll order.
struct BindingGroup {
    Button* lock;
    std::array<BindingSlot, 6> slots;
};

class Form1 {
  public:
    Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Window properties (twips, screen coordinates).
    int left = 2460, top = 1800, width = kForm1Width, height = kForm1Height;
    bool visible = false;
    int windowState = 0; // 0 normal, 1 minimised
    const std::string caption;
    Rgb backColor = kWhite;
    bool loaded = false;
    MouseHandler onMouseDown, onMouseMove, onMouseUp;

    // Groups.
    Frame Frame2{"Frame2", "Startup Settings", 120, 120, 3855, 735};
    Frame Frame5{"Frame5", "Lumatone - V7", 4080, 120, 2415, 735};
    Frame Frame1{"Frame1", "Gamma", 120, 1080, 6375, 1335};
    Frame Frame3{"Frame3", "Digital vibrance - XP ONLY", 120, 2640, 6375, 1335};
    Frame Frame4{"Frame4", "Frequency", 120, 4200, 6375, 1455};
    Frame Frame6{"Frame6", "Volume", 120, 5880, 6375, 1335};

    // Window-level lines.
    Line Line9{"Line9", nullptr, 0, 0, 6600, 0};
    Line Line6{"Line6", nullptr, 0, 7320, 0, 0};
    Line Line8{"Line8", nullptr, 6600, 0, 6600, 7320};
    Line Line10{"Line10", nullptr, 0, 7320, 6600, 7320};
    Line Line1{"Line1", nullptr, 120, 960, 6480, 960};
    Line Line3{"Line3", nullptr, 120, 2520, 6480, 2520};
    Line Line5{"Line5", nullptr, 120, 4080, 6480, 4080};
    Line Line7{"Line7", nullptr, 120, 5760, 6480, 5760};
    // Shown for the whole session when the settings file could not be read:
    // over Line1, between the top groups and "Gamma", on every Windows version.
    Label SettingsNote{"SettingsNote", nullptr, "", 120, 870, 6360, 195};

    // Window-level controls.
    Button Command2{"Command2", nullptr, "_", 5880, 120, 255, 255};
    Button Command1{"Command1", nullptr, "x", 6120, 120, 255, 255};
    Timer Timer1{"Timer1", 50, true};
    Timer Timer2{"Timer2", 1500, true};
    Timer Timer3{"Timer3", 100, false};
    Button Command6{"Command6", nullptr, "getmonitorattrib", 6960, 120, 1215, 255};
    Button Command9{"Command9", nullptr, "Command9", 6840, 480, 1215, 255};

    // Startup Settings.
    CheckBox Check1{"Check1", &Frame2, "Start with Windows", 240, 300, 1695, 255};
    CheckBox Check2{"Check2", &Frame2, "Minimize on startup", 1980, 300, 1815, 255};

    // Lumatone - V7.
    Label Label27{"Label27", &Frame5, "By Tressalunde", 120, 240, 1095, 195};
    Label Label30{"Label30", &Frame5, kContactAddress, 120, 480, 2175, 195};

    // Gamma.
    Slider HScroll1{"HScroll1", &Frame1, false, 37, 360, 600, 1695, 255};
    Label Label4_0{"Label4(0)", &Frame1, "-", 180, 510, 135, 375};
    Label Label3_0{"Label3(0)", &Frame1, "+", 2100, 540, 135, 315};
    Label Label1{"Label1", &Frame1, "lb1", 1080, 300, 255, 195};
    Button Command3{"Command3", &Frame1, "Reset", 240, 960, 735, 255};
    Button Command7{"Command7", &Frame1, "Lock Hkeys", 1080, 960, 1215, 255};
    Label Label2_0{"Label2(0)", &Frame1, "Hotkeys:", 1680, 240, 615, 195};
    Label Label5{"Label5", &Frame1, "Darker", 2760, 360, 615, 195};
    Label Label6{"Label6", &Frame1, "Brighter", 4080, 360, 615, 195};
    Label Label33{"Label33", &Frame1, "Reset", 5400, 360, 615, 195};
    TextBox Text1{"Text1", &Frame1, "0", 2520, 600, 495, 285};
    TextBox Text2{"Text2", &Frame1, "0", 3120, 600, 495, 285};
    TextBox Text3{"Text3", &Frame1, "0", 3840, 600, 495, 285};
    TextBox Text4{"Text4", &Frame1, "0", 4440, 600, 495, 285};
    TextBox Text11{"Text11", &Frame1, "0", 5160, 600, 495, 285};
    TextBox Text23{"Text23", &Frame1, "0", 5760, 600, 495, 285};
    Line Line2_0{"Line2(0)", &Frame1, 3720, 360, 3720, 1080};
    Line Line2_1{"Line2(1)", &Frame1, 5040, 360, 5040, 1080};
    // Says when a display does not hold the slider's ramp.
    Label GammaNote{"GammaNote", &Frame1, "", 2400, 1095, 3900, 195};

    // Digital vibrance.
    Slider HScroll2{"HScroll2", &Frame3, false, 100, 360, 600, 1695, 255};
    Label Label4_1{"Label4(1)", &Frame3, "-", 180, 510, 135, 375};
    Label Label3_1{"Label3(1)", &Frame3, "+", 2100, 540, 135, 315};
    Label Label11{"Label11", &Frame3, "lb11", 1080, 300, 255, 195};
    Button Command4{"Command4", &Frame3, "Reset", 240, 960, 735, 255};
    Button Command8{"Command8", &Frame3, "Lock Hkeys", 1080, 960, 1215, 255};
    Label Label2_1{"Label2(1)", &Frame3, "Hotkeys:", 1680, 240, 615, 195};
    Label Label12{"Label12", &Frame3, "Lower", 2760, 360, 615, 195};
    Label Label13{"Label13", &Frame3, "Higher", 4080, 360, 615, 195};
    Label Label31{"Label31", &Frame3, "Reset", 5400, 360, 615, 195};
    TextBox Text5{"Text5", &Frame3, "0", 2520, 600, 495, 285};
    TextBox Text6{"Text6", &Frame3, "0", 3120, 600, 495, 285};
    TextBox Text7{"Text7", &Frame3, "0", 3840, 600, 495, 285};
    TextBox Text8{"Text8", &Frame3, "0", 4440, 600, 495, 285};
    TextBox Text10{"Text10", &Frame3, "0", 5160, 600, 495, 285};
    TextBox Text22{"Text22", &Frame3, "0", 5760, 600, 495, 285};
    Line Line4{"Line4", &Frame3, 3720, 360, 3720, 1080};
    Line Line2_2{"Line2(2)", &Frame3, 5040, 360, 5040, 1080};

    // Frequency.
    Label Label19{"Label19", &Frame4, "Horizontal", 240, 300, 735, 195};
    Label Label23{"Label23", &Frame4, "XXX", 1200, 300, 735, 195};
    Label Label20{"Label20", &Frame4, "Vertical", 240, 540, 735, 195};
    Label Label24{"Label24", &Frame4, "XXX", 1200, 540, 735, 195};
    Label Label21{"Label21", &Frame4, "Colors", 240, 780, 735, 195};
    Label Label25{"Label25", &Frame4, "XXX", 1200, 780, 735, 195};
    Label Label22{"Label22", &Frame4, "Frequency", 240, 1020, 735, 195};
    Label Label26{"Label26", &Frame4, "XXX", 1200, 1020, 735, 195};
    TextBox Text9{"Text9", &Frame4, "", 2160, 300, 615, 285};
    Button Command5{"Command5", &Frame4, "Change frequency", 2880, 300, 1455, 285};
    // Says why a typed rate changed nothing; the next panel refresh clears it.
    Label FrequencyNote{"FrequencyNote", &Frame4, "", 2160, 660, 2175, 195};
    Label Label28{
        "Label28", &Frame4, "Do NOT change the frequency if you don't know what you are doing!",
        4680,      300,     1455,
        855};
    Label Label29{
        "Label29", &Frame4, "Changing your frequency MAY result in damaging your monitor!",
        2160,      900,     2295,
        495};

    // Volume.
    Slider VScroll1{"VScroll1", &Frame6, true, 100, 240, 240, 255, 975};
    Label Label8{"Label8", &Frame6, "+", 600, 240, 135, 195};
    Label Label9{"Label9", &Frame6, "-", 600, 960, 135, 375};
    Label Label7{"Label7", &Frame6, "Label7", 600, 600, 495, 195};
    Button Command10{"Command10", &Frame6, "Lock Hkeys", 1080, 720, 1215, 255};
    Label Label10{"Label10", &Frame6, "Lower", 2760, 360, 615, 195};
    Label Label14{"Label14", &Frame6, "Louder", 4080, 360, 615, 195};
    Label Label15{"Label15", &Frame6, "Mute", 5400, 360, 615, 195};
    TextBox Text26{"Text26", &Frame6, "0", 2520, 600, 495, 285};
    TextBox Text27{"Text27", &Frame6, "0", 3120, 600, 495, 285};
    TextBox Text28{"Text28", &Frame6, "0", 3840, 600, 495, 285};
    TextBox Text29{"Text29", &Frame6, "0", 4440, 600, 495, 285};
    TextBox Text30{"Text30", &Frame6, "0", 5160, 600, 495, 285};
    TextBox Text31{"Text31", &Frame6, "0", 5760, 600, 495, 285};
    Line Line11{"Line11", &Frame6, 3720, 360, 3720, 960};
    Line Line12{"Line12", &Frame6, 5040, 360, 5040, 960};

    // Code boxes of the hotkey bindings, right of the window's width.
    TextBox Text12{"Text12", nullptr, "0", 6720, 1200, 375, 285};
    TextBox Text13{"Text13", nullptr, "0", 6860, 1200, 375, 285};
    TextBox Text14{"Text14", nullptr, "0", 7000, 1200, 375, 285};
    TextBox Text15{"Text15", nullptr, "0", 7140, 1200, 375, 285};
    TextBox Text16{"Text16", nullptr, "0", 7280, 1200, 375, 285};
    TextBox Text17{"Text17", nullptr, "0", 7420, 2760, 375, 285};
    TextBox Text18{"Text18", nullptr, "0", 7560, 2760, 375, 285};
    TextBox Text19{"Text19", nullptr, "0", 7700, 2760, 375, 285};
    TextBox Text20{"Text20", nullptr, "0", 7840, 2760, 375, 285};
    TextBox Text21{"Text21", nullptr, "0", 7980, 2760, 375, 285};
    TextBox Text24{"Text24", nullptr, "0", 8120, 1200, 375, 285};
    TextBox Text25{"Text25", nullptr, "0", 8260, 2760, 375, 285};
    TextBox Text32{"Text32", nullptr, "0", 8400, 6000, 375, 285};
    TextBox Text33{"Text33", nullptr, "0", 8540, 6000, 375, 285};
    TextBox Text34{"Text34", nullptr, "0", 8680, 6000, 375, 285};
    TextBox Text35{"Text35", nullptr, "0", 8820, 6000, 375, 285};
    TextBox Text36{"Text36", nullptr, "0", 8960, 6000, 375, 285};
    TextBox Text37{"Text37", nullptr, "0", 9120, 6000, 375, 285};

    MenuItem mnuForm{"mnuForm", "Form"};
    MenuItem mnuShow{"mnuShow", "&Show"};
    MenuItem mnuHide{"mnuHide", "&Hide"};
    MenuItem mnuExit{"mnuExit", "&Exit"};

    std::function<void()> onLoad;
    std::function<void()> onUnload;

    // Every control in creation order, for views and lookups by name.
    const std::vector<Control*>& Controls() const { return controls_; }
    Control* Find(const std::string& name) const;
    const std::vector<Line*>& Lines() const { return lines_; }
    WindowLook Look() const { return {left, top, width, height, visible, windowState, backColor}; }
    std::array<Timer*, 3> Timers() { return {&Timer1, &Timer2, &Timer3}; }
    std::vector<MenuItem*> MenuItems() { return {&mnuShow, &mnuHide, &mnuExit}; }
    // Gamma, digital vibrance, volume.
    std::array<BindingGroup, 3> BindingGroups();

    // Keyboard focus; only controls that can take it receive it.
    const std::vector<Control*>& TabOrder() const { return tabOrder_; }
    // nullptr once the focused control can no longer take the focus.
    Control* Focused() const;
    bool SetFocus(Control* control);
    void FocusNext(bool backwards = false);
    // Focusable, and not cut off by the window's current size: a control the
    // user cannot see must not take keys.
    bool CanFocus(const Control& control) const;

  private:
    std::vector<Control*> controls_;
    std::vector<Line*> lines_;
    std::vector<Control*> tabOrder_;
    Control* focused_ = nullptr;
};

class Form2 {
  public:
    Form2();
    Form2(const Form2&) = delete;
    Form2& operator=(const Form2&) = delete;

    int left = 0, top = 0, width = 2385, height = 1365;
    bool visible = false;
    const std::string caption = "Form2";

    Label Label1{"Label1", nullptr, "Minimize to tray or Quit?", 120, 120, 2175, 375};
    Button Command1{"Command1", nullptr, "Minimize", 240, 600, 855, 375};
    Button Command2{"Command2", nullptr, "Quit", 1320, 600, 855, 375};
    CheckBox Check1{"Check1", nullptr, "Don't show this again", 240, 1080, 1935, 255};

    const std::vector<Control*>& Controls() const { return controls_; }
    const std::vector<Control*>& TabOrder() const { return tabOrder_; }
    WindowLook Look() const { return {left, top, width, height, visible, 0, {}}; }

  private:
    std::vector<Control*> controls_;
    std::vector<Control*> tabOrder_;
};

} // namespace lumatone
