// Swept-box tile collision, tile lookup, animation ticks and the camera clamps.
#include "LevelTest.h"

class CollisionTest : public LevelTest
{
protected:
    void Use(const std::vector<std::string>& rows)
    {
        test::LevelFiles level;
        level.name = "q";
        level.background = rows;
        ASSERT_TRUE(LoadLevel(level));
    }

    // A 16 x 16 entity at (x, y) with a jump speed, so that it could move vertically.
    Entity& At(double x, double y)
    {
        mEntity.Init(x, y, "e", mMap.mEntityTypeManager->GetEntityType("Player"));
        return mEntity;
    }

    Entity mEntity;
};

TEST_F(CollisionTest, SweptBoxIncludesItsLastPixelAndNothingBeyond)
{
    Use({".#..", "....", "...."});
    // (0, 0) to (3, 0): columns 0 and 1 are scanned, and column 1 holds a wall.
    TileCollision moved = mMap.GetTileCollision(&At(0, 0), 3, 0);
    EXPECT_TRUE(moved.IsBlocked());
    EXPECT_EQ(moved.mTileX, 1);
    EXPECT_EQ(moved.mTileY, 0);
    // Right edge exactly at the wall's left side: x = 0, last pixel 15, only column 0.
    TileCollision flush = mMap.GetTileCollision(&At(0, 0), 0, 0);
    EXPECT_FALSE(flush.IsBlocked());
    EXPECT_EQ(flush.mTileX, -1);
    EXPECT_EQ(flush.mTileY, -1);
    // Flush against its right side (x = 32) is free too; x = 16 lies on it.
    EXPECT_FALSE(mMap.GetTileCollision(&At(32, 0), 32, 0).IsBlocked());
    EXPECT_EQ(mMap.GetTileCollision(&At(16, 16), 16, 15).mTileY, 0);
    EXPECT_FALSE(mMap.GetTileCollision(&At(16, 16), 16, 16).IsBlocked());
}

TEST_F(CollisionTest, LevelEdgesBlockLikeWallsButNotAboveOrBelow)
{
    Use({"....", "....", "...."});
    // -1 truncates to -1 and reaches column -1; -0.5 truncates to 0.
    TileCollision left = mMap.GetTileCollision(&At(0, 16), -1, 16);
    EXPECT_TRUE(left.IsBlocked());
    EXPECT_EQ(left.mTileX, -1);
    EXPECT_EQ(left.mTileY, 1);
    EXPECT_FALSE(mMap.GetTileCollision(&At(0, 16), -0.5, 16).IsBlocked());
    TileCollision right = mMap.GetTileCollision(&At(48, 0), 49, 0);
    EXPECT_EQ(right.mTileX, 4);
    EXPECT_EQ(right.mTileY, 0);
    // Rows above and below the level block nothing.
    EXPECT_FALSE(mMap.GetTileCollision(&At(16, 40), 16, 400).IsBlocked());
    EXPECT_FALSE(mMap.GetTileCollision(&At(16, -40), 16, -20).IsBlocked());
    // A jump above the top row into the left edge must still block, though it is reported at
    // column -1: the row is reported as 0 so the pair never reads as a free move.
    TileCollision high = mMap.GetTileCollision(&At(0, -10), -2, -10);
    EXPECT_TRUE(high.IsBlocked());
    EXPECT_EQ(high.mTileX, -1);
    EXPECT_EQ(high.mTileY, 0);
    // Far beyond the level in both directions stays cheap and sensible.
    EXPECT_FALSE(mMap.GetTileCollision(&At(16, 1.0e12), 16, 1.0e12 + 50).IsBlocked());
}

TEST_F(CollisionTest, PartlyBelowTheLastRowOnlyRowsInsideCanBlock)
{
    Use({"....", "....", "#..."});
    TileCollision result = mMap.GetTileCollision(&At(0, 40), 0, 41); // rows 2 and 3
    EXPECT_EQ(result.mTileX, 0);
    EXPECT_EQ(result.mTileY, 2);
    EXPECT_FALSE(mMap.GetTileCollision(&At(0, 48), 0, 49).IsBlocked());
}

TEST_F(CollisionTest, HarmIsGatheredInScanOrderUntilTheFirstBlock)
{
    // Column 0: spikes over a wall. Column 1: spikes over lava.
    Use({"^^..", "#~..", "...."});
    TileCollision wall = mMap.GetTileCollision(&At(0, 0), 0, 1); // rows 0 and 1 of column 0
    EXPECT_EQ(wall.mTileX, 0);
    EXPECT_EQ(wall.mTileY, 1);
    EXPECT_FALSE(wall.mIsHarmful); // the blocking tile decides
    EXPECT_EQ(wall.mDamage, 0u);
    TileCollision lava = mMap.GetTileCollision(&At(16, 0), 16, 1);
    EXPECT_EQ(lava.mTileX, 1);
    EXPECT_TRUE(lava.mIsHarmful);
    EXPECT_EQ(lava.mDamage, 20u);
    TileCollision spikes = mMap.GetTileCollision(&At(0, 0), 20, 0); // row 0 of columns 0 to 2
    EXPECT_FALSE(spikes.IsBlocked());
    EXPECT_TRUE(spikes.mIsHarmful);
    EXPECT_EQ(spikes.mDamage, 5u);
}

TEST_F(CollisionTest, LastHarmfulTileScannedSetsTheDamage)
{
    // A second harmful colour of damage 7. Column 0: spikes over it; column 1: it over spikes.
    mDir.WriteFile("data/maps/tiletypes.cfg", test::StandardTileTypes() + "00FF00 tiles 1 0 7 0 0 1\n");
    test::LevelFiles level;
    level.name = "h";
    level.background = {"..", ".."};
    test::WriteLevel(mDir, level);
    mDir.WritePng("data/maps/h_col.png", 2, 2, {test::kSpikes, 0x00FF00, 0x00FF00, test::kSpikes});
    ASSERT_TRUE(mMap.Load("data/maps/h", mInfo));
    EXPECT_EQ(mMap.GetTileCollision(&At(0, 0), 0, 16).mDamage, 7u);
    EXPECT_EQ(mMap.GetTileCollision(&At(16, 0), 16, 16).mDamage, 5u);
    TileCollision both = mMap.GetTileCollision(&At(0, 0), 16, 16); // column 1 is scanned last
    EXPECT_FALSE(both.IsBlocked());
    EXPECT_TRUE(both.mIsHarmful);
    EXPECT_EQ(both.mDamage, 5u);
}

TEST_F(CollisionTest, GetTileChecksBoundsAndLayer)
{
    Use({".#", "w."});
    EXPECT_EQ(mMap.GetTile(1, 0, 1)->mName, "8421504");
    EXPECT_EQ(mMap.GetTile(0, 1, 0)->mName, "255");
    EXPECT_EQ(mMap.GetTile(0, 0, 2), nullptr);
    EXPECT_EQ(mMap.GetTile(-1, 0, 0), nullptr);
    EXPECT_EQ(mMap.GetTile(0, 2, 0), nullptr);
    EXPECT_EQ(mMap.GetTile(2, 0, 1), nullptr);
}

TEST_F(CollisionTest, TickAdvancesTileAndEntityAnimations)
{
    Use({"w"});
    mMap.Tick();
    mMap.Tick();
    EXPECT_EQ(mMap.mTileManager->GetTileType("255")->mFrameCounter, 2u);
    EXPECT_EQ(mMap.mTileManager->GetTileType("8421504")->mFrameCounter, 0u);
    EXPECT_EQ(mMap.mEntityTypeManager->GetEntityType("OxygenTank")->mFrameCounter, 2u);
    EXPECT_EQ(mMap.mEntityTypeManager->GetEntityType("Health")->mFrameCounter, 0u);
    Map empty;
    empty.Tick(); // nothing loaded: nothing to advance
}

TEST(Camera, CheckCameraPosClampsToTheLevel)
{
    test::SurfacePtr screen = test::MakeSurface(320, 240, 4);
    Map map;
    map.mWidth = 40;
    map.mHeight = 20;
    int x = -30, y = 500;
    map.CheckCameraPos(x, y, screen.get());
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 20 * 16 - 240);
    x = 1000;
    y = 10;
    map.CheckCameraPos(x, y, screen.get());
    EXPECT_EQ(x, 40 * 16 - 320);
    EXPECT_EQ(y, 10);

    map.mWidth = 20;
    x = 77;
    map.CheckCameraPos(x, y, screen.get());
    EXPECT_EQ(x, 0);
    map.mWidth = 10; // narrower than the screen: the upper bound wins
    x = 77;
    map.CheckCameraPos(x, y, screen.get());
    EXPECT_EQ(x, -160);
}

TEST(Camera, CameraCheckCentresOnThePointAndSmallLevelsOnTheScreen)
{
    test::SurfacePtr screen = test::MakeSurface(320, 240, 4);
    Map map;
    map.mWidth = 100;
    map.mHeight = 50;
    map.CameraCheck(500.9, 300.5, screen.get());
    EXPECT_EQ(map.mCameraX, 340);
    EXPECT_EQ(map.mCameraY, 180);
    map.CameraCheck(10, 10, screen.get());
    EXPECT_EQ(map.mCameraX, 0);
    EXPECT_EQ(map.mCameraY, 0);
    map.CameraCheck(5000, 5000, screen.get());
    EXPECT_EQ(map.mCameraX, 1600 - 320);
    EXPECT_EQ(map.mCameraY, 800 - 240);
    map.mWidth = 10;
    map.mHeight = 5;
    map.CameraCheck(80, 40, screen.get());
    EXPECT_EQ(map.mCameraX, -80); // a 160-pixel level sits in the middle of 320
    EXPECT_EQ(map.mCameraY, -80);
}
