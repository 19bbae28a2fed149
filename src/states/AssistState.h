// The assist screen: game speed, air, invulnerability and the ghost, each applied and kept at once.
#pragma once

#include "states/MenuScreen.h"

#include <string>

class AssistState : public MenuScreen
{
  public:
    bool Init(Game* game) override;
    void Tick(Game* game) override;

    // Shows this screen; Escape fades back to the screen registered as returnTo ("Settings", "Play").
    void Open(Game* game, const std::string& returnTo);
    // The text of one option line as it shows now, value included.
    std::string OptionLine(const Game& game, int option) const;

    int mSelectedOption = 0;
    std::string mReturnTo = "Settings";

  protected:
    void DrawContent(Game* game, SDL_Surface* screen, Font& font, Uint32 grey) override;
    // Closing the window leaves at once, without a fade-out.
    void HandleQuit(Game* game) override;
    bool HandleAction(Game* game, Action action, bool repeat) override;

  private:
    // Steps the selected option to its next value (or the one before) and keeps the choice.
    void Change(Game* game, int step);
};
