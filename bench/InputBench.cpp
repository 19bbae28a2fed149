// The input layer's share of a pass: SDL's bare poll, the layer alone on an empty queue, and the play
// screen's reading of a pass with and without key and touch changes.
#include "KeyInput.h"
#include "LevelGenerator.h"
#include "Stage.h"

#include "input/Input.h"
#include "input/TouchInput.h"

#include <benchmark/benchmark.h>

namespace
{
// Hands nothing on: the layer's own work.
class Ignore : public InputHandler
{
};

// What every screen did before the layer: SDL's poll of an empty queue.
void BM_Input_BarePoll(benchmark::State& state)
{
    bench::MostEntitiesStage();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    SDL_Event event;
    for (auto _ : state)
    {
        while (SDL_PollEvent(&event))
        {
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Input_BarePoll)->Unit(benchmark::kNanosecond);

void BM_Input_LayerPass(benchmark::State& state)
{
    Game& game = bench::MostEntitiesStage().scene->TheGame();
    Ignore ignore;
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(game.mInput->Poll(ignore, 0));
    }
}
BENCHMARK(BM_Input_LayerPass)->Unit(benchmark::kNanosecond);

// The play screen's whole reading of one pass, as the main loop calls it; with changes, each pass walks
// on the keyboard and the touch screen and lets go again, so every path of the merging is taken.
void PlayPass(benchmark::State& state, bool changes)
{
    bench::PlayScene& scene = *bench::MostEntitiesStage().scene;
    Game& game = scene.TheGame();
    PlayState& play = scene.Play();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    bool down = false;
    for (auto _ : state)
    {
        if (changes)
        {
            down = !down;
            down ? test::PushKeyDown(SDL_SCANCODE_RIGHT) : test::PushKeyUp(SDL_SCANCODE_RIGHT);
            kes_touch(static_cast<int>(Action::Left), down ? 1 : 0);
        }
        play.HandleEvents(&game);
    }
    play.mMoveLeft = false;
    play.mMoveRight = false;
}

void BM_Input_PlayPass_Quiet(benchmark::State& state)
{
    PlayPass(state, false);
}
BENCHMARK(BM_Input_PlayPass_Quiet)->Unit(benchmark::kNanosecond);

void BM_Input_PlayPass_KeyAndTouch(benchmark::State& state)
{
    PlayPass(state, true);
}
BENCHMARK(BM_Input_PlayPass_KeyAndTouch)->Unit(benchmark::kNanosecond);
} // namespace
