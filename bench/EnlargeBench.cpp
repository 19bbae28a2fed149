// The twofold enlargement of the 320x240 picture onto the 640x480 window surface, against a plain copy of
// the window surface's bytes: the least any enlargement has to spend writing its output.
#include "graphics/Image.h"

#include <benchmark/benchmark.h>

#include <SDL.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

namespace
{
struct SurfaceFree
{
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceFree>;

// The game's surfaces: the renderer's first texture format here is 32-bit ARGB.
Surface MakeSurface(int width, int height)
{
    Surface surface(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!surface)
    {
        throw std::runtime_error(SDL_GetError());
    }
    return surface;
}

// A picture whose neighbouring pixels all differ, so no copy can get away with repeating one value.
std::unique_ptr<Image> MakePicture()
{
    auto picture = std::make_unique<Image>();
    Surface model = MakeSurface(1, 1);
    picture->Load(model.get(), 320, 240, false, 128, 0, 128);
    SDL_Surface* surface = picture->mSurface;
    for (int y = 0; y < surface->h; ++y)
    {
        auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) + y * surface->pitch);
        for (int x = 0; x < surface->w; ++x)
        {
            row[x] = 0xFF000000u | static_cast<Uint32>(x * 2654435761u + y * 40503u) >> 8;
        }
    }
    return picture;
}

std::size_t Bytes(const SDL_Surface* surface)
{
    return static_cast<std::size_t>(surface->pitch) * static_cast<std::size_t>(surface->h);
}

void BM_Enlarge_DrawScaled(benchmark::State& state)
{
    std::unique_ptr<Image> picture = MakePicture();
    Surface window = MakeSurface(640, 480);
    std::vector<Uint8> source(Bytes(window.get()), 0x5A);

    // The copy is timed between the enlargements of the same run, so both see the same machine load.
    using Clock = std::chrono::steady_clock;
    double enlargeSeconds = 0.0;
    double copySeconds = 0.0;
    for (auto _ : state)
    {
        const auto start = Clock::now();
        picture->DrawScaled(window.get(), 2, 0, 0, 0, 0, window->w, window->h);
        benchmark::ClobberMemory();
        const auto middle = Clock::now();
        std::memcpy(window->pixels, source.data(), source.size());
        benchmark::ClobberMemory();
        const auto end = Clock::now();

        const double enlarge = std::chrono::duration<double>(middle - start).count();
        enlargeSeconds += enlarge;
        copySeconds += std::chrono::duration<double>(end - middle).count();
        state.SetIterationTime(enlarge);
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["memcpy_us"] = copySeconds / iterations * 1e6;
    state.counters["x_memcpy"] = copySeconds > 0.0 ? enlargeSeconds / copySeconds : 0.0;
}
BENCHMARK(BM_Enlarge_DrawScaled)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_Enlarge_MemcpyFloor(benchmark::State& state)
{
    Surface window = MakeSurface(640, 480);
    std::vector<Uint8> source(Bytes(window.get()), 0x5A);
    for (auto _ : state)
    {
        std::memcpy(window->pixels, source.data(), source.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(source.size()));
}
BENCHMARK(BM_Enlarge_MemcpyFloor)->Unit(benchmark::kMicrosecond);
} // namespace
