#include "app/exit_choice.h"

#include "app/app.h"

namespace lumatone {

ExitChoice::ExitChoice(App& app) : app_(app) {
    app_.form1.Command2.onClick = [this] { OnMinimizeButton(); };
    app_.form1.Command1.onClick = [this] { OnCloseButton(); };
}

void ExitChoice::OnMinimizeButton() {}
void ExitChoice::OnCloseButton() {}
void ExitChoice::OnDialogMinimize() {}
void ExitChoice::OnDialogQuit() {}

} // namespace lumatone
