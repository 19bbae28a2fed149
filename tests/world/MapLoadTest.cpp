// Loading levels: the description, layer images, managers, placement and replacing a level.
#include "LevelTest.h"

#include <set>
#include <stdexcept>

namespace
{
test::LevelFiles SmallLevel(const std::string& name, const std::string& placement)
{
    return {name, {"....", ".ww.", "####"}, {"#..", "#^?"}, placement};
}
} // namespace

TEST_F(LevelTest, LoadFillsBothLayersWithColourKeys)
{
    ASSERT_TRUE(LoadLevel(SmallLevel("one", "")));
    EXPECT_EQ(mMap.mWidth, 4);
    EXPECT_EQ(mMap.mHeight, 3);
    ASSERT_EQ(mMap.mCollisionLayer.size(), 12u);
    EXPECT_EQ(mMap.mBackgroundLayer[5], "255");     // water at (1, 1)
    EXPECT_EQ(mMap.mCollisionLayer[5], "16711680"); // spikes at (1, 1)
    EXPECT_EQ(mMap.mCollisionLayer[4], "8421504");  // wall at (0, 1)
    EXPECT_EQ(mMap.mCollisionLayer[3], "0");        // beyond the smaller collision image
    EXPECT_EQ(mMap.mCollisionLayer[8], "0");
    // A colour the table does not define is empty space.
    EXPECT_EQ(mMap.GetTile(2, 1, 1)->mTileType, &Tile::mNonSolidTile);
    EXPECT_EQ(mMap.GetTile(0, 0, 2), nullptr);
}

TEST_F(LevelTest, DescriptionRulesAndFailures)
{
    test::WriteLevel(mDir, SmallLevel("a", ""));
    test::WriteLevel(mDir, SmallLevel("b", ""));
    mDir.WriteFile("data/maps/two", "a_bg.png a_col.png a.ent\r\nb_bg.png b_col.png b.ent\r\nonly two\r\n");
    mDir.WriteFile("data/maps/short", "a_bg.png a_col.png\n");
    Map fresh;
    EXPECT_THROW(fresh.Load("data/maps/short", mInfo), std::runtime_error); // no image name at all
    EXPECT_FALSE(mMap.Load("data/maps/none", mInfo));
    ASSERT_TRUE(mMap.Load("data/maps/two", mInfo));
    EXPECT_EQ(mMap.mEntitiesFile, "b.ent"); // the last qualifying line wins, without its CR
    ASSERT_TRUE(mMap.Load("data/maps/short", mInfo));
    EXPECT_EQ(mMap.mEntitiesFile, "b.ent"); // no qualifying line: the names stay

    std::filesystem::remove(mDir.Path() / "data/maps/b.ent");
    EXPECT_FALSE(mMap.Load("data/maps/two", mInfo));
    std::filesystem::remove(mDir.Path() / "data/maps/tiletypes.cfg");
    try
    {
        mMap.Load("data/maps/a", mInfo);
        FAIL() << "no exception";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "Unable to initialize tile types: data/maps/tiletypes.cfg");
    }
}

TEST_F(LevelTest, PlacementFillsRegistriesAndPlayerStart)
{
    ASSERT_TRUE(
        LoadLevel(SmallLevel("p", "Player 0 3 2\n"
                                  "Health 1 1 1 h1\n"
                                  "Health 1 268435456 1 far\n" // outside the level: skipped
                                  "Health 1 -1 0 before\n"
                                  "Nobody 1 1 1 x\n" // unknown type: skipped, reading goes on
                                  "Health 0 2 1 h2\n"
                                  "Blob1 0 3 1 e1\n"
                                  "Blob1 1 3\n" // short line: skipped
                                  "OxygenTank 1 0 0 o1\nOxygenTank 1 1 0 o2\nOxygenTank 1 2 0 o3\n")));
    EXPECT_EQ(mMap.mPlayerStartX, 3);
    EXPECT_EQ(mMap.mPlayerStartY, 2);
    EXPECT_FALSE(mMap.mPlayerDirection);
    auto health = mMap.mItems.equal_range("Health");
    ASSERT_EQ(std::distance(health.first, health.second), 2);
    EXPECT_EQ(health.first->second->GetID(), "h1"); // file order among equal keys
    EXPECT_DOUBLE_EQ(health.first->second->GetX(), 16.0);
    ASSERT_EQ(mMap.mEnemies.size(), 1u);
    EXPECT_DOUBLE_EQ(mMap.GetEntity("Enemy", "Blob1")->GetDX(), -2.0); // placed facing left
    EXPECT_EQ(mMap.mOxygenTanksLeft, 3);
    EXPECT_EQ(mMap.mOxygenTanksTotal, 3);

    // A player start outside the level is no level to play, and the failure says so.
    EXPECT_FALSE(LoadLevel(SmallLevel("q", "Player 0 4 2\n")));
    EXPECT_EQ(mMap.mLoadFailure, "its player start 4,2 lies outside the level");
}

TEST_F(LevelTest, SecondLoadReplacesTheLevelButKeepsPlayerStartAndAddsTanks)
{
    ASSERT_TRUE(LoadLevel(SmallLevel("first", "Player 1 2 1\nBlob1 1 1 1 a\nOxygenTank 1 0 0 o\n")));
    mMap.mCameraX = 40;
    ASSERT_TRUE(LoadLevel({"second", {"......"}, {}, "OxygenTank 1 0 0 o\nOxygenTank 1 1 0 o\n"}));
    EXPECT_EQ(mMap.mWidth, 6);
    EXPECT_EQ(mMap.mCameraX, 0);
    EXPECT_TRUE(mMap.mEnemies.empty());
    EXPECT_EQ(mMap.mPlayerStartX, 2);    // no player line: the start stays
    EXPECT_EQ(mMap.mOxygenTanksLeft, 3); // the one left over plus two new ones
    EXPECT_EQ(mMap.mOxygenTanksTotal, 3);
    for (auto& entry : mMap.mItems) // every entity points at a type of the new manager
    {
        EXPECT_EQ(entry.second->GetEntityType(), mMap.mEntityTypeManager->GetEntityType(entry.first));
    }
}

// Loading cost does not grow with repeated colours (its time is measured in bench/).
TEST_F(LevelTest, AWideLevelMakesOneTilePerColourNotOnePerCell)
{
    std::string row(512, '.');
    for (std::size_t i = 0; i < row.size(); i += 3)
    {
        row[i] = '#';
    }
    test::WriteLevel(mDir, {"wide", std::vector<std::string>(64, row), {}, ""});
    ASSERT_TRUE(mMap.Load("data/maps/wide", mInfo));
    ASSERT_EQ(mMap.mCollisionLayer.size(), 512u * 64u);
    std::set<std::string> colours(mMap.mBackgroundLayer.begin(), mMap.mBackgroundLayer.end());
    colours.insert(mMap.mCollisionLayer.begin(), mMap.mCollisionLayer.end());
    EXPECT_LE(colours.size(), 3u);
    EXPECT_EQ(mMap.mTileManager->mTiles.size(), colours.size());
}
