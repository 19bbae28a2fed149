// The title screen driven tick by tick: the wrapping cursor, its fades and where each choice leads.
#include "ScreenFixture.h"

#include <SDL_mixer.h>

using MainMenu = ScreenTest;

TEST_F(MainMenu, CursorWrapsBothWaysAndEachMovePlaysSelect)
{
    StartGame();
    Press(SDL_SCANCODE_UP);
    EXPECT_EQ(2, mMenu->mSelectedOption);
    EXPECT_EQ(1, Mix_Playing(-1));

    Push(SDL_SCANCODE_DOWN);
    Push(SDL_SCANCODE_DOWN);
    Push(SDL_SCANCODE_LEFT); // not a menu key
    HandleEvents();
    EXPECT_EQ(1, mMenu->mSelectedOption);
    EXPECT_EQ(3, Mix_Playing(-1));
}

TEST_F(MainMenu, SelectionWhenTheFadeOutEndsDecidesTheNextScreen)
{
    StartGame();
    // Return during the fade-in fades out from the opacity reached: 223 -> 255 in four ticks.
    Ticks(4);
    Press(SDL_SCANCODE_RETURN);
    Ticks(3);
    EXPECT_EQ(mMenu, Current());
    Ticks(1);
    EXPECT_EQ(mStory, Current());

    // Back on the menu, black at first; then Return on "New Game" and Down while it fades out.
    Show("MainMenu");
    RenderFrame();
    EXPECT_TRUE(Dark(0, 0, 320, 240));
    Ticks(33);
    EXPECT_EQ(0, mMenu->mAlpha);
    Press(SDL_SCANCODE_RETURN);
    Ticks(10);
    Press(SDL_SCANCODE_DOWN);
    Ticks(21);
    EXPECT_EQ(mMenu, Current());
    Ticks(1);
    EXPECT_EQ(mSettings, Current());

    // The settings hand back: the cursor is still on "Options"; "Quit" leads to the credits.
    Show("MainMenu");
    Ticks(33);
    EXPECT_EQ(1, mMenu->mSelectedOption);
    Push(SDL_SCANCODE_DOWN);
    Press(SDL_SCANCODE_RETURN);
    Ticks(32);
    EXPECT_EQ(mCredits, Current());
}

TEST_F(MainMenu, ClosingTheWindowDuringAFadeOutLeadsToCreditsAndFreezesKeys)
{
    StartGame();
    Ticks(32);
    Press(SDL_SCANCODE_RETURN);
    Ticks(5);
    Push(kCloseWindow);
    Push(SDL_SCANCODE_DOWN);
    Press(SDL_SCANCODE_UP);
    EXPECT_TRUE(mMenu->mQuitRequested);
    EXPECT_EQ(0, mMenu->mSelectedOption);
    EXPECT_EQ(1, QueuedEvents()); // handling stopped at Down; Up waits
    EXPECT_EQ(0, Mix_Playing(-1));

    Ticks(27);
    EXPECT_EQ(mCredits, Current());
}

TEST_F(MainMenu, DrawsPicturesTextAndABlinkingArrow)
{
    StartGame();
    Ticks(32);
    RenderFrame();
    EXPECT_TRUE(TextAt("New Game\nOptions\nQuit", 128, 168));
    EXPECT_TRUE(TextAt("Arrow Keys = Change current option", 24, 204));
    EXPECT_TRUE(TextAt("Enter Key = Select current option", 28, 212));
    const std::string version = "Version " KES_VERSION; // centred, whatever its length
    EXPECT_TRUE(TextAt(version, (320 - 8 * static_cast<int>(version.size())) / 2, 228));
    EXPECT_TRUE(ArrowAt(120, 168));
    // The 16x8 title is centred at y 40.
    EXPECT_EQ(0x40, PixelColour(152, 40).g);
    EXPECT_EQ(0xA0, PixelColour(167, 47).b);
    EXPECT_EQ(0, PixelColour(151, 40).b);
    EXPECT_EQ(0, PixelColour(168, 40).b);

    // Visible since tick 32, hidden from tick 48 to 63, whatever the player does meanwhile.
    Ticks(8);
    Press(SDL_SCANCODE_DOWN);
    Ticks(7);
    RenderFrame();
    EXPECT_TRUE(ArrowAt(120, 176));
    Ticks(1);
    RenderFrame();
    EXPECT_TRUE(Dark(120, 168, 8, 24));
    Ticks(15);
    RenderFrame();
    EXPECT_TRUE(Dark(120, 168, 8, 24));
    Ticks(1);
    RenderFrame();
    EXPECT_TRUE(ArrowAt(120, 176));
}

TEST_F(MainMenu, ContinueStandsAboveTheEntriesOnlyWithProgressBeyondTheFirstLevel)
{
    mDir.WriteFile("data/maps/maps.lst", "one.map\ntwo.map\n");
    StartGame();
    mGame.mProgress.mReached = {"one.map"}; // the first level is nothing to continue
    Ticks(32);
    RenderFrame();
    EXPECT_TRUE(TextAt("New Game\nOptions\nQuit", 128, 168));
    EXPECT_TRUE(Dark(120, 160, 80, 8));

    // Progress beyond it: "Continue" above, the arrow on it, the cursor wrapping over four entries.
    mGame.mProgress.mReached.insert("two.map");
    Ticks(1);
    RenderFrame();
    EXPECT_TRUE(TextAt("Continue\nNew Game\nOptions\nQuit", 128, 160));
    EXPECT_TRUE(ArrowAt(120, 160));
    Press(SDL_SCANCODE_UP);
    EXPECT_EQ(3, mMenu->mSelectedOption);
    Press(SDL_SCANCODE_DOWN);
    Press(SDL_SCANCODE_DOWN);
    Press(SDL_SCANCODE_RETURN);
    Ticks(32);
    EXPECT_EQ(mStory, Current()) << "New Game still tells the story";

    // Continue goes straight to play.
    Show("MainMenu");
    Ticks(33);
    Press(SDL_SCANCODE_UP);
    Press(SDL_SCANCODE_RETURN);
    Ticks(32);
    EXPECT_EQ(mPlay, Current());
    EXPECT_EQ(1, mPlay->mInitCalls);
}
