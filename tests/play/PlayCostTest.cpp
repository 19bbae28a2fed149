// The cost of one update on crowded levels, and the harness on the game's own content.
#include "PlayTest.h"

#include "entities/Bullet.h"

#include <algorithm>
#include <chrono>
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
    // The median time of one update over `updates` updates, keeping `shots` shots in flight.
    double MedianMicroseconds(int updates, std::size_t shots)
    {
        EntityType* type = M().mEntityTypeManager->GetEntityType("Bullet");
        std::vector<double> times;
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
            const auto start = std::chrono::steady_clock::now();
            H().Tick();
            const auto end = std::chrono::steady_clock::now();
            times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        }
        std::nth_element(times.begin(), times.begin() + updates / 2, times.end());
        return times[updates / 2];
    }
};

// Budgets: 20 microseconds for a busy level, 200 with 200 enemies and 50 shots. The limits checked are
// a few times larger, so that a loaded test machine does not fail them; a cost that grows with the
// square of the crowd still does.
TEST_F(CostTest, ABusyLevelUpdatesWellWithinBudget)
{
    BeginPlaying(Level("busy", Crowd(20, 10), Hall()));
    M().mCameraX = 0;
    const double median = MedianMicroseconds(300, 5);
    RecordProperty("median_us", std::to_string(median));
    EXPECT_LT(median, 80.0);
}

TEST_F(CostTest, TwoHundredEnemiesAndFiftyShotsUpdateWithinBudget)
{
    BeginPlaying(Level("crowd", Crowd(200, 20), Hall()));
    M().mCameraX = 0;
    ASSERT_EQ(200u, M().mEnemies.size());
    const double median = MedianMicroseconds(300, 50);
    RecordProperty("median_us", std::to_string(median));
    EXPECT_LT(median, 800.0);
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
