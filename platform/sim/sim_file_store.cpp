#include "platform/sim/sim_file_store.h"

namespace lumatone {

namespace {

bool Below(const std::set<std::string>& folders, const std::string& path) {
    for (const std::string& folder : folders)
        if (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
            (path[folder.size()] == '\\' || path[folder.size()] == '/'))
            return true;
    return false;
}

} // namespace

bool SimFileStore::InRemovedFolder(const std::string& path) const {
    return Below(removedFolders, path);
}

bool SimFileStore::InFixedFolder(const std::string& path) const {
    return Below(fixedFolders, path);
}

std::uint64_t SimFileStore::UsedBesides(const std::string& path) const {
    std::uint64_t used = 0;
    for (const auto& [name, text] : files)
        if (name != path)
            used += text.size();
    return used;
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
    if (InFixedFolder(path) && files.count(path) == 0)
        return refuse();
    if (capacity && UsedBesides(path) + content.size() > *capacity)
        return refuse();
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
        folders.count(to) || InRemovedFolder(from) || InRemovedFolder(to) || InFixedFolder(from) ||
        InFixedFolder(to) || undeletable.count(from) || undeletable.count(to))
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
    if (files.count(path) && (undeletable.count(path) || InFixedFolder(path)))
        return false;
    files.erase(path);
    return true;
}

std::string SimFileStore::UniqueCopyName(const std::string& path) {
    if (failCopyNames)
        return {};
    return path + "." + std::to_string(++copyNames) + ".new";
}

std::vector<std::string> SimFileStore::LeftoverCopies(const std::string& path) {
    std::vector<std::string> copies;
    const std::string prefix = path + ".", suffix = ".new";
    for (const auto& [name, text] : files)
        if (name.size() > prefix.size() + suffix.size() &&
            name.compare(0, prefix.size(), prefix) == 0 &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            copies.push_back(name);
    return copies;
}

bool SimFileStore::HasRoomFor(const std::string& path, std::uint64_t bytes) {
    (void)path;
    return !capacity || UsedBesides({}) + bytes <= *capacity;
}

} // namespace lumatone
