// The settings writer on any file and any names and values: a write that
// succeeds reads back as the contract says and leaves every other value as it
// was; a write that fails, however it fails, leaves the file byte for byte.
#include "fuzz/fuzz_check.h"
#include "platform/portable/portable_profile.h"
#include "platform/sim/sim_file_store.h"
#include "settings/ini.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace lumatone;

const std::string kPath = "C:\\Lumatone\\settings.ini";

// What the reader gives back for a stored value.
std::string AsRead(std::string value) {
    value = value.substr(0, value.find('\0'));
    std::size_t b = 0, e = value.size();
    while (b < e && fuzz::IsBlank(value[b]))
        ++b;
    while (e > b && fuzz::IsBlank(value[e - 1]))
        --e;
    value = value.substr(b, e - b);
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        value = value.substr(1, value.size() - 2);
    return value.substr(0, 254);
}

using Pair = std::pair<std::string, std::string>;

std::map<Pair, std::string> ReadAll(PortableProfile& profile, const std::vector<Pair>& pairs) {
    std::map<Pair, std::string> values;
    for (const Pair& p : pairs)
        values[p] = ReadIni(profile, p.first, p.second, kPath);
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const int writes = in.ConsumeIntegralInRange<int>(1, 6);
    const int failAfter = in.ConsumeIntegralInRange<int>(-1, 6);
    const bool viaWriteIni = in.ConsumeBool();
    std::vector<std::array<std::string, 3>> ops;
    for (int i = 0; i < writes; ++i)
        ops.push_back({in.ConsumeRandomLengthString(40), in.ConsumeRandomLengthString(40),
                       in.ConsumeRandomLengthString(300)});
    const std::string text = in.ConsumeRemainingBytesAsString();

    SimFileStore files;
    PortableProfile profile(files);
    if (!text.empty())
        files.files[kPath] = text;
    files.writesBeforeFailure = failAfter;

    for (const auto& [section, key, value] : ops) {
        const bool existed = files.files.count(kPath) > 0;
        const std::string before = existed ? files.files[kPath] : std::string();
        std::vector<Pair> pairs = fuzz::NamedPairs(before);
        if (pairs.size() > 48)
            pairs.resize(48);
        const auto valuesBefore = ReadAll(profile, pairs);

        const bool stored = viaWriteIni
                                ? WriteIni(profile, section, key, value, kPath)
                                : profile.WritePrivateProfileString(section, key, value, kPath);
        if (!stored) {
            FUZZ_CHECK(files.files.count(kPath) == (existed ? 1u : 0u));
            FUZZ_CHECK(!existed || files.files[kPath] == before);
            continue;
        }
        const std::string readBack = ReadIni(profile, section, key, kPath);
        const std::string expected =
            viaWriteIni ? value.substr(0, value.find('\0')).substr(0, 254) : AsRead(value);
        if (readBack != expected)
            std::fprintf(stderr, "[%s] %s = %s read back as %s\n", fuzz::Shown(section).c_str(),
                         fuzz::Shown(key).c_str(), fuzz::Shown(value).c_str(),
                         fuzz::Shown(readBack).c_str());
        FUZZ_CHECK(readBack == expected);
        const std::string written = fuzz::NameKey(section) + '\n' + fuzz::NameKey(key);
        for (const auto& [pair, old] : valuesBefore) {
            if (fuzz::NameKey(pair.first) + '\n' + fuzz::NameKey(pair.second) == written)
                continue;
            FUZZ_CHECK(ReadIni(profile, pair.first, pair.second, kPath) == old);
        }
    }
    return 0;
}
