// The credits: the fixed timeline that ends the program, undisturbed by input, and what they draw.
#include "ScreenFixture.h"

using Credits = ScreenTest;

TEST_F(Credits, FadeInHoldAndFadeOutEndTheProgramOnTheNinetyFifthTick)
{
    StartGame();
    Show("Credits");
    Ticks(31);
    EXPECT_EQ(7, mCredits->mAlpha);
    Ticks(1);
    EXPECT_EQ(0, mCredits->mAlpha);
    RenderFrame();
    EXPECT_TRUE(TextAt("Thank you for playing!", 72, 112));
    EXPECT_TRUE(TextAt("A game created by Tamsel", 64, 128));

    // Keys and another close request are swallowed.
    Push(SDL_SCANCODE_ESCAPE);
    Press(kCloseWindow);
    EXPECT_EQ(0, QueuedEvents());
    Ticks(30);
    EXPECT_EQ(1, mCredits->mFadeState);
    Ticks(1); // the 32nd tick fully visible
    EXPECT_EQ(2, mCredits->mFadeState);
    Ticks(31);
    EXPECT_EQ(248, mCredits->mAlpha);
    EXPECT_TRUE(mGame.mIsRunning);
    Ticks(1);
    EXPECT_FALSE(mGame.mIsRunning);
    RenderFrame();
    EXPECT_TRUE(Dark(0, 0, 320, 240));
}

TEST_F(Credits, EveryScreenCanBeCleanedUpTwice)
{
    StartGame();
    for (State* screen : {static_cast<State*>(mMenu), static_cast<State*>(mSettings),
                          static_cast<State*>(mStory), static_cast<State*>(mCredits)})
    {
        screen->CleanUp();
        screen->CleanUp();
    }
    EXPECT_EQ(nullptr, mMenu->mTitleImage);
    EXPECT_EQ(nullptr, mStory->mBlackScreen);
}
