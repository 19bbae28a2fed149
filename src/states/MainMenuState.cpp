// The title screen: picks Continue, a new game, the options or quitting, and fades to the chosen screen.
#include "states/MainMenuState.h"

#include "Game.h"
#include "StateManager.h"
#include "graphics/Font.h"
#include "graphics/Image.h"
#include "io/FieldReader.h"
#include "io/Translation.h"
#include "states/PlayState.h"

namespace
{
const int kOptionCount = 3;
// The entries are drawn one under the other, each translated on its own.
const char* const kOptions[] = {TrNoop("New Game"), TrNoop("Options"), TrNoop("Quit")};
const char* const kContinueText = TrNoop("Continue");
} // namespace

bool MainMenuState::Init(Game* game)
{
    LoadCursorScreen(game, "data/gfx/title.png");
    // Without a list there is nothing to continue; play says why when it starts.
    FieldReader::ReadLines(Progress::mLevelList, mLevels);
    UpdateContinue(game);
    return true;
}

void MainMenuState::UpdateContinue(Game* game)
{
    const bool shown = game->mProgress.Furthest(mLevels) > 0;
    if (shown != mContinueShown)
    {
        mContinueShown = shown;
        mSelectedOption = shown ? 0 : (mSelectedOption > 0 ? mSelectedOption - 1 : 0);
    }
}

void MainMenuState::HandleQuit(Game* /*game*/)
{
    mFadeState = Fade::FadingOut;
    mQuitRequested = true;
}

bool MainMenuState::HandleAction(Game* game, Action action, bool /*repeat*/)
{
    if (action != Action::Down && action != Action::Up && action != Action::Accept)
    {
        return true;
    }
    // Once the window is closed the menu only fades to the credits; keys stay queued.
    if (mQuitRequested)
    {
        return false;
    }
    UpdateContinue(game);
    if (!MoveCursor(game, action, mSelectedOption, kOptionCount + (mContinueShown ? 1 : 0)))
    {
        // Return. The selection is read when the fade-out completes, so it may still change until then.
        mFadeState = Fade::FadingOut;
    }
    return true;
}

void MainMenuState::Tick(Game* game)
{
    UpdateContinue(game);
    StepBlink();
    if (!StepFade())
    {
        return;
    }
    // The entries below "Continue" keep their numbers whether it is shown or not.
    const int option = mSelectedOption - (mContinueShown ? 1 : 0);
    if (mQuitRequested || option == 2)
    {
        game->mStateManager->ChangeState("Credits");
    }
    else if (option == 0)
    {
        game->mStateManager->ChangeState("Story");
    }
    else if (option == 1)
    {
        game->mStateManager->ChangeState("Settings");
    }
    else
    {
        // Continue: straight into play at the furthest level, with a fresh player and no story.
        if (game->mPlayState != nullptr)
        {
            game->mPlayState->mFirstLevel = mLevels[game->mProgress.Furthest(mLevels)];
        }
        game->mStateManager->ChangeState("Play");
        if (State* play = game->mStateManager->mCurrentState)
        {
            play->Init(game);
        }
    }
}

void MainMenuState::DrawContent(Game* game, SDL_Surface* screen, Font& font, Uint32 grey)
{
    UpdateContinue(game);
    const int w = screen->w;
    const int h = screen->h;
    const int fw = font.mCharWidth;
    DrawTitle(screen, h / 2 - h / 3);

    // "Continue" stands above the three entries, which stay where they always are.
    const int optionsY = h / 5 + h / 2 - (mContinueShown ? fw : 0);
    if (mArrowVisible)
    {
        DrawShape(*mArrowImage, grey, w / 2 - fw / 2 - 36, optionsY + fw * mSelectedOption, screen);
    }
    std::string entries = mContinueShown ? std::string(Tr(kContinueText)) + "\n" : "";
    for (const char* option : kOptions)
    {
        entries += std::string(Tr(option)) + (option == kOptions[kOptionCount - 1] ? "" : "\n");
    }
    font.DrawString(entries, w / 2 - 32, optionsY, grey, screen);

    DrawCursorHints(game, font, grey, screen);
    // TRANSLATORS: %1 is the version number, such as 1.0.0.
    DrawCentred(font, Translation::Format(Tr("Version %1"), {KES_VERSION}), h - 12, grey, screen);
}
