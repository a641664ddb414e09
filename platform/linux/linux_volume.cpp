#include "platform/linux/linux_volume.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <chrono>

namespace lumatone {
namespace {

constexpr const char* kDefaultSink = "@DEFAULT_SINK@";

// n / d rounded to nearest, halves to even, as every volume scaling rounds.
std::uint64_t DivideRoundingToEven(std::uint64_t n, std::uint64_t d) {
    std::uint64_t q = n / d;
    const std::uint64_t twiceRest = 2 * (n % d);
    if (twiceRest > d || (twiceRest == d && q % 2 != 0))
        ++q;
    return q;
}

// The channels' average in percent of PA_VOLUME_NORM.
std::int32_t PercentOf(const pa_cvolume& volume) {
    std::uint64_t sum = 0;
    for (unsigned i = 0; i < volume.channels; ++i)
        sum += volume.values[i];
    const std::uint64_t percent = DivideRoundingToEven(
        sum * 100, std::uint64_t{PA_VOLUME_NORM} * std::max(1u, unsigned{volume.channels}));
    return static_cast<std::int32_t>(std::min<std::uint64_t>(percent, 100));
}

struct Reply {
    bool done = false;
    bool ok = false; // the sink was found, or the change taken
    pa_cvolume volume{};
};

void OnSinkInfo(pa_context*, const pa_sink_info* info, int eol, void* data) {
    auto* reply = static_cast<Reply*>(data);
    if (eol == 0 && info != nullptr) {
        reply->ok = true;
        reply->volume = info->volume;
    } else {
        reply->done = true;
    }
}

void OnSuccess(pa_context*, int success, void* data) {
    auto* reply = static_cast<Reply*>(data);
    reply->ok = success != 0;
    reply->done = true;
}

} // namespace

struct LinuxVolume::State {
    pa_mainloop* loop = nullptr;
    pa_context* context = nullptr;

    // Runs the loop until done() or a second has passed; the server answers
    // in well under a millisecond, so that means it is gone.
    template <typename Done> bool Run(Done done) {
        using namespace std::chrono;
        const auto deadline = steady_clock::now() + seconds(1);
        while (!done()) {
            const auto left = duration_cast<microseconds>(deadline - steady_clock::now()).count();
            if (left <= 0 || pa_mainloop_prepare(loop, static_cast<int>(left)) < 0 ||
                pa_mainloop_poll(loop) < 0 || pa_mainloop_dispatch(loop) < 0)
                return false;
        }
        return true;
    }

    bool Ready() const {
        return context != nullptr && pa_context_get_state(context) == PA_CONTEXT_READY;
    }

    void DropContext() {
        if (context == nullptr)
            return;
        pa_context_disconnect(context);
        pa_context_unref(context);
        context = nullptr;
    }

    // The connection is kept from one use to the next and made again only
    // when the server went away: the volume is read ten times a second.
    bool Connect() {
        if (loop == nullptr && (loop = pa_mainloop_new()) == nullptr)
            return false;
        // Whatever the server sent meanwhile, its hang-up included.
        pa_mainloop_iterate(loop, 0, nullptr);
        if (Ready())
            return true;
        DropContext();
        context = pa_context_new(pa_mainloop_get_api(loop), "Lumatone");
        if (context == nullptr)
            return false;
        // Never start a server of our own: no server means no master volume.
        if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
            !Run(
                [this] { return !PA_CONTEXT_IS_GOOD(pa_context_get_state(context)) || Ready(); }) ||
            !Ready()) {
            DropContext();
            return false;
        }
        return true;
    }

    // Waits for one request's answer; false when the server did not answer.
    bool Finish(pa_operation* operation, const bool& done) {
        if (operation == nullptr)
            return false;
        Run([&] { return done || !Ready(); });
        if (!done)
            pa_operation_cancel(operation);
        pa_operation_unref(operation);
        return done;
    }

    bool ReadSink(Reply& sink) {
        return Connect() &&
               Finish(pa_context_get_sink_info_by_name(context, kDefaultSink, OnSinkInfo, &sink),
                      sink.done) &&
               sink.ok;
    }
};

LinuxVolume::LinuxVolume() : state_(std::make_unique<State>()) {}

LinuxVolume::~LinuxVolume() {
    state_->DropContext();
    if (state_->loop != nullptr)
        pa_mainloop_free(state_->loop);
}

bool LinuxVolume::Present() {
    return state_->Connect();
}

std::optional<std::int32_t> LinuxVolume::Read() {
    Reply sink;
    if (!state_->ReadSink(sink))
        return std::nullopt;
    return PercentOf(sink.volume);
}

bool LinuxVolume::Set(std::int32_t percent) {
    State& s = *state_;
    Reply sink;
    if (percent < 0 || percent > 100 || !s.ReadSink(sink))
        return false;
    // Every channel at one level.
    pa_cvolume all = sink.volume;
    pa_cvolume_set(&all, sink.volume.channels,
                   static_cast<pa_volume_t>(DivideRoundingToEven(
                       static_cast<std::uint64_t>(percent) * PA_VOLUME_NORM, 100)));
    Reply reply;
    return s.Finish(
               pa_context_set_sink_volume_by_name(s.context, kDefaultSink, &all, OnSuccess, &reply),
               reply.done) &&
           reply.ok;
}

} // namespace lumatone
