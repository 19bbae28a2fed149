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

    mStoryLines.clear();
    // In English, lines are shown whole, as written: only comments are left out.
    FieldReader file("data/story.txt");
    std::string line;
    while (file.ReadLine(line))
    {
        if (!FieldReader::IsComment(line))
        {
            mStoryLines.push_back(line);
        }
    }
    LayOut();
    return true;
}

void StoryState::LayOut()
{
    mLaidOutFor = Translation::Current();
    // A missing story, or one with nothing but comments, still leaves a line to type.
    mPages = mStoryLines.empty() ? std::vector<std::vector<std::string>>{{Tr(kNotAvailable)}}
                                 : StoryLayout::Pages(mStoryLines);
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
    if (mQuitRequested)
    {
        game->mStateManager->ChangeState("Credits");
        return;
    }
    // Every new game sets up play from scratch.
    game->mStateManager->ChangeState("Play");
    if (State* play = game->mStateManager->mCurrentState)
    {
        play->Init(game);
    }
}

void StoryState::TypeStep()
{
    // A finished page stands a while, then the next one is typed.
    if (mPage + 1 < mPages.size() && mCurrentLine + 1 >= mLines.size() &&
        mShownChars >= Font::Length(mLines[mCurrentLine]))
    {
        mPageHold += kTypeDelay;
        if (mPageHold >= mPageHoldTicks)
        {
            ++mPage;
            mLines = mPages[mPage];
            mCurrentLine = 0;
            mShownChars = 0;
            mPageHold = 0;
        }
        return;
    }
    ++mShownChars;
    const unsigned int length = static_cast<unsigned int>(Font::Length(mLines[mCurrentLine]));
    if (mShownChars <= length)
    {
        return;
    }
    // One step past the end moves on to the next, empty line; the last line stays shown in full.
    mShownChars = length;
    ++mCurrentLine;
    if (mCurrentLine >= mLines.size())
    {
        mCurrentLine = static_cast<unsigned int>(mLines.size() - 1);
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
    mLines = mPages.empty() ? std::vector<std::string>{} : mPages.front();
}

void StoryState::DrawContent(Game* /*game*/, SDL_Surface* screen, Font& font, Uint32 grey)
{
    for (unsigned int index = 0; index < mCurrentLine && index < mLines.size(); ++index)
    {
        font.DrawString(mLines[index], kTextX, kTextY + font.mCharHeight * static_cast<int>(index), grey,
                        screen);
    }
    if (mCurrentLine < mLines.size())
    {
        const std::string& line = mLines[mCurrentLine];
        const std::string shown = Font::Clip(line, mShownChars);
        font.DrawString(shown, kTextX, kTextY + font.mCharHeight * static_cast<int>(mCurrentLine), grey,
                        screen);
    }
}
