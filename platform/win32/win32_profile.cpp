#include "platform/win32/win32_profile.h"

#include "platform/win32/win32_windows.h"

#include <algorithm>

namespace lumatone {

std::uint32_t Win32Profile::GetPrivateProfileString(const std::string& section,
                                                    const std::string& key,
                                                    const std::string& defaultValue, char* buffer,
                                                    std::uint32_t size, const std::string& path) {
    if (buffer == nullptr || size == 0)
        return 0;
    return ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                                      size, path.c_str());
}

bool Win32Profile::WritePrivateProfileString(const std::string& section, const std::string& key,
                                             const std::string& value, const std::string& path) {
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                        path.c_str()) != FALSE;
}

FileState Win32Profile::StateOf(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return FileState::Missing;
    // Opened as the profile functions would, sharing everything with whoever
    // else has it open: what fails here fails for them too.
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                   ? FileState::Missing
                   : FileState::Unreadable;
    }
    ::CloseHandle(file);
    return FileState::Readable;
}

bool Win32Profile::CopyOver(const std::string& from, const std::string& to) {
    // A copy left read-only by an earlier run would refuse to be overwritten.
    return RemoveFile(to) && ::CopyFileA(from.c_str(), to.c_str(), TRUE) != FALSE;
}

bool Win32Profile::MoveOver(const std::string& from, const std::string& to) {
    // The profile functions leave their writes in the cache; on the disk
    // before the rename, they cannot be lost with power after it.
    HANDLE file = ::CreateFileA(from.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool flushed = ::FlushFileBuffers(file) != FALSE;
    ::CloseHandle(file);
    return flushed && ::MoveFileExA(from.c_str(), to.c_str(),
                                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool Win32Profile::RemoveFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return false;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
        ::SetFileAttributesA(path.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
    return ::DeleteFileA(path.c_str()) != FALSE;
}

} // namespace lumatone

namespace lumatone {
namespace {

// The folder part of path with its separator, empty when there is none.
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

std::string Win32Profile::UniqueCopyName(const std::string& path) {
    // No two running programs share a process id.
    return path + "." + std::to_string(::GetCurrentProcessId()) + ".new";
}

std::vector<std::string> Win32Profile::LeftoverCopies(const std::string& path) {
    const std::string folder = FolderOf(path);
    const std::string prefix = path.substr(folder.size()) + ".", suffix = ".new";
    std::vector<std::string> copies;
    WIN32_FIND_DATAA found{};
    HANDLE search = ::FindFirstFileA((path + ".*.new").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return copies;
    do {
        // The pattern also matches short 8.3 names and looser long ones.
        const std::string name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            name.size() > prefix.size() + suffix.size() &&
            ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name.c_str(),
                             static_cast<int>(prefix.size()), prefix.c_str(),
                             static_cast<int>(prefix.size())) == CSTR_EQUAL &&
            ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE,
                             name.c_str() + name.size() - suffix.size(),
                             static_cast<int>(suffix.size()), suffix.c_str(),
                             static_cast<int>(suffix.size())) == CSTR_EQUAL)
            copies.push_back(folder + name);
    } while (::FindNextFileA(search, &found) != FALSE);
    ::FindClose(search);
    std::sort(copies.begin(), copies.end());
    return copies;
}

bool Win32Profile::HasRoomFor(const std::string& path, std::uint64_t bytes) {
    const std::string folder = FolderOf(path);
    ULARGE_INTEGER available{};
    if (::GetDiskFreeSpaceExA(folder.empty() ? nullptr : folder.c_str(), &available, nullptr,
                              nullptr) == FALSE)
        return true;
    return available.QuadPart >= bytes;
}

} // namespace lumatone
