// The options screen: key bindings, display toggles, sound and music switches and volumes.
#pragma once

#include "states/MenuScreen.h"

#include <string>

class SettingsState : public MenuScreen
{
  public:
    bool Init(Game* game) override;
    void Tick(Game* game) override;
    // A key binding is waiting for its new key.
    bool IsCapturingKey() const;

    bool mEditing = false;    // a key binding waits for a key, or a volume takes arrow keys
    int mSelectedOption = 0;  // 0..13
    bool mOpenAssist = false; // the fade-out under way leads to the assist screen

  protected:
    void DrawContent(Game* game, SDL_Surface* screen, Font& font, Uint32 grey) override;
    // Closing the window leaves at once, without a fade-out.
    void HandleQuit(Game* game) override;
    // A key capture reads the keyboard's own keys; while a volume is edited, a key that is no action of
    // the edit ends it.
    InputHandler::Next HandleKeyEvent(Game* game, const SDL_KeyboardEvent& key) override;
    bool HandleAction(Game* game, Action action, bool repeat) override;

  private:
    void Browse(Game* game, Action action, bool repeat);
    // An action while a volume is edited: steps it, or ends the edit.
    void EditVolume(Game* game, Action action);
    // Return on a switch: applies it at once.
    void Toggle(Game* game);
    // Steps the language choice, keeps it and puts it in use at once.
    void StepLanguage(Game* game, int step);
    // The text of one option line as it shows now, value included.
    std::string OptionLine(Game* game, int option) const;
};
