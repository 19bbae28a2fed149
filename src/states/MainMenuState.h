// The title screen: "New Game", "Options" and "Quit" with a blinking arrow, wrapped in fades.
#pragma once

#include "State.h"

#include <SDL.h>

#include <memory>

class Image;

class MainMenuState : public State
{
  public:
    MainMenuState();
    ~MainMenuState() override;

    bool Init(Game* game) override;
    void CleanUp() override;
    void Pause() override {}
    void Resume() override {}
    void HandleEvents(Game* game) override;
    void Tick(Game* game) override;
    void Render(Game* game, const float& interpolation) override;

    SDL_Event mEvent{};
    bool mArrowVisible = true;
    bool mQuitRequested = false;
    int mAlpha = 255;        // black overlay opacity, 0..255
    int mFadeState = 1;      // 1 fading in, 2 fading out, -1 idle
    int mSelectedOption = 0; // 0 New Game, 1 Options, 2 Quit
    unsigned int mBlinkCounter = 0;
    std::unique_ptr<Image> mArrowImage;
    std::unique_ptr<Image> mBlackScreen;
    std::unique_ptr<Image> mBackgroundImage;
    std::unique_ptr<Image> mTitleImage;
};
