// Archive codec benchmarks against plain implementations (tests/support):
// decoding throughput, encoding throughput and the size of what is encoded.
// Run with `make bench`; a summary with the ratios follows the benchmark table.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "../support/ReferenceLzss.h"
#include "archive/Archive.h"
#include "archive/Lzss.h"

namespace {

struct Sample {
    std::string name;
    std::vector<uint8_t> data;
    std::vector<uint8_t> stream;  // encoded by the program's encoder
};

uint32_t Next(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

// A 24-bit picture: smooth shading with a little grain, like a scanned scene.
std::vector<uint8_t> Picture(int w, int h, uint32_t seed, int grain) {
    std::vector<uint8_t> out(54, 0);
    out[0] = 'B';
    out[1] = 'M';
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int noise = grain ? static_cast<int>(Next(seed) % grain) : 0;
            out.push_back(static_cast<uint8_t>((x * 255 / w + noise) & 0xFF));
            out.push_back(static_cast<uint8_t>((y * 255 / h + noise) & 0xFF));
            out.push_back(static_cast<uint8_t>(((x / 40 + y / 40) % 2 ? 200 : 60) + noise));
        }
    }
    return out;
}

std::vector<uint8_t> Page(size_t size, uint32_t seed) {
    const char* parts[] = {"<p>",
                           "</p>\r\n",
                           "霧の町の図書館では、",
                           "<a href=\"omaker00.htm\">",
                           "</a>",
                           "古い日記が見つかった。",
                           "<font size=\"2\" color=\"#336699\">",
                           "</font>",
                           "<br>",
                           "掲示板",
                           "2026年12月8日",
                           "<td width=\"120\">"};
    std::vector<uint8_t> out;
    while (out.size() < size) {
        const std::string part = parts[Next(seed) % 12];
        out.insert(out.end(), part.begin(), part.end());
    }
    out.resize(size);
    return out;
}

std::vector<uint8_t> Random(size_t size, uint32_t seed) {
    std::vector<uint8_t> out(size);
    for (uint8_t& b : out) {
        b = static_cast<uint8_t>(Next(seed));
    }
    return out;
}

const std::vector<Sample>& Corpus() {
    static const std::vector<Sample> corpus = [] {
        std::vector<Sample> samples = {
            {"picture-smooth", Picture(640, 480, 1, 0), {}},  // an illustration
            {"picture-photo", Picture(640, 480, 2, 2), {}},   // a photograph
            {"picture-noisy", Picture(640, 480, 3, 6), {}},   // a grainy scan
            {"picture-small", Picture(120, 90, 4, 2), {}},
            {"pages", Page(300000, 4), {}},
            {"random", Random(200000, 5), {}},
        };
        for (Sample& s : samples) {
            s.stream = lzss::Encode(s.data.data(), s.data.size());
        }
        return samples;
    }();
    return corpus;
}

size_t CorpusBytes() {
    size_t total = 0;
    for (const Sample& s : Corpus()) {
        total += s.data.size();
    }
    return total;
}

using Decoder = size_t (*)(const uint8_t*, size_t, uint8_t*, size_t);

void DecodeCorpus(Decoder decode, std::vector<uint8_t>& out) {
    for (const Sample& s : Corpus()) {
        benchmark::DoNotOptimize(
            decode(s.stream.data(), s.stream.size(), out.data(), s.data.size()));
    }
}

void BM_DecodeBaseline(benchmark::State& state) {
    std::vector<uint8_t> out(CorpusBytes());
    for (auto _ : state) {
        DecodeCorpus(reference::Decode, out);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * CorpusBytes()));
}
BENCHMARK(BM_DecodeBaseline)->Unit(benchmark::kMillisecond);

void BM_Decode(benchmark::State& state) {
    std::vector<uint8_t> out(CorpusBytes());
    for (auto _ : state) {
        DecodeCorpus(lzss::Decode, out);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * CorpusBytes()));
}
BENCHMARK(BM_Decode)->Unit(benchmark::kMillisecond);

void BM_Encode(benchmark::State& state) {
    for (auto _ : state) {
        for (const Sample& s : Corpus()) {
            benchmark::DoNotOptimize(lzss::Encode(s.data.data(), s.data.size()));
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * CorpusBytes()));
}
BENCHMARK(BM_Encode)->Unit(benchmark::kMillisecond);

void BM_EncodeGreedyBaseline(benchmark::State& state) {
    for (auto _ : state) {
        for (const Sample& s : Corpus()) {
            benchmark::DoNotOptimize(reference::GreedyEncode(s.data.data(), s.data.size()));
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * CorpusBytes()));
}
BENCHMARK(BM_EncodeGreedyBaseline)->Unit(benchmark::kMillisecond)->Iterations(1);

// <chrono> cannot be used here: its "\u00b5s" suffix has no code page 932 form.
double Seconds() {
    std::timespec now{};
    std::timespec_get(&now, TIME_UTC);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

template <typename F>
double MegabytesPerSecond(size_t bytes, int rounds, F&& work) {
    const double start = Seconds();
    for (int i = 0; i < rounds; ++i) {
        work();
    }
    return static_cast<double>(bytes) * rounds / 1e6 / (Seconds() - start);
}

// The game's own data: every entry of the four archives of the world in
// $VELMORA_WORLD (pictures, pages, texts, downloads), as the encoder packed
// them, with the random sample beside them.
int WorldSummary() {
    const char* world = std::getenv("VELMORA_WORLD");
    if (world == nullptr) {
        return 0;
    }
    std::vector<Sample> samples;
    for (const char* name : {"cg.arc", "ex.arc", "Text.arc", "parts.arc"}) {
        Archive archive;
        archive.Open(std::string(world) + "/" + name);
        for (uint32_t i = 0; i < archive.entryCount(); ++i) {
            auto packed = archive.ReadPacked(i);
            if (!packed) {
                continue;
            }
            Sample s{archive.entry(i).name, std::vector<uint8_t>(archive.entry(i).unpackedSize),
                     *packed};
            lzss::Decode(s.stream.data(), s.stream.size(), s.data.data(), s.data.size());
            samples.push_back(std::move(s));
        }
    }
    if (samples.empty()) {
        std::printf("\nno world in %s\n", world);
        return 0;
    }
    const Sample& random = Corpus().back();
    samples.push_back(random);
    size_t bytes = 0;
    for (const Sample& s : samples) {
        bytes += s.data.size();
    }
    std::vector<uint8_t> out(bytes);
    auto decodeAll = [&](Decoder decode) {
        return [&, decode] {
            for (const Sample& s : samples) {
                decode(s.stream.data(), s.stream.size(), out.data(), s.data.size());
            }
        };
    };
    const double fast = MegabytesPerSecond(bytes, 10, decodeAll(lzss::Decode));
    const double slow = MegabytesPerSecond(bytes, 10, decodeAll(reference::Decode));
    std::printf("\nworld %s: %zu entries and the random sample, %.1f MB\n", world,
                samples.size() - 1, static_cast<double>(bytes) / 1e6);
    std::printf("decode: %.0f MB/s, plain ring decoder %.0f MB/s: %.2fx\n", fast, slow,
                fast / slow);
    return 0;
}

// Checks that both decoders agree and prints the figures side by side, all
// measured in this one run.
int Summary() {
    std::vector<uint8_t> ours(CorpusBytes()), plain(CorpusBytes());
    std::printf("\n%-16s %10s %10s %10s %8s %9s\n", "sample", "bytes", "packed", "greedy", "size",
                "decode");
    size_t totalOurs = 0, totalGreedy = 0;
    for (const Sample& s : Corpus()) {
        const size_t a = lzss::Decode(s.stream.data(), s.stream.size(), ours.data(), s.data.size());
        const size_t b =
            reference::Decode(s.stream.data(), s.stream.size(), plain.data(), s.data.size());
        if (a != s.data.size() || b != a ||
            !std::equal(ours.begin(), ours.begin() + a, plain.begin()) ||
            !std::equal(s.data.begin(), s.data.end(), ours.begin())) {
            std::printf("decoders disagree on %s\n", s.name.c_str());
            return 1;
        }
        const size_t greedy = reference::GreedyEncode(s.data.data(), s.data.size()).size();
        totalOurs += s.stream.size();
        totalGreedy += greedy;
        const Sample* only = &s;
        auto decodeOne = [&](Decoder decode, std::vector<uint8_t>& out) {
            return [=, &out] {
                decode(only->stream.data(), only->stream.size(), out.data(), only->data.size());
            };
        };
        const double fast = MegabytesPerSecond(s.data.size(), 20, decodeOne(lzss::Decode, ours));
        const double slow =
            MegabytesPerSecond(s.data.size(), 20, decodeOne(reference::Decode, plain));
        std::printf("%-16s %10zu %10zu %10zu %8.4f %8.2fx\n", s.name.c_str(), s.data.size(),
                    s.stream.size(), greedy, static_cast<double>(s.stream.size()) / greedy,
                    fast / slow);
    }
    std::printf("%-16s %10zu %10zu %10zu %8.4f\n", "all", CorpusBytes(), totalOurs, totalGreedy,
                static_cast<double>(totalOurs) / totalGreedy);
    std::puts(
        "(size: packed by the program's encoder / by the greedy encoder; decode: the\n"
        " program's decoder's throughput / the plain ring decoder's)");

    const double decodeOurs =
        MegabytesPerSecond(CorpusBytes(), 20, [&] { DecodeCorpus(lzss::Decode, ours); });
    const double decodePlain =
        MegabytesPerSecond(CorpusBytes(), 20, [&] { DecodeCorpus(reference::Decode, plain); });
    const double encode = MegabytesPerSecond(CorpusBytes(), 3, [] {
        for (const Sample& s : Corpus()) {
            benchmark::DoNotOptimize(lzss::Encode(s.data.data(), s.data.size()));
        }
    });
    std::printf("\ndecode: %.0f MB/s, plain ring decoder %.0f MB/s: %.2fx\n", decodeOurs,
                decodePlain, decodeOurs / decodePlain);
    std::printf("encode: %.1f MB/s; size against greedy: %.4f\n", encode,
                static_cast<double>(totalOurs) / totalGreedy);
    return WorldSummary();
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return Summary();
}
