// Crowded levels: every enemy of a crowd, with shots in flight all the while, moves exactly as it would
// alone (what an update costs is measured in bench/); and the harness on the game's own content.
#include "PlayTest.h"

#include "entities/Bullet.h"
#include "entities/Enemy.h"

#include <map>
#include <sstream>
#include <utility>

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

// The placement line of enemy i of a crowd, with the id "e<i>".
std::string CrowdEnemy(int i)
{
    std::ostringstream line;
    line << "Blob" << 1 + i % 3 << " " << i % 2 << " " << 1 + i % 57 << " " << 2 + i % 10 << " e" << i
         << "\n";
    return line.str();
}

std::string Crowd(int enemies, int items)
{
    std::ostringstream placement;
    placement << "Player 1 30 11 p\n";
    for (int i = 0; i < enemies; ++i)
    {
        placement << CrowdEnemy(i);
    }
    for (int i = 0; i < items; ++i)
    {
        placement << (i % 2 ? "Health" : "OxygenTank") << " 1 " << 2 + (i * 7) % 55 << " " << 3 + i % 8
                  << " i" << i << "\n";
    }
    return placement.str();
}
} // namespace

class CrowdTest : public PlayTest
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
    // Where each enemy stands, by id.
    std::map<std::string, std::pair<double, double>> EnemyPlaces()
    {
        std::map<std::string, std::pair<double, double>> places;
        for (const auto& entry : M().mEnemies)
        {
            places[entry.second->GetID()] = {entry.second->GetX(), entry.second->GetY()};
        }
        return places;
    }
};

// Enemies meet only walls and floors, so a crowd must not change how any of them moves: a scan, a cache or
// a registry walk that mixed them up would.
TEST_F(CrowdTest, EveryEnemyOfACrowdUnderFireMovesAsItWouldAlone)
{
    BeginPlaying(Level("crowd", Crowd(200, 20), Hall()));
    M().mCameraX = 0;
    ASSERT_EQ(200u, M().mEnemies.size());
    ASSERT_TRUE(RunCrowded(300, 50));
    const auto together = EnemyPlaces();
    ASSERT_EQ(200u, together.size()) << "the crowd stayed as large the whole time";

    for (int lone : {0, 1, 58, 121, 199})
    {
        SCOPED_TRACE("enemy " + std::to_string(lone));
        const std::string id = "e" + std::to_string(lone);
        mHarness.reset();
        BeginPlaying(Level("lone", "Player 1 30 11 p\n" + CrowdEnemy(lone), Hall()));
        M().mCameraX = 0;
        const auto start = EnemyPlaces().at(id);
        ASSERT_TRUE(RunCrowded(300, 0));
        const auto alone = EnemyPlaces().at(id);
        EXPECT_NE(start.first, alone.first) << "it does not patrol";
        EXPECT_EQ(alone, together.at(id));
    }
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
        harness.Step(update > 32 ? test::kRight : 0u);
    }
    EXPECT_EQ("Play", harness.CurrentState());
    EXPECT_TRUE(harness.ThePlayer().GetIsAlive());
}
