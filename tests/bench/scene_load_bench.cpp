// Loading scenes without a device (parsing, normals and smoothing): the generated high-detail town,
// and a large one of 50,000 faces in one smoothed group (a rolling height field, so every inner
// corner is shared by six faces).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/engine.h"
#include "render/scene.h"

namespace {

std::string BigSceneText() {
    const int columns = 125, rows = 200;  // 25,000 quads, two faces each
    std::string s = "MinPolygonsInNode 50 NumGroups 1 NumFaces " + std::to_string(columns * rows * 2) + "\n";
    s += "Material Index 0 Textures 1 Duration 0 Texture 0 9001 Blend 0 Mode 0 Kind 0 Unused 0 Specular 0 "
         "Smooth 1\n";
    auto height = [](int x, int z) { return 3.0f * std::sin(x * 0.3f) * std::cos(z * 0.2f); };
    char line[512];
    int k = 0;
    for (int z = 0; z < rows; ++z) {
        for (int x = 0; x < columns; ++x) {
            float x0 = x * 4.0f, x1 = x0 + 4.0f, z0 = z * 4.0f, z1 = z0 + 4.0f;
            float h00 = height(x, z), h10 = height(x + 1, z), h01 = height(x, z + 1),
                  h11 = height(x + 1, z + 1);
            std::snprintf(line, sizeof line, "Face Index %d Group 0 %g %g %g 0 0 %g %g %g 1 0 %g %g %g 1 1\n",
                          k++, x0, h00, z0, x0, h01, z1, x1, h11, z1);
            s += line;
            std::snprintf(line, sizeof line, "Face Index %d Group 0 %g %g %g 0 0 %g %g %g 1 1 %g %g %g 1 0\n",
                          k++, x0, h00, z0, x1, h11, z1, x1, h10, z0);
            s += line;
        }
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
    std::ifstream in(std::string(VOLTRANA_GAME_DIR) + "/models/scenehi.geo", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (bytes.str().empty())
        return state.SkipWithError("models/scenehi.geo is missing: build the game first");
    LoadRepeatedly(state, bytes.str(), 0);
}
BENCHMARK(BM_SceneLoadHighDetailTown)->Unit(benchmark::kMillisecond);

}  // namespace
