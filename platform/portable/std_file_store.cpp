#include "platform/portable/std_file_store.h"

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
fs::path TemporaryBeside(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    static const unsigned long long salt = std::random_device{}();
    std::ostringstream name;
    name << target.filename().string() << '.' << std::hex << salt << '.' << counter++ << ".tmp";
    return target.parent_path() / name.str();
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

bool StdFileStore::Remove(const std::string& path) {
    std::error_code ec;
    if (fs::is_directory(fs::path(path), ec))
        return false;
    fs::remove(fs::path(path), ec);
    return !ec;
}

} // namespace lumatone
