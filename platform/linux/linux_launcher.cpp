#include "platform/linux/linux_launcher.h"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace lumatone {
namespace {

std::vector<std::string> SplitOnBlanks(const std::string& line) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while ((at = line.find_first_not_of(" \t", at)) != std::string::npos) {
        const std::size_t end = line.find_first_of(" \t", at);
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

class SpawnSetup {
  public:
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};

} // namespace

LinuxLauncher::~LinuxLauncher() {
    Reap();
}

void LinuxLauncher::Reap() {
    std::erase_if(children_, [](int pid) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        return done == pid || (done == -1 && errno == ECHILD);
    });
}

bool LinuxLauncher::Launch(const std::string& program, const std::string& commandLine,
                           const std::string& workingFolder, int /*showCommand*/) {
    Reap();
    // Only a full path: a bare name would be looked up where it should not be.
    if (program.empty() || program[0] != '/' || program.find('\0') != program.npos)
        return false;
    std::vector<std::string> words = SplitOnBlanks(commandLine.c_str());
    if (words.empty())
        words.push_back(program);
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    SpawnSetup setup;
    if (!workingFolder.empty() &&
        posix_spawn_file_actions_addchdir_np(&setup.actions, workingFolder.c_str()) != 0)
        return false;
    // The child starts with no blocked signals and every signal at its default,
    // whatever the program's threads have set for themselves.
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&setup.attributes, &none);
    posix_spawnattr_setsigdefault(&setup.attributes, &all);
    posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = 0;
    // glibc reports a program that cannot be run, or a folder that cannot be
    // entered, as the call's result.
    if (::posix_spawn(&pid, program.c_str(), &setup.actions, &setup.attributes, argv.data(),
                      environ) != 0)
        return false;
    children_.push_back(pid);
    return true;
}

} // namespace lumatone
