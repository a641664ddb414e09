#include "platform/win32/win32_registry.h"

#include "platform/win32/win32_windows.h"

#include <optional>

namespace lumatone {

namespace {

struct ValueAddress {
    std::string key;  // below HKEY_CURRENT_USER
    std::string name; // empty: the key's default value
};

bool StartsWithNoCase(const std::string& text, const char* prefix) {
    std::size_t n = std::char_traits<char>::length(prefix);
    return text.size() >= n &&
           ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, text.data(), static_cast<int>(n),
                            prefix, static_cast<int>(n)) == CSTR_EQUAL;
}

// "HKEY_CURRENT_USER\Key\Path\Name" (or "HKCU\..."); a trailing separator
// names the key's default value. Other roots are not ours to write.
std::optional<ValueAddress> Parse(const std::string& valuePath) {
    std::string rest;
    for (const char* root : {"HKEY_CURRENT_USER\\", "HKCU\\"}) {
        if (StartsWithNoCase(valuePath, root)) {
            rest = valuePath.substr(std::char_traits<char>::length(root));
            break;
        }
    }
    if (rest.empty() || rest.find('\0') != std::string::npos)
        return std::nullopt;
    std::size_t cut = rest.rfind('\\');
    if (cut == std::string::npos)
        return ValueAddress{{}, rest};
    return ValueAddress{rest.substr(0, cut), rest.substr(cut + 1)};
}

class OpenKey {
  public:
    explicit OpenKey(HKEY key) : key_(key) {}
    ~OpenKey() {
        if (key_ != nullptr)
            ::RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return key_; }

  private:
    HKEY key_;
};

} // namespace

bool Win32Registry::WriteString(const std::string& valuePath, const std::string& value) {
    auto address = Parse(valuePath);
    if (!address)
        return false;
    HKEY raw = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, address->key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                          nullptr, &raw, nullptr) != ERROR_SUCCESS)
        return false;
    OpenKey key(raw);
    // The stored string ends at the first NUL, as REG_SZ data does anyway.
    std::string text = value.c_str();
    return ::RegSetValueExA(key.get(), address->name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteValue(const std::string& valuePath) {
    auto address = Parse(valuePath);
    if (!address)
        return false;
    HKEY raw = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, address->key.c_str(), 0, KEY_SET_VALUE, &raw) !=
        ERROR_SUCCESS)
        return false;
    OpenKey key(raw);
    return ::RegDeleteValueA(key.get(), address->name.c_str()) == ERROR_SUCCESS;
}

bool Win32Registry::ValueExists(const std::string& valuePath) {
    auto address = Parse(valuePath);
    if (!address)
        return false;
    HKEY raw = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, address->key.c_str(), 0, KEY_QUERY_VALUE, &raw) !=
        ERROR_SUCCESS)
        return false;
    OpenKey key(raw);
    return ::RegQueryValueExA(key.get(), address->name.c_str(), nullptr, nullptr, nullptr,
                              nullptr) == ERROR_SUCCESS;
}

} // namespace lumatone
