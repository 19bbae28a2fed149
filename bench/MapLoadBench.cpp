// Loading a level: the largest shipped one, and made-up decks of growing size to show the cost per cell.
#include "LevelGenerator.h"
#include "Stage.h"

#include "world/Map.h"

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

namespace
{
using bench::Stage;

// The game's renderers on this machine take 32-bit ARGB first; levels load into that format.
SDL_RendererInfo RendererInfo()
{
    SDL_RendererInfo info{};
    info.num_texture_formats = 1;
    info.texture_formats[0] = SDL_PIXELFORMAT_ARGB8888;
    return info;
}

// Each load goes into a fresh map, as for a new game; tearing the level down again is not timed.
void MeasureLoads(benchmark::State& state, const std::string& level)
{
    const SDL_RendererInfo info = RendererInfo();
    const std::string path = "data/maps/" + level;
    long long cells = 0;
    for (auto _ : state)
    {
        auto map = std::make_unique<Map>();
        if (!map->Load(path, info))
        {
            state.SkipWithError(("cannot load " + path).c_str());
            break;
        }
        state.PauseTiming();
        cells = static_cast<long long>(map->mWidth) * map->mHeight;
        map.reset();
        state.ResumeTiming();
    }
    state.counters["cells"] = static_cast<double>(cells);
    // Seconds per cell, from the time of a whole load.
    state.counters["per_cell"] =
        benchmark::Counter(static_cast<double>(cells),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetComplexityN(cells);
}

void BM_MapLoad_LargestShipped(benchmark::State& state)
{
    // Surveyed first: the survey closes the current stage.
    const std::string level = bench::LargestLevel().level;
    bench::CurrentStage("shipped-content",
                        [](Stage& built) { built.folder = std::make_unique<bench::ContentFolder>(); });
    MeasureLoads(state, level);
    state.SetLabel(level);
}
BENCHMARK(BM_MapLoad_LargestShipped)->Unit(benchmark::kMillisecond);

// Decks 64 tiles high and range(0) wide, one enemy and one item every eight columns.
void BM_MapLoad_Deck(benchmark::State& state)
{
    bench::CurrentStage("generated-decks",
                        [](Stage& built)
                        {
                            built.folder = std::make_unique<bench::ContentFolder>();
                            const bench::LevelGenerator generator(built.folder->Dir());
                            for (int width = 64; width <= 1024; width *= 2)
                            {
                                generator.WriteDeck("deck" + std::to_string(width) + ".map", width, 64,
                                                    width / 8);
                            }
                        });
    MeasureLoads(state, "deck" + std::to_string(state.range(0)) + ".map");
}
BENCHMARK(BM_MapLoad_Deck)
    ->RangeMultiplier(2)
    ->Range(64, 1024)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
} // namespace
