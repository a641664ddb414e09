#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumatone {

enum class FileState { Missing, Readable, Unreadable };

// The private-profile (INI) functions of the kernel, in their "A" forms, and
// the few whole-file operations that keep a run of their writes safe.
class Profile {
  public:
    virtual ~Profile() = default;
    // Copies at most size-1 characters and a NUL into buffer; returns the count copied.
    virtual std::uint32_t GetPrivateProfileString(const std::string& section,
                                                  const std::string& key,
                                                  const std::string& defaultValue, char* buffer,
                                                  std::uint32_t size, const std::string& path) = 0;
    virtual bool WritePrivateProfileString(const std::string& section, const std::string& key,
                                           const std::string& value, const std::string& path) = 0;

    // The profile functions read a file that is there but cannot be opened
    // (locked by another program, no permission) as if it were missing. A
    // folder in the file's place holds no settings and counts as missing.
    virtual FileState StateOf(const std::string& path) = 0;
    // Makes to a copy of from; fails when from cannot be read.
    virtual bool CopyOver(const std::string& from, const std::string& to) = 0;
    // Puts from in place of to in one step, through to the disk: to is either
    // the old file whole or the new one. from is gone afterwards.
    virtual bool MoveOver(const std::string& from, const std::string& to) = 0;
    // True when no file is left at path.
    virtual bool RemoveFile(const std::string& path) = 0;

    // A name beside path, path + "." + a tag + ".new", that no other running
    // program takes for its copy; empty when none can be had.
    virtual std::string UniqueCopyName(const std::string& path) = 0;
    // The files of that form now beside path, whoever made them, in name order.
    virtual std::vector<std::string> LeftoverCopies(const std::string& path) = 0;
    // False only when the disk holding path is known to have less room than bytes.
    virtual bool HasRoomFor(const std::string& path, std::uint64_t bytes) = 0;
};

} // namespace lumatone
