#include "platform/sim/sim_mixer.h"

#include <algorithm>
#include <cstring>

namespace lumatone {
namespace {

// The sizes of the 32-bit request records the volume module fills in.
constexpr std::uint32_t kLineRecordBytes = 168;
constexpr std::uint32_t kRequestBytes = 24;
constexpr std::uint32_t kControlRecordBytes = 152;
constexpr std::uint32_t kMixerLineActive = 1;

template <std::size_t N> void CopyName(char (&to)[N], const char* from) {
    std::strncpy(to, from, N - 1);
}

} // namespace

void SimMixer::SyncKeys() {
    if (keys_.size() > devices.size())
        keys_.resize(devices.size());
    while (keys_.size() < devices.size())
        keys_.push_back(nextKey_++);
}

bool SimMixer::Fails(Op op, std::uint32_t& code) {
    auto it = failures_.find(op);
    if (it == failures_.end() || it->second.times <= 0)
        return false;
    if (it->second.after > 0) {
        --it->second.after;
        return false;
    }
    code = it->second.code;
    if (--it->second.times == 0)
        failures_.erase(it);
    return true;
}

SimMixer::Device* SimMixer::Lookup(MixerHandle handle, std::uint32_t& code) {
    SyncKeys();
    auto h = handles_.find(handle);
    if (h == handles_.end()) {
        code = kMmSysErrInvalHandle;
        return nullptr;
    }
    auto k = std::find(keys_.begin(), keys_.end(), h->second.device);
    if (k == keys_.end()) {
        code = kSimMixerNoDriver;
        return nullptr;
    }
    return &devices[static_cast<std::size_t>(k - keys_.begin())];
}

void SimMixer::Post(std::size_t index, std::uint32_t message, std::uint32_t id) {
    SyncKeys();
    if (index >= devices.size())
        return;
    for (const auto& [handle, open] : handles_) {
        std::uint32_t code = 0;
        if (open.window != 0 && open.device == keys_[index] && !Fails(Op::Notice, code))
            posted.push_back(Notice{open.window, message, handle, id});
    }
}

void SimMixer::SetLevelOutside(std::uint32_t level) {
    Main().level = level;
    Post(0, kMmMixmControlChange, Main().controlId);
}

void SimMixer::ChangeLineOutside() {
    Post(0, kMmMixmLineChange, Main().lineId);
}

void SimMixer::SetRange(std::uint32_t minimum, std::uint32_t maximum, std::uint32_t level) {
    Device& d = Main();
    d.minimum = minimum;
    d.maximum = maximum;
    d.level = level;
}

void SimMixer::LoseDevice(std::size_t index) {
    SyncKeys();
    if (index >= devices.size())
        return;
    devices.erase(devices.begin() + static_cast<std::ptrdiff_t>(index));
    keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::uint32_t SimMixer::GetNumDevs() {
    return static_cast<std::uint32_t>(devices.size());
}

std::uint32_t SimMixer::Open(MixerHandle& handle, std::uint32_t device, WindowHandle callback,
                             std::uint32_t flags) {
    SyncKeys();
    handle = 0;
    std::uint32_t code = 0;
    if (Fails(Op::Open, code))
        return code;
    if (device >= devices.size())
        return kMmSysErrBadDeviceId;
    // Either no notices at all, or a window to post them to.
    const bool noNotices = flags == 0 && callback == 0;
    const bool toWindow = flags == kMixerCallbackWindow && callback != 0;
    if (!noNotices && !toWindow)
        return kMmSysErrInvalParam;
    handle = nextHandle_++;
    handles_.emplace(handle, HandleInfo{keys_[device], callback});
    ++opens;
    return kMmSysErrNoError;
}

std::uint32_t SimMixer::Close(MixerHandle handle) {
    // A handle whose device went away is still released by its close.
    if (handles_.erase(handle) == 0)
        return kMmSysErrInvalHandle;
    ++closes;
    return kMmSysErrNoError;
}

std::uint32_t SimMixer::GetLineInfo(MixerHandle handle, MixerLine& line, std::uint32_t flags) {
    std::uint32_t code = 0;
    Device* d = Lookup(handle, code);
    if (d == nullptr || Fails(Op::GetLineInfo, code))
        return code;
    if (flags != kMixerGetLineInfoComponentType || line.cbStruct != kLineRecordBytes)
        return kMmSysErrInvalParam;
    if (line.dwComponentType != kMixerLineComponentTypeDstSpeakers || !d->hasSpeakers)
        return kMixerErrInvalLine;
    line = MixerLine{};
    line.cbStruct = kLineRecordBytes;
    line.dwLineID = d->lineId;
    line.fdwLine = kMixerLineActive;
    line.dwComponentType = kMixerLineComponentTypeDstSpeakers;
    line.cChannels = 2;
    line.cControls = d->hasVolume ? 1 : 0;
    CopyName(line.szShortName, "Speakers");
    CopyName(line.szName, "Speakers");
    CopyName(line.targetPname, "Simulated Audio");
    return kMmSysErrNoError;
}

std::uint32_t SimMixer::GetLineControls(MixerHandle handle, MixerLineControls& request,
                                        std::uint32_t flags) {
    std::uint32_t code = 0;
    Device* d = Lookup(handle, code);
    if (d == nullptr || Fails(Op::GetLineControls, code))
        return code;
    ++lineControlQueries;
    if (flags != kMixerGetLineControlsOneByType || request.cbStruct != kRequestBytes ||
        request.cControls != 1 || request.cbmxctrl != kControlRecordBytes ||
        request.pamxctrl == nullptr)
        return kMmSysErrInvalParam;
    if (request.dwLineID != d->lineId || !d->hasSpeakers)
        return kMixerErrInvalLine;
    if (request.dwControlType != kMixerControlTypeVolume || !d->hasVolume)
        return kMixerErrInvalControl;
    MixerControl c;
    c.cbStruct = kControlRecordBytes;
    c.dwControlID = d->controlId;
    c.dwControlType = kMixerControlTypeVolume;
    CopyName(c.szShortName, "Volume");
    CopyName(c.szName, "Master Volume");
    c.lMinimum = static_cast<std::int32_t>(d->minimum);
    c.lMaximum = static_cast<std::int32_t>(d->maximum);
    std::memcpy(request.pamxctrl, &c, sizeof c);
    return kMmSysErrNoError;
}

std::uint32_t SimMixer::CheckDetails(const MixerControlDetails& request, std::uint32_t flags,
                                     std::uint32_t expectedFlags, Device& d) const {
    if (flags != expectedFlags || request.cbStruct != kRequestBytes || request.cChannels != 1 ||
        request.cMultipleItems != 0 || request.cbDetails != 4 || request.paDetails == nullptr)
        return kMmSysErrInvalParam;
    if (request.dwControlID != d.controlId || !d.hasVolume)
        return kMixerErrInvalControl;
    return kMmSysErrNoError;
}

std::uint32_t SimMixer::GetControlDetails(MixerHandle handle, MixerControlDetails& request,
                                          std::uint32_t flags) {
    ++getCalls;
    std::uint32_t code = 0;
    Device* d = Lookup(handle, code);
    if (d == nullptr || Fails(Op::GetControlDetails, code))
        return code;
    code = CheckDetails(request, flags, kMixerGetControlDetailsValue, *d);
    if (code != kMmSysErrNoError)
        return code;
    std::memcpy(request.paDetails, &d->level, 4);
    return kMmSysErrNoError;
}

std::uint32_t SimMixer::SetControlDetails(MixerHandle handle, const MixerControlDetails& request,
                                          std::uint32_t flags) {
    ++setCalls;
    std::uint32_t code = 0;
    Device* d = Lookup(handle, code);
    if (d == nullptr || Fails(Op::SetControlDetails, code))
        return code;
    code = CheckDetails(request, flags, kMixerSetControlDetailsValue, *d);
    if (code != kMmSysErrNoError)
        return code;
    std::uint32_t value = 0;
    std::memcpy(&value, request.paDetails, 4);
    if (value < d->minimum || value > d->maximum)
        return kMmSysErrInvalParam;
    d->level = value;
    writes.push_back(value);
    // Every handle that asked hears of it, the writer's own included.
    Post(static_cast<std::size_t>(d - devices.data()), kMmMixmControlChange, d->controlId);
    return kMmSysErrNoError;
}

} // namespace lumatone
