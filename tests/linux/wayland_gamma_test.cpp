// The gamma of a Wayland session, on real headless compositors: sway offers
// wlr gamma control (its headless outputs have no gamma table, so it refuses
// the control), weston offers none.
#include "display/gamma_keeper.h"
#include "linux/linux_support.h"
#include "platform/linux/linux_screen.h"
#include "platform/linux/wayland_gamma.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace lumatone {
namespace {

using linux_test::Eventually;
using linux_test::ScopedEnv;
using linux_test::TempFolder;

// A compositor on a runtime folder of its own; its socket's path, or empty
// with why() telling what went wrong.
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
    HeadlessCompositor weston({"weston", "--backend=headless-backend.so", "--socket=wayland-t"});
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

} // namespace
} // namespace lumatone
