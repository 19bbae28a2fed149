// The story screen: types the story out one character at a time, then any key starts a new game.
#include "states/StoryState.h"

#include "Game.h"
#include "StateManager.h"
#include "graphics/Font.h"
#include "graphics/Framework.h"
#include "graphics/Image.h"
#include "io/FieldReader.h"
#include "io/Translation.h"
#include "states/StoryLayout.h"

#include <algorithm>

namespace
{
// Ticks per typed character.
const unsigned int kTypeDelay = 4;
const int kTextX = 8;
const int kTextY = 8;
// TRANSLATORS: shown on the story screen when the story file is missing.
const char* const kNotAvailable = TrNoop("Not available!");
} // namespace

bool StoryState::Init(Game* game)
{
    CreateOverlay(game);
    LoadBackground(game->mFramework->GetRendererInfo());

    mOpeningStory.clear();
    mEndingStory.clear();
    mEnding = false;
    // In English, lines are shown whole, as written: only comments are left out. The ending page follows its
    // mark.
    FieldReader file("data/story.txt");
    std::string line;
    std::vector<std::string>* story = &mOpeningStory;
    while (file.ReadLine(line))
    {
        if (line == mEndingMark)
        {
            story = &mEndingStory;
        }
        else if (!FieldReader::IsComment(line))
        {
            story->push_back(line);
        }
    }
    LayOut();
    return true;
}

void StoryState::LayOut()
{
    mLaidOutFor = Translation::Current();
    // A missing story, or one with nothing but comments, still leaves a line to type.
    mOpeningPages = mOpeningStory.empty() ? std::vector<std::vector<std::string>>{{Tr(kNotAvailable)}}
                                          : StoryLayout::Pages(mOpeningStory);
    mEndingPages.clear();
    if (!mEndingStory.empty())
    {
        mEndingPages = StoryLayout::Pages(mEndingStory);
    }
    ResetTyping();
}

void StoryState::HandleQuit(Game* /*game*/)
{
    mFadeState = Fade::FadingOut;
    mQuitRequested = true;
}

InputHandler::Next StoryState::HandleKeyEvent(Game* /*game*/, const SDL_KeyboardEvent& key)
{
    // Every key counts on the keyboard, the system's repeats included.
    if (key.type == SDL_KEYDOWN)
    {
        mFadeState = Fade::FadingOut;
    }
    return InputHandler::Next::SkipActions;
}

bool StoryState::HandleAction(Game* /*game*/, Action /*action*/, bool repeat)
{
    if (!repeat)
    {
        mFadeState = Fade::FadingOut;
    }
    return true;
}

void StoryState::Tick(Game* game)
{
    // A language chosen since the story was laid out takes effect from its start.
    if (mLaidOutFor != Translation::Current())
    {
        LayOut();
    }
    ++mTypeCounter;
    // Typing stops while the screen fades out.
    if (mTypeCounter >= kTypeDelay && mFadeState != Fade::FadingOut)
    {
        TypeStep();
        mTypeCounter = 0;
    }
    if (!StepFade())
    {
        return;
    }
    // The next visit types the story from its start.
    ResetTyping();
    const bool ending = mEnding;
    mEnding = false;
    if (mQuitRequested)
    {
        game->mStateManager->ChangeState("Credits");
        return;
    }
    if (ending)
    {
        game->mStateManager->ChangeState("Play"); // its run's table of times, waiting there
        return;
    }
    // Every new game sets up play from scratch.
    game->mStateManager->ChangeState("Play");
    if (State* play = game->mStateManager->mCurrentState)
    {
        play->Init(game);
    }
}

void StoryState::BeginEnding()
{
    mEnding = HasEnding();
    ResetTyping();
    mAlpha = Fade::mOpaque;
    mFadeState = Fade::FadingIn;
}

void StoryState::TypeStep()
{
    // A finished page stands a while, then the next one is typed.
    const std::vector<std::vector<std::string>>& pages = mEnding ? mEndingPages : mOpeningPages;
    const std::vector<std::string>& lines = Page();
    if (mPage + 1 < pages.size() && mCurrentLine + 1 >= lines.size() &&
        mShownChars >= Font::Length(lines[mCurrentLine]))
    {
        mPageHold += kTypeDelay;
        if (mPageHold >= mPageHoldTicks)
        {
            ++mPage;
            (mEnding ? mEndingLines : mLines) = pages[mPage];
            mCurrentLine = 0;
            mShownChars = 0;
            mPageHold = 0;
        }
        return;
    }
    ++mShownChars;
    const unsigned int length = static_cast<unsigned int>(Font::Length(lines[mCurrentLine]));
    if (mShownChars <= length)
    {
        return;
    }
    // One step past the end moves on to the next, empty line; the last line stays shown in full.
    mShownChars = length;
    ++mCurrentLine;
    if (mCurrentLine >= lines.size())
    {
        mCurrentLine = static_cast<unsigned int>(lines.size() - 1);
    }
    else
    {
        mShownChars = 0;
    }
}

void StoryState::ResetTyping()
{
    mShownChars = 0;
    mCurrentLine = 0;
    mTypeCounter = 0;
    mPage = 0;
    mPageHold = 0;
    mLines = mOpeningPages.empty() ? std::vector<std::string>{} : mOpeningPages.front();
    mEndingLines = mEndingPages.empty() ? std::vector<std::string>{} : mEndingPages.front();
}

void StoryState::DrawContent(Game* /*game*/, SDL_Surface* screen, Font& font, Uint32 grey)
{
    const std::vector<std::string>& lines = Page();
    for (unsigned int index = 0; index < mCurrentLine && index < lines.size(); ++index)
    {
        font.DrawString(lines[index], kTextX, kTextY + font.mCharHeight * static_cast<int>(index), grey,
                        screen);
    }
    if (mCurrentLine < lines.size())
    {
        const std::string& line = lines[mCurrentLine];
        const std::string shown = Font::Clip(line, mShownChars);
        font.DrawString(shown, kTextX, kTextY + font.mCharHeight * static_cast<int>(mCurrentLine), grey,
                        screen);
    }
}
