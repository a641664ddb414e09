// The settings reader on any file: reads never overrun the buffer, never
// return more than it holds or bytes the file does not have, and change nothing.
#include "fuzz/fuzz_check.h"
#include "platform/portable/portable_profile.h"
#include "platform/sim/sim_file_store.h"
#include "settings/ini.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace lumatone;

const std::string kPath = "C:\\Lumatone\\settings.ini";
constexpr char kGuard = '\x7f';

void CheckOneRead(PortableProfile& profile, SimFileStore& files, const std::string& text,
                  const std::string& section, const std::string& key) {
    std::string whole;
    const auto all = static_cast<std::uint32_t>(text.size() + 2);
    for (std::uint32_t size : {0u, 1u, 2u, 255u, all}) {
        std::vector<char> buffer(size + 8, kGuard);
        const std::uint32_t n =
            profile.GetPrivateProfileString(section, key, "", buffer.data(), size, kPath);
        if (size == 0) {
            FUZZ_CHECK(n == 0 && buffer[0] == kGuard);
            continue;
        }
        FUZZ_CHECK(n <= size - 1);
        FUZZ_CHECK(buffer[n] == '\0');
        FUZZ_CHECK(std::memchr(buffer.data(), '\0', n) == nullptr);
        for (std::size_t i = n + 1; i < buffer.size(); ++i)
            FUZZ_CHECK(buffer[i] == kGuard);
        const std::string got(buffer.data(), n);
        FUZZ_CHECK(got.find_first_of("\r\n") == std::string::npos);
        FUZZ_CHECK(got.empty() || text.find(got) != std::string::npos);
        if (size == all)
            whole = got;
    }
    const std::string viaReadIni = ReadIni(profile, section, key, kPath);
    FUZZ_CHECK(viaReadIni.size() <= 254);
    FUZZ_CHECK(viaReadIni == whole.substr(0, 254));
    FUZZ_CHECK(files.writes == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    SimFileStore files;
    PortableProfile profile(files);

    // Reading a missing file gives nothing and creates nothing.
    FUZZ_CHECK(ReadIni(profile, "Gamma", "lastgamma", kPath).empty());
    FUZZ_CHECK(files.files.empty());

    files.files[kPath] = text;
    std::vector<std::pair<std::string, std::string>> names = fuzz::NamedPairs(text);
    names.emplace_back("Gamma", "lastgamma");
    names.emplace_back("Volume", "hotkeyreset1name");
    names.emplace_back("", "");
    if (names.size() > 32)
        names.resize(32);
    for (const auto& [section, key] : names)
        CheckOneRead(profile, files, text, section, key);
    FUZZ_CHECK(files.files.size() == 1 && files.files[kPath] == text);
    return 0;
}
