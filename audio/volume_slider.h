// The volume slider, its read-out and the poll that follows outside changes.
#pragma once

#include "audio/volumecontrol.h"

namespace lumatone {

class Form1;

class VolumeSlider {
  public:
    VolumeSlider(Form1& form, VolumeControl& volume);
    void OnChange();
    void SyncVolumeDisplay();

  private:
    Form1& form_;
    VolumeControl& volume_;
};

} // namespace lumatone
