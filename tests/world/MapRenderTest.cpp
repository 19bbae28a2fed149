// Drawing a level, checked on screen pixels: every sheet pixel tells where it came from.
#include "LevelTest.h"

using test::SheetPixel;

class RenderTest : public LevelTest
{
  protected:
    // Collision layer of columns alternating wall (sheet x 0) and lava (sheet x 32), empty background.
    void UseStripes(int columns, int rows, const std::string& placement = "")
    {
        std::string row;
        for (int c = 0; c < columns; ++c)
        {
            row += (c % 2 == 0) ? '#' : '~';
        }
        std::vector<std::string> sky(rows, std::string(columns, '.'));
        ASSERT_TRUE(LoadLevel({"v", sky, std::vector<std::string>(rows, row), placement}));
    }

    std::uint32_t At(int x, int y) { return ColourAt(mScreen.get(), x, y); }

    test::SurfacePtr mScreen = MakeScreen();
};

TEST_F(RenderTest, VisibleCellsFollowTheCamera)
{
    UseStripes(40, 30);
    mMap.Render(160 + 32, 120 + 48, mScreen.get()); // aligned: camera (32, 48)
    EXPECT_EQ(At(0, 0), SheetPixel(0, 0));
    EXPECT_EQ(At(16, 5), SheetPixel(32, 5));
    EXPECT_EQ(At(319, 239), SheetPixel(47, 15));

    mMap.Render(160 + 8, 120 + 4, mScreen.get()); // camera (8, 4): one more column and row
    EXPECT_EQ(At(0, 0), SheetPixel(8, 4));
    EXPECT_EQ(At(8, 0), SheetPixel(32, 4));
    EXPECT_EQ(At(319, 239), SheetPixel(7, 3)); // the 21st column, a wall, in the 16th row

    mMap.Render(10000, -50, mScreen.get());
    EXPECT_EQ(mMap.mCameraX, 40 * 16 - 320);
    EXPECT_EQ(mMap.mCameraY, 0);
}

TEST_F(RenderTest, LayersEmptyCellsAndAnimatedTiles)
{
    std::vector<std::string> background(15, std::string(20, '.'));
    background[0][0] = '#';
    background[0][3] = 'w';
    std::vector<std::string> collision(15, std::string(20, '.'));
    collision[0][1] = '~';
    collision[0][2] = '?';
    ASSERT_TRUE(LoadLevel({"l", background, collision, ""}));
    mMap.Render(0, 0, mScreen.get());
    EXPECT_EQ(At(3, 3), SheetPixel(3, 3));   // background wall
    EXPECT_EQ(At(19, 3), SheetPixel(35, 3)); // collision lava
    EXPECT_EQ(At(35, 3), 0u);                // undefined colour: not drawn
    EXPECT_EQ(At(100, 100), 0u);             // sky has the image "0"

    TileType* water = mMap.mTileManager->GetTileType("255");
    const std::pair<unsigned, int> frames[] = {{9, 48}, {10, 64}, {19, 64}, {20, 48}};
    for (const auto& [counter, sourceX] : frames)
    {
        water->mFrameCounter = counter;
        mMap.Render(0, 0, mScreen.get());
        EXPECT_EQ(At(48 + 2, 1), SheetPixel(sourceX + 2, 1)) << "counter " << counter;
    }
}

TEST_F(RenderTest, AnimatedTilesUnderStillOnesAndCellsChangedInPlay)
{
    std::vector<std::string> background(15, std::string(20, '.'));
    background[0][0] = 'w'; // animated water under lava
    std::vector<std::string> collision(15, std::string(20, '.'));
    collision[0][0] = '~';
    collision[0][2] = '#';
    ASSERT_TRUE(LoadLevel({"c", background, collision, ""}));
    TileType* water = mMap.mTileManager->GetTileType("255");
    for (unsigned counter : {0u, 10u})
    {
        water->mFrameCounter = counter;
        mMap.Render(0, 0, mScreen.get());
        EXPECT_EQ(At(2, 1), SheetPixel(32 + 2, 1)) << "counter " << counter;
    }

    // Cells changed after they were drawn show at the next frame, the sky through an emptied one.
    const std::string lava = mMap.mCollisionLayer[0];
    const std::string sky = mMap.mCollisionLayer[1];
    mMap.SetTile(2, 0, 1, sky);
    mMap.SetTile(5, 0, 1, lava);
    SDL_FillRect(mScreen.get(), nullptr, 0x123456);
    mMap.Render(0, 0, mScreen.get());
    EXPECT_EQ(At(32 + 3, 3), 0x123456u);
    EXPECT_EQ(At(80 + 3, 3), SheetPixel(32 + 3, 3));
    EXPECT_EQ(mMap.GetTile(5, 0, 1), mMap.mTileManager->GetTile(lava));
}

TEST_F(RenderTest, EntitiesFramesMirroringAndOrder)
{
    UseStripes(40, 30,
               "Health 0 3 2 a\n" // item facing left: mirrored
               "Crate 0 5 2 b\n"  // plain entity facing left: never mirrored
               "Blob1 1 7 2 c\n"  // animated, Walking: 4 frames
               "OxygenTank 1 9 2 d\nBlob1 1 9 2 e\n");
    mMap.Render(160 + 16, 120, mScreen.get());
    EXPECT_EQ(At(33, 32), SheetPixel(33, 0)); // no "sprites": only the lava tile under the item
    mMap.mImageManager->AddImage("sprites", "sprites", mInfo, true);
    mMap.mEntityTypeManager->GetEntityType("Blob1")->mFrameCounter = 35;
    mMap.Render(160 + 16, 120, mScreen.get()); // camera (16, 0)
    EXPECT_EQ(At(32, 32), SheetPixel(15, 32)); // Health at (32, 32), mirrored
    EXPECT_EQ(At(47, 40), SheetPixel(0, 40));
    EXPECT_EQ(At(64, 32), SheetPixel(160, 32)); // Crate as in the sheet
    EXPECT_EQ(At(96, 33), SheetPixel(48, 17));  // Blob1 in frame 3
    EXPECT_EQ(At(128, 32), SheetPixel(48, 16)); // the enemy lies over the item

    // A state without frames shows frame 0 instead of dividing by zero.
    mMap.RemoveEntity("Enemy", "Blob1");
    mMap.mEntityTypeManager->GetEntityType("OxygenTank")->mFrameCounter = 10;
    mMap.Render(160 + 16, 120, mScreen.get());
    EXPECT_EQ(At(128, 32), SheetPixel(48, 32)); // Standing: 2 frames, frame 1
    mMap.GetEntity("Item", "OxygenTank")->SetState(JumpingArmed);
    mMap.Render(160 + 16, 120, mScreen.get());
    EXPECT_EQ(At(128, 32), SheetPixel(32, 32));
}

TEST_F(RenderTest, SmallLevelIsCentredWithItsEntities)
{
    UseStripes(10, 5, "Health 1 2 1 a\n"); // 160 x 80 pixels: 80 pixels of margin each side
    mMap.mImageManager->AddImage("sprites", "sprites", mInfo, true);
    mMap.Render(0, 0, mScreen.get());
    EXPECT_EQ(At(79, 80), 0u);
    EXPECT_EQ(At(80, 80), SheetPixel(0, 0));
    EXPECT_EQ(At(239, 159), SheetPixel(47, 15));
    EXPECT_EQ(At(240, 159), 0u);
    EXPECT_EQ(At(112, 96), SheetPixel(0, 32)); // the item at level (32, 16)
}
