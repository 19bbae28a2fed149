// The story screen: types the story out one character at a time, then any key starts a new game.
#include "states/StoryState.h"

#include "Game.h"
#include "StateManager.h"
#include "graphics/Font.h"
#include "graphics/Framework.h"
#include "graphics/Image.h"
#include "io/FieldReader.h"

#include <algorithm>

namespace
{
// Ticks per typed character.
const unsigned int kTypeDelay = 4;
const int kTextX = 8;
const int kTextY = 8;
const char* const kNotAvailable = "Not available!";
} // namespace

bool StoryState::Init(Game* game)
{
    CreateOverlay(game);
    LoadBackground(game->mFramework->GetRendererInfo());

    mLines.clear();
    mEndingLines.clear();
    mEnding = false;
    // Lines are shown whole, as written: only comments are left out. The ending page follows its mark.
    FieldReader file("data/story.txt");
    std::string line;
    std::vector<std::string>* page = &mLines;
    while (file.ReadLine(line))
    {
        if (line == mEndingMark)
        {
            page = &mEndingLines;
        }
        else if (!FieldReader::IsComment(line))
        {
            page->push_back(line);
        }
    }
    // A missing story, or one with nothing but comments, still leaves a line to type.
    if (mLines.empty())
    {
        mLines.push_back(kNotAvailable);
    }
    ResetTyping();
    return true;
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
    const std::vector<std::string>& lines = Page();
    ++mShownChars;
    const unsigned int length = static_cast<unsigned int>(lines[mCurrentLine].size());
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
        const std::string shown = line.substr(0, std::min<std::size_t>(mShownChars, line.size()));
        font.DrawString(shown, kTextX, kTextY + font.mCharHeight * static_cast<int>(mCurrentLine), grey,
                        screen);
    }
}
