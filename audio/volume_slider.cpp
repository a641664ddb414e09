#include "audio/volume_slider.h"

#include "base/integer_text.h"
#include "model/forms.h"

namespace lumatone {

VolumeSlider::VolumeSlider(Form1& form, MasterVolume& volume) : form_(form), volume_(volume) {
    form_.VScroll1.onChange = [this] { OnChange(); };
    form_.Timer3.onTick = [this] { SyncVolumeDisplay(); };
}

void VolumeSlider::OnChange() {
    const std::int32_t level = 100 - form_.VScroll1.Value();
    form_.Label7.caption = DecimalText(level);
    volume_.Set(level);
}

std::optional<std::int32_t> VolumeSlider::ShowableLevel() {
    const auto level = volume_.Read();
    if (!level || *level < 0 || *level > 100)
        return std::nullopt;
    return level;
}

void VolumeSlider::SyncVolumeDisplay() {
    volume_.BeginPoll();
    // A tick that reads nothing usable leaves slider and mixer alone: taking
    // it as silence would mute the speakers through the write-back.
    auto level = ShowableLevel();
    if (level && 100 - *level != form_.VScroll1.Value()) {
        level = ShowableLevel();
        if (level)
            form_.VScroll1.SetValue(100 - *level);
    }
    volume_.EndPoll();
    form_.Label7.caption = level ? DecimalText(100 - form_.VScroll1.Value()) : kNoLevel;
}

} // namespace lumatone
