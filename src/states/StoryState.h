// The story screen: types "data/story.txt" out like a teletype, then any key starts play.
#pragma once

#include "State.h"

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

class Image;

class StoryState : public State
{
  public:
    StoryState();
    ~StoryState() override;

    bool Init(Game* game) override;
    void CleanUp() override;
    void Pause() override {}
    void Resume() override {}
    void HandleEvents(Game* game) override;
    void Tick(Game* game) override;
    void Render(Game* game, const float& interpolation) override;

    SDL_Event mEvent{};
    bool mQuitRequested = false;
    int mAlpha = 255;
    int mFadeState = 1;            // 1 fading in, 2 fading out, -1 idle
    unsigned int mTypeCounter = 0; // ticks since the last typing step
    unsigned int mShownChars = 0;
    unsigned int mCurrentLine = 0;
    std::unique_ptr<Image> mBlackScreen;
    std::unique_ptr<Image> mBackgroundImage;
    std::vector<std::string> mLines;

  private:
    // Shows one more character, or moves on to the next line.
    void TypeStep();
    void ResetTyping();
};
