// The whole program over the system's capabilities: both windows, every
// subsystem wired to their controls, start-up and shutdown.
#pragma once

#include "app/drag.h"
#include "app/exit_choice.h"
#include "app/mail_link.h"
#include "app/tray.h"
#include "audio/volume_slider.h"
#include "display/gamma.h"
#include "display/monitor.h"
#include "display/vibrance.h"
#include "hotkeys/hotkeys.h"
#include "model/forms.h"
#include "platform/capabilities.h"
#include "settings/session.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lumatone {

// SettingsNote's text while the settings file could not be read.
inline constexpr const char* kNoteSettingsUnreadable =
    "Settings could not be read and will not be saved";

enum class UnloadReason {
    UserQuit,     // tray "&Exit", "Quit", a remembered quit on "x", Alt+F4
    SystemClosing // the user's session ends: nothing may hold it up
};

class App {
  public:
    explicit App(Capabilities& capabilities);
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Loads Form1: runs start-up. Safe to call once.
    void Load();
    // Unloads Form1 (shutdown runs exactly once), discards Form2, ends the program.
    void Unload(UnloadReason reason);
    // Writes settings.ini as shutdown does, and the program runs on (a
    // session checkpoint). False when nothing was written: unloaded, the file
    // unreadable at start, or the write failed.
    bool SaveSettings();
    bool Ended() const { return ended_; }

    // The system may have reset the screen's gamma ramps: the displays changed,
    // the machine woke from sleep, the session was unlocked or reconnected.
    void OnDisplayChange();
    void OnResume();
    void OnSessionLock();
    void OnSessionUnlock();

    // Form2 exists from its first showing until "Quit", its closing or the end
    // of the program. It is centred on the screen when it comes into being.
    Form2& ShowForm2();
    // Closing the dialog itself (Alt+F4): it has no unload handler of its own,
    // so it is just discarded, its tick with it.
    void CloseForm2();
    bool Form2Loaded() const { return form2 != nullptr; }

    Capabilities& caps;
    Form1 form1;
    std::unique_ptr<Form2> form2;

    // Where the last shutdown failed to save, empty when it saved everything.
    std::string saveFailurePath;

    SettingsSession settings;

  private:
    GammaControls gamma;
    VibranceControls vibrance;
    MonitorPanel monitor;
    VolumeSlider volumeSlider;
    Hotkeys hotkeys;

  public:
    Tray tray;

  private:
    ExitChoice exitChoice;
    Dragging dragging;
    MailLink mailLink;

    void Startup();
    // SettingsNote says what the session keeps from the program, unless it
    // says the settings file could not be read.
    void ShowSessionNote();
    void Shutdown(UnloadReason reason);
    bool WriteSettings();

    bool ended_ = false;
};

} // namespace lumatone
