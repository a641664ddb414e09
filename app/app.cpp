#include "app/app.h"

namespace lumatone {

App::App(Capabilities& c)
    : caps(c), settings(c.profile, c.system), gamma(form1, c.gamma), vibrance(form1, c.vibrance),
      monitor(form1, c.modes, c.messages), volumeSlider(form1, c.volume),
      hotkeys(form1, c.keys, c.system, c.vibrance, gamma), tray(form1, c.tray, c.menu),
      exitChoice(
          form1, tray, settings, [this]() -> Form2& { return ShowForm2(); },
          [this] { Unload(UnloadReason::UserQuit); }),
      dragging(form1, c.metrics), mailLink(form1, c.links) {
    form1.mnuExit.onClick = [this] { Unload(UnloadReason::UserQuit); };
    // Timer2 also checks the gamma on screen, gives a refused tray icon another
    // try and follows the session's note (the desktop may take the hotkeys late).
    form1.Timer2.onTick = [this] {
        monitor.ShowMonitorInfo();
        gamma.Check();
        tray.RetryAdd();
        ShowSessionNote();
    };
}

void App::OnDisplayChange() {
    gamma.Reapply();
}

void App::OnResume() {
    gamma.Reapply();
}

void App::OnSessionLock() {
    gamma.OnSessionLock();
}

void App::OnSessionUnlock() {
    gamma.OnSessionUnlock();
}

void App::Load() {
    if (form1.loaded || ended_)
        return;
    form1.loaded = true;
    Startup();
}

void App::Unload(UnloadReason reason) {
    if (!form1.loaded)
        return;
    form1.loaded = false;
    Shutdown(reason);
    // Form2 never outlives the main window: without it there is no tray icon or hotkey.
    form2.reset();
    form1.visible = false;
    for (Timer* t : form1.Timers())
        t->enabled = false;
    ended_ = true;
    caps.end.EndProgram();
}

Form2& App::ShowForm2() {
    if (!form2) {
        form2 = std::make_unique<Form2>();
        form2->left = (caps.metrics.ScreenWidthTwips() - form2->width) / 2;
        form2->top = (caps.metrics.ScreenHeightTwips() - form2->height) / 2;
        exitChoice.Attach(*form2);
    }
    form2->visible = true;
    return *form2;
}

void App::CloseForm2() {
    form2.reset();
    // "x" hid the main window for the tray; with no icon it would be lost.
    if (!form1.visible && !tray.IconPresent())
        tray.KeepOnScreenUntilIcon();
}

} // namespace lumatone
