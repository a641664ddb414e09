#include "audio/volumecontrol.h"

namespace lumatone {

bool VolumeControl::SetVolume(std::int32_t) { return false; }
bool VolumeControl::OpenMixer(std::int32_t) { return false; }
std::optional<std::int32_t> VolumeControl::ReadVolume(std::int32_t) { return std::nullopt; }
std::uint32_t VolumeControl::CloseMixer() { return 0; }

} // namespace lumatone
