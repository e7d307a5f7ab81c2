// bench_scene: what loading a scene and decoding a picture cost, through the real file path.
// Run by hand: build/tests/bench_scene.
#include "gfx/tga.h"
#include "scene/scene_loader.h"
#include "scene_writer.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <unistd.h>

static std::string TempPath(const char* name) { return "/tmp/kamora_bench_" + std::to_string(getpid()) + name; }

// A heavy scene for the show: `meshes` meshes of 1500 faces and a camera with 36 keys per track.
static void LoadHeavyScene(benchmark::State& state) {
    TestScene source;
    for (int m = 0; m < state.range(0); ++m) source.meshes.push_back(MakeStripMesh("m" + std::to_string(m), 1500, (float)m));
    source.cameras = {{"cam", MakeKeys(36, 1), MakeKeys(36, 2)}};
    const std::string path = TempPath(".3ds"), bytes = BuildScene(source);
    WriteBytes(path, bytes);
    for (auto _ : state) {
        Scene scene = {};
        if (!LoadScene(nullptr, path.c_str(), &scene)) state.SkipWithError("load failed");
        UnloadScene(&scene);
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)bytes.size());
    remove(path.c_str());
}
BENCHMARK(LoadHeavyScene)->Arg(1)->Arg(24)->Unit(benchmark::kMillisecond);

static void DecodePicture(benchmark::State& state) {
    const int side = (int)state.range(0);
    std::string file = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int value : {side & 255, side >> 8, side & 255, side >> 8, 24, 0}) file += (char)value;
    file.append((size_t)side * side * 3, '\x40');
    const std::string path = TempPath(".tga");
    WriteBytes(path, file);
    for (auto _ : state) {
        Texture texture = {};
        if (!DecodeTGAFile(nullptr, &texture, path.c_str())) state.SkipWithError("decode failed");
        FreeTexturePixels(&texture);
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)file.size());
    remove(path.c_str());
}
BENCHMARK(DecodePicture)->Arg(256)->Arg(1024)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
