// Loading the largest save file the game reads (64 MiB) when it is all
// visited names: the decode with its limits, and the visited list filled
// from what it gives. Beside it the visited list alone, filled with far more
// names than any save file brings in, to show that each look-up stays cheap.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "browser/VisitedList.h"
#include "game/SaveFile.h"

namespace {

constexpr size_t kLargestSaveFile = size_t{64} << 20;

std::string PageName(size_t i) {
    return "Page" + std::to_string(i) + ".htm";
}

std::vector<uint8_t> VisitedNamesFile() {
    GameState state = GameState::NewGame();
    const size_t names = (kLargestSaveFile - GameState::kSize) / kPageNameFieldSize;
    state.visitedCount = static_cast<uint32_t>(names);
    const GameState::Bytes head = state.ToBytes();
    std::vector<uint8_t> file(head.begin(), head.end());
    file.resize(GameState::kSize + names * kPageNameFieldSize);
    for (size_t i = 0; i < names; ++i) {
        WriteFixedString(file.data() + GameState::kSize + i * kPageNameFieldSize,
                         kPageNameFieldSize, PageName(i));
    }
    return file;
}

void LoadVisitedNamesFromTheLargestSaveFile(benchmark::State& state) {
    const std::vector<uint8_t> file = VisitedNamesFile();
    size_t visited = 0;
    for (auto _ : state) {
        const std::optional<SaveData> data = DecodeSaveFile(file.data(), file.size());
        VisitedList list;
        for (const std::string& name : data->visited) {
            list.Add(name);
        }
        visited = list.size();
        benchmark::DoNotOptimize(visited);
    }
    state.counters["names in file"] =
        static_cast<double>((file.size() - GameState::kSize) / kPageNameFieldSize);
    state.counters["names kept"] = static_cast<double>(visited);
}
BENCHMARK(LoadVisitedNamesFromTheLargestSaveFile)->Unit(benchmark::kMillisecond);

void FillVisitedList(benchmark::State& state) {
    const auto count = static_cast<size_t>(state.range(0));
    std::vector<std::string> names;
    for (size_t i = 0; i < count; ++i) {
        names.push_back(PageName(i));
    }
    for (auto _ : state) {
        VisitedList list;
        for (const std::string& name : names) {
            list.Add(name);
        }
        benchmark::DoNotOptimize(list.Contains("PAGE1.HTM"));
    }
    state.counters["names"] = static_cast<double>(count);
}
BENCHMARK(FillVisitedList)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
