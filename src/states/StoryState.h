// The story screen: types "data/story.txt" out like a teletype, in the player's language, page by page where
// a language runs long; then any key starts play. After the last level it types the story's ending page the
// same way, and any key goes back to play's table of times.
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
    std::vector<std::string> mLines;       // the opening's page being typed
    std::vector<std::string> mEndingLines; // the ending's page being typed
    bool mEnding = false;                  // typing the ending page instead of the opening
    std::size_t mPage = 0;                 // of the opening or the ending, whichever is typed
    unsigned int mPageHold = 0;            // ticks the finished page has stood, while another follows
    // How long a finished page stands before the next is typed.
    static constexpr unsigned int mPageHoldTicks = 90;

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
    // Lays the story out again for the language in use, from its first page.
    void LayOut();
    // The page being typed: the opening or the ending.
    const std::vector<std::string>& Page() const { return mEnding ? mEndingLines : mLines; }

    std::vector<std::string> mOpeningStory; // as the file has them
    std::vector<std::string> mEndingStory;
    std::vector<std::vector<std::string>> mOpeningPages;
    std::vector<std::vector<std::string>> mEndingPages;
    std::string mLaidOutFor; // the language the pages are in
};
