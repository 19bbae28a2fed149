// Swept-box tile collision and the camera clamps.
#include "LevelTest.h"

class CollisionTest : public LevelTest
{
  protected:
    // A 16 x 16 entity at (x, y).
    Entity* At(double x, double y)
    {
        mEntity.Init(x, y, "e", mMap.mEntityTypeManager->GetEntityType("Player"));
        return &mEntity;
    }

    Entity mEntity;
};

TEST_F(CollisionTest, SweptBoxCoversItsLastPixelAndLevelEdgesBlock)
{
    ASSERT_TRUE(LoadLevel({"q", {".#..", "....", "#..."}, {}, ""}));
    TileCollision moved = mMap.GetTileCollision(At(0, 0), 3, 0); // columns 0 and 1
    EXPECT_EQ(moved.mTileX, 1);
    EXPECT_EQ(moved.mTileY, 0);
    // Flush against either side of the wall touches only the neighbouring column.
    TileCollision flush = mMap.GetTileCollision(At(0, 0), 0, 0);
    EXPECT_FALSE(flush.IsBlocked());
    EXPECT_EQ(flush.mTileX, -1);
    EXPECT_EQ(flush.mTileY, -1);
    EXPECT_FALSE(mMap.GetTileCollision(At(32, 0), 32, 0).IsBlocked());

    // -1 truncates to -1 and meets the left edge; -0.5 truncates to 0.
    TileCollision left = mMap.GetTileCollision(At(16, 16), -1, 16);
    EXPECT_EQ(left.mTileX, -1);
    EXPECT_EQ(left.mTileY, 1);
    EXPECT_FALSE(mMap.GetTileCollision(At(16, 16), -0.5, 16).IsBlocked());
    EXPECT_EQ(mMap.GetTileCollision(At(48, 0), 49, 0).mTileX, 4);
    // Above the top row the left edge still blocks, reported at row 0 so it never reads as free.
    TileCollision high = mMap.GetTileCollision(At(0, -10), -2, -10);
    EXPECT_TRUE(high.IsBlocked());
    EXPECT_EQ(high.mTileX, -1);
    EXPECT_EQ(high.mTileY, 0);

    // Rows below the level are skipped: only the rows inside can block.
    EXPECT_EQ(mMap.GetTileCollision(At(0, 40), 0, 41).mTileY, 2);
    EXPECT_FALSE(mMap.GetTileCollision(At(0, 48), 0, 1.0e12).IsBlocked());
}

TEST_F(CollisionTest, HarmIsGatheredInScanOrderUntilTheFirstBlock)
{
    // A second harmful colour of damage 7. Column 0: spikes over a wall; column 1: lava;
    // column 2: spikes over the damage-7 tile; column 3: the damage-7 tile over spikes.
    mDir.WriteFile("data/maps/tiletypes.cfg", test::StandardTileTypes() + "00FF00 tiles 1 0 7 0 0 1\n");
    test::WriteLevel(mDir, {"h", {"....", "...."}, {}, ""});
    mDir.WritePng(
        "data/maps/h_col.png", 4, 2,
        {test::kSpikes, test::kLava, test::kSpikes, 0x00FF00, test::kWall, 0, 0x00FF00, test::kSpikes});
    ASSERT_TRUE(mMap.Load("data/maps/h", mInfo));
    TileCollision wall = mMap.GetTileCollision(At(0, 0), 0, 16);
    EXPECT_EQ(wall.mTileY, 1);
    EXPECT_FALSE(wall.mIsHarmful); // the blocking tile decides
    EXPECT_EQ(wall.mDamage, 0u);
    TileCollision lava = mMap.GetTileCollision(At(16, 0), 16, 0);
    EXPECT_TRUE(lava.IsBlocked() && lava.mIsHarmful);
    EXPECT_EQ(lava.mDamage, 20u);
    EXPECT_EQ(mMap.GetTileCollision(At(32, 0), 32, 16).mDamage, 7u);
    TileCollision last = mMap.GetTileCollision(At(32, 0), 48, 16);
    EXPECT_FALSE(last.IsBlocked());
    EXPECT_EQ(last.mDamage, 5u);
}

TEST(Camera, ClampsToTheLevelAndCentresSmallLevels)
{
    test::SurfacePtr screen = test::MakeSurface(320, 240, 4);
    Map map;
    map.mWidth = 40;
    map.mHeight = 20;
    int x = -30, y = 500;
    map.CheckCameraPos(x, y, screen.get());
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 320 - 240);
    x = 1000;
    map.CheckCameraPos(x, y, screen.get());
    EXPECT_EQ(x, 640 - 320);
    map.mWidth = 10; // narrower than the screen: the upper bound is applied last
    map.CheckCameraPos(x, y, screen.get());
    EXPECT_EQ(x, -160);

    map.mWidth = 100;
    map.CameraCheck(500.9, 5000, screen.get());
    EXPECT_EQ(map.mCameraX, 340);
    EXPECT_EQ(map.mCameraY, 320 - 240);
    map.mWidth = 10;
    map.mHeight = 5;
    map.CameraCheck(80, 40, screen.get());
    EXPECT_EQ(map.mCameraX, -80); // a 160-pixel level sits in the middle of 320
    EXPECT_EQ(map.mCameraY, -80);
}
