#include "audio/volume_slider.h"

#include "app/forms.h"

namespace lumatone {

VolumeSlider::VolumeSlider(Form1& form, VolumeControl& volume) : form_(form), volume_(volume) {
    form_.VScroll1.onChange = [this] { OnChange(); };
    form_.Timer3.onTick = [this] { SyncVolumeDisplay(); };
}

void VolumeSlider::OnChange() {}
void VolumeSlider::SyncVolumeDisplay() {}

} // namespace lumatone
