// The last screen of every run: fades the credits in and out, then ends the program.
#pragma once

#include "State.h"

#include <SDL.h>

#include <memory>

class Image;

class CreditsState : public State
{
  public:
    CreditsState();
    ~CreditsState() override;

    bool Init(Game* game) override;
    void CleanUp() override;
    void Pause() override {}
    void Resume() override {}
    void HandleEvents(Game* game) override;
    void Tick(Game* game) override;
    void Render(Game* game, const float& interpolation) override;

    SDL_Event mEvent{};
    std::unique_ptr<Image> mBackgroundImage;
    std::unique_ptr<Image> mBlackScreen;
    int mAlpha = 255;
    int mFadeState = 1; // 1 fading in and holding, 2 fading out
    int mHoldCounter = 0;
};
