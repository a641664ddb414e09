// The private-profile contract of the Windows kernel, written portably over
// a FileStore, for every system that has no kernel profile functions.
//
// The file is single-byte text, edited line by line as Windows does; it is
// never re-serialised. Deliberate behaviours, for comparison with the kernel:
//
// Lines
// - A line ends at "\r\n", "\n" or a lone "\r"; the last line may have no end.
// - Blanks are space, tab, vertical tab and form feed.
// - A section header is a line whose first non-blank character is '['; its
//   name runs to the first ']' (or to the end of the line when there is none)
//   and loses the blanks inside the brackets. Text after the ']' is ignored.
//   "[]" is a section with the empty name.
// - Any other line holding '=' is a key line: the name is the text before
//   the first '=', the value the text after it, both without surrounding
//   blanks. A name starting with ';' makes the line a comment.
// - Every other line (blank, comment, no '=', before the first header) is
//   nobody's key and is kept byte for byte.
// - Names match without regard to ASCII letter case; other bytes match exactly.
// - Only the first section of a name counts, and in it the first key of a
//   name: later duplicates are never read or written.
// - A UTF-8 byte-order mark is not special: like Windows, it spoils the
//   first line. UTF-16 files are not understood (Windows reads them).
//
// Reading
// - Section and key names passed in lose surrounding blanks (Windows strips
//   only spaces there; a name with edge tabs is never used by the program).
// - One pair of matching quotation marks (' or ") around the whole trimmed
//   value is removed; blanks inside them stay.
// - The value ends at its first NUL byte, as the kernel's C strings do.
// - At most size-1 characters and a NUL are copied; the count excludes the NUL.
//   A size of 0 copies nothing. The default loses trailing spaces, as in Windows.
// - A missing or unreadable file, section or key gives the default; reading
//   never creates or changes anything.
//
// Writing
// - An existing key keeps its line: everything up to and including its '='
//   and the line end stay, only the value after the '=' is replaced.
// - A new key goes after the last non-blank line of its section (blank lines
//   before the next section stay where they are); a new section goes at the
//   end of the file as "[section]" and "key=value" lines, with no blank line.
// - New lines end like the line they follow when that ends in LF or CRLF;
//   otherwise (a lone CR, or no end) like most of the file's lines, "\r\n" on
//   a tie and in a file without any, as Windows writes. A stray CR inside a
//   damaged line thus never joins the added keys into one LF-split line. A
//   last line without an end gets one before anything is added after it.
// - The value is written as given. A write that changes nothing does not
//   touch the file.
// - Refused, returning false and changing nothing (Windows would write them
//   and break the file's structure or lose the value): any name or value with
//   a line break; a key holding '=' or starting with ';' or '['; a section
//   holding ']'. Inputs end at their first NUL, as C strings do.
// - A file that exists but cannot be read is never overwritten: the write
//   fails instead of losing its other lines. The new content replaces the
//   file as a whole through FileStore::Replace, or not at all.
//
// Where Wine's kernel32 differs from Windows this follows Windows: Wine
// rewrites the whole file (dropping blank lines, one blank line before each
// header, CRLF throughout), ends a header's name at its last ']' without
// trimming inside the brackets, skips a UTF-8 mark, and turns a bare "key"
// line into "key=value" when that key is written.
#pragma once

#include "platform/file_store.h"
#include "platform/profile.h"

namespace lumatone {

class PortableProfile : public Profile {
  public:
    explicit PortableProfile(FileStore& files) : files_(files) {}
    std::uint32_t GetPrivateProfileString(const std::string& section, const std::string& key,
                                          const std::string& defaultValue, char* buffer,
                                          std::uint32_t size, const std::string& path) override;
    bool WritePrivateProfileString(const std::string& section, const std::string& key,
                                   const std::string& value, const std::string& path) override;
    FileState StateOf(const std::string& path) override;
    bool CopyOver(const std::string& from, const std::string& to) override;
    bool MoveOver(const std::string& from, const std::string& to) override;
    bool RemoveFile(const std::string& path) override;
    std::string UniqueCopyName(const std::string& path) override;
    std::vector<std::string> LeftoverCopies(const std::string& path) override;
    bool HasRoomFor(const std::string& path, std::uint64_t bytes) override;

  private:
    FileStore& files_;
};

} // namespace lumatone
