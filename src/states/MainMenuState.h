// The title screen: "New Game", "Options" and "Quit" with a blinking arrow, wrapped in fades; "Continue"
// above them once the player has come beyond the first level.
#pragma once

#include "states/MenuScreen.h"

#include <string>
#include <vector>

class MainMenuState : public MenuScreen
{
  public:
    bool Init(Game* game) override;
    void Tick(Game* game) override;

    bool mQuitRequested = false;
    // Index of the entry the arrow is on: 0 New Game, 1 Options, 2 Quit; with "Continue" shown it is 0
    // and the others follow.
    int mSelectedOption = 0;
    bool mContinueShown = false;

  protected:
    void DrawContent(Game* game, SDL_Surface* screen, Font& font, Uint32 grey) override;
    void HandleQuit(Game* game) override;
    bool HandleAction(Game* game, Action action, bool repeat) override;

  private:
    // Shows "Continue" exactly when the progress reaches beyond the first level of the list; the arrow
    // moves onto it when it appears and stays on its entry otherwise.
    void UpdateContinue(Game* game);

    std::vector<std::string> mLevels; // the level list, read once: progress is judged against it
};
