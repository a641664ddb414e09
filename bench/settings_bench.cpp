// Reading one value of a settings file as shutdown writes it (43 keys), in
// memory and on a real disk; and the whole 43-key start-up read.
#include "platform/portable/portable_profile.h"
#include "platform/portable/std_file_store.h"
#include "platform/sim/sim_file_store.h"
#include "settings/ini.h"
#include "settings/keys.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

using lumatone::FileStore;
using lumatone::PortableProfile;

struct Key {
    const char* section;
    std::string key;
};

// The 43 keys, in the order shutdown writes them.
std::vector<Key> ShutdownKeys() {
    using namespace lumatone;
    std::vector<Key> keys = {{kWindowsSection, kLoadOnStartupKey},
                             {kWindowsSection, kMinimizeOnStartupKey}};
    for (const GroupKeys& group : kGroupKeys) {
        if (group.positionKey != nullptr)
            keys.push_back({group.section, group.positionKey});
        for (std::size_t i = 0; i < group.codeKeys.size(); i += 2)
            for (const auto* names : {&group.codeKeys, &group.nameKeys}) {
                keys.push_back({group.section, (*names)[i]});
                keys.push_back({group.section, (*names)[i + 1]});
            }
        keys.push_back({group.section, kLockKey});
    }
    return keys;
}

void Fill(PortableProfile& profile, const std::string& path) {
    for (const Key& k : ShutdownKeys())
        lumatone::WriteIni(profile, k.section, k.key,
                           k.key.find("name") != std::string::npos ? "Npad5" : "101", path);
}

// The last key of the file: the read has to scan past all the others.
void ReadOne(benchmark::State& state, FileStore& files, const std::string& path) {
    PortableProfile profile(files);
    Fill(profile, path);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            lumatone::ReadIni(profile, lumatone::kGroupKeys[2].section, lumatone::kLockKey, path));
}

void ReadAll(benchmark::State& state, FileStore& files, const std::string& path) {
    PortableProfile profile(files);
    Fill(profile, path);
    const std::vector<Key> keys = ShutdownKeys();
    for (auto _ : state)
        for (const Key& k : keys)
            benchmark::DoNotOptimize(lumatone::ReadIni(profile, k.section, k.key, path));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(keys.size()));
}

std::string DiskPath() {
    return (std::filesystem::temp_directory_path() / "lumatone-bench-settings.ini").string();
}

void BM_ReadIniOneKey_Sim(benchmark::State& state) {
    lumatone::SimFileStore files;
    ReadOne(state, files, "C:\\Lumatone\\settings.ini");
}
BENCHMARK(BM_ReadIniOneKey_Sim);

void BM_ReadIniOneKey_Disk(benchmark::State& state) {
    lumatone::StdFileStore files;
    std::filesystem::remove(DiskPath());
    ReadOne(state, files, DiskPath());
    std::filesystem::remove(DiskPath());
}
BENCHMARK(BM_ReadIniOneKey_Disk);

void BM_ReadIniAll43Keys_Disk(benchmark::State& state) {
    lumatone::StdFileStore files;
    std::filesystem::remove(DiskPath());
    ReadAll(state, files, DiskPath());
    std::filesystem::remove(DiskPath());
}
BENCHMARK(BM_ReadIniAll43Keys_Disk);

} // namespace

BENCHMARK_MAIN();
