// The title screen: "New Game", "Options" and "Quit" with a blinking arrow, wrapped in fades.
#pragma once

#include "states/MenuScreen.h"

class MainMenuState : public MenuScreen
{
  public:
    bool Init(Game* game) override;
    void Tick(Game* game) override;

    bool mQuitRequested = false;
    int mSelectedOption = 0; // 0 New Game, 1 Options, 2 Quit

  protected:
    void DrawContent(Game* game, SDL_Surface* screen, Font& font, Uint32 grey) override;
    void HandleQuit(Game* game) override;
    bool HandleKey(Game* game, SDL_Scancode key) override;
};
