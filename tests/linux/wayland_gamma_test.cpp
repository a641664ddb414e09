// The gamma of a Wayland session, on real headless compositors: sway offers
// wlr gamma control (its headless outputs have no gamma table, so it refuses
// the control), weston offers none. A compositor of the test's own grants the
// control, as sway does on a real screen.
#include "display/gamma_keeper.h"
#include "display/gamma_ramp.h"
#include "linux/linux_support.h"
#include "platform/linux/linux_screen.h"
#include "platform/linux/wayland_gamma.h"

#include <wayland-server.h>
#include <wlr-gamma-control-unstable-v1-server.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <sys/eventfd.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace lumatone {
namespace {

using linux_test::Eventually;
using linux_test::ScopedEnv;
using linux_test::TempFolder;

// A compositor on a runtime folder of its own; its socket's path, or empty
// with Why() telling what went wrong.
class HeadlessCompositor {
  public:
    explicit HeadlessCompositor(std::vector<std::string> command) {
        // sway refuses to run as root: there it runs as nobody.
        const bool asNobody = command[0] == "sway" && ::geteuid() == 0;
        if (asNobody) {
            command.insert(command.begin(),
                           {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"});
            if (!linux_test::Succeeds("chown nobody:nogroup " + runtime_.path()))
                return;
        }
        const std::string log = runtime_.path() + "/log";
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setenv("XDG_RUNTIME_DIR", runtime_.path().c_str(), 1);
            ::setenv("HOME", runtime_.path().c_str(), 1);
            ::setenv("WLR_BACKENDS", "headless", 1);
            ::setenv("WLR_LIBINPUT_NO_DEVICES", "1", 1);
            ::setenv("WLR_HEADLESS_OUTPUTS", "1", 1);
            ::unsetenv("WAYLAND_DISPLAY");
            ::unsetenv("DISPLAY");
            std::freopen(log.c_str(), "w", stdout);
            std::freopen(log.c_str(), "w", stderr);
            std::vector<char*> argv;
            for (std::string& a : command)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execvp(argv[0], argv.data());
            std::perror("exec");
            ::_exit(127);
        }
        Eventually([&] { return !Socket().empty() || Ended(); });
    }
    ~HeadlessCompositor() {
        if (pid_ > 0 && !Ended()) {
            ::kill(pid_, SIGTERM);
            if (!Eventually([&] { return Ended(); }, 5))
                ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    HeadlessCompositor(const HeadlessCompositor&) = delete;
    HeadlessCompositor& operator=(const HeadlessCompositor&) = delete;

    std::string Socket() const {
        for (const auto& entry : std::filesystem::directory_iterator(runtime_.path()))
            if (entry.is_socket() && entry.path().filename().string().rfind("wayland-", 0) == 0)
                return entry.path().string();
        return {};
    }
    std::string Why() const {
        std::ifstream file(runtime_.path() + "/log");
        std::stringstream text;
        text << file.rdbuf();
        return "the compositor did not start; its output:\n" + text.str();
    }

  private:
    bool Ended() {
        if (ended_)
            return true;
        ended_ = pid_ <= 0 || ::waitpid(pid_, nullptr, WNOHANG) == pid_;
        return ended_;
    }

    TempFolder runtime_;
    pid_t pid_ = -1;
    bool ended_ = false;
};

// The session the program would see on that socket, without the test
// desktop's X display.
struct WaylandSession {
    explicit WaylandSession(const std::string& socket) : wayland("WAYLAND_DISPLAY", socket) {}
    ScopedEnv type{"XDG_SESSION_TYPE", "wayland"};
    ScopedEnv wayland;
    ScopedEnv display{"DISPLAY", std::nullopt};
};

TEST(Wayland, SwayOffersGammaControlAndItsHeadlessOutputRefusesIt) {
    HeadlessCompositor sway({"sway", "-c", "/dev/null"});
    const std::string socket = sway.Socket();
    ASSERT_FALSE(socket.empty()) << sway.Why();
    WaylandSession session(socket);

    WaylandGamma wayland;
    LinuxScreen screen;
    ASSERT_TRUE(wayland.Offered()) << "sway did not advertise zwlr_gamma_control_manager_v1";
    ASSERT_EQ(&SessionGamma(wayland, screen), &wayland);
    const std::vector<DisplayDevice> outputs = wayland.Displays();
    ASSERT_EQ(outputs.size(), 1u);
    EXPECT_EQ(outputs[0].name, "HEADLESS-1");

    // No red note up front, the compositor's refusal after a write: never a
    // success the screen does not show.
    GammaKeeper keeper(SessionGamma(wayland, screen));
    EXPECT_EQ(keeper.Note(), "");
    keeper.Write(20, true);
    EXPECT_EQ(keeper.Note(), "The desktop refused the gamma ramp");
    GammaRamp ramp{};
    EXPECT_FALSE(wayland.ReadRamp("HEADLESS-1", ramp));
    // A refusal is asked again, on the same connection.
    EXPECT_FALSE(wayland.WriteRamp("", ramp));
}

TEST(Wayland, WithoutTheCompositorsGammaControlTheDesktopKeepsGamma) {
    HeadlessCompositor weston({"weston", "--backend=headless-backend.so",
                               "--shell=fullscreen-shell.so", "--no-config", "--socket=wayland-t"});
    const std::string socket = weston.Socket();
    ASSERT_FALSE(socket.empty()) << weston.Why();
    for (const std::string& where : {socket, std::string("/nonexistent/wayland-9")}) {
        SCOPED_TRACE(where);
        WaylandSession session(where);
        WaylandGamma wayland;
        LinuxScreen screen;
        EXPECT_FALSE(wayland.Offered());
        EXPECT_EQ(&SessionGamma(wayland, screen), &screen);
        EXPECT_EQ(GammaKeeper(SessionGamma(wayland, screen)).Note(),
                  "The desktop keeps gamma to itself");
    }
}

// Outputs with gamma tables of kSize entries, each given to one control at a
// time, on a thread of its own; Run() does a thing on that thread.
class FakeCompositor {
  public:
    static constexpr std::uint32_t kSize = 1024;
    struct Output {
        std::string name;
        wl_global* global = nullptr;
        wl_resource* holder = nullptr; // the control that has the table
        std::vector<std::uint16_t> table;
        int sets = 0;
    };

    FakeCompositor() {
        ScopedEnv runtime("XDG_RUNTIME_DIR", folder_.path());
        wl_display_add_socket(display_, "wayland-fake");
        wl_global_create(display_, &zwlr_gamma_control_manager_v1_interface, 1, this, BindManager);
        Plug("FAKE-1");
        source_ = wl_event_loop_add_fd(wl_display_get_event_loop(display_), wake_,
                                       WL_EVENT_READABLE, Wake, this);
        thread_ = std::thread([this] { wl_display_run(display_); });
    }
    ~FakeCompositor() {
        Run([this] { wl_display_terminate(display_); });
        thread_.join();
        wl_display_destroy_clients(display_);
        wl_event_source_remove(source_);
        wl_display_destroy(display_);
        ::close(wake_);
    }
    FakeCompositor(const FakeCompositor&) = delete;
    FakeCompositor& operator=(const FakeCompositor&) = delete;

    std::string Socket() const { return folder_.path() + "/wayland-fake"; }
    void Run(std::function<void()> f) {
        std::promise<void> done;
        {
            std::lock_guard lock(mutex_);
            queue_.push_back([&] {
                f();
                // Its events are on their way before Run() returns.
                wl_display_flush_clients(display_);
                done.set_value();
            });
        }
        const std::uint64_t one = 1;
        EXPECT_EQ(::write(wake_, &one, sizeof one), 8);
        done.get_future().wait();
    }
    void Plug(const std::string& name) {
        Output& o = outputs_.emplace_back();
        o.name = name;
        o.global = wl_global_create(display_, &wl_output_interface, 4, &o, BindOutput);
    }
    Output& Named(const std::string& name) {
        for (Output& o : outputs_)
            if (o.name == name)
                return o;
        return outputs_.front();
    }

  private:
    static int Wake(int fd, std::uint32_t, void* data) {
        auto& self = *static_cast<FakeCompositor*>(data);
        std::uint64_t count = 0;
        EXPECT_EQ(::read(fd, &count, sizeof count), 8);
        std::vector<std::function<void()>> work;
        {
            std::lock_guard lock(self.mutex_);
            work.swap(self.queue_);
        }
        for (auto& f : work)
            f();
        return 0;
    }
    static void BindOutput(wl_client* client, void* data, std::uint32_t version, std::uint32_t id) {
        static const struct wl_output_interface impl = {
            [](wl_client*, wl_resource* r) { wl_resource_destroy(r); }};
        wl_resource* r =
            wl_resource_create(client, &wl_output_interface, static_cast<int>(version), id);
        wl_resource_set_implementation(r, &impl, data, nullptr);
        wl_output_send_name(r, static_cast<Output*>(data)->name.c_str());
        wl_output_send_done(r);
    }
    static void Release(wl_resource* control) {
        auto* o = static_cast<Output*>(wl_resource_get_user_data(control));
        if (o != nullptr && o->holder == control)
            o->holder = nullptr;
    }
    static void BindManager(wl_client* client, void*, std::uint32_t, std::uint32_t id) {
        static const struct zwlr_gamma_control_v1_interface control = {
            [](wl_client*, wl_resource* r, std::int32_t fd) {
                auto* o = static_cast<Output*>(wl_resource_get_user_data(r));
                if (o != nullptr && o->holder == r) {
                    o->table.assign(3 * kSize, 0);
                    const auto bytes = o->table.size() * sizeof(std::uint16_t);
                    EXPECT_EQ(::pread(fd, o->table.data(), bytes, 0), static_cast<ssize_t>(bytes));
                    ++o->sets;
                }
                ::close(fd);
            },
            [](wl_client*, wl_resource* r) { wl_resource_destroy(r); }};
        static const struct zwlr_gamma_control_manager_v1_interface manager = {
            [](wl_client* c, wl_resource* m, std::uint32_t control_id, wl_resource* output) {
                auto* o = static_cast<Output*>(wl_resource_get_user_data(output));
                wl_resource* r = wl_resource_create(c, &zwlr_gamma_control_v1_interface,
                                                    wl_resource_get_version(m), control_id);
                const bool free = o->holder == nullptr;
                wl_resource_set_implementation(r, &control, free ? o : nullptr, Release);
                if (!free) {
                    zwlr_gamma_control_v1_send_failed(r);
                    return;
                }
                o->holder = r;
                zwlr_gamma_control_v1_send_gamma_size(r, kSize);
            },
            [](wl_client*, wl_resource* r) { wl_resource_destroy(r); }};
        wl_resource* r =
            wl_resource_create(client, &zwlr_gamma_control_manager_v1_interface, 1, id);
        wl_resource_set_implementation(r, &manager, nullptr, nullptr);
    }

    TempFolder folder_;
    wl_display* display_ = wl_display_create();
    int wake_ = ::eventfd(0, EFD_CLOEXEC);
    wl_event_source* source_ = nullptr;
    std::list<Output> outputs_;
    std::mutex mutex_;
    std::vector<std::function<void()>> queue_;
    std::thread thread_;
};

// Red, green, blue, each stretched to the compositor's size.
std::vector<std::uint16_t> Table(const GammaRamp& ramp) {
    std::vector<std::uint16_t> table(3 * FakeCompositor::kSize);
    for (std::size_t c = 0; c < 3; ++c)
        ResampleRamp(&ramp[256 * c], 256, &table[FakeCompositor::kSize * c], FakeCompositor::kSize);
    return table;
}

TEST(Wayland, TheCompositorsControlTakesTheRampAndIsAskedAgainWhenTakenAway) {
    FakeCompositor compositor;
    WaylandSession session(compositor.Socket());
    WaylandGamma wayland;
    LinuxScreen screen;
    ASSERT_EQ(&SessionGamma(wayland, screen), &wayland);
    GammaKeeper keeper(wayland);
    keeper.Write(20, true);
    EXPECT_EQ(keeper.Note(), "");
    GammaRamp ramp;
    BuildGammaRamp(GammaForPosition(20), ramp);
    const auto sets = [&] {
        int n = 0;
        compositor.Run([&] { n = compositor.Named("FAKE-1").sets; });
        return n;
    };
    compositor.Run([&] { EXPECT_EQ(compositor.Named("FAKE-1").table, Table(ramp)); });
    // Read back as written: the periodic check writes nothing.
    keeper.Check();
    EXPECT_EQ(sets(), 1);

    // Another client finds the output taken.
    WaylandGamma other;
    GammaKeeper refused(other);
    refused.Write(20, true);
    EXPECT_EQ(refused.Note(), "The desktop refused the gamma ramp");

    // The compositor gives the control away and restores its table: the next
    // check takes it again.
    compositor.Run([&] {
        FakeCompositor::Output& o = compositor.Named("FAKE-1");
        zwlr_gamma_control_v1_send_failed(o.holder);
        wl_resource_set_user_data(o.holder, nullptr);
        o.holder = nullptr;
        compositor.Plug("FAKE-2");
    });
    keeper.Check();
    EXPECT_EQ(keeper.Note(), "");
    EXPECT_EQ(sets(), 2);
    // An output plugged in meanwhile takes the next write, its channels in order.
    for (std::size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<std::uint16_t>(i * 85);
    EXPECT_TRUE(wayland.WriteRamp("FAKE-2", ramp));
    compositor.Run([&] { EXPECT_EQ(compositor.Named("FAKE-2").table, Table(ramp)); });
}

TEST(Wayland, ACompositorThatWentAwayLeavesEveryCallFailingAtOnce) {
    std::unique_ptr<WaylandGamma> wayland;
    GammaRamp ramp{};
    {
        FakeCompositor compositor;
        WaylandSession session(compositor.Socket());
        wayland = std::make_unique<WaylandGamma>();
        ASSERT_TRUE(wayland->WriteRamp("FAKE-1", ramp));
    }
    EXPECT_FALSE(wayland->ReadRamp("FAKE-1", ramp));
    EXPECT_FALSE(wayland->WriteRamp("FAKE-1", ramp));
    EXPECT_TRUE(wayland->Displays().empty());
    EXPECT_FALSE(wayland->Offered());
}

} // namespace
} // namespace lumatone
