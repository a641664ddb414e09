#include "platform/linux/linux_volume.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <pthread.h>

namespace lumatone {
namespace {

constexpr const char* kDefaultSink = "@DEFAULT_SINK@";
constexpr pa_usec_t kFirstRetry = PA_USEC_PER_SEC;
constexpr pa_usec_t kLastRetry = 30 * PA_USEC_PER_SEC;
// The server answers in well under a millisecond; the first question waits
// this long for it, later ones not at all.
constexpr pa_usec_t kFirstAnswer = PA_USEC_PER_SEC;

// n / d rounded to nearest, halves to even, as every volume scaling rounds.
std::uint64_t DivideRoundingToEven(std::uint64_t n, std::uint64_t d) {
    std::uint64_t q = n / d;
    const std::uint64_t twiceRest = 2 * (n % d);
    if (twiceRest > d || (twiceRest == d && q % 2 != 0))
        ++q;
    return q;
}

std::int32_t PercentOf(pa_volume_t volume) {
    const std::uint64_t percent =
        DivideRoundingToEven(std::uint64_t{volume} * 100, std::uint64_t{PA_VOLUME_NORM});
    return static_cast<std::int32_t>(std::min<std::uint64_t>(percent, 100));
}

pa_volume_t VolumeOf(std::int32_t percent) {
    return static_cast<pa_volume_t>(
        DivideRoundingToEven(static_cast<std::uint64_t>(percent) * PA_VOLUME_NORM, 100));
}

void Forget(pa_operation* operation) {
    if (operation != nullptr)
        pa_operation_unref(operation);
}

} // namespace

// Everything below runs under the loop's lock: on its thread in the callbacks,
// on the caller's in the public calls but Read, which takes what was heard.
struct LinuxVolume::State {
    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    pa_time_event* retry = nullptr;
    pa_usec_t retryAfter = kFirstRetry;
    // The first connection's outcome is known: a sink heard of, or no server;
    // or it took too long to wait for.
    bool settled = false;
    pa_time_event* patience = nullptr;

    // The default sink as last heard of.
    bool sinkKnown = false;
    std::uint32_t sink = PA_INVALID_INDEX;
    pa_cvolume volume{};
    bool muted = false;
    // Its balance before it was turned down to silence, to come back with.
    std::uint32_t audibleSink = PA_INVALID_INDEX;
    pa_cvolume audible{};
    // Writes sent and not answered yet: a state heard meanwhile may predate
    // them, so only the one asked for after the last answer counts.
    unsigned pendingWrites = 0;
    // What a read gives, -1 for none, set after every change above: the
    // read-out asks ten times a second, and the loop's lock would cost each
    // read more than the whole answer.
    std::atomic<std::int32_t> heard{-1};

    void Publish() { heard.store(Ready() && sinkKnown ? Level() : -1, std::memory_order_release); }

    pa_mainloop_api* Api() const { return pa_threaded_mainloop_get_api(loop); }

    bool Ready() const {
        return context != nullptr && pa_context_get_state(context) == PA_CONTEXT_READY;
    }

    std::int32_t Level() const { return muted ? 0 : PercentOf(pa_cvolume_max(&volume)); }

    void Start() {
        if (loop != nullptr || settled)
            return;
        loop = pa_threaded_mainloop_new();
        // Signals stay with the interface thread, which handles them.
        sigset_t all;
        sigset_t old;
        sigfillset(&all);
        pthread_sigmask(SIG_BLOCK, &all, &old);
        const bool started = loop != nullptr && pa_threaded_mainloop_start(loop) >= 0;
        pthread_sigmask(SIG_SETMASK, &old, nullptr);
        if (!started) {
            if (loop != nullptr)
                pa_threaded_mainloop_free(loop);
            loop = nullptr;
            settled = true;
            return;
        }
        pa_threaded_mainloop_lock(loop);
        patience = After(kFirstAnswer, OnPatienceEnd);
        Connect();
        pa_threaded_mainloop_unlock(loop);
    }

    void Stop() {
        if (loop == nullptr)
            return;
        pa_threaded_mainloop_stop(loop);
        for (pa_time_event* event : {retry, patience})
            if (event != nullptr)
                Api()->time_free(event);
        DropContext();
        pa_threaded_mainloop_free(loop);
    }

    void DropContext() {
        if (context == nullptr)
            return;
        pa_context_set_state_callback(context, nullptr, nullptr);
        pa_context_set_subscribe_callback(context, nullptr, nullptr);
        pa_context_disconnect(context);
        pa_context_unref(context);
        context = nullptr;
        Publish();
    }

    void Connect() {
        DropContext();
        context = pa_context_new(Api(), "Lumatone");
        if (context == nullptr)
            return Lost();
        pa_context_set_state_callback(context, OnState, this);
        pa_context_set_subscribe_callback(context, OnEvent, this);
        // Never start a server of our own: no server means no master volume.
        if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            Lost();
    }

    void Lost() {
        sinkKnown = false;
        pendingWrites = 0;
        Publish();
        Settle();
        if (retry != nullptr)
            return;
        retry = After(retryAfter, OnRetry);
        retryAfter = std::min(2 * retryAfter, kLastRetry);
    }

    void Settle() {
        if (settled)
            return;
        settled = true;
        pa_threaded_mainloop_signal(loop, 0);
    }

    pa_time_event* After(pa_usec_t delay, pa_time_event_cb_t callback) {
        timeval when{};
        pa_timeval_add(pa_gettimeofday(&when), delay);
        return Api()->time_new(Api(), &when, callback, this);
    }

    void Fetch() {
        if (Ready())
            Forget(pa_context_get_sink_info_by_name(context, kDefaultSink, OnSinkInfo, this));
    }

    bool Write(pa_operation* operation) {
        if (operation == nullptr)
            return false;
        pa_operation_unref(operation);
        ++pendingWrites;
        return true;
    }

    void RememberAudible() {
        if (pa_cvolume_max(&volume) == PA_VOLUME_MUTED)
            return;
        audibleSink = sink;
        audible = volume;
    }

    static void OnPatienceEnd(pa_mainloop_api* api, pa_time_event* event, const timeval*,
                              void* data) {
        auto* s = static_cast<State*>(data);
        api->time_free(event);
        s->patience = nullptr;
        s->Settle();
    }

    static void OnRetry(pa_mainloop_api* api, pa_time_event* event, const timeval*, void* data) {
        auto* s = static_cast<State*>(data);
        api->time_free(event);
        s->retry = nullptr;
        s->Connect();
    }

    static void OnState(pa_context* context, void* data) {
        auto* s = static_cast<State*>(data);
        switch (pa_context_get_state(context)) {
        case PA_CONTEXT_READY:
            s->retryAfter = kFirstRetry;
            Forget(
                pa_context_subscribe(context,
                                     static_cast<pa_subscription_mask_t>(
                                         PA_SUBSCRIPTION_MASK_SINK | PA_SUBSCRIPTION_MASK_SERVER),
                                     nullptr, nullptr));
            s->Fetch();
            break;
        case PA_CONTEXT_FAILED:
        case PA_CONTEXT_TERMINATED:
            s->Lost();
            break;
        default:
            break;
        }
        s->Publish();
    }

    static void OnEvent(pa_context*, pa_subscription_event_type_t type, std::uint32_t index,
                        void* data) {
        auto* s = static_cast<State*>(data);
        // Another sink's changes are none of ours; a sink coming or going, or
        // the server naming another default, may be.
        if ((type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK) == PA_SUBSCRIPTION_EVENT_SINK &&
            (type & PA_SUBSCRIPTION_EVENT_TYPE_MASK) == PA_SUBSCRIPTION_EVENT_CHANGE &&
            s->sinkKnown && index != s->sink)
            return;
        s->Fetch();
    }

    static void OnSinkInfo(pa_context*, const pa_sink_info* info, int eol, void* data) {
        auto* s = static_cast<State*>(data);
        if (eol == 0 && info != nullptr) {
            if (s->pendingWrites != 0)
                return;
            s->sinkKnown = true;
            s->sink = info->index;
            s->volume = info->volume;
            s->muted = info->mute != 0;
            s->RememberAudible();
            s->Publish();
            return;
        }
        if (eol < 0 && s->pendingWrites == 0)
            s->sinkKnown = false; // no default sink
        s->Publish();
        s->Settle();
    }

    static void OnWritten(pa_context*, int, void* data) {
        auto* s = static_cast<State*>(data);
        if (s->pendingWrites != 0 && --s->pendingWrites == 0)
            s->Fetch();
    }
};

namespace {

class Locked {
  public:
    explicit Locked(pa_threaded_mainloop* loop) : loop_(loop) { pa_threaded_mainloop_lock(loop_); }
    ~Locked() { pa_threaded_mainloop_unlock(loop_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

  private:
    pa_threaded_mainloop* loop_;
};

} // namespace

LinuxVolume::LinuxVolume() : state_(std::make_unique<State>()) {}

LinuxVolume::~LinuxVolume() {
    state_->Stop();
}

bool LinuxVolume::Present() {
    State& s = *state_;
    s.Start();
    if (s.loop == nullptr)
        return false;
    const Locked lock(s.loop);
    while (!s.settled)
        pa_threaded_mainloop_wait(s.loop);
    return s.Ready();
}

std::optional<std::int32_t> LinuxVolume::Read() {
    State& s = *state_;
    s.Start();
    if (s.loop == nullptr)
        return std::nullopt;
    const std::int32_t level = s.heard.load(std::memory_order_acquire);
    if (level < 0)
        return std::nullopt;
    return level;
}

bool LinuxVolume::Set(std::int32_t percent) {
    State& s = *state_;
    s.Start();
    if (percent < 0 || percent > 100 || s.loop == nullptr)
        return false;
    const Locked lock(s.loop);
    if (!s.Ready() || !s.sinkKnown)
        return false;
    if (percent == s.Level())
        return true;
    pa_cvolume next = s.volume;
    if (pa_cvolume_max(&next) == PA_VOLUME_MUTED && s.audibleSink == s.sink &&
        s.audible.channels == next.channels)
        next = s.audible;
    if (pa_cvolume_scale(&next, VolumeOf(percent)) == nullptr ||
        !s.Write(
            pa_context_set_sink_volume_by_index(s.context, s.sink, &next, State::OnWritten, &s)))
        return false;
    s.volume = next;
    // Unmuted after the level is down, never the other way round.
    if (s.muted && percent > 0 &&
        s.Write(pa_context_set_sink_mute_by_index(s.context, s.sink, 0, State::OnWritten, &s)))
        s.muted = false;
    s.RememberAudible();
    s.Publish();
    return true;
}

} // namespace lumatone
