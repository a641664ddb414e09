// The "_" and "x" title buttons and the exit-choice dialog Form2.
#pragma once

#include <optional>
#include <string_view>

namespace lumatone {

class App;
class Form2;

// Compares a stored text numerically with 1: true or false for an integer
// text (blanks around it, a sign and leading zeros allowed, any length),
// nullopt for anything else.
std::optional<bool> ReadsAsOne(std::string_view text);

class ExitChoice {
  public:
    explicit ExitChoice(App& app);
    // Connects a newly created dialog's buttons.
    void Attach(Form2& dialog);

    void OnMinimizeButton(); // "_" (Command2 of Form1)
    void OnCloseButton();    // "x" (Command1 of Form1)
    void OnDialogMinimize(); // "Minimize" (Command1 of Form2)
    void OnDialogQuit();     // "Quit" (Command2 of Form2)

  private:
    // Writes the answer and whether to remember it, answer first.
    void RememberAnswer(bool minimize);

    App& app_;
};

} // namespace lumatone
