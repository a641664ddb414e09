#include "platform/linux/linux_vibrance.h"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace lumatone {
LinuxVibrance::~LinuxVibrance() {
    Reap();
}

void LinuxVibrance::Reap() {
    std::erase_if(children_, [](int pid) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        return done == pid || (done == -1 && errno == ECHILD);
    });
}

bool LinuxVibrance::Run(std::int16_t level) {
    Reap();
    std::string name = "nvidia-settings", option = "-a";
    std::string assignment = "DigitalVibrance=" + std::to_string(level);
    char* argv[] = {name.data(), option.data(), assignment.data(), nullptr};

    // The child starts with no blocked signals and every signal at its default,
    // whatever the program's threads have set for themselves.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    // glibc reports a program that cannot be run as the call's result.
    const int failed = ::posix_spawn(&pid, program_.c_str(), nullptr, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    if (failed != 0)
        return false;
    children_.push_back(pid);
    return true;
}

} // namespace lumatone
