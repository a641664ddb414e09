#include "platform/linux/linux_mixer.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <set>
#include <string>

namespace lumatone {
namespace {

constexpr std::uint32_t kLineId = 0xFFFF0000; // destination 0, as winmm numbers it
constexpr std::uint32_t kVolumeId = 1;
constexpr std::uint32_t kMixerLineActive = 1;
constexpr std::uint32_t kTargetWaveOut = 1;
constexpr std::uint32_t kControlUniform = 1;
constexpr std::uint32_t kMixerGetLineControlsAll = 0;
constexpr std::uint32_t kMixerGetLineControlsOneById = 1;
constexpr std::uint32_t kQueryMask = 0xF;
constexpr std::uint32_t kPublishedControlBytes = 148; // MIXERCONTROLA without our spare word
constexpr std::uint32_t kRequestBytes = 24;
constexpr std::uint32_t kValueBytes = 4;
constexpr std::int32_t kControlMaximum = 65535;
constexpr long kWaitMicroseconds = 1'000'000;
constexpr const char* kDefaultSink = "@DEFAULT_SINK@";

template <std::size_t N> void CopyName(char (&to)[N], const std::string& from) {
    std::memset(to, 0, N);
    std::memcpy(to, from.data(), std::min(from.size(), N - 1));
}

// n / d rounded to nearest, halves to even, as the volume module scales.
std::uint64_t DivideRoundingToEven(std::uint64_t n, std::uint64_t d) {
    std::uint64_t q = n / d;
    const std::uint64_t twiceRest = 2 * (n % d);
    if (twiceRest > d || (twiceRest == d && q % 2 != 0))
        ++q;
    return q;
}

// The sink's volume on the control's scale: PA_VOLUME_NORM is the maximum,
// louder settings read as the maximum.
std::uint32_t ControlValue(const pa_cvolume& volume) {
    std::uint64_t sum = 0;
    for (unsigned i = 0; i < volume.channels; ++i)
        sum += volume.values[i];
    const std::uint64_t value =
        DivideRoundingToEven(sum * kControlMaximum, std::uint64_t{PA_VOLUME_NORM} *
                                                        std::max(1u, unsigned{volume.channels}));
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(value, kControlMaximum));
}

pa_volume_t SinkVolume(std::uint32_t value) {
    value = std::min<std::uint32_t>(value, kControlMaximum);
    return static_cast<pa_volume_t>(
        DivideRoundingToEven(std::uint64_t{value} * PA_VOLUME_NORM, kControlMaximum));
}

struct SinkReply {
    bool done = false;
    bool found = false;
    pa_cvolume volume{};
    std::string description;
};

struct SuccessReply {
    bool done = false;
    bool ok = false;
};

} // namespace

struct LinuxMixer::State {
    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    std::set<MixerHandle> open;
    MixerHandle nextHandle = 1;
    // The sink as the line's description read it. The volume read that
    // follows at once on the same handle takes it rather than asking the
    // server again: the read-out's cycle then costs one round trip, not two.
    SinkReply lineSink;
    MixerHandle lineSinkHandle = 0;
    std::chrono::steady_clock::time_point lineSinkAt;

    bool TakeLineSink(MixerHandle handle, SinkReply& sink) {
        constexpr auto kFresh = std::chrono::milliseconds(5);
        const bool fresh =
            lineSinkHandle == handle && std::chrono::steady_clock::now() - lineSinkAt < kFresh;
        lineSinkHandle = 0;
        if (fresh)
            sink = lineSink;
        return fresh;
    }

    // Holds the loop's lock for a scope, so the loop's thread stays out.
    class Lock {
      public:
        explicit Lock(pa_threaded_mainloop* loop) : loop_(loop) {
            pa_threaded_mainloop_lock(loop_);
        }
        ~Lock() { pa_threaded_mainloop_unlock(loop_); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

      private:
        pa_threaded_mainloop* loop_;
    };

    struct Deadline {
        pa_threaded_mainloop* loop;
        bool passed = false;
    };

    static void Signal(pa_threaded_mainloop* loop) { pa_threaded_mainloop_signal(loop, 0); }
    static void OnContextState(pa_context*, void* loop) {
        Signal(static_cast<pa_threaded_mainloop*>(loop));
    }
    static void OnDeadline(pa_mainloop_api*, pa_time_event*, const timeval*, void* deadline) {
        auto* d = static_cast<Deadline*>(deadline);
        d->passed = true;
        Signal(d->loop);
    }

    // Waits, with the lock held, until done() or a second has passed; the
    // server answers in well under a millisecond, so that means it is gone.
    template <typename Done> bool Wait(Done done) {
        Deadline deadline{loop};
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop);
        timeval when{};
        pa_timeval_add(pa_gettimeofday(&when), kWaitMicroseconds);
        pa_time_event* timer = api->time_new(api, &when, OnDeadline, &deadline);
        while (!done() && !deadline.passed)
            pa_threaded_mainloop_wait(loop);
        api->time_free(timer);
        return done();
    }

    // With the lock held.
    bool Ready() const {
        return context != nullptr && pa_context_get_state(context) == PA_CONTEXT_READY;
    }

    // With the lock held.
    void DropContext() {
        if (context == nullptr)
            return;
        pa_context_set_state_callback(context, nullptr, nullptr);
        pa_context_disconnect(context);
        pa_context_unref(context);
        context = nullptr;
    }

    // The connection is kept from one use to the next and made again only
    // when the server went away: the core asks ten times a second.
    bool Connect() {
        if (loop == nullptr) {
            loop = pa_threaded_mainloop_new();
            if (loop == nullptr)
                return false;
            if (pa_threaded_mainloop_start(loop) < 0) {
                pa_threaded_mainloop_free(loop);
                loop = nullptr;
                return false;
            }
        }
        Lock lock(loop);
        if (Ready())
            return true;
        DropContext();
        context = pa_context_new(pa_threaded_mainloop_get_api(loop), "Lumatone");
        if (context == nullptr)
            return false;
        pa_context_set_state_callback(context, OnContextState, loop);
        // Never start a server of our own: no server means no mixer.
        if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
            DropContext();
            return false;
        }
        Wait([this] { return !PA_CONTEXT_IS_GOOD(pa_context_get_state(context)) || Ready(); });
        if (!Ready()) {
            DropContext();
            return false;
        }
        return true;
    }

    // Runs one request and waits for its answer, with the lock held; false
    // when the server did not answer.
    template <typename Reply> bool Finish(pa_operation* operation, Reply& reply) {
        if (operation == nullptr)
            return false;
        Wait([&] { return reply.done || !Ready(); });
        if (!reply.done)
            pa_operation_cancel(operation);
        pa_operation_unref(operation);
        return reply.done;
    }

    static void OnSinkInfo(pa_context*, const pa_sink_info* info, int eol, void* data) {
        auto* reply = static_cast<std::pair<SinkReply*, pa_threaded_mainloop*>*>(data);
        if (eol == 0 && info != nullptr) {
            reply->first->found = true;
            reply->first->volume = info->volume;
            reply->first->description = info->description != nullptr ? info->description : "";
            return;
        }
        reply->first->done = true;
        Signal(reply->second);
    }

    static void OnSuccess(pa_context*, int success, void* data) {
        auto* reply = static_cast<std::pair<SuccessReply*, pa_threaded_mainloop*>*>(data);
        reply->first->ok = success != 0;
        reply->first->done = true;
        Signal(reply->second);
    }

    // The default sink, with the lock held.
    bool ReadSink(SinkReply& sink) {
        if (!Ready())
            return false;
        std::pair<SinkReply*, pa_threaded_mainloop*> data{&sink, loop};
        return Finish(pa_context_get_sink_info_by_name(context, kDefaultSink, OnSinkInfo, &data),
                      sink) &&
               sink.found;
    }

    bool ReadSink(SinkReply& sink, bool connect) {
        if (connect && !Connect())
            return false;
        if (loop == nullptr)
            return false;
        Lock lock(loop);
        return ReadSink(sink);
    }

    bool SetSinkVolume(pa_volume_t volume) {
        if (!Connect())
            return false;
        Lock lock(loop);
        SinkReply sink;
        if (!ReadSink(sink))
            return false;
        pa_cvolume all = sink.volume;
        pa_cvolume_set(&all, sink.volume.channels, volume);
        SuccessReply reply;
        std::pair<SuccessReply*, pa_threaded_mainloop*> data{&reply, loop};
        return Finish(pa_context_set_sink_volume_by_name(context, kDefaultSink, &all, OnSuccess,
                                                         &data),
                      reply) &&
               reply.ok;
    }
};

LinuxMixer::LinuxMixer() : state_(std::make_unique<State>()) {}

LinuxMixer::~LinuxMixer() {
    State& s = *state_;
    if (s.loop == nullptr)
        return;
    {
        State::Lock lock(s.loop);
        s.DropContext();
    }
    pa_threaded_mainloop_stop(s.loop);
    pa_threaded_mainloop_free(s.loop);
}

std::uint32_t LinuxMixer::GetNumDevs() {
    return state_->Connect() ? 1 : 0;
}

std::uint32_t LinuxMixer::Open(MixerHandle& handle, std::uint32_t device, std::uint32_t flags) {
    handle = 0;
    if (flags != 0)
        return kMmSysErrInvalParam;
    if (device != 0 || !state_->Connect())
        return kMmSysErrBadDeviceId;
    handle = state_->nextHandle++;
    state_->open.insert(handle);
    return kMmSysErrNoError;
}

std::uint32_t LinuxMixer::Close(MixerHandle handle) {
    if (state_->lineSinkHandle == handle)
        state_->lineSinkHandle = 0;
    return state_->open.erase(handle) > 0 ? kMmSysErrNoError : kMmSysErrInvalHandle;
}

std::uint32_t LinuxMixer::GetLineInfo(MixerHandle handle, MixerLine& line, std::uint32_t flags) {
    State& s = *state_;
    if (s.open.count(handle) == 0)
        return kMmSysErrInvalHandle;
    if (flags != kMixerGetLineInfoComponentType || line.cbStruct < sizeof(MixerLine))
        return kMmSysErrInvalParam;
    if (line.dwComponentType != kMixerLineComponentTypeDstSpeakers)
        return kMixerErrInvalLine;
    SinkReply sink;
    if (!s.ReadSink(sink, true))
        return kMmSysErrError;
    s.lineSink = sink;
    s.lineSinkHandle = handle;
    s.lineSinkAt = std::chrono::steady_clock::now();
    const std::uint32_t size = line.cbStruct;
    line = MixerLine{};
    line.cbStruct = size;
    line.dwLineID = kLineId;
    line.fdwLine = kMixerLineActive;
    line.dwComponentType = kMixerLineComponentTypeDstSpeakers;
    line.cChannels = sink.volume.channels;
    line.cControls = 1;
    CopyName(line.szShortName, "Speakers");
    CopyName(line.szName, sink.description.empty() ? "Speakers" : sink.description);
    line.targetType = kTargetWaveOut;
    CopyName(line.targetPname, sink.description);
    return kMmSysErrNoError;
}

std::uint32_t LinuxMixer::GetLineControls(MixerHandle handle, MixerLineControls& request,
                                          std::uint32_t flags) {
    if (state_->open.count(handle) == 0)
        return kMmSysErrInvalHandle;
    if (request.pamxctrl == nullptr || request.cControls != 1 ||
        request.cbmxctrl < kPublishedControlBytes)
        return kMmSysErrInvalParam;
    switch (flags) {
    case kMixerGetLineControlsAll:
    case kMixerGetLineControlsOneByType:
        if (request.dwLineID != kLineId)
            return kMixerErrInvalLine;
        if (flags == kMixerGetLineControlsOneByType &&
            request.dwControlType != kMixerControlTypeVolume)
            return kMixerErrInvalControl;
        break;
    case kMixerGetLineControlsOneById:
        // The id shares its place with the type.
        if (request.dwControlType != kVolumeId)
            return kMixerErrInvalControl;
        request.dwLineID = kLineId;
        break;
    default:
        return kMmSysErrInvalParam;
    }
    MixerControl control;
    control.cbStruct = request.cbmxctrl;
    control.dwControlID = kVolumeId;
    control.dwControlType = kMixerControlTypeVolume;
    control.fdwControl = kControlUniform;
    CopyName(control.szShortName, "Volume");
    CopyName(control.szName, "Master Volume");
    control.lMinimum = 0;
    control.lMaximum = kControlMaximum;
    std::memcpy(request.pamxctrl, &control,
                std::min<std::size_t>(request.cbmxctrl, sizeof(MixerControl)));
    return kMmSysErrNoError;
}

namespace {

// A uniform control takes one channel; its value is the details' first word.
std::uint32_t CheckValueRequest(const MixerControlDetails& request, std::uint32_t flags) {
    if ((flags & kQueryMask) != kMixerGetControlDetailsValue || request.cbStruct < kRequestBytes ||
        request.paDetails == nullptr || request.cbDetails < kValueBytes || request.cChannels != 1 ||
        request.cMultipleItems != 0)
        return kMmSysErrInvalParam;
    if (request.dwControlID != kVolumeId)
        return kMixerErrInvalControl;
    return kMmSysErrNoError;
}

} // namespace

std::uint32_t LinuxMixer::GetControlDetails(MixerHandle handle, MixerControlDetails& request,
                                            std::uint32_t flags) {
    State& s = *state_;
    if (s.open.count(handle) == 0)
        return kMmSysErrInvalHandle;
    if (const std::uint32_t error = CheckValueRequest(request, flags); error != kMmSysErrNoError)
        return error;
    SinkReply sink;
    if (!s.TakeLineSink(handle, sink) && !s.ReadSink(sink, true))
        return kMmSysErrError;
    const std::uint32_t value = ControlValue(sink.volume);
    std::memcpy(request.paDetails, &value, kValueBytes);
    return kMmSysErrNoError;
}

std::uint32_t LinuxMixer::SetControlDetails(MixerHandle handle, const MixerControlDetails& request,
                                            std::uint32_t flags) {
    State& s = *state_;
    if (s.open.count(handle) == 0)
        return kMmSysErrInvalHandle;
    if (const std::uint32_t error = CheckValueRequest(request, flags); error != kMmSysErrNoError)
        return error;
    s.lineSinkHandle = 0;
    std::uint32_t value = 0;
    std::memcpy(&value, request.paDetails, kValueBytes);
    return s.SetSinkVolume(SinkVolume(value)) ? kMmSysErrNoError : kMmSysErrError;
}

} // namespace lumatone
