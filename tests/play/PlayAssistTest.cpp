// Assist options in play: invulnerability and its limit, and a damaged ghost file refused.
#include "PlayTest.h"

#include "states/Ghost.h"

#include <algorithm>

TEST_F(PlayTest, InvulnerableTakesNoHarmFromTilesOrEnemiesButAFallOutOfTheLevelStillEndsTheRun)
{
    // Spikes at column 5, an enemy caged at column 10, and a shaft out of the level at column 15.
    std::vector<std::string> rows = Room();
    rows[11] = "#....^...#.#.......#";
    for (int row = 12; row < 15; ++row)
    {
        rows[row][15] = '.';
    }
    BeginPlaying(Level("room", "Player 1 2 11 p\nBlob1 1 10 11 e\n", rows));
    G()->mAssist.mInvulnerable = true;
    G()->mAssist.mAir = Assist::Air::Endless;
    H().QuietSounds();
    for (const double x : {80.0, 160.0})
    {
        PlacePlayer(x, 176.0);
        H().Tick(30);
        EXPECT_EQ(100, Pl().GetHealth()) << "at x " << x;
        EXPECT_EQ(0, Pl().mHurtTimer);
    }
    EXPECT_TRUE(H().PlayingSounds().empty());

    // Neither assist saves a fall: below the level's bottom the run ends as the air would have ended it.
    PlacePlayer(240.0, 176.0);
    for (int update = 0; update < 60 && Pl().GetIsAlive(); ++update)
    {
        H().Tick();
    }
    EXPECT_FALSE(Pl().GetIsAlive());
    EXPECT_GE(Pl().GetY(), 240.0);
}

TEST_F(PlayTest, ADamagedGhostFileIsRefusedWithOneLineAndPlayGoesOnWithoutIt)
{
    BeginPlaying(Level("room", "Player 1 2 11 p\n"));
    const std::string ghostFile = "kesv.ghost." + G()->mProgress.SetKey() + ".room";
    mDir.WriteFile(ghostFile, "R20 X4\n");
    testing::internal::CaptureStderr();
    ASSERT_TRUE(H().BeginGame());
    H().SkipFadeIn();
    H().Tick(10);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(1, std::count(said.begin(), said.end(), '\n')) << said;
    EXPECT_NE(std::string::npos, said.find(ghostFile + ": unknown key in input script: X4")) << said;
    EXPECT_EQ(nullptr, P().mGhost);
    EXPECT_EQ(42, P().mLevelTime) << "the fade-in and ten updates of play";
}
