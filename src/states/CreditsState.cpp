// The credits: fade in, hold, fade out, then the program ends.
#include "states/CreditsState.h"

#include "Game.h"
#include "graphics/Font.h"
#include "graphics/Framework.h"
#include "graphics/Image.h"
#include "io/Translation.h"

namespace
{
// Ticks the text stays fully visible, counted from the tick the fade-in ends.
const int kHoldTicks = 32;
} // namespace

bool CreditsState::Init(Game* game)
{
    LoadBackground(game->mFramework->GetRendererInfo());
    CreateOverlay(game);
    return true;
}

void CreditsState::Tick(Game* game)
{
    if (mFadeState == Fade::FadingIn)
    {
        Fade::StepIn(mAlpha);
        if (mAlpha == 0)
        {
            ++mHoldCounter;
            if (mHoldCounter >= kHoldTicks)
            {
                mFadeState = Fade::FadingOut;
            }
        }
        return;
    }
    // The main loop finishes the pass that ends the fade-out, drawing a black frame, and the program shuts
    // down.
    if (mAlpha != Fade::mOpaque && Fade::StepOut(mAlpha))
    {
        game->mIsRunning = false;
    }
}

void CreditsState::DrawContent(Game* /*game*/, SDL_Surface* screen, Font& font, Uint32 grey)
{
    const int h = screen->h;
    // TRANSLATORS: the credits: two centred lines of at most 39 characters.
    DrawCentred(font, Tr("Thank you for playing!"), h / 2 - font.mCharHeight, grey, screen);
    // TRANSLATORS: Tamsel is a name: keep it as it is.
    DrawCentred(font, Tr("A game created by Tamsel"), h / 2 + font.mCharHeight, grey, screen);
}
