// The story screen: types "data/story.txt" out like a teletype, then any key starts play. After the last
// level it types the story's ending page the same way, and any key goes back to play's table of times.
#pragma once

#include "states/MenuScreen.h"

#include <string>
#include <vector>

class StoryState : public MenuScreen
{
  public:
    bool Init(Game* game) override;
    void Tick(Game* game) override;

    // The line that ends the opening story; the ending page follows it.
    static constexpr const char* mEndingMark = "[ending]";
    bool HasEnding() const { return !mEndingLines.empty(); }
    // Shows the ending page from its first character; its hand-over returns to play, unchanged.
    void BeginEnding();

    bool mQuitRequested = false;
    unsigned int mTypeCounter = 0; // ticks since the last typing step
    unsigned int mShownChars = 0;
    unsigned int mCurrentLine = 0;
    std::vector<std::string> mLines;
    std::vector<std::string> mEndingLines;
    bool mEnding = false; // typing the ending page instead of the opening

  protected:
    void DrawContent(Game* game, SDL_Surface* screen, Font& font, Uint32 grey) override;
    void HandleQuit(Game* game) override;
    // Any key or control skips the story, even while it is still typing or fading in; a held direction's
    // repeat does not.
    InputHandler::Next HandleKeyEvent(Game* game, const SDL_KeyboardEvent& key) override;
    bool HandleAction(Game* game, Action action, bool repeat) override;

  private:
    // Shows one more character, or moves on to the next line.
    void TypeStep();
    void ResetTyping();
    // The page being typed: the opening or the ending.
    const std::vector<std::string>& Page() const { return mEnding ? mEndingLines : mLines; }
};
