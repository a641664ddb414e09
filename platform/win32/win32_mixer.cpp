#include "platform/win32/win32_mixer.h"

#include "platform/win32/win32_windows.h"

#include <cstring>
#include <vector>

namespace lumatone {

// winmm checks every record's size against its own, so the core's 32-bit
// records are translated to the build's layouts on the way in and out.

namespace {

HMIXER ToMixer(MixerHandle handle) {
    return reinterpret_cast<HMIXER>(handle);
}

template <std::size_t N, std::size_t M> void CopyName(char (&to)[N], const char (&from)[M]) {
    static_assert(N == M);
    std::memcpy(to, from, N);
    to[N - 1] = '\0';
}

static_assert(kMixerCallbackWindow == CALLBACK_WINDOW && kMmMixmLineChange == MM_MIXM_LINE_CHANGE &&
              kMmMixmControlChange == MM_MIXM_CONTROL_CHANGE);

// More controls than this on one line means the request is garbage.
constexpr std::uint32_t kMaxControls = 1024;

MIXERCONTROLDETAILS ToNative(const MixerControlDetails& from) {
    MIXERCONTROLDETAILS to{};
    to.cbStruct = sizeof(to);
    to.dwControlID = from.dwControlID;
    to.cChannels = from.cChannels;
    to.cMultipleItems = from.cMultipleItems;
    to.cbDetails = from.cbDetails;
    // The detail records (unsigned, signed, boolean, list text) have one
    // layout on every build, so the core's buffer is handed on as it is.
    to.paDetails = from.paDetails;
    return to;
}

} // namespace

std::uint32_t Win32Mixer::GetNumDevs() {
    return ::mixerGetNumDevs();
}

std::uint32_t Win32Mixer::Open(MixerHandle& handle, std::uint32_t device, WindowHandle callback,
                               std::uint32_t flags) {
    HMIXER mixer = nullptr;
    MMRESULT result = ::mixerOpen(&mixer, device, callback, 0, flags);
    handle = result == MMSYSERR_NOERROR ? reinterpret_cast<MixerHandle>(mixer) : 0;
    return result;
}

std::uint32_t Win32Mixer::GetLineInfo(MixerHandle handle, MixerLine& line, std::uint32_t flags) {
    MIXERLINEA native{};
    native.cbStruct = sizeof(native);
    native.dwDestination = line.dwDestination;
    native.dwSource = line.dwSource;
    native.dwLineID = line.dwLineID;
    native.dwComponentType = line.dwComponentType;
    native.Target.dwType = line.targetType;
    native.Target.dwDeviceID = line.targetDeviceID;
    native.Target.wMid = line.targetMid;
    native.Target.wPid = line.targetPid;
    native.Target.vDriverVersion = line.targetDriverVersion;
    CopyName(native.Target.szPname, line.targetPname);

    MMRESULT result =
        ::mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(ToMixer(handle)), &native, flags);
    if (result != MMSYSERR_NOERROR)
        return result;
    line.dwDestination = native.dwDestination;
    line.dwSource = native.dwSource;
    line.dwLineID = native.dwLineID;
    line.fdwLine = native.fdwLine;
    line.dwUser = static_cast<std::uint32_t>(native.dwUser);
    line.dwComponentType = native.dwComponentType;
    line.cChannels = native.cChannels;
    line.cConnections = native.cConnections;
    line.cControls = native.cControls;
    CopyName(line.szShortName, native.szShortName);
    CopyName(line.szName, native.szName);
    line.targetType = native.Target.dwType;
    line.targetDeviceID = native.Target.dwDeviceID;
    line.targetMid = native.Target.wMid;
    line.targetPid = native.Target.wPid;
    line.targetDriverVersion = native.Target.vDriverVersion;
    CopyName(line.targetPname, native.Target.szPname);
    return result;
}

std::uint32_t Win32Mixer::GetLineControls(MixerHandle handle, MixerLineControls& request,
                                          std::uint32_t flags) {
    // The caller's array must hold at least the published record per entry.
    if (request.pamxctrl == nullptr || request.cControls == 0 || request.cControls > kMaxControls ||
        request.cbmxctrl < sizeof(MIXERCONTROLA))
        return kMmSysErrInvalParam;

    std::vector<MIXERCONTROLA> controls(request.cControls);
    MIXERLINECONTROLSA native{};
    native.cbStruct = sizeof(native);
    native.dwLineID = request.dwLineID;
    native.dwControlType = request.dwControlType; // shares its place with dwControlID
    native.cControls = request.cControls;
    native.cbmxctrl = sizeof(MIXERCONTROLA);
    native.pamxctrl = controls.data();

    MMRESULT result =
        ::mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(ToMixer(handle)), &native, flags);
    if (result != MMSYSERR_NOERROR)
        return result;
    request.dwLineID = native.dwLineID;
    request.dwControlType = native.dwControlType;

    std::size_t bytes = std::min<std::size_t>(request.cbmxctrl, sizeof(MixerControl));
    for (std::uint32_t i = 0; i < request.cControls; ++i) {
        const MIXERCONTROLA& from = controls[i];
        MixerControl to;
        to.cbStruct = request.cbmxctrl;
        to.dwControlID = from.dwControlID;
        to.dwControlType = from.dwControlType;
        to.fdwControl = from.fdwControl;
        to.cMultipleItems = from.cMultipleItems;
        CopyName(to.szShortName, from.szShortName);
        CopyName(to.szName, from.szName);
        // Bounds (six words, the first two the range) and Metrics (six words)
        // follow one another in both layouts.
        static_assert(sizeof(from.Bounds) + sizeof(from.Metrics) <=
                      sizeof(MixerControl) - offsetof(MixerControl, lMinimum));
        std::memcpy(&to.lMinimum, &from.Bounds, sizeof(from.Bounds));
        std::memcpy(reinterpret_cast<std::uint8_t*>(&to.lMinimum) + sizeof(from.Bounds),
                    &from.Metrics, sizeof(from.Metrics));
        std::memcpy(request.pamxctrl + std::size_t{i} * request.cbmxctrl, &to, bytes);
    }
    return result;
}

std::uint32_t Win32Mixer::GetControlDetails(MixerHandle handle, MixerControlDetails& request,
                                            std::uint32_t flags) {
    MIXERCONTROLDETAILS native = ToNative(request);
    return ::mixerGetControlDetailsA(reinterpret_cast<HMIXEROBJ>(ToMixer(handle)), &native, flags);
}

std::uint32_t Win32Mixer::SetControlDetails(MixerHandle handle, const MixerControlDetails& request,
                                            std::uint32_t flags) {
    MIXERCONTROLDETAILS native = ToNative(request);
    return ::mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(ToMixer(handle)), &native, flags);
}

std::uint32_t Win32Mixer::Close(MixerHandle handle) {
    // Wine takes a null handle as closed; Windows does not, and neither do we.
    if (handle == 0)
        return kMmSysErrInvalHandle;
    return ::mixerClose(ToMixer(handle));
}

} // namespace lumatone
