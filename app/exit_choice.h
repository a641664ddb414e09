// The "_" and "x" title buttons and the exit-choice dialog Form2.
#pragma once

#include <functional>

namespace lumatone {

class Form1;
class Form2;
class SettingsSession;
class Tray;

class ExitChoice {
  public:
    // ask shows Form2, creating it when it is not there; quit unloads the main
    // window on the user's word, which ends the program.
    ExitChoice(Form1& form, Tray& tray, SettingsSession& settings, std::function<Form2&()> ask,
               std::function<void()> quit);
    // Connects a newly created dialog's buttons.
    void Attach(Form2& dialog);

    void OnMinimizeButton();              // "_" (Command2 of Form1)
    void OnCloseButton();                 // "x" (Command1 of Form1)
    void OnDialogMinimize(Form2& dialog); // "Minimize" (Command1 of Form2)
    void OnDialogQuit(Form2& dialog);     // "Quit" (Command2 of Form2)

  private:
    Form1& form_;
    Tray& tray_;
    SettingsSession& settings_;
    std::function<Form2&()> ask_;
    std::function<void()> quit_;
};

} // namespace lumatone
