#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumatone {

// Whole-file access beneath the portable private-profile implementation.
class FileStore {
  public:
    virtual ~FileStore() = default;
    // nullopt when the file is missing or cannot be read.
    virtual std::optional<std::string> Read(const std::string& path) = 0;
    // True when anything (file, folder, unreadable entry) occupies path, or when
    // that cannot be told: a writer must not mistake an unreadable file for a new one.
    virtual bool Exists(const std::string& path) = 0;
    // True when a file, not a folder, occupies path.
    virtual bool IsFile(const std::string& path) = 0;
    // Replaces the file as a whole or not at all: a failure leaves the old one intact.
    virtual bool Replace(const std::string& path, const std::string& content) = 0;
    // Renames from over to in one step; a failure leaves both as they were.
    virtual bool Rename(const std::string& from, const std::string& to) = 0;
    // True when no file is left at path.
    virtual bool Remove(const std::string& path) = 0;
    // What Profile::UniqueCopyName, LeftoverCopies and HasRoomFor ask of the disk.
    virtual std::string UniqueCopyName(const std::string& path) = 0;
    virtual std::vector<std::string> LeftoverCopies(const std::string& path) = 0;
    virtual bool HasRoomFor(const std::string& path, std::uint64_t bytes) = 0;
};

} // namespace lumatone
