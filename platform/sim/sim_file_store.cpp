#include "platform/sim/sim_file_store.h"

namespace lumatone {

std::optional<std::string> SimFileStore::Read(const std::string& path) {
    ++reads;
    if (failReads)
        return std::nullopt;
    auto it = files.find(path);
    if (it == files.end())
        return std::nullopt;
    return it->second;
}

bool SimFileStore::Replace(const std::string& path, const std::string& content) {
    ++writes;
    if (failWrites)
        return false;
    if (writesBeforeFailure == 0)
        return false;
    if (writesBeforeFailure > 0)
        --writesBeforeFailure;
    files[path] = content;
    return true;
}

} // namespace lumatone
