#include "platform/linux/linux_vibrance.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace lumatone {
namespace {

// A query that has not answered by then never will: the X server or the
// driver is stuck, and the program starts without the group.
constexpr int kQueryTimeoutMs = 3000;
// How often the reaper looks at a running child.
constexpr auto kReapInterval = std::chrono::milliseconds(20);

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// An optionally signed decimal at the front of text, its blanks skipped first.
std::optional<std::int32_t> TakeInteger(std::string_view& text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    std::size_t n = text.size() > 0 && text.front() == '-' ? 1 : 0;
    if (n >= text.size() || !IsDigit(text[n]))
        return std::nullopt;
    while (n < text.size() && IsDigit(text[n]))
        ++n;
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + n, value);
    if (error != std::errc{} || end != text.data() + n)
        return std::nullopt;
    text.remove_prefix(n);
    return value;
}

// Starts the program with the arguments, every signal at its default and
// none blocked, whatever the program's threads have set for themselves;
// output to the descriptor given, or left as it is (-1). 0 when it could not start.
pid_t Spawn(const std::string& program, std::vector<std::string> args, int output) {
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output >= 0) {
        posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    pid_t pid = 0;
    // glibc reports a program that cannot be run as the call's result.
    const int failed =
        ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return failed == 0 ? pid : 0;
}

// What the program writes to its output until it ends or the time is up;
// none when it could not start or did not end in time.
std::optional<std::string> Output(const std::string& program, std::vector<std::string> args) {
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        return std::nullopt;
    const pid_t pid = Spawn(program, std::move(args), pipe[1]);
    ::close(pipe[1]);
    if (pid == 0) {
        ::close(pipe[0]);
        return std::nullopt;
    }
    std::string text;
    bool ended = false;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kQueryTimeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0)
            break;
        pollfd readable{pipe[0], POLLIN, 0};
        const int ready = ::poll(&readable, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        char buffer[4096];
        const ssize_t n = ::read(pipe[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ended = n == 0;
            break;
        }
        // The answer is a few lines; a flood is not one.
        if (text.size() < 65536)
            text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipe[0]);
    if (!ended)
        ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) == -1 && errno == EINTR) {
    }
    if (!ended)
        return std::nullopt;
    return text;
}

} // namespace

std::optional<VibranceRange> ParseVibranceRange(std::string_view text) {
    constexpr std::string_view marker = "in the range";
    for (std::size_t at = text.find(marker); at != std::string_view::npos;
         at = text.find(marker, at + 1)) {
        std::string_view rest = text.substr(at + marker.size());
        const std::optional<std::int32_t> low = TakeInteger(rest);
        while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
            rest.remove_prefix(1);
        if (!low || rest.empty() || rest.front() != '-')
            continue;
        rest.remove_prefix(1);
        const std::optional<std::int32_t> high = TakeInteger(rest);
        if (high && *low < *high)
            return VibranceRange{*low, *high};
    }
    return std::nullopt;
}

std::int32_t DriverVibrance(std::int16_t level, const VibranceRange& range) {
    const double low = range.min <= 0 && range.max >= 0 ? 0.0 : range.min;
    const double share = std::clamp<double>(level, 0, 100) / 100.0;
    return static_cast<std::int32_t>(std::lround(low + share * (range.max - low)));
}

LinuxVibrance::~LinuxVibrance() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (reaper_.joinable())
        reaper_.join();
    // A child still running is left to finish on its own.
    if (running_ != 0) {
        int status = 0;
        ::waitpid(running_, &status, WNOHANG);
    }
}

bool LinuxVibrance::Answers() {
    if (!range_) {
        const std::optional<std::string> text =
            Output(program_, {"nvidia-settings", "-q", "DigitalVibrance"});
        range_.emplace(text ? ParseVibranceRange(*text) : std::nullopt);
    }
    return range_->has_value();
}

bool LinuxVibrance::StartLocked(std::int32_t value) {
    const pid_t pid =
        Spawn(program_, {"nvidia-settings", "-a", "DigitalVibrance=" + std::to_string(value)}, -1);
    if (pid == 0)
        return false;
    running_ = pid;
    runningValue_ = value;
    return true;
}

bool LinuxVibrance::Run(std::int16_t level) {
    if (!Answers())
        return false;
    const std::int32_t value = DriverVibrance(level, **range_);
    std::unique_lock lock(mutex_);
    if (!reaper_.joinable())
        reaper_ = std::thread([this] { Reaper(); });
    if (running_ == 0)
        return StartLocked(value);
    // The running one ends up applied when it is the last asked for.
    if (value == runningValue_)
        waiting_.reset();
    else
        waiting_ = value;
    lock.unlock();
    wake_.notify_all();
    return true;
}

void LinuxVibrance::Reaper() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (running_ != 0) {
            int status = 0;
            const pid_t done = ::waitpid(running_, &status, WNOHANG);
            if (done == 0 || (done == -1 && errno == EINTR)) {
                wake_.wait_for(lock, kReapInterval);
                continue;
            }
            running_ = 0;
        }
        if (waiting_) {
            const std::int32_t value = *waiting_;
            waiting_.reset();
            StartLocked(value);
            continue;
        }
        wake_.wait(lock);
    }
}

} // namespace lumatone
