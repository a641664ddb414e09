#include "platform/linux/portal_shortcuts.h"

#include <dbus/dbus.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <pthread.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace lumatone {
namespace {

constexpr const char* kPortal = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kShortcuts = "org.freedesktop.portal.GlobalShortcuts";
constexpr const char* kRequest = "org.freedesktop.portal.Request";
constexpr const char* kSession = "org.freedesktop.portal.Session";
// The portal answers its calls at once; what the user decides comes later, as
// a Response signal.
constexpr int kCallTimeoutMs = 5000;
// Capture writes a pair key by key: a change is bound once it stayed this long.
constexpr auto kSettle = std::chrono::seconds(1);

using Clock = std::chrono::steady_clock;

void AppendString(DBusMessageIter* iter, int type, const std::string& value) {
    const char* text = value.c_str();
    dbus_message_iter_append_basic(iter, type, &text);
}

// One "key": <string> entry of an a{sv}.
void AppendEntry(DBusMessageIter* dict, const char* key, const std::string& value) {
    DBusMessageIter entry, variant;
    dbus_message_iter_open_container(dict, DBUS_TYPE_DICT_ENTRY, nullptr, &entry);
    AppendString(&entry, DBUS_TYPE_STRING, key);
    dbus_message_iter_open_container(&entry, DBUS_TYPE_VARIANT, "s", &variant);
    AppendString(&variant, DBUS_TYPE_STRING, value);
    dbus_message_iter_close_container(&entry, &variant);
    dbus_message_iter_close_container(dict, &entry);
}

void AppendOptions(DBusMessageIter* iter,
                   std::initializer_list<std::pair<const char*, std::string>> options) {
    DBusMessageIter dict;
    dbus_message_iter_open_container(iter, DBUS_TYPE_ARRAY, "{sv}", &dict);
    for (const auto& [key, value] : options)
        AppendEntry(&dict, key, value);
    dbus_message_iter_close_container(iter, &dict);
}

std::string StringAt(DBusMessageIter* iter) {
    const int type = dbus_message_iter_get_arg_type(iter);
    if (type != DBUS_TYPE_STRING && type != DBUS_TYPE_OBJECT_PATH)
        return {};
    const char* text = nullptr;
    dbus_message_iter_get_basic(iter, &text);
    return text != nullptr ? text : "";
}

// Moves the iterator into the value of an a{sv}'s entry of that key; false
// when there is none.
bool FindEntry(DBusMessageIter* dict, const char* key, DBusMessageIter* value) {
    if (dbus_message_iter_get_arg_type(dict) != DBUS_TYPE_ARRAY)
        return false;
    DBusMessageIter entries;
    dbus_message_iter_recurse(dict, &entries);
    while (dbus_message_iter_get_arg_type(&entries) == DBUS_TYPE_DICT_ENTRY) {
        DBusMessageIter entry;
        dbus_message_iter_recurse(&entries, &entry);
        if (StringAt(&entry) == key && dbus_message_iter_next(&entry) &&
            dbus_message_iter_get_arg_type(&entry) == DBUS_TYPE_VARIANT) {
            dbus_message_iter_recurse(&entry, value);
            return true;
        }
        dbus_message_iter_next(&entries);
    }
    return false;
}

// The id and trigger description of each shortcut of an a(sa{sv}).
std::vector<std::pair<std::string, std::string>> ReadShortcuts(DBusMessageIter* array) {
    std::vector<std::pair<std::string, std::string>> out;
    if (dbus_message_iter_get_arg_type(array) != DBUS_TYPE_ARRAY)
        return out;
    DBusMessageIter items;
    dbus_message_iter_recurse(array, &items);
    while (dbus_message_iter_get_arg_type(&items) == DBUS_TYPE_STRUCT) {
        DBusMessageIter item, trigger;
        dbus_message_iter_recurse(&items, &item);
        std::string id = StringAt(&item);
        std::string described;
        if (dbus_message_iter_next(&item) && FindEntry(&item, "trigger_description", &trigger))
            described = StringAt(&trigger);
        out.emplace_back(std::move(id), std::move(described));
        dbus_message_iter_next(&items);
    }
    return out;
}

} // namespace

struct PortalShortcuts::State {
    // Shared with the callers, under the lock.
    std::mutex lock;
    std::condition_variable answered;
    Status status = Status::Asking;
    std::vector<PortalShortcut> wanted;
    unsigned wantedVersion = 0;
    Clock::time_point wantedAt{};
    std::vector<Event> events;
    std::vector<std::pair<std::string, std::string>> triggers;
    std::atomic<bool> hasEvents{false};
    std::atomic<bool> stop{false};
    int wake[2] = {-1, -1};

    // The thread's own.
    std::thread thread;
    DBusConnection* bus = nullptr;
    std::string sender; // the unique name as the portal's object paths spell it
    unsigned boundVersion = 0;
    unsigned attempt = 0;
    std::vector<PortalShortcut> binding;
    std::string sessionPath;
    std::string createRequest;
    std::string bindRequest;
    // Calls sent, each with the binding attempt it belongs to.
    std::vector<std::pair<DBusPendingCall*, unsigned>> pending;

    Status CurrentStatus() {
        std::lock_guard<std::mutex> hold(lock);
        return status;
    }

    void Wake() {
        const char byte = 1;
        if (wake[1] >= 0 && ::write(wake[1], &byte, 1) < 0) {
            // A full pipe wakes the thread as well.
        }
    }

    void Set(Status s) {
        {
            std::lock_guard<std::mutex> hold(lock);
            status = s;
        }
        answered.notify_all();
    }

    std::string RequestPath(const std::string& token) const {
        return std::string(kPortalPath) + "/request/" + sender + "/" + token;
    }

    // Sends the call; its reply is looked at on a later turn.
    void Call(DBusMessage* message) {
        DBusPendingCall* call = nullptr;
        if (dbus_connection_send_with_reply(bus, message, &call, kCallTimeoutMs) && call != nullptr)
            pending.emplace_back(call, attempt);
        dbus_message_unref(message);
    }

    void CloseSession(const std::string& path) {
        DBusMessage* close = dbus_message_new_method_call(kPortal, path.c_str(), kSession, "Close");
        dbus_message_set_no_reply(close, TRUE);
        dbus_connection_send(bus, close, nullptr);
        dbus_message_unref(close);
    }

    void AskVersion() {
        DBusMessage* get =
            dbus_message_new_method_call(kPortal, kPortalPath, DBUS_INTERFACE_PROPERTIES, "Get");
        const char* iface = kShortcuts;
        const char* property = "version";
        dbus_message_append_args(get, DBUS_TYPE_STRING, &iface, DBUS_TYPE_STRING, &property,
                                 DBUS_TYPE_INVALID);
        Call(get);
    }

    // Replies say only whether a call was taken: an error refuses, what was
    // asked for comes as a Response.
    void TakeReplies() {
        for (std::size_t i = 0; i < pending.size();) {
            const auto [call, of] = pending[i];
            if (!dbus_pending_call_get_completed(call)) {
                ++i;
                continue;
            }
            DBusMessage* reply = dbus_pending_call_steal_reply(call);
            const bool failed =
                reply == nullptr || dbus_message_get_type(reply) == DBUS_MESSAGE_TYPE_ERROR;
            if (reply != nullptr)
                dbus_message_unref(reply);
            dbus_pending_call_unref(call);
            pending.erase(pending.begin() + static_cast<std::ptrdiff_t>(i));
            // A refusal of a call a newer attempt replaced says nothing.
            if (of == attempt)
                Replied(failed);
        }
    }

    void Replied(bool failed) {
        Status now;
        {
            std::lock_guard<std::mutex> hold(lock);
            now = status;
        }
        if (now == Status::Asking)
            Set(failed ? Status::Absent : Status::Binding);
        else if (failed)
            Set(Status::Refused);
    }

    void StartBinding() {
        {
            std::lock_guard<std::mutex> hold(lock);
            binding = wanted;
            boundVersion = wantedVersion;
            triggers.clear();
        }
        if (!sessionPath.empty())
            CloseSession(sessionPath);
        sessionPath.clear();
        createRequest.clear();
        bindRequest.clear();
        if (binding.empty()) {
            Set(Status::Bound);
            return;
        }
        Set(Status::Binding);
        const std::string n = std::to_string(++attempt);
        createRequest = RequestPath("lumatone_c" + n);
        DBusMessage* create =
            dbus_message_new_method_call(kPortal, kPortalPath, kShortcuts, "CreateSession");
        DBusMessageIter iter;
        dbus_message_iter_init_append(create, &iter);
        AppendOptions(&iter, {{"handle_token", "lumatone_c" + n},
                              {"session_handle_token", "lumatone_s" + n}});
        Call(create);
    }

    void Bind() {
        const std::string token = "lumatone_b" + std::to_string(attempt);
        bindRequest = RequestPath(token);
        DBusMessage* bind =
            dbus_message_new_method_call(kPortal, kPortalPath, kShortcuts, "BindShortcuts");
        DBusMessageIter iter, list;
        dbus_message_iter_init_append(bind, &iter);
        AppendString(&iter, DBUS_TYPE_OBJECT_PATH, sessionPath);
        dbus_message_iter_open_container(&iter, DBUS_TYPE_ARRAY, "(sa{sv})", &list);
        for (const PortalShortcut& s : binding) {
            DBusMessageIter item, info;
            dbus_message_iter_open_container(&list, DBUS_TYPE_STRUCT, nullptr, &item);
            AppendString(&item, DBUS_TYPE_STRING, s.id);
            dbus_message_iter_open_container(&item, DBUS_TYPE_ARRAY, "{sv}", &info);
            AppendEntry(&info, "description", s.description);
            AppendEntry(&info, "preferred_trigger", s.trigger);
            dbus_message_iter_close_container(&item, &info);
            dbus_message_iter_close_container(&list, &item);
        }
        dbus_message_iter_close_container(&iter, &list);
        AppendString(&iter, DBUS_TYPE_STRING, "");
        AppendOptions(&iter, {{"handle_token", token}});
        Call(bind);
    }

    void OnResponse(DBusMessage* message) {
        const char* from = dbus_message_get_path(message);
        if (from == nullptr)
            return;
        const std::string path = from;
        DBusMessageIter iter, value;
        if (!dbus_message_iter_init(message, &iter) ||
            dbus_message_iter_get_arg_type(&iter) != DBUS_TYPE_UINT32)
            return;
        dbus_uint32_t code = 0;
        dbus_message_iter_get_basic(&iter, &code);
        dbus_message_iter_next(&iter);
        if (path == createRequest) {
            createRequest.clear();
            if (code != 0 || !FindEntry(&iter, "session_handle", &value) ||
                (sessionPath = StringAt(&value)).empty()) {
                Set(Status::Refused);
                return;
            }
            Bind();
        } else if (path == bindRequest) {
            bindRequest.clear();
            if (code != 0) {
                Set(Status::Refused);
                return;
            }
            std::vector<std::pair<std::string, std::string>> got;
            if (FindEntry(&iter, "shortcuts", &value))
                got = ReadShortcuts(&value);
            {
                std::lock_guard<std::mutex> hold(lock);
                triggers = std::move(got);
            }
            Set(Status::Bound);
        } else if (path.rfind(RequestPath("lumatone_c"), 0) == 0 && code == 0 &&
                   FindEntry(&iter, "session_handle", &value)) {
            // A session asked for before the pairs changed again.
            CloseSession(StringAt(&value));
        }
    }

    void OnShortcut(DBusMessage* message, bool active) {
        DBusMessageIter iter;
        if (!dbus_message_iter_init(message, &iter) || StringAt(&iter) != sessionPath ||
            sessionPath.empty() || !dbus_message_iter_next(&iter))
            return;
        std::string id = StringAt(&iter);
        std::lock_guard<std::mutex> hold(lock);
        events.push_back({std::move(id), active});
        hasEvents = true;
    }

    static DBusHandlerResult Filter(DBusConnection*, DBusMessage* message, void* data) {
        State& s = *static_cast<State*>(data);
        if (dbus_message_is_signal(message, kRequest, "Response"))
            s.OnResponse(message);
        else if (dbus_message_is_signal(message, kShortcuts, "Activated"))
            s.OnShortcut(message, true);
        else if (dbus_message_is_signal(message, kShortcuts, "Deactivated"))
            s.OnShortcut(message, false);
        else if (dbus_message_is_signal(message, kSession, "Closed") &&
                 dbus_message_get_path(message) != nullptr && !s.sessionPath.empty() &&
                 s.sessionPath == dbus_message_get_path(message)) {
            s.sessionPath.clear();
            s.Set(Status::Refused);
        }
        return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
    }

    bool Connect() {
        // Without a bus to name, libdbus would start one through X11.
        const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if ((address == nullptr || address[0] == '\0') &&
            (runtime == nullptr || ::access((std::string(runtime) + "/bus").c_str(), F_OK) != 0))
            return false;
        DBusError error;
        dbus_error_init(&error);
        bus = dbus_bus_get_private(DBUS_BUS_SESSION, &error);
        dbus_error_free(&error);
        if (bus == nullptr)
            return false;
        dbus_connection_set_exit_on_disconnect(bus, FALSE);
        for (char c : std::string(dbus_bus_get_unique_name(bus)))
            if (c != ':')
                sender += c == '.' ? '_' : c;
        dbus_connection_add_filter(bus, Filter, this, nullptr);
        // Without an error to fill in, adding a rule does not wait for the bus.
        for (const char* rule : {"type='signal',sender='org.freedesktop.portal.Desktop',"
                                 "interface='org.freedesktop.portal.Request',member='Response'",
                                 "type='signal',sender='org.freedesktop.portal.Desktop',"
                                 "interface='org.freedesktop.portal.GlobalShortcuts'",
                                 "type='signal',sender='org.freedesktop.portal.Desktop',"
                                 "interface='org.freedesktop.portal.Session',member='Closed'"})
            dbus_bus_add_match(bus, rule, nullptr);
        return true;
    }

    // Milliseconds until a settling change is due, -1 for none waiting; 0
    // with due set when one is.
    int UntilDue(bool& due) {
        std::lock_guard<std::mutex> hold(lock);
        due = false;
        if (wantedVersion == boundVersion)
            return -1;
        const auto left = boundVersion == 0 ? Clock::duration{} : wantedAt + kSettle - Clock::now();
        due = left <= Clock::duration{};
        return due ? 0
                   : static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
    }

    // The thread sleeps until the bus has something, Want or the destructor
    // wake it, or a settling change falls due: an idle program never wakes it.
    void Run() {
        int fd = -1;
        if (!Connect() || !dbus_connection_get_unix_fd(bus, &fd)) {
            Set(Status::Absent);
            return;
        }
        AskVersion();
        while (!stop && dbus_connection_get_is_connected(bus)) {
            while (dbus_connection_dispatch(bus) == DBUS_DISPATCH_DATA_REMAINS) {
            }
            TakeReplies();
            bool due = false;
            const int timeout = UntilDue(due);
            const Status now = CurrentStatus();
            if (now == Status::Absent)
                break;
            if (due && now != Status::Asking) {
                StartBinding();
                continue;
            }
            const short out = dbus_connection_has_messages_to_send(bus) ? POLLOUT : 0;
            pollfd fds[2] = {{fd, static_cast<short>(POLLIN | out), 0}, {wake[0], POLLIN, 0}};
            // Not due while the first answer is awaited: that answer wakes us.
            if (::poll(fds, 2, now == Status::Asking ? -1 : timeout) < 0 && errno != EINTR)
                break;
            char drained[64];
            while ((fds[1].revents & POLLIN) != 0 && ::read(wake[0], drained, sizeof drained) > 0) {
            }
            dbus_connection_read_write(bus, 0);
        }
        for (const auto& [call, of] : pending) {
            dbus_pending_call_cancel(call);
            dbus_pending_call_unref(call);
        }
        if (!sessionPath.empty())
            CloseSession(sessionPath);
        dbus_connection_flush(bus);
        dbus_connection_close(bus);
        dbus_connection_unref(bus);
        bus = nullptr;
        Set(Status::Absent);
    }
};

PortalShortcuts::PortalShortcuts() : state_(std::make_unique<State>()) {
    if (::pipe2(state_->wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        state_->status = Status::Absent;
        return;
    }
    // Signals stay with the interface thread, which handles them.
    sigset_t all, old;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &old);
    state_->thread = std::thread([s = state_.get()] { s->Run(); });
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
}

PortalShortcuts::~PortalShortcuts() {
    state_->stop = true;
    state_->Wake();
    if (state_->thread.joinable())
        state_->thread.join();
    for (int fd : state_->wake)
        if (fd >= 0)
            ::close(fd);
}

void PortalShortcuts::Want(std::vector<PortalShortcut> shortcuts) {
    {
        std::lock_guard<std::mutex> hold(state_->lock);
        state_->wanted = std::move(shortcuts);
        ++state_->wantedVersion;
        state_->wantedAt = Clock::now();
    }
    state_->Wake();
}

void PortalShortcuts::TakeEvents(std::vector<Event>& events) {
    events.clear();
    if (!state_->hasEvents)
        return;
    std::lock_guard<std::mutex> hold(state_->lock);
    events.swap(state_->events);
    state_->hasEvents = false;
}

PortalShortcuts::Status PortalShortcuts::CurrentStatus(std::chrono::milliseconds patience) {
    std::unique_lock<std::mutex> hold(state_->lock);
    state_->answered.wait_for(hold, patience, [this] { return state_->status != Status::Asking; });
    return state_->status;
}

std::vector<std::pair<std::string, std::string>> PortalShortcuts::BoundTriggers() {
    std::lock_guard<std::mutex> hold(state_->lock);
    return state_->triggers;
}

} // namespace lumatone
