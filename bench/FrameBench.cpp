// One whole frame of play as the main loop draws it: on the busiest screen of the shipped levels and on
// the stress arena.
#include "LevelGenerator.h"
#include "Stage.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace
{
using bench::Stage;

void MeasureFrames(benchmark::State& state, Stage& stage)
{
    for (auto _ : state)
    {
        stage.scene->DrawFrame();
        benchmark::DoNotOptimize(stage.scene->Window()->pixels);
        benchmark::ClobberMemory();
    }
    state.counters["entities"] = stage.view.entities;
    state.counters["tile_px"] = static_cast<double>(stage.view.tilePixels);
    state.SetLabel(stage.level);
}

void BM_FrameOfPlay_BusiestShipped(benchmark::State& state)
{
    Stage& stage = bench::CurrentStage("busiest-screen", bench::BuildBusiestScreen);
    MeasureFrames(state, stage);
}
BENCHMARK(BM_FrameOfPlay_BusiestShipped)->Unit(benchmark::kMicrosecond);

void BM_FrameOfPlay_StressArena(benchmark::State& state)
{
    Stage& stage =
        bench::CurrentStage("stress-frame",
                            [](Stage& built)
                            {
                                built.folder = std::make_unique<bench::ContentFolder>();
                                bench::LevelGenerator(built.folder->Dir()).WriteStressArena("stress.map");
                                built.level = "stress.map";
                                built.scene = std::make_unique<bench::PlayScene>(*built.folder, built.level);
                                built.view =
                                    bench::FindBusiestView(built.scene->TheMap(), built.scene->Screen());
                                bench::ShowBusyView(built);
                            });
    MeasureFrames(state, stage);
}
BENCHMARK(BM_FrameOfPlay_StressArena)->Unit(benchmark::kMicrosecond);
} // namespace
