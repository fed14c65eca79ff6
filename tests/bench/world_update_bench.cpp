// The cost of one world step with the largest level (18 buses) and the traffic drawn, with the
// model drawing replaced by a counter so that only the simulation is measured.
#include <benchmark/benchmark.h>

#include "engine/frame_timer.h"
#include "game/game_world.h"
#include "game/random.h"
#include "game/world_draw.h"

namespace {

int64_t s_drawn = 0;

void BM_UpdateWorldLevel15(benchmark::State& state) {
    g_fps = 60.0f;
    g_worldDrawHook = [](const WorldDrawEvent&) { ++s_drawn; };
    gameSrand(1), g_world.setUpLevel(15);
    int frame = 0;
    for (auto _ : state) {
        // Keep a bus moving back and forth so the crash tests run on real motion.
        if (frame++ % 120 == 0) g_world.setUpLevel(15);
        g_world.buses[frame % 18].speed = (frame & 1) ? 0.5f : -0.5f;
        g_world.updateWorld();
        benchmark::DoNotOptimize(g_world.buses[0].position);
    }
    state.counters["draws/frame"] = benchmark::Counter(static_cast<double>(s_drawn) / state.iterations());
    g_worldDrawHook = nullptr;
}
BENCHMARK(BM_UpdateWorldLevel15);

}  // namespace
