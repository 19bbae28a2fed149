// Crowded levels run on with every enemy in play, shots in flight all the while (what an update costs is
// measured in bench/), and the harness on the game's own content.
#include "PlayTest.h"

#include "entities/Bullet.h"

#include <sstream>

namespace
{
// A 60 x 15 level with walls around, a floor at row 12 and a few walls standing in the way.
std::vector<std::string> Hall()
{
    std::vector<std::string> rows(12, "#" + std::string(58, '.') + "#");
    rows[11][20] = '#';
    rows[11][40] = '#';
    rows.insert(rows.end(), 3, std::string(60, '#'));
    return rows;
}

std::string Crowd(int enemies, int items)
{
    std::ostringstream placement;
    placement << "Player 1 30 11 p\n";
    for (int i = 0; i < enemies; ++i)
    {
        placement << "Blob" << 1 + i % 3 << " " << i % 2 << " " << 1 + i % 57 << " " << 2 + i % 10 << " e"
                  << i << "\n";
    }
    for (int i = 0; i < items; ++i)
    {
        placement << (i % 2 ? "Health" : "OxygenTank") << " 1 " << 2 + (i * 7) % 55 << " " << 3 + i % 8
                  << " i" << i << "\n";
    }
    return placement.str();
}
} // namespace

class CostTest : public PlayTest
{
  protected:
    // Runs `updates` updates, topping the shots in flight up to `shots` before each; false as soon as the
    // player dies or play ends.
    bool RunCrowded(int updates, std::size_t shots)
    {
        EntityType* type = M().mEntityTypeManager->GetEntityType("Bullet");
        for (int i = 0; i < updates; ++i)
        {
            for (std::size_t n = Pl().mBullets.size(); n < shots; ++n)
            {
                auto shot = std::make_unique<Bullet>();
                // Above the enemies (rows 2 and lower): every shot is tested against every enemy and hits
                // none.
                shot->Init(32.0 + static_cast<double>(n * 17 % 880), 4.0 + static_cast<double>(n % 2) * 12,
                           "0", type);
                shot->SetDX(n % 2 ? 6.0 : -6.0);
                Pl().mBullets.push_back(std::move(shot));
            }
            // The player is kept alive and still, so the level keeps running.
            Pl().mOxygen = 10.0;
            Pl().SetHealth(100);
            H().Tick();
            if (!Pl().GetIsAlive() || H().CurrentState() != "Play")
            {
                return false;
            }
        }
        return true;
    }
};

TEST_F(CostTest, ABusyLevelRunsWithEveryEnemyInPlay)
{
    BeginPlaying(Level("busy", Crowd(20, 10), Hall()));
    M().mCameraX = 0;
    ASSERT_EQ(20u, M().mEnemies.size());
    EXPECT_TRUE(RunCrowded(300, 5));
    EXPECT_EQ(20u, M().mEnemies.size());
}

TEST_F(CostTest, TwoHundredEnemiesAndFiftyShotsStayInPlay)
{
    BeginPlaying(Level("crowd", Crowd(200, 20), Hall()));
    M().mCameraX = 0;
    ASSERT_EQ(200u, M().mEnemies.size());
    EXPECT_TRUE(RunCrowded(300, 50));
    EXPECT_EQ(200u, M().mEnemies.size()) << "the crowd stayed as large the whole time";
}

TEST(PlayContent, TheGamesOwnFirstLevelBeginsAndRuns)
{
    test::ContentDir content;
    if (!content.HasContent())
    {
        GTEST_SKIP() << "no data/ folder in the working directory";
    }
    test::PlayHarness harness;
    ASSERT_TRUE(harness.BeginGame());
    for (int update = 0; update < 60; ++update)
    {
        harness.Step(test::HeldKeys{false, update > 32, false, false});
    }
    EXPECT_EQ("Play", harness.CurrentState());
    EXPECT_TRUE(harness.ThePlayer().GetIsAlive());
}
