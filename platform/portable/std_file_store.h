// Files on a real disk, through the standard library only.
#pragma once

#include "platform/file_store.h"

namespace lumatone {

// Replace writes a temporary file beside the target, flushes and closes it,
// then renames it over the target: a process that dies or a disk that fills
// part-way leaves the old file whole, never a half-written or empty one.
class StdFileStore : public FileStore {
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
};

} // namespace lumatone
