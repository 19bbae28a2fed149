// The options screen: key bindings, display toggles, sound and music switches and volumes.
#pragma once

#include "State.h"

#include <SDL.h>

#include <memory>
#include <string>

class Image;

class SettingsState : public State
{
  public:
    SettingsState();
    ~SettingsState() override;

    bool Init(Game* game) override;
    void CleanUp() override;
    void Pause() override {}
    void Resume() override {}
    void HandleEvents(Game* game) override;
    void Tick(Game* game) override;
    void Render(Game* game, const float& interpolation) override;
    // A key binding is waiting for its new key.
    bool IsCapturingKey() const;

    SDL_Event mEvent{};
    bool mArrowVisible = true;
    bool mEditing = false; // a key binding waits for a key, or a volume takes arrow keys
    int mAlpha = 255;
    int mFadeState = 1;      // 1 fading in, 2 fading out, -1 idle
    int mSelectedOption = 0; // 0..10
    unsigned int mBlinkCounter = 0;
    std::unique_ptr<Image> mArrowImage;
    std::unique_ptr<Image> mBlackScreen;
    std::unique_ptr<Image> mBackgroundImage;
    std::unique_ptr<Image> mTitleImage;

  private:
    void Browse(Game* game, SDL_Scancode key);
    // A key press while the selected option is edited: binds a key or steps a volume.
    void EditOption(Game* game, SDL_Scancode key);
    // Return on a switch: applies it at once.
    void Toggle(Game* game);
    // The text of one option line as it shows now, value included.
    std::string OptionLine(Game* game, int option) const;
};
