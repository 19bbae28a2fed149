// Drives the real play screen from recorded input, in a scratch folder that starts play at a chosen level.
#include "PlayDriver.h"

#include <SDL.h>

#include <stdexcept>

namespace content
{
PlayDriver::PlayDriver(std::size_t firstLevel, bool render)
    : mContent(firstLevel), mHarness(nullptr), mRender(render)
{
    if (!mContent.HasContent())
        throw std::runtime_error("no data/maps/maps.lst here: run in the build folder");
    mHarness = std::make_unique<test::PlayHarness>(true);
    Restart();
}

void PlayDriver::Restart()
{
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    Play().mAlpha = 255;
    if (!mHarness->BeginGame())
        throw std::runtime_error("play did not start");
}

bool PlayDriver::Finished() const
{
    const PlayState& play = mHarness->Play();
    return play.mCurrentMap > 0 || play.mNextLevel || play.mBackToMenu;
}

bool PlayDriver::PlayerAlive() const
{
    const PlayState& play = mHarness->Play();
    return play.mPlayer && play.mPlayer->GetIsAlive();
}
} // namespace content
