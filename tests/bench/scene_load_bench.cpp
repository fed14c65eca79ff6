// Loading scenes without a device (parsing, normals and smoothing): the generated high-detail town,
// and a large one of 50,000 faces in one smoothed group (a rolling height field, so every inner
// corner is shared by six faces).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "engine/engine.h"
#include "render/scene.h"
#include "support/test_support.h"

namespace {

std::string BigSceneText() {
    const int columns = 125, rows = 200;  // 25,000 quads, two faces each
    std::string s = "MinPolygonsInNode 50 NumGroups 1 NumFaces " + std::to_string(columns * rows * 2) + "\n";
    s += "Material Index 0 Textures 1 Duration 0 Texture 0 9001 Blend 0 Mode 0 Kind 0 Unused 0 Specular 0 "
         "Smooth 1\n";
    auto height = [](int x, int z) { return 3.0f * std::sin(x * 0.3f) * std::cos(z * 0.2f); };
    char line[512];
    for (int k = 0; k < columns * rows * 2; ++k) {
        const int x = k / 2 % columns, z = k / 2 / columns;
        // Each quad's two faces: corners (0,0) (0,1) (1,1), then (0,0) (1,1) (1,0), with their uv.
        const int c[2][3][2] = {{{0, 0}, {0, 1}, {1, 1}}, {{0, 0}, {1, 1}, {1, 0}}}, (&f)[3][2] = c[k % 2];
        const auto X = [&](int i) { return (x + f[i][0]) * 4.0f; };
        const auto Y = [&](int i) { return height(x + f[i][0], z + f[i][1]); };
        const auto Z = [&](int i) { return (z + f[i][1]) * 4.0f; };
        std::snprintf(line, sizeof line, "Face Index %d Group 0 %g %g %g 0 0 %g %g %g 1 %d %g %g %g 1 %d\n",
                      k, X(0), Y(0), Z(0), X(1), Y(1), Z(1), k % 2, X(2), Y(2), Z(2), 1 - k % 2);
        s += line;
    }
    return s;
}

// Loads the text again and again; a scene that does not load, or not with `faces` faces (any when 0),
// stops the run.
void LoadRepeatedly(benchmark::State& state, const std::string& text, int faces) {
    g_pDevice = nullptr;
    for (auto _ : state) {
        Scene scene;
        scene.LoadFromMemory(text.data(), text.size());
        benchmark::DoNotOptimize(scene.faces);
        if (faces ? scene.faceCount != faces : scene.faceCount <= 0)
            state.SkipWithError("scene did not load");
        scene.Release();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_SceneLoad50kSmoothed(benchmark::State& state) {
    LoadRepeatedly(state, BigSceneText(), 50000);
}
BENCHMARK(BM_SceneLoad50kSmoothed)->Unit(benchmark::kMillisecond);

void BM_SceneLoadHighDetailTown(benchmark::State& state) {
    const std::string bytes = ReadFileBytes(std::string(VOLTRANA_GAME_DIR) + "/models/scenehi.geo");
    if (bytes.empty()) return state.SkipWithError("models/scenehi.geo is missing: build the game first");
    LoadRepeatedly(state, bytes, 0);
}
BENCHMARK(BM_SceneLoadHighDetailTown)->Unit(benchmark::kMillisecond);

}  // namespace
