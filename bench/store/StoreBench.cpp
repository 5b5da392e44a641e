// Load and save of a 1000-profile store (15 MB), the size a heavy user reaches, and the digest Exit
// compares. Save writes a temporary file, flushes it to the disk and renames it over the store, so
// its figure includes the disk's flush; the folder is the system's temporary folder unless
// PADWRIGHT_BENCH_DIR names another (for instance a folder on the disk the program's working
// directory lies on).
#include "core/SaveDigest.h"
#include "store/ProfileStore.h"
#include "store/StoreFormat.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

namespace {

using namespace padwright;
namespace fs = std::filesystem;

constexpr int ProfileCount = 1000;

struct NoBoxes : IMessageBoxes {
    void Warning(std::string_view, std::string_view) override {}
    void Error(std::string_view) override {}
};

fs::path BenchFolder() {
    const char* chosen = std::getenv("PADWRIGHT_BENCH_DIR");
    const fs::path base = chosen ? fs::path(chosen) : fs::temp_directory_path();
    const fs::path folder = base / ("padwright-bench-store-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    return folder;
}

void FillRandom(StableList<TProfile>& profiles, int count = ProfileCount) {
    std::mt19937 random(1);
    for (int i = 0; i < count; ++i) {
        TProfile& p = profiles.emplace_back();
        auto* bytes = reinterpret_cast<unsigned char*>(&p);
        for (std::size_t b = 0; b < sizeof p; ++b)
            bytes[b] = static_cast<unsigned char>(random());
    }
}

void BM_LoadStore(benchmark::State& state) {
    const fs::path folder = BenchFolder();
    const std::string path = (folder / "Padwright.pro").string();
    NoBoxes boxes;
    {
        StableList<TProfile> profiles;
        FillRandom(profiles);
        ProfileStore(boxes, path).Save(profiles);
    }
    for (auto _ : state) {
        StableList<TProfile> profiles;
        ProfileStore(boxes, path).Load(profiles);
        benchmark::DoNotOptimize(profiles.size());
        if (profiles.count() != ProfileCount)
            state.SkipWithError("the store did not load");
    }
    state.SetBytesProcessed(state.iterations() * ProfileCount * ProfileRecordSize);
    fs::remove_all(folder);
}
BENCHMARK(BM_LoadStore)->Unit(benchmark::kMillisecond);

void BM_SaveStore(benchmark::State& state) {
    const fs::path folder = BenchFolder();
    const std::string path = (folder / "Padwright.pro").string();
    NoBoxes boxes;
    StableList<TProfile> profiles;
    FillRandom(profiles);
    ProfileStore store(boxes, path);
    for (auto _ : state)
        store.Save(profiles);
    state.SetBytesProcessed(state.iterations() * ProfileCount * ProfileRecordSize);
    fs::remove_all(folder);
}
BENCHMARK(BM_SaveStore)->Unit(benchmark::kMillisecond);

// The floor under BM_LoadStore: 1000 new profiles in memory that was handed back to the system,
// each page faulted in once, which a load into a fresh process cannot avoid.
void BM_FreshProfileMemory(benchmark::State& state) {
    for (auto _ : state) {
        StableList<TProfile> profiles;
        for (int i = 0; i < ProfileCount; ++i)
            benchmark::DoNotOptimize(&profiles.emplace_back());
    }
}
BENCHMARK(BM_FreshProfileMemory)->Unit(benchmark::kMillisecond);

// The legacy layout: read and converted record by record.
void BM_LoadLegacyStore(benchmark::State& state) {
    const fs::path folder = BenchFolder();
    const fs::path file = folder / "Padwright.pro";
    {
        std::string bytes(ProfileCount * LegacyRecordSize, '\0');
        std::mt19937 random(2);
        for (char& c : bytes)
            c = static_cast<char>(random());
        std::ofstream(file, std::ios::binary) << bytes;
    }
    NoBoxes boxes;
    for (auto _ : state) {
        StableList<TProfile> profiles;
        ProfileStore(boxes, file.string()).Load(profiles);
        benchmark::DoNotOptimize(profiles.size());
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_LoadLegacyStore)->Unit(benchmark::kMillisecond);

// What Exit compares before it may end without a question, at the most profiles a store holds
// (61 MB): the run-time fields left out of every record, the rest hashed. The same runs at the end
// of start-up and after every Save.
void BM_ExitDigestAtTheLimit(benchmark::State& state) {
    StableList<TProfile> profiles;
    FillRandom(profiles, MaxStoredProfiles);
    for (auto _ : state)
        benchmark::DoNotOptimize(ProfilesDigest(profiles, 0));
    state.SetBytesProcessed(state.iterations() * MaxStoredProfiles * ProfileRecordSize);
}
BENCHMARK(BM_ExitDigestAtTheLimit)->Unit(benchmark::kMillisecond);

} // namespace
