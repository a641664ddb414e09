#include "platform/portable/std_file_store.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

namespace lumatone {
namespace {

namespace fs = std::filesystem;

// Unique enough that two programs saving into one folder never share a name.
std::string UniqueTag() {
    static std::atomic<unsigned> counter{0};
    static const unsigned long long salt = std::random_device{}();
    std::ostringstream tag;
    tag << std::hex << salt << '.' << counter++;
    return tag.str();
}

fs::path TemporaryBeside(const fs::path& target) {
    return target.parent_path() / (target.filename().string() + '.' + UniqueTag() + ".tmp");
}

} // namespace

std::optional<std::string> StdFileStore::Read(const std::string& path) {
    std::error_code ec;
    // A folder opens as a stream on some systems; only a regular file is text.
    if (!fs::is_regular_file(fs::path(path), ec))
        return std::nullopt;
    std::ifstream in(fs::path(path), std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad() || content.bad())
        return std::nullopt;
    return content.str();
}

bool StdFileStore::Exists(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(fs::path(path), ec);
    if (status.type() == fs::file_type::not_found)
        return false;
    // Anything else, an error included (a folder we may not look into), counts as taken.
    return true;
}

bool StdFileStore::Replace(const std::string& path, const std::string& content) {
    const fs::path target(path);
    std::error_code ec;
    const fs::file_status old = fs::status(target, ec);
    if (fs::is_directory(old))
        return false;
    // A file the user made read-only stays as it is, as Windows keeps it.
    const bool existed = fs::is_regular_file(old);
    if (existed && (old.permissions() & fs::perms::owner_write) == fs::perms::none)
        return false;
    const fs::path temporary = TemporaryBeside(target);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.flush();
        out.close();
        if (!out) {
            fs::remove(temporary, ec);
            return false;
        }
    }
    // Keep the permissions a user gave the old file.
    if (existed)
        fs::permissions(temporary, old.permissions(), ec);
    fs::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

bool StdFileStore::IsFile(const std::string& path) {
    std::error_code ec;
    const fs::file_type type = fs::status(fs::path(path), ec).type();
    // A file that cannot be looked at counts as one: it may hold settings.
    return type != fs::file_type::not_found && type != fs::file_type::directory;
}

bool StdFileStore::Rename(const std::string& from, const std::string& to) {
    std::error_code ec;
    if (fs::is_directory(fs::path(to), ec))
        return false;
    fs::rename(fs::path(from), fs::path(to), ec);
    return !ec;
}

std::string StdFileStore::UniqueCopyName(const std::string& path) {
    return path + '.' + UniqueTag() + ".new";
}

std::vector<std::string> StdFileStore::LeftoverCopies(const std::string& path) {
    const fs::path target(path);
    const std::string prefix = target.filename().string() + '.', suffix = ".new";
    // Names are given back in the form path was given, separators included.
    const std::string folder = path.substr(0, path.size() - target.filename().string().size());
    std::vector<std::string> copies;
    std::error_code ec;
    const fs::path parent = target.has_parent_path() ? target.parent_path() : fs::path(".");
    for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (name.size() > prefix.size() + suffix.size() && name.rfind(prefix, 0) == 0 &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0 &&
            it->is_regular_file(typeError))
            copies.push_back(folder + name);
    }
    std::sort(copies.begin(), copies.end());
    return copies;
}

bool StdFileStore::HasRoomFor(const std::string& path, std::uint64_t bytes) {
    const fs::path target(path);
    std::error_code ec;
    const fs::space_info space =
        fs::space(target.has_parent_path() ? target.parent_path() : fs::path("."), ec);
    return ec || space.available >= bytes;
}

bool StdFileStore::Remove(const std::string& path) {
    std::error_code ec;
    if (fs::is_directory(fs::path(path), ec))
        return false;
    fs::remove(fs::path(path), ec);
    return !ec;
}

} // namespace lumatone
