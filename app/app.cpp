#include "app/app.h"

namespace lumatone {

App::App(Platform& p)
    : platform(p), settings(p.profile, p.system), gamma(form1, p.screen),
      vibrance(form1, p.launcher, p.system), monitor(form1, p.screen, p.shell, p.runtime),
      volume(p.mixer, p.memory), volumeSlider(form1, volume), hotkeys(form1, p, gamma),
      tray(form1, p.shell, p.runtime),
      exitChoice(
          form1, tray, settings, [this]() -> Form2& { return ShowForm2(); },
          [this] { Unload(UnloadReason::UserQuit); }),
      dragging(form1, p.runtime, p.shell) {
    form1.mnuExit.onClick = [this] { Unload(UnloadReason::UserQuit); };
    // Timer2 also checks the gamma on screen and gives a refused tray icon another try.
    form1.Timer2.onTick = [this] {
        monitor.ShowMonitorInfo();
        gamma.Check();
        tray.RetryAdd();
    };
}

void App::OnDisplayChange() {
    gamma.Reapply();
}

void App::OnResume() {
    gamma.Reapply();
}

void App::OnSessionUnlock() {
    gamma.Reapply();
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
    platform.runtime.EndProgram();
}

Form2& App::ShowForm2() {
    if (!form2) {
        form2 = std::make_unique<Form2>();
        form2->left = (platform.runtime.ScreenWidthTwips() - form2->width) / 2;
        form2->top = (platform.runtime.ScreenHeightTwips() - form2->height) / 2;
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
