// The "_" and "x" title buttons and the exit-choice dialog Form2.
#pragma once

namespace lumatone {

class App;

class ExitChoice {
  public:
    explicit ExitChoice(App& app);
    void OnMinimizeButton(); // "_" (Command2 of Form1)
    void OnCloseButton();    // "x" (Command1 of Form1)
    void OnDialogMinimize(); // "Minimize" (Command1 of Form2)
    void OnDialogQuit();     // "Quit" (Command2 of Form2)

  private:
    App& app_;
};

} // namespace lumatone
