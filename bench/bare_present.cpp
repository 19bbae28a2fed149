// The least a frame of this game can cost: the game's own window, renderer and streaming texture, uploaded
// and presented at the main loop's pacing, with nothing drawn, no sound and no game behind it.
#include "Timer.h"
#include "graphics/Framework.h"

#include <SDL.h>

#include <cstdio>
#include <exception>

namespace
{
// Displays that report no refresh rate are paced as the game paces them.
constexpr int kFallbackRefreshRate = 60;
} // namespace

int main(int argc, char* argv[])
{
    (void)argc;
    (void)argv;
    try
    {
        // The game's first-run settings: desktop fullscreen, no vertical sync.
        Framework framework;
        framework.Init(true, false);
        Timer timer;
        const int refreshRate = framework.mDisplayMode.refresh_rate;
        timer.Init(refreshRate > 0 ? refreshRate : kFallbackRefreshRate);

        // The passes of the game's main loop, minus the game: events, due updates, one frame, the wait.
        // A close request (or SIGTERM, which SDL turns into one) ends it.
        bool running = true;
        while (running)
        {
            timer.BeginPass();
            SDL_Event event;
            while (SDL_PollEvent(&event))
            {
                if (event.type == SDL_QUIT)
                {
                    running = false;
                }
            }
            timer.RunUpdates([] {});
            timer.ComputeInterpolation();
            framework.Clear();
            framework.Render();
            timer.mFrameCount += 1;
            timer.EndFrame();
            timer.WaitForNextFrame();
        }
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "bare_present: %s\n", error.what());
        return 1;
    }
    return 0;
}
