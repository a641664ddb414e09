#pragma once

#include "platform/screen.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace lumatone {

// One display: a gamma device, a current mode, the modes it accepts and a
// registry mode. Counts contexts handed out and not yet given back.
class SimScreen : public Screen {
  public:
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

    // State.
    Mode current;
    Mode registry;                       // the mode stored for the next boot
    std::vector<Mode> accepted{current}; // modes a change may reach
    std::optional<GammaRamp> ramp;       // last ramp accepted
    std::vector<GammaRamp> rampWrites;   // every ramp offered, accepted or not
    std::int64_t contextsOutstanding = 0;
    std::uint64_t contextsObtained = 0;

    // Failure injection.
    bool failGetDC = false;
    bool refuseRamps = false;
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
    std::uint64_t nextDc_ = 0x100;
    std::vector<DcHandle> live_;
};

} // namespace lumatone
