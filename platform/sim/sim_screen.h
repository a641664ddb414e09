#pragma once

#include "platform/screen.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lumatone {

// Displays with a gamma ramp each, a current mode, the modes it accepts and a
// registry mode. The whole-screen context reaches the primary display only.
// Counts contexts handed out and not yet given back.
class SimScreen : public Screen {
  public:
    enum class Answer {
        Takes,
        Refuses, // fails the write and keeps its ramp
        Ignores  // reports success and keeps its ramp
    };
    struct Display {
        std::string name;
        bool primary = false;
        Answer answer = Answer::Takes;
        int keptBits = 16; // a driver keeping fewer bits drops the low ones
        GammaRamp ramp = LinearRamp();
        std::uint64_t writes = 0, readBacks = 0;
    };
    static GammaRamp LinearRamp();

    SimScreen(); // one display, the primary

    struct Mode {
        std::uint32_t width = 1024, height = 768, bitsPerPixel = 32, frequency = 60;
        bool operator==(const Mode&) const = default;
    };

    DcHandle GetDC(WindowHandle window) override;
    void ReleaseDC(WindowHandle window, DcHandle dc) override;
    bool SetDeviceGammaRamp(DcHandle dc, const GammaRamp& ramp) override;
    std::int32_t GetDeviceCaps(DcHandle dc, int index) override;
    bool EnumDisplaySettings(std::int32_t modeNumber, DevModeA& mode) override;
    std::int32_t ChangeDisplaySettings(const DevModeA& mode, std::uint32_t flags) override;
    std::vector<DisplayDevice> EnumDisplayDevices() override;
    DcHandle CreateDisplayDC(const std::string& deviceName) override;
    void DeleteDC(DcHandle dc) override;
    bool GetDeviceGammaRamp(DcHandle dc, GammaRamp& ramp) override;

    // Adds a display to the desktop; "\\.\DISPLAYn" by count unless named.
    Display& AddDisplay(std::string name = {});

    // State.
    std::vector<Display> displays;
    Mode current;
    Mode registry;                        // the mode stored for the next boot
    std::vector<Mode> accepted{current};  // modes a change may reach
    std::optional<GammaRamp> ramp;        // last ramp accepted
    std::vector<GammaRamp> rampWrites;    // every ramp offered, accepted or not
    std::int64_t contextsOutstanding = 0; // of both kinds
    std::uint64_t contextsObtained = 0;   // through GetDC
    std::uint64_t displayContextsCreated = 0;

    // Failure injection.
    bool failGetDC = false;
    bool refuseRamps = false;
    // The whole-screen context's own answer, before the primary's. Windows 10
    // from 1903 refuses both the write and the read of an extended desktop's
    // whole screen while each display's own context works.
    Answer wholeScreen = Answer::Takes;
    // While set, the session is locked: every read shows the lock screen's ramp.
    std::optional<GammaRamp> lockScreenRamp;
    bool failEnum = false;
    bool answerRestart = false; // a change that would apply answers DISP_CHANGE_RESTART

    struct ChangeCall {
        DevModeA mode;
        std::uint32_t flags;
        std::int32_t result;
    };
    std::vector<ChangeCall> changeCalls;
    std::uint64_t enumCalls = 0;

    struct CapsQuery {
        DcHandle dc;
        int index;
        bool contextLive; // the context was handed out and not yet given back
    };
    std::vector<CapsQuery> capsQueries;

  private:
    struct LiveDc {
        DcHandle dc;
        std::string display; // empty: the whole screen
        bool created;        // by CreateDisplayDC, given back by DeleteDC
    };
    DcHandle Hand(std::string display, bool created);
    LiveDc* Live(DcHandle dc);
    bool WholeScreen(DcHandle dc);
    void GiveBack(DcHandle dc, bool created);
    // The display a context's ramp reaches, nullptr when none.
    Display* Target(DcHandle dc);

    std::uint64_t nextDc_ = 0x100;
    std::vector<LiveDc> live_;
};

} // namespace lumatone
