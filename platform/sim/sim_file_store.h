#pragma once

#include "platform/file_store.h"

#include <map>
#include <string>

namespace lumatone {

// Files in memory, with the failures a real disk can produce.
class SimFileStore : public FileStore {
  public:
    std::optional<std::string> Read(const std::string& path) override;
    bool Replace(const std::string& path, const std::string& content) override;

    std::map<std::string, std::string> files;
    bool failReads = false;
    bool failWrites = false;
    int writesBeforeFailure = -1; // >= 0: that many more writes succeed, then all fail
    std::uint64_t reads = 0, writes = 0;
};

} // namespace lumatone
