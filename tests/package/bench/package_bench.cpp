// Speed of the LZ coder on 4 MiB of mixed data (text, noise, runs and repeats), through the same
// file path the show and the packer use: CompressFile and ExtractCompressedEntry.
#include "package/lz.h"
#include "package/lz_encode.h"
#include "platform/temp_folder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>

static const int kDataSize = 4 << 20;

static std::string MixedData() {
    std::mt19937 rng(5);
    static const char* words[] = {"vertex ", "face ", "camera ", "0.125 ", "-3.5 ", "material ", "\n"};
    std::string s;
    while ((int)s.size() < kDataSize) {
        switch (rng() % 4) {
        case 0:  // text
            for (int i = 0; i < 2000; ++i) s += words[rng() % 7];
            break;
        case 1:  // noise, as in the music
            for (int i = 0; i < 16384; ++i) s.push_back((char)(rng() & 0xFF));
            break;
        case 2:  // runs, as in picture backgrounds
            for (int i = 0; i < 64; ++i) s.append(16 + rng() % 500, (char)(rng() % 8));
            break;
        default:  // a repeat of something seen shortly before
            if (s.size() > 4000) s += s.substr(s.size() - 1000 - rng() % 3000, 8000);
        }
    }
    s.resize(kDataSize);
    return s;
}

struct BenchFiles {
    std::string source, stream, output;
};

static const BenchFiles& Files() {
    static BenchFiles files;
    if (files.source.empty()) {
        std::string folder = PrivateTempFolder();
        files = {folder + "/mixed.bin", folder + "/mixed.lz", folder + "/mixed.out"};
        std::string data = MixedData();
        FILE* f = fopen(files.source.c_str(), "wb");
        fwrite(data.data(), 1, data.size(), f);
        fclose(f);
        CompressFile(nullptr, files.source.c_str(), files.stream.c_str());
    }
    return files;
}

static void BM_Decode(benchmark::State& state) {
    const BenchFiles& f = Files();
    for (auto _ : state)
        if (!ExtractCompressedEntry(nullptr, f.stream.c_str(), f.output.c_str(), 0, INT32_MAX, kDataSize))
            state.SkipWithError("decode failed");
    state.SetBytesProcessed(state.iterations() * (int64_t)kDataSize);
}
BENCHMARK(BM_Decode)->Unit(benchmark::kMillisecond);

static void BM_Encode(benchmark::State& state) {
    const BenchFiles& f = Files();
    for (auto _ : state)
        if (CompressFile(nullptr, f.source.c_str(), f.output.c_str()) != LZ_SMALLER)
            state.SkipWithError("encode failed");
    state.SetBytesProcessed(state.iterations() * (int64_t)kDataSize);
}
BENCHMARK(BM_Encode)->Unit(benchmark::kMillisecond);

static void BM_StoredCopy(benchmark::State& state) {
    const BenchFiles& f = Files();
    for (auto _ : state)
        if (!ExtractStoredEntry(nullptr, f.source.c_str(), f.output.c_str(), 0, kDataSize))
            state.SkipWithError("copy failed");
    state.SetBytesProcessed(state.iterations() * (int64_t)kDataSize);
}
BENCHMARK(BM_StoredCopy)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
