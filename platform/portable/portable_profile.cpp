#include "platform/portable/portable_profile.h"

#include "base/blanks.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

namespace lumatone {
namespace {

using std::string_view;

// What the kernel sees of a C string.
string_view UntilNul(string_view s) {
    return s.substr(0, s.find('\0'));
}

char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(string_view a, string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldAscii(x) == FoldAscii(y);
           });
}

string_view Unquote(string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

bool HasLineBreak(string_view s) {
    return s.find_first_of("\r\n") != string_view::npos;
}

// One line of the file: its text is [begin, end), its line end [end, next).
struct Line {
    std::size_t begin, end, next;
};

// Visits every line in order until visit returns false.
template <class Visit> void ForEachLine(string_view text, Visit visit) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", pos);
        if (end == string_view::npos) {
            visit(Line{pos, text.size(), text.size()});
            return;
        }
        std::size_t next = end + 1;
        if (text[end] == '\r' && next < text.size() && text[next] == '\n')
            ++next;
        if (!visit(Line{pos, end, next}))
            return;
        pos = next;
    }
}

// The line end most of the file's lines have, "\r\n" on a tie with it or
// where none has one, as Windows writes; a stray CR in a damaged line is
// outnumbered by the file's real ends.
string_view UsualLineEnd(string_view text) {
    std::size_t crlf = 0, lf = 0, cr = 0;
    ForEachLine(text, [&](const Line& l) {
        const string_view end = text.substr(l.end, l.next - l.end);
        crlf += end == "\r\n";
        lf += end == "\n";
        cr += end == "\r";
        return true;
    });
    if (crlf >= lf && crlf >= cr)
        return "\r\n";
    return lf >= cr ? "\n" : "\r";
}

// The line end for lines added after the line that ends at [end, next): its
// own, unless it has none or a lone CR, which may sit inside other text.
string_view LineEndAfter(string_view text, std::size_t end, std::size_t next) {
    const string_view own = text.substr(end, next - end);
    return own == "\n" || own == "\r\n" ? own : UsualLineEnd(text);
}

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    string_view name;
    std::size_t equals = 0; // offset of the '=' of a key line
};

ParsedLine Parse(string_view line) {
    const string_view content = TrimBlanks(line);
    if (content.empty())
        return {};
    if (content.front() == '[') {
        const string_view rest = content.substr(1);
        return {LineKind::Section, TrimBlanks(rest.substr(0, rest.find(']'))), 0};
    }
    const std::size_t equals = line.find('=');
    if (equals == string_view::npos)
        return {};
    const string_view name = TrimBlanks(line.substr(0, equals));
    if (!name.empty() && name.front() == ';')
        return {};
    return {LineKind::Key, name, equals};
}

bool IsBlankLine(string_view line) {
    return TrimBlanks(line).empty();
}

struct Location {
    bool sectionFound = false;
    bool keyFound = false;
    Line keyLine{};
    std::size_t equals = 0;      // position of the key line's '='
    std::size_t insertAt = 0;    // just past the section's last non-blank line
    bool insertAfterEnd = false; // that line has a line end
    std::size_t insertEnd = 0;   // where that line's text ends
    std::size_t lastEnd = 0;     // the file's last line: its text's end
    std::size_t lastNext = 0;    // and its line end's
};

// The key in the first section of that name.
Location Locate(string_view text, string_view section, string_view key) {
    Location loc;
    bool inside = false;
    ForEachLine(text, [&](const Line& l) {
        loc.lastEnd = l.end;
        loc.lastNext = l.next;
        const string_view line = text.substr(l.begin, l.end - l.begin);
        const ParsedLine p = Parse(line);
        if (p.kind == LineKind::Section) {
            if (inside)
                return false;
            if (SameName(p.name, section)) {
                inside = loc.sectionFound = true;
                loc.insertAt = l.next;
                loc.insertAfterEnd = l.next > l.end;
                loc.insertEnd = l.end;
            }
            return true;
        }
        if (!inside)
            return true;
        if (p.kind == LineKind::Key && SameName(p.name, key)) {
            loc.keyFound = true;
            loc.keyLine = l;
            loc.equals = l.begin + p.equals;
            return false;
        }
        if (!IsBlankLine(line)) {
            loc.insertAt = l.next;
            loc.insertAfterEnd = l.next > l.end;
            loc.insertEnd = l.end;
        }
        return true;
    });
    return loc;
}

} // namespace

std::uint32_t PortableProfile::GetPrivateProfileString(const std::string& section,
                                                       const std::string& key,
                                                       const std::string& defaultValue,
                                                       char* buffer, std::uint32_t size,
                                                       const std::string& path) {
    if (size == 0 || buffer == nullptr)
        return 0;
    string_view result = UntilNul(defaultValue);
    while (!result.empty() && result.back() == ' ')
        result.remove_suffix(1);

    const std::optional<std::string> text = files_.Read(path);
    if (text) {
        const Location loc =
            Locate(*text, TrimBlanks(UntilNul(section)), TrimBlanks(UntilNul(key)));
        if (loc.keyFound) {
            const string_view value =
                string_view(*text).substr(loc.equals + 1, loc.keyLine.end - loc.equals - 1);
            result = Unquote(TrimBlanks(UntilNul(value)));
        }
    }
    const std::size_t n = std::min<std::size_t>(result.size(), size - 1);
    std::memcpy(buffer, result.data(), n);
    buffer[n] = '\0';
    return static_cast<std::uint32_t>(n);
}

bool PortableProfile::WritePrivateProfileString(const std::string& sectionName,
                                                const std::string& keyName,
                                                const std::string& valueText,
                                                const std::string& path) {
    const string_view section = TrimBlanks(UntilNul(sectionName));
    const string_view key = TrimBlanks(UntilNul(keyName));
    const string_view value = UntilNul(valueText);
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value))
        return false;
    if (section.find(']') != string_view::npos || key.find('=') != string_view::npos ||
        (!key.empty() && (key.front() == ';' || key.front() == '[')))
        return false;

    std::optional<std::string> old = files_.Read(path);
    if (!old) {
        if (files_.Exists(path))
            return false;
        old.emplace();
    }
    const std::string& text = *old;
    const Location loc = Locate(text, section, key);

    std::string updated;
    if (loc.keyFound) {
        updated.reserve(text.size() + value.size());
        updated.append(text, 0, loc.equals + 1);
        updated.append(value);
        updated.append(text, loc.keyLine.end, std::string::npos);
    } else {
        const string_view lineEnd = loc.sectionFound
                                        ? LineEndAfter(text, loc.insertEnd, loc.insertAt)
                                        : LineEndAfter(text, loc.lastEnd, loc.lastNext);
        std::size_t at = text.size();
        bool needsLineEnd = !text.empty() && text.back() != '\n' && text.back() != '\r';
        std::string added;
        if (loc.sectionFound) {
            at = loc.insertAt;
            needsLineEnd = !loc.insertAfterEnd;
        }
        if (needsLineEnd)
            added.append(lineEnd);
        if (!loc.sectionFound)
            added.append("[").append(section).append("]").append(lineEnd);
        added.append(key).append("=").append(value).append(lineEnd);
        // A lone CR before an LF line would fuse with it into one CRLF end.
        if (added.back() == '\r' && at < text.size() && text[at] == '\n')
            added.push_back('\n');
        updated = text;
        updated.insert(at, added);
    }
    if (updated == text)
        return true;
    return files_.Replace(path, updated);
}

FileState PortableProfile::StateOf(const std::string& path) {
    if (files_.Read(path))
        return FileState::Readable;
    return files_.IsFile(path) ? FileState::Unreadable : FileState::Missing;
}

bool PortableProfile::CopyOver(const std::string& from, const std::string& to) {
    const std::optional<std::string> content = files_.Read(from);
    return content && files_.Replace(to, *content);
}

bool PortableProfile::MoveOver(const std::string& from, const std::string& to) {
    return files_.Rename(from, to);
}

bool PortableProfile::RemoveFile(const std::string& path) {
    return files_.Remove(path);
}

std::string PortableProfile::UniqueCopyName(const std::string& path) {
    return files_.UniqueCopyName(path);
}

std::vector<std::string> PortableProfile::LeftoverCopies(const std::string& path) {
    return files_.LeftoverCopies(path);
}

bool PortableProfile::HasRoomFor(const std::string& path, std::uint64_t bytes) {
    return files_.HasRoomFor(path, bytes);
}

} // namespace lumatone
