#include "platform/sim/sim_file_store.h"

namespace lumatone {

bool SimFileStore::InRemovedFolder(const std::string& path) const {
    for (const std::string& folder : removedFolders)
        if (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
            (path[folder.size()] == '\\' || path[folder.size()] == '/'))
            return true;
    return false;
}

std::optional<std::string> SimFileStore::Read(const std::string& path) {
    ++reads;
    if (failReads || folders.count(path) || unreadable.count(path) || InRemovedFolder(path))
        return std::nullopt;
    auto it = files.find(path);
    if (it == files.end())
        return std::nullopt;
    return it->second;
}

bool SimFileStore::Exists(const std::string& path) {
    if (InRemovedFolder(path))
        return false;
    return files.count(path) > 0 || folders.count(path) > 0 || unreadable.count(path) > 0;
}

bool SimFileStore::IsFile(const std::string& path) {
    return !InRemovedFolder(path) && (files.count(path) > 0 || unreadable.count(path) > 0);
}

bool SimFileStore::Replace(const std::string& path, const std::string& content) {
    ++writes;
    auto refuse = [this] {
        ++refusedWrites;
        return false;
    };
    if (failWrites || folders.count(path) || InRemovedFolder(path))
        return refuse();
    if (writesBeforeFailure == 0)
        return refuse();
    if (capacity) {
        std::uint64_t used = 0;
        for (const auto& [name, text] : files)
            if (name != path)
                used += text.size();
        if (used + content.size() > *capacity)
            return refuse();
    }
    if (writesBeforeFailure > 0)
        --writesBeforeFailure;
    files[path] = content;
    unreadable.erase(path);
    return true;
}

bool SimFileStore::Rename(const std::string& from, const std::string& to) {
    ++renames;
    auto it = files.find(from);
    if (failWrites || writesBeforeFailure == 0 || it == files.end() || unreadable.count(from) ||
        folders.count(to) || InRemovedFolder(from) || InRemovedFolder(to))
        return false;
    if (writesBeforeFailure > 0)
        --writesBeforeFailure;
    if (from == to)
        return true;
    files[to] = std::move(it->second);
    files.erase(from);
    unreadable.erase(to);
    return true;
}

bool SimFileStore::Remove(const std::string& path) {
    if (folders.count(path) || unreadable.count(path))
        return false;
    files.erase(path);
    return true;
}

} // namespace lumatone
