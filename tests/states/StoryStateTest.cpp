// The story screen driven tick by tick: the typing rule, reading the story, skipping and hand-over.
#include "ScreenFixture.h"

#include <string>
#include <vector>

using Story = ScreenTest;

TEST_F(Story, TypesOneCharacterEveryFourTicksAndMovesToTheNextLineOneStepLater)
{
    StartGame(); // the story is "0123456789" then "ab"
    Show("Story");
    Ticks(3);
    EXPECT_EQ(0u, mStory->mShownChars);
    Ticks(1);
    EXPECT_EQ(1u, mStory->mShownChars);
    Ticks(35);
    RenderFrame();
    EXPECT_TRUE(TextAt("012345678", 8, 8));
    EXPECT_TRUE(Dark(80, 8, 8, 8));
    Ticks(1); // tick 40
    RenderFrame();
    EXPECT_TRUE(TextAt("0123456789", 8, 8));
    Ticks(4);
    EXPECT_EQ(1u, mStory->mCurrentLine);
    EXPECT_EQ(0u, mStory->mShownChars);
    Ticks(4);
    RenderFrame();
    EXPECT_TRUE(TextAt("0123456789\na", 8, 8));
    EXPECT_TRUE(Dark(16, 16, 8, 8));

    // The last line stays whole and the screen waits.
    Ticks(300);
    EXPECT_EQ(1u, mStory->mCurrentLine);
    EXPECT_EQ(2u, mStory->mShownChars);
    EXPECT_EQ(mStory, Current());
}

TEST_F(Story, LeavesOutCommentsAndShowsNotAvailableWithoutAStory)
{
    mDir.WriteFile("data/story.txt", "// hidden\r\n/shown\r\n\nlast");
    StartGame();
    EXPECT_EQ((std::vector<std::string>{"/shown", "", "last"}), mStory->mLines);

    for (const char* story : {"", "// only a comment\n"})
    {
        mDir.WriteFile("data/story.txt", story);
        mStory->Init(&mGame);
        EXPECT_EQ(std::vector<std::string>{"Not available!"}, mStory->mLines) << story;
    }
    std::filesystem::remove(mDir.Path() / "data/story.txt");
    mStory->Init(&mGame);
    EXPECT_EQ(std::vector<std::string>{"Not available!"}, mStory->mLines);
}

TEST_F(Story, AnyKeyFadesOutFromWhereItStandsAndStartsAFreshGame)
{
    StartGame();
    Show("Story");
    Ticks(10); // opacity 175, two characters shown
    Press(SDL_SCANCODE_X);
    Ticks(9);
    EXPECT_EQ(2u, mStory->mShownChars); // typing stops while fading out
    EXPECT_EQ(mStory, Current());
    Ticks(1);
    EXPECT_EQ(mPlay, Current());
    EXPECT_EQ(1, mPlay->mInitCalls);

    // The next visit fades in again and types from the first character.
    Show("Story");
    RenderFrame();
    EXPECT_TRUE(Dark(0, 0, 320, 240));
    Ticks(4);
    EXPECT_EQ(0u, mStory->mCurrentLine);
    EXPECT_EQ(1u, mStory->mShownChars);
    EXPECT_EQ(1, mStory->mFadeState);
}

TEST_F(Story, ClosingTheWindowLeadsToTheCreditsNotToPlay)
{
    StartGame();
    Show("Story");
    Ticks(40);
    Press(kCloseWindow);
    Ticks(32);
    EXPECT_EQ(mCredits, Current());
    EXPECT_EQ(0, mPlay->mInitCalls);
}

TEST_F(Story, TheEndingPageFollowsItsMarkAndItsKeyGoesBackToPlayWithoutANewGame)
{
    mDir.WriteFile("data/story.txt", "board\n[ending]\n// a note\nhome\n");
    StartGame();
    EXPECT_EQ(std::vector<std::string>{"board"}, mStory->mLines);
    EXPECT_EQ(std::vector<std::string>{"home"}, mStory->mEndingLines);
    Show("Story");
    Ticks(6);
    mStory->BeginEnding();
    EXPECT_EQ(255, mStory->mAlpha) << "it fades in from black, from its first character";
    Ticks(40);
    RenderFrame();
    EXPECT_TRUE(TextAt("home", 8, 8));
    Press(SDL_SCANCODE_SPACE);
    Ticks(40);
    EXPECT_EQ(mPlay, Current());
    EXPECT_EQ(0, mPlay->mInitCalls);
    EXPECT_FALSE(mStory->mEnding) << "the next visit types the opening";

    // Without a mark there is no ending, and asking for one types the opening as before.
    mDir.WriteFile("data/story.txt", "board\n");
    mStory->Init(&mGame);
    EXPECT_FALSE(mStory->HasEnding());
    mStory->BeginEnding();
    EXPECT_FALSE(mStory->mEnding);
}
