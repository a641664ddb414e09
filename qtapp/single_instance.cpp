#include "qtapp/single_instance.h"

#include <QSocketNotifier>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace lumatone::view {
namespace {

// Per user, never per path: copies anywhere on the disk are one program.
std::string RuntimeFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime)
        return runtime;
    // /tmp is everyone's: a folder of our own that nobody else can have made.
    const std::string folder = "/tmp/lumatone-" + std::to_string(getuid());
    mkdir(folder.c_str(), 0700);
    struct stat st {};
    if (lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid() ||
        (st.st_mode & 077) != 0)
        return {};
    return folder;
}

bool SocketAddress(const std::string& folder, sockaddr_un& address) {
    const std::string path = folder + "/lumatone.socket";
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

} // namespace

UnixSingleInstance::UnixSingleInstance() : folder_(RuntimeFolder()) {}

UnixSingleInstance::~UnixSingleInstance() {
    if (listener_ >= 0)
        close(listener_);
    if (lock_ >= 0)
        close(lock_);
}

bool UnixSingleInstance::Claim() {
    // Nowhere safe to keep the lock: better two copies than none.
    if (folder_.empty())
        return true;
    if (lock_ < 0) {
        const std::string path = folder_ + "/lumatone.lock";
        lock_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (lock_ < 0)
            return true;
    }
    // The system lets go of the lock with the process, however it ends.
    if (flock(lock_, LOCK_EX | LOCK_NB) != 0)
        return errno != EWOULDBLOCK;
    Listen();
    return true;
}

void UnixSingleInstance::Listen() {
    sockaddr_un address;
    if (!SocketAddress(folder_, address))
        return;
    // Whatever socket is there was left by a copy that no longer holds the lock.
    unlink(address.sun_path);
    listener_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listener_ < 0)
        return;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 4) != 0) {
        close(listener_);
        listener_ = -1;
        return;
    }
    notifier_ = new QSocketNotifier(listener_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { Accept(); });
}

void UnixSingleInstance::Accept() {
    // A connection is the whole request.
    bool asked = false;
    for (int peer; (peer = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
        close(peer);
        asked = true;
    }
    if (asked && show_)
        show_();
}

bool UnixSingleInstance::AskToShow() {
    sockaddr_un address;
    if (folder_.empty() || !SocketAddress(folder_, address))
        return false;
    const int peer = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (peer < 0)
        return false;
    const bool asked = ::connect(peer, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(peer);
    return asked;
}

void UnixSingleInstance::Pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace lumatone::view
