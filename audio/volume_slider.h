// The volume slider, its read-out and the poll that follows outside changes.
#pragma once

#include "platform/master_volume.h"

#include <cstdint>
#include <optional>

namespace lumatone {

class Form1;

// VScroll1 runs upside down: position s is the volume 100 - s.
class VolumeSlider {
  public:
    // Label7 while the mixer gives no level the slider could show.
    static constexpr const char* kNoLevel = "-";

    VolumeSlider(Form1& form, MasterVolume& volume);
    void OnChange();
    // Timer3's tick.
    void SyncVolumeDisplay();

  private:
    // The mixer's level when it can stand on the slider.
    std::optional<std::int32_t> ShowableLevel();

    Form1& form_;
    MasterVolume& volume_;
};

} // namespace lumatone
