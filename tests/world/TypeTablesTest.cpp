// The line rules of the data files and the tile and entity type tables built from them.
#include "TestSupport.h"
#include "world/EntityTypeManager.h"
#include "world/FieldReader.h"
#include "world/TileManager.h"

#include <gtest/gtest.h>

namespace
{
std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields{"stale"};
    FieldReader::Split(line, fields);
    return fields;
}

using Strings = std::vector<std::string>;
} // namespace

TEST(FieldReader, CutsAtEverySingleSpace)
{
    EXPECT_EQ(Fields("a b c"), (Strings{"a", "b", "c"}));
    EXPECT_EQ(Fields("a  b"), (Strings{"a", "", "b"}));      // two spaces make an empty field
    EXPECT_EQ(Fields(" a"), (Strings{"", "a"}));
    EXPECT_EQ(Fields("a "), (Strings{"a"}));                 // a trailing space adds no field
    EXPECT_EQ(Fields("a\tb c"), (Strings{"a\tb", "c"}));     // a tab is no separator
    EXPECT_EQ(Fields(""), Strings{});
}

TEST(FieldReader, SkipsCommentsOnlyAtColumnZeroAndDropsCarriageReturns)
{
    test::TempDir dir;
    dir.WriteFile("f.txt", "// comment\n//no blank needed\n //not a comment\r\nlast\r\n\n");
    FieldReader reader("f.txt");
    ASSERT_TRUE(reader.IsOpen());
    std::vector<std::string> fields;
    ASSERT_TRUE(reader.NextLine(fields));
    EXPECT_EQ(fields, (Strings{"", "//not", "a", "comment"}));
    ASSERT_TRUE(reader.NextLine(fields));
    EXPECT_EQ(fields, Strings{"last"});
    ASSERT_TRUE(reader.NextLine(fields)); // the empty line yields no field
    EXPECT_TRUE(fields.empty());
    EXPECT_FALSE(reader.NextLine(fields));
    EXPECT_FALSE(FieldReader("missing.txt").IsOpen());
}

TEST(TileTypes, ReadsAllEightFieldsWithScaleAndDecimalKey)
{
    test::TempDir dir;
    dir.WriteFile("t.cfg", "FF0000 tiles 3 1 10 0 1 1 extra fields\n0000ff water 2 0 0 1 0 0\n");
    TileManager manager;
    ASSERT_TRUE(manager.InitTileTypes("t.cfg", 16));
    ASSERT_EQ(manager.mTileTypes.size(), 2u);
    TileType* red = manager.GetTileType("16711680");
    ASSERT_NE(red, nullptr);
    EXPECT_EQ(red->mName, "16711680");
    EXPECT_EQ(red->mImage, "tiles");
    EXPECT_EQ(red->mSourceX, 48u);
    EXPECT_EQ(red->mSourceY, 16u);
    EXPECT_EQ(red->mDamage, 10u);
    EXPECT_FALSE(red->mIsAnimated);
    EXPECT_TRUE(red->mIsBlockingMotion);
    EXPECT_TRUE(red->mIsHarmful);
    TileType* blue = manager.GetTileType("255");
    ASSERT_NE(blue, nullptr);
    EXPECT_TRUE(blue->mIsAnimated);
    EXPECT_FALSE(blue->mIsBlockingMotion);
    EXPECT_EQ(manager.GetTileType("FF0000"), nullptr); // keys are decimal, never the hex text
}

TEST(TileTypes, OneColourInAnyHexSpellingGivesOneKeyAndTheFirstLineWins)
{
    test::TempDir dir;
    dir.WriteFile("t.cfg", "0xff0000 first 1 0 0 0 0 0\nFF0000 second 2 0 0 0 0 0\nff0000 third 3 0 0 0 0 0\n"
                           "FFFFFFFF top 0 0 0 0 0 0\n");
    TileManager manager;
    ASSERT_TRUE(manager.InitTileTypes("t.cfg", 16));
    ASSERT_EQ(manager.mTileTypes.size(), 2u);
    EXPECT_EQ(manager.GetTileType("16711680")->mImage, "first");
    EXPECT_EQ(manager.GetTileType("16777215")->mImage, "top"); // the top byte is dropped
}

TEST(TileTypes, ShortLinesCommentsAndShiftedFields)
{
    test::TempDir dir;
    dir.WriteFile("t.cfg", "//00FF00 tiles 1 1 0 0 1 0\n"
                           "010101 tiles 1 1 0 0 1\n"     // seven fields: nothing
                           "020202 tiles  1 1 0 0 1 0\n"  // double space: everything shifts by one
                           " //030303 tiles 1 1 0 0 1 0\n");
    TileManager manager;
    ASSERT_TRUE(manager.InitTileTypes("t.cfg", 16));
    EXPECT_EQ(manager.GetTileType("65280"), nullptr);
    EXPECT_EQ(manager.GetTileType("65793"), nullptr);
    TileType* shifted = manager.GetTileType("131586");
    ASSERT_NE(shifted, nullptr);
    EXPECT_EQ(shifted->mSourceX, 0u);  // the empty field reads as 0
    EXPECT_EQ(shifted->mSourceY, 16u);
    EXPECT_EQ(shifted->mDamage, 1u);
    EXPECT_TRUE(shifted->mIsBlockingMotion == false && shifted->mIsHarmful == true);
    // The line that starts with a blank is a definition whose colour field is empty: black.
    ASSERT_NE(manager.GetTileType("0"), nullptr);
    EXPECT_EQ(manager.GetTileType("0")->mImage, "//030303");
}

TEST(TileTypes, EmptyOrMissingFiles)
{
    test::TempDir dir;
    dir.WriteFile("empty.cfg", "");
    dir.WriteFile("comments.cfg", "// only\n\n// comments\n");
    TileManager manager;
    EXPECT_TRUE(manager.InitTileTypes("empty.cfg", 16));
    EXPECT_TRUE(manager.InitTileTypes("comments.cfg", 16));
    EXPECT_TRUE(manager.mTileTypes.empty());
    EXPECT_FALSE(manager.InitTileTypes("missing.cfg", 16));
}

TEST(TileTypes, TickAdvancesOnlyAnimatedTypes)
{
    TileManager manager;
    manager.mTileTypes.emplace("1", std::make_unique<TileType>());
    manager.mTileTypes.emplace("2", std::make_unique<TileType>());
    manager.mTileTypes["2"]->Init("2", "tiles", 0, 0, 0, true, false, false);
    manager.mTileTypes["2"]->mFrameCounter = 0xFFFFFFFFu;
    manager.Tick();
    manager.Tick();
    EXPECT_EQ(manager.mTileTypes["1"]->mFrameCounter, 0u);
    EXPECT_EQ(manager.mTileTypes["2"]->mFrameCounter, 1u); // wraps
}

TEST(TileCatalogue, AddTileKeepsTheFirstTileAndItsType)
{
    TileType first;
    first.Init("5", "a", 0, 0, 0, false, false, false);
    TileType second;
    second.Init("5", "b", 0, 0, 0, false, true, false);
    TileManager manager;
    manager.AddTile("5", &first);
    manager.AddTile("5", &second);
    ASSERT_NE(manager.GetTile("5"), nullptr);
    EXPECT_EQ(manager.GetTile("5")->mTileType, &first);
    EXPECT_EQ(manager.GetTile("5")->mImage, "a");
    EXPECT_EQ(manager.GetTile("5")->mData, "");
    EXPECT_EQ(manager.GetTile("6"), nullptr);
    manager.RemoveTile("6");
    manager.RemoveTile("5");
    EXPECT_EQ(manager.GetTile("5"), nullptr);
}

TEST(EntityTypes, ReadsFieldsAndKeepsTheFirstDefinition)
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
    EXPECT_EQ(tank->mBaseType, "Item");
    EXPECT_EQ(tank->mSourceX, 32u);
    EXPECT_EQ(tank->mSourceY, 48u);
    EXPECT_TRUE(tank->mIsAnimated);
    EXPECT_FALSE(tank->mIsBlockingMotion);
    EXPECT_FALSE(tank->mHasValue);
    EntityType* door = manager.GetEntityType("ShipDoor1");
    ASSERT_NE(door, nullptr);
    EXPECT_TRUE(door->mHasValue);
    EXPECT_TRUE(door->mIsBlockingMotion);
    EXPECT_DOUBLE_EQ(door->mJumpSpeed, 2.5);
    EXPECT_EQ(manager.GetEntityType("Short"), nullptr);
    ASSERT_NE(manager.GetEntityType("Odd"), nullptr); // unknown base types are stored all the same
    EXPECT_EQ(manager.GetEntityType("Odd")->mBaseType, "Thing");
    EXPECT_DOUBLE_EQ(manager.GetEntityType("Odd")->mJumpSpeed, 0.0);
    EXPECT_FALSE(manager.InitEntityTypes("missing.cfg", 16));
}

TEST(EntityTypes, TickAdvancesOnlyAnimatedTypes)
{
    EntityTypeManager manager;
    manager.mEntityTypes.emplace("Still", std::make_unique<EntityType>());
    manager.mEntityTypes.emplace("Moving", std::make_unique<EntityType>());
    manager.mEntityTypes["Moving"]->Init("Item", "Moving", 0, 0, 0, true, false, 0.0);
    for (int i = 0; i < 3; ++i)
    {
        manager.Tick();
    }
    EXPECT_EQ(manager.mEntityTypes["Still"]->mFrameCounter, 0u);
    EXPECT_EQ(manager.mEntityTypes["Moving"]->mFrameCounter, 3u);
}
