// The ghost's own world: one update of it on the shipped level with the most entities, steered by that
// level's recorded input, and making it at a level's start (its own copy of the level).
#include "Stage.h"

#include "io/InputScript.h"
#include "states/Ghost.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace
{
std::vector<unsigned> ParOf(const std::string& level)
{
    std::filesystem::path replay = std::filesystem::path("data/maps") / level;
    return InputScript::Load(replay.replace_extension(".replay").string());
}

void BM_Ghost_TickMostEntitiesShipped(benchmark::State& state)
{
    bench::Stage& stage = bench::MostEntitiesStage();
    Game& game = stage.scene->TheGame();
    const std::string level = "data/maps/" + stage.level;
    const std::vector<unsigned> par = ParOf(stage.level);
    std::unique_ptr<Ghost> ghost;
    int done = 0;
    for (auto _ : state)
    {
        // A ghost at its exit runs no more: the route begins again, untimed.
        if (!ghost || done == static_cast<int>(par.size()))
        {
            state.PauseTiming();
            ghost = Ghost::Start(&game, level, par);
            done = 0;
            state.ResumeTiming();
        }
        ghost->Tick(&game);
        ++done;
    }
    state.counters["updates"] = static_cast<double>(par.size());
    state.SetLabel(stage.level);
}
BENCHMARK(BM_Ghost_TickMostEntitiesShipped)->Unit(benchmark::kMicrosecond);

void BM_Ghost_StartMostEntitiesShipped(benchmark::State& state)
{
    bench::Stage& stage = bench::MostEntitiesStage();
    Game& game = stage.scene->TheGame();
    const std::string level = "data/maps/" + stage.level;
    const std::vector<unsigned> par = ParOf(stage.level);
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(Ghost::Start(&game, level, par));
    }
    state.SetLabel(stage.level);
}
BENCHMARK(BM_Ghost_StartMostEntitiesShipped)->Unit(benchmark::kMillisecond);
} // namespace
