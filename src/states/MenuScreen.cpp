// The base of the four menu screens: event loop, picture loading, the menus' fade, blink, cursor and text.
#include "states/MenuScreen.h"

#include "Game.h"
#include "audio/AudioManager.h"
#include "graphics/Font.h"
#include "graphics/Framework.h"
#include "graphics/Image.h"
#include "input/Input.h"
#include "io/Translation.h"

MenuScreen::~MenuScreen()
{
    CleanUp();
}

void MenuScreen::CleanUp()
{
    mArrowImage.reset();
    mBackgroundImage.reset();
    mBlackScreen.reset();
    mTitleImage.reset();
}

void MenuScreen::HandleEvents(Game* game)
{
    // Hands the layer's events and actions to this screen, in the order they came.
    class Reader : public InputHandler
    {
      public:
        Reader(MenuScreen& screen, Game* game) : mScreen(screen), mGame(game) {}
        Next OnEvent(const SDL_Event& event) override
        {
            if (event.type == SDL_QUIT)
            {
                mScreen.HandleQuit(mGame);
            }
            else if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP)
            {
                return mScreen.HandleKeyEvent(mGame, event.key);
            }
            return Next::Actions;
        }
        bool OnAction(Action action, bool repeat) override
        {
            return mScreen.HandleAction(mGame, action, repeat);
        }

      private:
        MenuScreen& mScreen;
        Game* mGame;
    };
    Reader reader(*this, game);
    game->mInput->Poll(reader);
}

void MenuScreen::HandleQuit(Game* /*game*/) {}

InputHandler::Next MenuScreen::HandleKeyEvent(Game* /*game*/, const SDL_KeyboardEvent& /*key*/)
{
    return InputHandler::Next::Actions;
}

bool MenuScreen::HandleAction(Game* /*game*/, Action /*action*/, bool /*repeat*/)
{
    return true;
}

std::unique_ptr<Image> MenuScreen::LoadPicture(const std::string& file, SDL_RendererInfo info, bool colorKey)
{
    auto picture = std::make_unique<Image>();
    picture->Load(file, info, colorKey, Image::mKeyRed, Image::mKeyGreen, Image::mKeyBlue);
    return picture;
}

void MenuScreen::LoadBackground(SDL_RendererInfo info)
{
    mBackgroundImage = LoadPicture("data/gfx/bg.png", info, false);
}

void MenuScreen::CreateOverlay(Game* game)
{
    mBlackScreen = Fade::CreateOverlay(game->mScreen->mSurface, mAlpha);
}

void MenuScreen::LoadCursorScreen(Game* game, const std::string& titleFile)
{
    const SDL_RendererInfo info = game->mFramework->GetRendererInfo();
    mArrowImage = LoadPicture("data/gfx/arrow.png", info, true);
    CreateOverlay(game);
    LoadBackground(info);
    mTitleImage = LoadPicture(titleFile, info, true);
}

bool MenuScreen::StepFade()
{
    switch (mFadeState)
    {
    case Fade::FadingIn:
        if (Fade::StepIn(mAlpha))
        {
            mAlpha = 0;
            mFadeState = Fade::Idle;
        }
        return false;
    case Fade::FadingOut:
        if (!Fade::StepOut(mAlpha))
        {
            return false;
        }
        mFadeState = Fade::Idle;
        return true;
    default:
        // At opacity 0 this fade-in ends at once; after a fade-out it brightens the screen the next time
        // it becomes current.
        mFadeState = Fade::FadingIn;
        return false;
    }
}

void MenuScreen::StepBlink()
{
    ++mBlinkCounter;
    if (mBlinkCounter > mBlinkLimit)
    {
        mArrowVisible = !mArrowVisible;
        mBlinkCounter = 0;
    }
}

bool MenuScreen::MoveCursor(Game* game, Action action, int& option, int count)
{
    if (action == Action::Down)
    {
        option = (option + 1) % count;
    }
    else if (action == Action::Up)
    {
        option = (option + count - 1) % count;
    }
    else
    {
        return false;
    }
    game->mAudioManager->PlaySound("select.wav");
    return true;
}

void MenuScreen::Render(Game* game, const float& /*interpolation*/)
{
    SDL_Surface* screen = game->mScreen->mSurface;
    // Light grey, the colour of all menu text and markers.
    const Uint32 grey = SDL_MapRGBA(screen->format, 192, 192, 192, 255);
    mBackgroundImage->Draw(screen, 0, 0);
    DrawContent(game, screen, *game->mFont, grey);
    Fade::DrawOverlay(*mBlackScreen, mAlpha, screen);
}

void MenuScreen::DrawCentred(Font& font, const std::string& text, int y, Uint32 colour, SDL_Surface* screen)
{
    const int width = font.TextWidth(text);
    font.DrawString(text, screen->w / 2 - width / 2, y, colour, screen);
}

void MenuScreen::DrawShape(Image& picture, Uint32 colour, int x, int y, SDL_Surface* screen)
{
    picture.Draw(screen, colour, x, y, 0, 0, picture.mSurface->w, picture.mSurface->h);
}

void MenuScreen::DrawTitle(SDL_Surface* screen, int y)
{
    mTitleImage->Draw(screen, screen->w / 2 - mTitleImage->mSurface->w / 2, y);
}

void MenuScreen::DrawCursorHints(const Game* game, Font& font, Uint32 colour, SDL_Surface* screen)
{
    // TRANSLATORS: each hint is one centred line of at most 39 characters; keep the names of the keys,
    // buttons and touch controls (Enter, A Button, Jump) as the player sees them.
    DrawCentred(
        font,
        Tr(ForDevice(game, TrNoop("Arrow Keys = Change current option"),
                     TrNoop("D-Pad = Change current option"), TrNoop("Arrows = Change current option"))),
        screen->h - 36, colour, screen);
    DrawCentred(
        font,
        Tr(ForDevice(game, TrNoop("Enter Key = Select current option"),
                     TrNoop("A Button = Select current option"), TrNoop("Jump = Select current option"))),
        screen->h - 28, colour, screen);
}

const char* MenuScreen::ForDevice(const Game* game, const char* keyboard, const char* controller,
                                  const char* touch)
{
    switch (game->mInput->LastDevice())
    {
    case Input::Device::Controllers:
        return controller;
    case Input::Device::Touch:
        return touch;
    default:
        return keyboard;
    }
}
