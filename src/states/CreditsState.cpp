// The credits: fade in, hold, fade out, then the program ends.
#include "states/CreditsState.h"

#include "Game.h"
#include "graphics/Font.h"
#include "graphics/Framework.h"
#include "graphics/Image.h"
#include "states/MenuScreen.h"

namespace
{
// Ticks the text stays fully visible, counted from the tick the fade-in ends.
const int kHoldTicks = 32;
} // namespace

CreditsState::CreditsState() = default;

CreditsState::~CreditsState()
{
    CleanUp();
}

bool CreditsState::Init(Game* game)
{
    const SDL_RendererInfo info = game->mFramework->GetRendererInfo();
    mBackgroundImage =
        MenuScreen::LoadPicture("data/gfx/bg.png", info, false, "Couldn't load credits screen!");
    mBlackScreen = MenuScreen::CreateBlackScreen(game->mScreen->mSurface, mAlpha);
    return true;
}

void CreditsState::CleanUp()
{
    mBackgroundImage.reset();
    mBlackScreen.reset();
}

void CreditsState::HandleEvents(Game* /*game*/)
{
    // Nothing interrupts the credits: keys and further close requests are drained unread.
    while (SDL_PollEvent(&mEvent))
    {
    }
}

void CreditsState::Tick(Game* game)
{
    if (mFadeState == 1)
    {
        if (mAlpha > 0)
        {
            mAlpha -= MenuScreen::mFadeStep;
            if (mAlpha < 0)
            {
                mAlpha = 0;
            }
        }
        if (mAlpha == 0)
        {
            ++mHoldCounter;
            if (mHoldCounter >= kHoldTicks)
            {
                mFadeState = 2;
            }
        }
        return;
    }
    if (mAlpha == 255)
    {
        return;
    }
    mAlpha += MenuScreen::mFadeStep;
    if (mAlpha > 255)
    {
        mAlpha = 255;
        // The main loop finishes this pass, drawing a black frame, and the program shuts down.
        game->mIsRunning = false;
    }
}

void CreditsState::Render(Game* game, const float& /*interpolation*/)
{
    SDL_Surface* screen = game->mScreen->mSurface;
    Font& font = *game->mFont;
    const int h = screen->h;
    const Uint32 grey = MenuScreen::TextColour(screen);

    mBackgroundImage->Draw(screen, 0, 0);
    MenuScreen::DrawCentred(font, "Thank you for playing!", h / 2 - font.mCharHeight, grey, screen);
    MenuScreen::DrawCentred(font, "A game created by Tamsel", h / 2 + font.mCharHeight, grey, screen);
    MenuScreen::DrawOverlay(*mBlackScreen, mAlpha, screen);
}
