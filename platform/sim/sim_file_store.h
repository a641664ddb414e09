#pragma once

#include "platform/file_store.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace lumatone {

// Files in memory, with the failures a real disk can produce.
class SimFileStore : public FileStore {
  public:
    std::optional<std::string> Read(const std::string& path) override;
    bool Exists(const std::string& path) override;
    bool IsFile(const std::string& path) override;
    bool Replace(const std::string& path, const std::string& content) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;
    std::string UniqueCopyName(const std::string& path) override;
    std::vector<std::string> LeftoverCopies(const std::string& path) override;
    bool HasRoomFor(const std::string& path, std::uint64_t bytes) override;

    std::map<std::string, std::string> files;
    // Paths taken by a folder: they exist, cannot be read and cannot be replaced.
    std::set<std::string> folders;
    // Files that exist but refuse to be read (locked, no permission).
    std::set<std::string> unreadable;
    // Folders that are gone: nothing below them exists or can be written.
    std::set<std::string> removedFolders;
    // Bytes the disk holds in all; a replace that would need more fails.
    std::optional<std::uint64_t> capacity;
    // Folders whose entries are fixed: a file in them may be rewritten, none
    // created, renamed or removed.
    std::set<std::string> fixedFolders;
    // Files another program holds without delete sharing: rewritten in place
    // they may be, renamed or removed not.
    std::set<std::string> undeletable;
    // UniqueCopyName hands out path + "." + the next number + ".new".
    std::uint64_t copyNames = 0;
    bool failCopyNames = false;

    bool failReads = false;
    bool failWrites = false;
    int writesBeforeFailure = -1; // >= 0: that many more writes succeed, then all fail
    std::uint64_t reads = 0, writes = 0, refusedWrites = 0, renames = 0;

  private:
    bool InRemovedFolder(const std::string& path) const;
    bool InFixedFolder(const std::string& path) const;
    std::uint64_t UsedBesides(const std::string& path) const;
};

} // namespace lumatone
