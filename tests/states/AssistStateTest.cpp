// The assist screen: reached from the options' last row, its values stepped and kept at once, and the way
// back to where it was opened from.
#include "ScreenFixture.h"

#include "player/Assist.h"

#include <algorithm>

TEST_F(ScreenTest, TheAssistScreenStepsEachOptionKeepsItAndFadesBackWhereItCameFrom)
{
    StartGame();
    Show("Settings");
    Ticks(32);
    mSettings->mSelectedOption = 11;
    Press(SDL_SCANCODE_RETURN);
    Ticks(32);
    ASSERT_EQ(static_cast<State*>(mAssist), Current()) << "the options fade out into the assist screen";
    Ticks(32);

    // Right steps forward and wraps, Left steps back; Return steps forward like Right.
    Press(SDL_SCANCODE_LEFT);
    EXPECT_EQ(50, mGame.mAssist.mSpeed) << "100% wraps round to the slowest";
    Press(SDL_SCANCODE_RIGHT);
    EXPECT_EQ(100, mGame.mAssist.mSpeed);
    Press(SDL_SCANCODE_RIGHT);
    Press(SDL_SCANCODE_DOWN);
    Press(SDL_SCANCODE_LEFT);
    Press(SDL_SCANCODE_DOWN);
    Press(SDL_SCANCODE_RETURN);
    Press(SDL_SCANCODE_DOWN);
    Press(SDL_SCANCODE_RIGHT);
    const std::string lines[] = {"Game speed: 90%", "Air: endless", "Invulnerable: on", "Ghost: par"};
    mAssist->mArrowVisible = false;
    RenderFrame();
    for (int option = 0; option < 4; ++option)
    {
        EXPECT_EQ(lines[option], mAssist->OptionLine(mGame, option));
        EXPECT_TRUE(TextAt(lines[option], 92, 72 + 12 * option));
    }
    EXPECT_TRUE(TextAt("Escape = Back to the options", 48, 220));

    // Every change is in the player's file at once.
    Assist kept;
    kept.Load();
    EXPECT_EQ(90, kept.mSpeed);
    EXPECT_EQ(Assist::Air::Endless, kept.mAir);
    EXPECT_TRUE(kept.mInvulnerable);
    EXPECT_EQ(Assist::Ghost::Par, kept.mGhost);
    EXPECT_TRUE(kept.IsOn());

    Press(SDL_SCANCODE_ESCAPE);
    Ticks(33);
    EXPECT_EQ(static_cast<State*>(mSettings), Current());

    // Opened from the pause it leads back to play.
    mAssist->Open(&mGame, "Play");
    Ticks(32);
    Press(SDL_SCANCODE_ESCAPE);
    Ticks(33);
    EXPECT_EQ(static_cast<State*>(mPlay), Current());
}

TEST(AssistFile, AMissingOrDamagedFileGivesTheDefaultsAndOnlyADamagedOneSaysSo)
{
    test::TempDir dir(true);
    Assist assist;
    assist.mSpeed = 60;
    testing::internal::CaptureStderr();
    assist.Load();
    EXPECT_FALSE(assist.IsOn());
    EXPECT_EQ(Assist::Ghost::Best, assist.mGhost) << "best where there is one, else par";
    for (const char* damaged : {"speed 55\n", "air thin\n", "invulnerable yes\n", "ghost best extra\n"})
    {
        SCOPED_TRACE(damaged);
        dir.WriteFile(Assist::mFileName, std::string("ghost off\n") + damaged);
        assist.Load();
        EXPECT_EQ(Assist::Ghost::Best, assist.mGhost) << "no line of a damaged file is taken";
    }
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(4, std::count(said.begin(), said.end(), '\n')) << said;
}
