// The title screen: picks a new game, the options or quitting, and fades to the chosen screen.
#include "states/MainMenuState.h"

#include "Game.h"
#include "StateManager.h"
#include "graphics/Font.h"
#include "graphics/Image.h"

namespace
{
const int kOptionCount = 3;
const char* const kOptionsText = "New Game\nOptions\nQuit";
} // namespace

bool MainMenuState::Init(Game* game)
{
    LoadCursorScreen(game, "data/gfx/title.png");
    return true;
}

void MainMenuState::HandleQuit(Game* /*game*/)
{
    mFadeState = Fade::FadingOut;
    mQuitRequested = true;
}

bool MainMenuState::HandleKey(Game* game, SDL_Scancode key)
{
    if (key != SDL_SCANCODE_DOWN && key != SDL_SCANCODE_UP && key != SDL_SCANCODE_RETURN)
    {
        return true;
    }
    // Once the window is closed the menu only fades to the credits; keys stay queued.
    if (mQuitRequested)
    {
        return false;
    }
    if (!MoveCursor(game, key, mSelectedOption, kOptionCount))
    {
        // Return. The selection is read when the fade-out completes, so it may still change until then.
        mFadeState = Fade::FadingOut;
    }
    return true;
}

void MainMenuState::Tick(Game* game)
{
    StepBlink();
    if (!StepFade())
    {
        return;
    }
    if (mQuitRequested || mSelectedOption == 2)
    {
        game->mStateManager->ChangeState("Credits");
    }
    else if (mSelectedOption == 0)
    {
        game->mStateManager->ChangeState("Story");
    }
    else
    {
        game->mStateManager->ChangeState("Settings");
    }
}

void MainMenuState::DrawContent(Game* /*game*/, SDL_Surface* screen, Font& font, Uint32 grey)
{
    const int w = screen->w;
    const int h = screen->h;
    const int fw = font.mCharWidth;
    DrawTitle(screen, h / 2 - h / 3);

    const int optionsY = h / 5 + h / 2;
    if (mArrowVisible)
    {
        DrawShape(*mArrowImage, grey, w / 2 - fw / 2 - 36, optionsY + fw * mSelectedOption, screen);
    }
    font.DrawString(kOptionsText, w / 2 - 32, optionsY, grey, screen);

    DrawCursorHints(font, grey, screen);
    DrawCentred(font, "Version " KES_VERSION, h - 12, grey, screen);
}
