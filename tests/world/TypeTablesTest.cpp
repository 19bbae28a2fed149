// The line rules of the data files and the tile and entity type tables built from them.
#include "TestSupport.h"
#include "world/EntityTypeManager.h"
#include "world/TileManager.h"

#include <gtest/gtest.h>

TEST(TileTypes, LineRulesHexKeysAndFirstDefinitionWins)
{
    test::TempDir dir;
    dir.WriteFile("t.cfg", "FF0000 tiles 3 1 10 0 1 1 extra\n"
                           "0xff0000 second 2 0 0 0 0 0\n" // same key: ignored
                           "FFFFFFFF top 0 0 0 0 0 0\n"    // the top byte is dropped
                           "010101 tiles 1 1 0 0 1\n"      // seven fields: nothing
                           "020202 tiles  1 1 0 0 1 0\n"   // double space shifts the fields
                           "//030303 tiles 1 1 0 0 1 0\n"  // a comment, even without a blank
                           "\n"
                           " //040404 tiles 1 1 0 0 1 0\n"); // a blank first: a definition of colour 0
    TileManager manager;
    ASSERT_TRUE(manager.InitTileTypes("t.cfg", 16));
    EXPECT_EQ(manager.mTileTypes.size(), 4u);
    ASSERT_NE(manager.GetTileType("0"), nullptr);
    EXPECT_EQ(manager.GetTileType("0")->mImage, "//040404");
    TileType* red = manager.GetTileType("16711680");
    ASSERT_NE(red, nullptr);
    EXPECT_EQ(red->mSourceX, 48u);
    EXPECT_EQ(red->mSourceY, 16u);
    EXPECT_EQ(red->mDamage, 10u);
    EXPECT_TRUE(red->mIsBlockingMotion && red->mIsHarmful && !red->mIsAnimated);
    ASSERT_NE(manager.GetTileType("16777215"), nullptr);
    TileType* shifted = manager.GetTileType("131586");
    ASSERT_NE(shifted, nullptr);
    EXPECT_EQ(shifted->mSourceY, 16u);
    EXPECT_EQ(shifted->mDamage, 1u);
    EXPECT_TRUE(shifted->mIsHarmful);
    EXPECT_FALSE(manager.InitTileTypes("missing.cfg", 16));
}

TEST(EntityTypes, LineRulesAndFirstDefinitionWins)
{
    test::TempDir dir;
    dir.WriteFile("e.cfg", "Item OxygenTank 2 3 0 1 0 0 ninth\n"
                           "Item OxygenTank 9 9 9 0 1 9\n"
                           "Item ShipDoor1 7 2 1 0 1 2.5\n"
                           "Enemy Short 1 1 1 1 1\n"
                           "Thing Odd 0 0 0 0 0 fast\n");
    EntityTypeManager manager;
    ASSERT_TRUE(manager.InitEntityTypes("e.cfg", 16));
    EXPECT_EQ(manager.mEntityTypes.size(), 3u);
    EntityType* tank = manager.GetEntityType("OxygenTank");
    ASSERT_NE(tank, nullptr);
    EXPECT_EQ(tank->mSourceX, 32u);
    EXPECT_EQ(tank->mSourceY, 48u);
    EXPECT_TRUE(tank->mIsAnimated && !tank->mIsBlockingMotion && !tank->mHasValue);
    EXPECT_TRUE(manager.GetEntityType("ShipDoor1")->mHasValue);
    EXPECT_DOUBLE_EQ(manager.GetEntityType("ShipDoor1")->mJumpSpeed, 2.5);
    EXPECT_EQ(manager.GetEntityType("Odd")->mBaseType, "Thing"); // stored all the same
    EXPECT_DOUBLE_EQ(manager.GetEntityType("Odd")->mJumpSpeed, 0.0);
    EXPECT_FALSE(manager.InitEntityTypes("missing.cfg", 16));
}

TEST(TileTypes, AVentBlowsInItsHalfOfEveryCycleAndMovesItsPictureOnlyThen)
{
    test::TempDir dir;
    dir.WriteFile("t.cfg", "90D0E0 tiles 3 1 0 1 1 0 1\n"
                           "90D0E1 tiles 3 1 0 1 1 0 2\n"
                           "000001 tiles 3 1 0 1 1 0 0\n"   // phase 0: an ordinary tile
                           "000002 tiles 3 1 0 1 1 0 7\n"); // no such phase: an ordinary tile
    TileManager manager;
    ASSERT_TRUE(manager.InitTileTypes("t.cfg", 16));
    TileType* first = manager.GetTileType(std::to_string(0x90D0E0));
    TileType* second = manager.GetTileType(std::to_string(0x90D0E1));
    ASSERT_TRUE(first && second && first->IsVent() && second->IsVent());
    EXPECT_FALSE(manager.GetTileType("1")->IsVent() || manager.GetTileType("2")->IsVent());

    // The update counts from the level's start: the first blows in 0-59 of every 120, the second in 60-119.
    const struct
    {
        std::uint32_t update;
        bool firstBlows;
    } cycle[] = {{0, true}, {59, true}, {60, false}, {119, false}, {120, true}, {239, false}, {240, true}};
    std::uint32_t update = 0;
    for (const auto& at : cycle)
    {
        for (; update < at.update; ++update)
        {
            manager.Tick();
        }
        EXPECT_EQ(at.firstBlows, first->IsBlowing()) << at.update;
        EXPECT_EQ(!at.firstBlows, second->IsBlowing()) << at.update;
        // Drawn after the update: the still picture, or the blowing frames to its right.
        manager.Tick();
        ++update;
        EXPECT_EQ(at.firstBlows ? 64u : 48u, first->mSourceX) << at.update;
        EXPECT_EQ(at.firstBlows ? 48u : 64u, second->mSourceX) << at.update;
        EXPECT_EQ(0u, (at.firstBlows ? second : first)->mFrameCounter) << "a still vent shows one picture";
    }
}
