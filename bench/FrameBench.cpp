// One whole frame of play as the main loop draws it: on the busiest screen of the shipped levels and on
// the stress arena.
#include "LevelGenerator.h"
#include "Stage.h"

#include "graphics/Image.h"

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

// The same frame as the play screen would draw it if a clear fade overlay (opacity 0, as throughout play)
// were not blended at all: the picture is the same byte for byte (tests/bench SceneTest), the time is not.
void BM_FrameOfPlay_BusiestShipped_ClearOverlaySkipped(benchmark::State& state)
{
    Stage& stage = bench::CurrentStage("busiest-screen", bench::BuildBusiestScreen);
    PlayState& play = stage.scene->Play();
    if (play.mAlpha != 0)
    {
        state.SkipWithError("the fade overlay is not clear");
        return;
    }
    std::unique_ptr<Image> overlay = std::move(play.mBlackScreen);
    MeasureFrames(state, stage);
    play.mBlackScreen = std::move(overlay);
}
BENCHMARK(BM_FrameOfPlay_BusiestShipped_ClearOverlaySkipped)->Unit(benchmark::kMicrosecond);

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
