// One fixed update of play: on the shipped level with the most entities, on the one with the most lifts
// and air vents, and on the stress arena with 200 enemies and 50 shots in flight.
#include "LevelGenerator.h"
#include "Stage.h"

#include "world/Map.h"

#include <benchmark/benchmark.h>

namespace
{
using bench::Stage;

// Updates per measured stretch on a shipped level: five seconds of play, well inside the ten seconds of
// oxygen, so the player is still alive when the level begins again.
constexpr int kShippedStretch = 150;
// Updates per stretch in the arena: shots fly 60 pixels and stay on screen and clear of every wall.
constexpr int kArenaStretch = 10;
constexpr int kArenaShots = 50;

// The player stands still while the level lives around it; each stretch starts from a fresh level.
void TickShippedStage(benchmark::State& state, Stage& stage)
{
    bench::PlayScene& scene = *stage.scene;
    Game& game = scene.TheGame();
    PlayState& play = scene.Play();

    int done = kShippedStretch;
    for (auto _ : state)
    {
        if (done == kShippedStretch)
        {
            state.PauseTiming();
            scene.Restart();
            done = 0;
            state.ResumeTiming();
        }
        play.Tick(&game);
        ++done;
    }
    Map& map = scene.TheMap();
    state.counters["entities"] =
        static_cast<double>(map.mEnemies.size() + map.mItems.size() + map.mEntities.size());
    state.SetLabel(stage.level);
}

void BM_Tick_MostEntitiesShipped(benchmark::State& state)
{
    TickShippedStage(state, bench::MostEntitiesStage());
}
BENCHMARK(BM_Tick_MostEntitiesShipped)->Unit(benchmark::kMicrosecond);

void BM_Tick_MostFittingsShipped(benchmark::State& state)
{
    if (bench::MostFittingsLevel().fittings == 0)
    {
        state.SkipWithError("no shipped level has a lift or an air vent");
        return;
    }
    Stage& stage = bench::MostFittingsStage();
    TickShippedStage(state, stage);
    state.counters["fittings"] = static_cast<double>(bench::MostFittingsLevel().fittings);
}
BENCHMARK(BM_Tick_MostFittingsShipped)->Unit(benchmark::kMicrosecond);

// Fills the shot lane of the arena: rows of ten shots flying right, 15 pixels apart.
void ReloadArenaShots(bench::PlayScene& scene)
{
    Player& player = scene.ThePlayer();
    player.mBullets.clear();
    for (int i = 0; i < kArenaShots; ++i)
    {
        scene.AddShot(bench::LevelGenerator::kStressLaneX + 15 * (i % 10), 20 + 16 * (i / 10), true);
    }
    player.mOxygen = 10.0;
}

void BM_Tick_StressArena(benchmark::State& state)
{
    Stage& stage =
        bench::CurrentStage("stress-tick",
                            [](Stage& built)
                            {
                                built.folder = std::make_unique<bench::ContentFolder>();
                                bench::LevelGenerator(built.folder->Dir()).WriteStressArena("stress.map");
                                built.level = "stress.map";
                                built.scene = std::make_unique<bench::PlayScene>(*built.folder, built.level);
                            });
    bench::PlayScene& scene = *stage.scene;
    Game& game = scene.TheGame();
    PlayState& play = scene.Play();

    // Enemies patrol forever behind their wall; shots and oxygen are put back after every stretch.
    int done = kArenaStretch;
    for (auto _ : state)
    {
        if (done == kArenaStretch)
        {
            state.PauseTiming();
            ReloadArenaShots(scene);
            done = 0;
            state.ResumeTiming();
        }
        play.Tick(&game);
        ++done;
    }
    state.counters["enemies"] = static_cast<double>(scene.TheMap().mEnemies.size());
    state.counters["shots"] = static_cast<double>(scene.ThePlayer().mBullets.size());
}
BENCHMARK(BM_Tick_StressArena)->Unit(benchmark::kMicrosecond);
} // namespace
