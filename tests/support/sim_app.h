// The program on the simulator, with a virtual clock that drives its timers.
#pragma once

#include "app/app.h"
#include "app/windows_capabilities.h"
#include "platform/sim/sim_platform.h"
#include "settings/ini.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace lumatone::testing {

class SimApp {
  public:
    SimPlatform sim;
    std::unique_ptr<WindowsCapabilities> windows;
    std::unique_ptr<App> app;

    // Creates the program and runs start-up, as launching it would.
    App& Start() {
        app.reset();
        windows = std::make_unique<WindowsCapabilities>(sim.services);
        app = std::make_unique<App>(windows->capabilities);
        app->Load();
        return *app;
    }
    Form1& form() { return app->form1; }
    // Where the native view delivers the icon's callback and "TaskbarCreated".
    ShellTrayIcon& trayIcon() { return windows->tray; }

    std::string SettingsFile() const { return sim.system.programFolder + "\\settings.ini"; }
    std::string& IniText() { return sim.files.files[SettingsFile()]; }
    bool HasIni() const { return sim.files.files.count(SettingsFile()) > 0; }
    std::string Read(const std::string& section, const std::string& key) {
        return ReadIni(sim.profile, section, key, SettingsFile());
    }
    void Write(const std::string& section, const std::string& key, const std::string& value) {
        WriteIni(sim.profile, section, key, value, SettingsFile());
    }

    // As the native view does once Form1's window exists: the mixer posts its
    // changes there, and Advance hands them over before each tick.
    void SendMixerNoticesToForm1() { windows->volume.SendNoticesTo(sim.runtime.mainWindow); }
    // The notices posted to Form1 so far, in order, as its message loop would.
    void DeliverMixerNotices() {
        std::vector<SimMixer::Notice> posted;
        posted.swap(sim.mixer.posted);
        for (const SimMixer::Notice& n : posted)
            if (n.window == sim.runtime.mainWindow && windows)
                windows->volume.OnMixerNotice(n.message, n.handle, n.id);
    }

    // Advances the virtual clock, firing each enabled timer at its interval.
    void Advance(std::uint64_t ms) {
        const std::uint64_t end = sim.system.nowMs + ms;
        while (app && !app->Ended()) {
            Timer* next = nullptr;
            std::uint64_t nextDue = end + 1;
            for (Timer* t : app->form1.Timers()) {
                auto& due = due_[t];
                if (!t->enabled) {
                    due = 0;
                    continue;
                }
                if (due == 0)
                    due = sim.system.nowMs + static_cast<std::uint64_t>(t->interval);
                if (due < nextDue) {
                    nextDue = due;
                    next = t;
                }
            }
            if (next == nullptr)
                break;
            if (sim.system.nowMs < nextDue)
                sim.system.nowMs = nextDue;
            due_[next] = sim.system.nowMs + static_cast<std::uint64_t>(next->interval);
            DeliverMixerNotices();
            next->Tick();
        }
        if (sim.system.nowMs < end)
            sim.system.nowMs = end;
    }

  private:
    std::map<Timer*, std::uint64_t> due_;
};

} // namespace lumatone::testing
