// The last screen of every run: fades the credits in and out, then ends the program.
#pragma once

#include "states/MenuScreen.h"

// Takes no input: the events it polls (keys, further close requests) are drained unread.
class CreditsState : public MenuScreen
{
  public:
    bool Init(Game* game) override;
    void Tick(Game* game) override;

    // mFadeState is FadingIn while fading in and holding, then FadingOut; never Idle.
    int mHoldCounter = 0;

  protected:
    void DrawContent(Game* game, SDL_Surface* screen, Font& font, Uint32 grey) override;
};
