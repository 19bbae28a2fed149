// The title screen: picks a new game, the options or quitting, and fades to the chosen screen.
#include "states/MainMenuState.h"

#include "Game.h"
#include "StateManager.h"
#include "audio/AudioManager.h"
#include "graphics/Font.h"
#include "graphics/Framework.h"
#include "graphics/Image.h"
#include "states/MenuScreen.h"

namespace
{
const int kOptionCount = 3;
const char* const kOptionsText = "New Game\nOptions\nQuit";
} // namespace

MainMenuState::MainMenuState() = default;

MainMenuState::~MainMenuState()
{
    CleanUp();
}

bool MainMenuState::Init(Game* game)
{
    const SDL_RendererInfo info = game->mFramework->GetRendererInfo();
    mArrowImage = MenuScreen::LoadPicture("data/gfx/arrow.png", info, true, "Couldn't load arrow image!");
    mBlackScreen = MenuScreen::CreateBlackScreen(game->mScreen->mSurface, mAlpha);
    mBackgroundImage =
        MenuScreen::LoadPicture("data/gfx/bg.png", info, false, "Couldn't load title background screen!");
    mTitleImage = MenuScreen::LoadPicture("data/gfx/title.png", info, true, "Couldn't load title screen!");
    return true;
}

void MainMenuState::CleanUp()
{
    mArrowImage.reset();
    mBackgroundImage.reset();
    mBlackScreen.reset();
    mTitleImage.reset();
}

void MainMenuState::HandleEvents(Game* game)
{
    while (SDL_PollEvent(&mEvent))
    {
        if (mEvent.type == SDL_QUIT)
        {
            mFadeState = 2;
            mQuitRequested = true;
            continue;
        }
        if (mEvent.type != SDL_KEYDOWN)
        {
            continue;
        }
        const SDL_Scancode key = mEvent.key.keysym.scancode;
        if (key != SDL_SCANCODE_DOWN && key != SDL_SCANCODE_UP && key != SDL_SCANCODE_RETURN)
        {
            continue;
        }
        // Once the window is closed the menu only fades to the credits; keys stay queued.
        if (mQuitRequested)
        {
            return;
        }
        if (key == SDL_SCANCODE_DOWN)
        {
            mSelectedOption = (mSelectedOption + 1) % kOptionCount;
            game->mAudioManager->PlaySound("select.wav");
        }
        else if (key == SDL_SCANCODE_UP)
        {
            mSelectedOption = (mSelectedOption + kOptionCount - 1) % kOptionCount;
            game->mAudioManager->PlaySound("select.wav");
        }
        else
        {
            // The selection is read when the fade-out completes, so it may still change until then.
            mFadeState = 2;
        }
    }
}

void MainMenuState::Tick(Game* game)
{
    MenuScreen::StepBlink(mBlinkCounter, mArrowVisible);
    if (!MenuScreen::StepFade(mAlpha, mFadeState))
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

void MainMenuState::Render(Game* game, const float& /*interpolation*/)
{
    SDL_Surface* screen = game->mScreen->mSurface;
    Font& font = *game->mFont;
    const int w = screen->w;
    const int h = screen->h;
    const int fw = font.mCharWidth;
    const Uint32 grey = MenuScreen::TextColour(screen);

    mBackgroundImage->Draw(screen, 0, 0);
    mTitleImage->Draw(screen, w / 2 - mTitleImage->mSurface->w / 2, h / 2 - h / 3);

    const int optionsY = h / 5 + h / 2;
    if (mArrowVisible)
    {
        MenuScreen::DrawShape(*mArrowImage, grey, w / 2 - fw / 2 - 36, optionsY + fw * mSelectedOption,
                              screen);
    }
    font.DrawString(kOptionsText, w / 2 - 32, optionsY, grey, screen);

    MenuScreen::DrawCentred(font, "Arrow Keys = Change current option", h - 36, grey, screen);
    MenuScreen::DrawCentred(font, "Enter Key = Select current option", h - 28, grey, screen);
    MenuScreen::DrawCentred(font, "Version 0.1.4", h - 12, grey, screen);

    MenuScreen::DrawOverlay(*mBlackScreen, mAlpha, screen);
}
