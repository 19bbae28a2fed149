// The steps of one frame of play on the busiest shipped screen, each on its own, to show where a frame's
// time goes.
#include "Stage.h"

#include "graphics/Font.h"
#include "graphics/Image.h"
#include "states/Fade.h"
#include "world/Map.h"

#include <benchmark/benchmark.h>

namespace
{
using bench::Stage;

Stage& BusiestStage();

void BM_FramePart_Starfield(benchmark::State& state)
{
    bench::PlayScene& scene = *BusiestStage().scene;
    for (auto _ : state)
    {
        Utils::DrawStars(scene.Play().mStars, scene.Screen());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FramePart_Starfield)->Unit(benchmark::kMicrosecond);

void BM_FramePart_Level(benchmark::State& state)
{
    bench::PlayScene& scene = *BusiestStage().scene;
    Player& player = scene.ThePlayer();
    for (auto _ : state)
    {
        scene.TheMap().Render(player.GetX(), player.GetY(), scene.Screen());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FramePart_Level)->Unit(benchmark::kMicrosecond);

void BM_FramePart_StatusAndCountdown(benchmark::State& state)
{
    bench::PlayScene& scene = *BusiestStage().scene;
    SDL_Surface* screen = scene.Screen();
    Font& font = *scene.TheGame().mFont;
    for (auto _ : state)
    {
        scene.ThePlayer().ShowHUD(screen);
        font.DrawString("Time left: 08.93", 97, 4, 0, screen);
        font.DrawString("Time left: 08.93", 96, 4, 0xFFFFFFFF, screen);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FramePart_StatusAndCountdown)->Unit(benchmark::kMicrosecond);

void BM_FramePart_FadeOverlay(benchmark::State& state)
{
    bench::PlayScene& scene = *BusiestStage().scene;
    PlayState& play = scene.Play();
    for (auto _ : state)
    {
        Fade::DrawOverlay(*play.mBlackScreen, play.mAlpha, scene.Screen());
        benchmark::ClobberMemory();
    }
    state.counters["alpha"] = play.mAlpha;
}
BENCHMARK(BM_FramePart_FadeOverlay)->Unit(benchmark::kMicrosecond);

void BM_FramePart_Enlargement(benchmark::State& state)
{
    bench::PlayScene& scene = *BusiestStage().scene;
    SDL_Surface* window = scene.Window();
    for (auto _ : state)
    {
        scene.TheGame().mScreen->DrawScaled(window, 2, 0, 0, 0, 0, window->w, window->h);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FramePart_Enlargement)->Unit(benchmark::kMicrosecond);

Stage& BusiestStage()
{
    return bench::CurrentStage("busiest-screen", bench::BuildBusiestScreen);
}
} // namespace
