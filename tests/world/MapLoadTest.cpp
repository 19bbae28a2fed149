// Loading levels: the description, layer images, managers, placement and replacing a level.
#include "LevelTest.h"

#include <chrono>
#include <stdexcept>

namespace
{
test::LevelFiles SmallLevel(const std::string& name, const std::string& placement)
{
    test::LevelFiles level;
    level.name = name;
    level.background = {"....", ".ww.", "####"};
    level.collision = {"#..#", "#^.#", "####"};
    level.placement = placement;
    return level;
}
} // namespace

TEST_F(LevelTest, LoadFillsBothLayersWithDecimalColourKeys)
{
    ASSERT_TRUE(LoadLevel(SmallLevel("one", "Player 1 1 1\n")));
    EXPECT_EQ(mMap.mWidth, 4);
    EXPECT_EQ(mMap.mHeight, 3);
    ASSERT_EQ(mMap.mBackgroundLayer.size(), 12u);
    ASSERT_EQ(mMap.mCollisionLayer.size(), 12u);
    EXPECT_EQ(mMap.mBackgroundLayer[0], "0");
    EXPECT_EQ(mMap.mBackgroundLayer[5], "255");       // water at (1, 1)
    EXPECT_EQ(mMap.mCollisionLayer[5], "16711680");   // spikes at (1, 1)
    EXPECT_EQ(mMap.mCollisionLayer[11], "8421504");   // wall
    EXPECT_EQ(mMap.mTileTypesFile, "data/maps/tiletypes.cfg");
    EXPECT_EQ(mMap.mEntityTypesFile, "data/maps/entitytypes.cfg");
    // One tile per colour met; the tile sheet is cached under every image name the tiles use.
    EXPECT_EQ(mMap.mTileManager->mTiles.size(), 4u);
    EXPECT_NE(mMap.mImageManager->GetImage("tiles"), nullptr);
    EXPECT_NE(mMap.mImageManager->GetImage("0"), nullptr);
    EXPECT_EQ(mMap.mImageManager->GetImage("sprites"), nullptr); // added by the play screen
}

TEST_F(LevelTest, DescriptionRules)
{
    test::WriteLevel(mDir, SmallLevel("a", ""));
    test::WriteLevel(mDir, SmallLevel("b", "Player 0 2 1\n"));
    // The last line with three fields wins; short lines and comments are ignored.
    mDir.WriteFile("data/maps/two", "a_bg.png a_col.png a.ent\n// x y z\nb_bg.png b_col.png b.ent extra\nonly two\n");
    ASSERT_TRUE(mMap.Load("data/maps/two", mInfo));
    EXPECT_EQ(mMap.mEntitiesFile, "b.ent");
    EXPECT_EQ(mMap.mPlayerStartX, 2);

    // A fresh map whose description has no qualifying line fails on the empty image name.
    mDir.WriteFile("data/maps/short", "a_bg.png a_col.png\n");
    Map fresh;
    EXPECT_THROW(fresh.Load("data/maps/short", mInfo), std::runtime_error);
    // A loaded map keeps the names of the previous level.
    ASSERT_TRUE(mMap.Load("data/maps/short", mInfo));
    EXPECT_EQ(mMap.mBackgroundLayerName, "b_bg.png");
}

TEST_F(LevelTest, MissingFilesReturnFalseOrThrowTheirMessages)
{
    EXPECT_FALSE(mMap.Load("data/maps/none", mInfo));
    EXPECT_EQ(mMap.mTileManager, nullptr); // nothing changed

    test::LevelFiles level = SmallLevel("lost", "");
    test::WriteLevel(mDir, level);
    std::filesystem::remove(mDir.Path() / "data/maps/lost.ent");
    EXPECT_FALSE(mMap.Load("data/maps/lost", mInfo));

    test::WriteLevel(mDir, SmallLevel("ok", ""));
    std::filesystem::remove(mDir.Path() / "data/maps/entitytypes.cfg");
    try
    {
        mMap.Load("data/maps/ok", mInfo);
        FAIL() << "no exception";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "Unable to initialize entity types: data/maps/entitytypes.cfg");
    }
    std::filesystem::remove(mDir.Path() / "data/maps/tiletypes.cfg");
    try
    {
        mMap.Load("data/maps/ok", mInfo);
        FAIL() << "no exception";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "Unable to initialize tile types: data/maps/tiletypes.cfg");
    }
    mDir.WriteFile("data/maps/broken", "nothing.png ok_col.png ok.ent\n");
    try
    {
        mMap.Load("data/maps/broken", mInfo);
        FAIL() << "no exception";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_EQ(std::string(error.what()).rfind("Unable to load image: ", 0), 0u);
    }
}

TEST_F(LevelTest, SmallerCollisionImageReadsAsBlackAndOnePixelLevelsWork)
{
    test::LevelFiles level = SmallLevel("s", "");
    level.collision = {"##", "##"};
    ASSERT_TRUE(LoadLevel(level));
    EXPECT_EQ(mMap.mCollisionLayer[0], "8421504");
    EXPECT_EQ(mMap.mCollisionLayer[2], "0");  // (2, 0) lies beyond the 2 x 2 image
    EXPECT_EQ(mMap.mCollisionLayer[8], "0");  // (0, 2)

    test::LevelFiles tiny;
    tiny.name = "tiny";
    tiny.background = {"#"};
    ASSERT_TRUE(LoadLevel(tiny));
    EXPECT_EQ(mMap.mWidth, 1);
    EXPECT_EQ(mMap.mHeight, 1);
    EXPECT_EQ(mMap.mCollisionLayer.size(), 1u);
}

TEST_F(LevelTest, UndefinedColoursBecomeEmptySpace)
{
    test::LevelFiles level = SmallLevel("u", "");
    level.collision = {"?...", "....", "...."};
    ASSERT_TRUE(LoadLevel(level));
    Tile* tile = mMap.GetTile(0, 0, 1);
    ASSERT_NE(tile, nullptr);
    EXPECT_EQ(tile->mTileType, &Tile::mNonSolidTile);
    EXPECT_FALSE(tile->mTileType->mIsBlockingMotion);
    EXPECT_FALSE(tile->mTileType->mIsHarmful);
}

TEST_F(LevelTest, PlacementFillsRegistriesAndPlayerStart)
{
    ASSERT_TRUE(LoadLevel(SmallLevel("p", "// comment\n"
                                          "Player 0 5 7\n"
                                          "Health 1 1 1 h1\n"
                                          "Health 0 2 1 h2\n"
                                          "Nobody 1 1 1 x\n"      // unknown type: skipped, reading goes on
                                          "Blob1 0 3 1 e1\n"
                                          "Blob1 1 3\n"           // short enemy line: skipped
                                          "Crate 1 0 0 c\n"
                                          "OxygenTank 1 0 0 o1\n"
                                          "OxygenTank 1 1 0 o2\n"
                                          "OxygenTank 1 2 0 o3\n")));
    EXPECT_EQ(mMap.mPlayerStartX, 5);
    EXPECT_EQ(mMap.mPlayerStartY, 7);
    EXPECT_FALSE(mMap.mPlayerDirection);
    ASSERT_EQ(mMap.mItems.count("Health"), 2u);
    auto health = mMap.mItems.equal_range("Health");
    EXPECT_EQ(health.first->second->GetID(), "h1"); // file order among equal keys
    EXPECT_EQ(std::next(health.first)->second->GetID(), "h2");
    EXPECT_EQ(mMap.GetEntity("Item", "Health")->GetID(), "h1");
    EXPECT_DOUBLE_EQ(health.first->second->GetX(), 16.0);
    EXPECT_DOUBLE_EQ(health.first->second->GetY(), 16.0);
    ASSERT_EQ(mMap.mEnemies.size(), 1u);
    Entity* blob = mMap.GetEntity("Enemy", "Blob1");
    EXPECT_FALSE(blob->GetDirection());
    EXPECT_DOUBLE_EQ(blob->GetDX(), -2.0); // placed facing left, walks left
    EXPECT_EQ(blob->GetBaseType(), "Enemy");
    EXPECT_EQ(mMap.mEntities.size(), 1u);
    EXPECT_EQ(mMap.mOxygenTanksLeft, 3);
    EXPECT_EQ(mMap.mOxygenTanksTotal, 3);
}

TEST_F(LevelTest, SecondLoadReplacesTheLevelButKeepsPlayerStartAndAddsTanks)
{
    ASSERT_TRUE(LoadLevel(SmallLevel("first", "Player 1 2 1\nBlob1 1 1 1 a\nOxygenTank 1 0 0 o\n")));
    mMap.mOxygenTanksLeft = 1;
    mMap.mCameraX = 40;

    test::LevelFiles second = SmallLevel("second", "OxygenTank 1 0 0 o\nOxygenTank 1 1 0 o\n");
    second.background = {"......", "......"};
    second.collision = {"######", "######"};
    ASSERT_TRUE(LoadLevel(second));
    EXPECT_EQ(mMap.mWidth, 6);
    EXPECT_EQ(mMap.mCameraX, 0);
    EXPECT_TRUE(mMap.mEnemies.empty()); // the first level's entities are gone
    EXPECT_EQ(mMap.mPlayerStartX, 2);   // no player line: the start stays
    EXPECT_TRUE(mMap.mPlayerDirection);
    EXPECT_EQ(mMap.mOxygenTanksLeft, 3); // the tank left over plus two new ones
    EXPECT_EQ(mMap.mOxygenTanksTotal, 3);
    // Every entity points at a type of the new manager.
    for (auto& entry : mMap.mItems)
    {
        EXPECT_EQ(entry.second->GetEntityType(), mMap.mEntityTypeManager->GetEntityType(entry.first));
    }
}

TEST_F(LevelTest, ClearEmptiesLayersAndEntitiesOnly)
{
    ASSERT_TRUE(LoadLevel(SmallLevel("c", "Blob1 1 1 1 a\nHealth 1 1 1 b\nCrate 1 1 1 c\n")));
    mMap.Clear();
    EXPECT_TRUE(mMap.mBackgroundLayer.empty());
    EXPECT_TRUE(mMap.mCollisionLayer.empty());
    EXPECT_TRUE(mMap.mEntities.empty() && mMap.mItems.empty() && mMap.mEnemies.empty());
    EXPECT_EQ(mMap.mWidth, 4);
    EXPECT_NE(mMap.mTileManager, nullptr);
    EXPECT_NE(mMap.mEntityTypeManager, nullptr);
    EXPECT_EQ(mMap.GetTile(0, 0, 1), nullptr); // no layer, no tile
}

TEST_F(LevelTest, LoadOfAWideLevelIsFast)
{
    test::LevelFiles wide;
    wide.name = "wide";
    std::string row(512, '.');
    for (std::size_t i = 0; i < row.size(); i += 3)
    {
        row[i] = '#';
    }
    wide.background.assign(64, row);
    test::WriteLevel(mDir, wide);
    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(mMap.Load("data/maps/wide", mInfo));
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 250);
}
