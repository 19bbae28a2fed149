// Drawing a level: which cells are drawn where, animation frames, entities, mirroring and small levels.
#include "LevelTest.h"

using test::SheetPixel;

class RenderTest : public LevelTest
{
protected:
    void Use(const std::vector<std::string>& background, const std::vector<std::string>& collision,
             const std::string& placement = "")
    {
        test::LevelFiles level;
        level.name = "v";
        level.background = background;
        level.collision = collision;
        level.placement = placement;
        ASSERT_TRUE(LoadLevel(level));
    }

    void AddSprites() { mMap.mImageManager->AddImage("sprites", "sprites", mInfo, true); }

    test::SurfacePtr mScreen = MakeScreen();
};

namespace
{
// A rows x columns layer of one character.
std::vector<std::string> Fill(int columns, int rows, char cell)
{
    return std::vector<std::string>(static_cast<std::size_t>(rows), std::string(static_cast<std::size_t>(columns), cell));
}

// Columns alternating wall and lava, so neighbouring cells show different pictures.
std::vector<std::string> Stripes(int columns, int rows)
{
    std::string row;
    for (int c = 0; c < columns; ++c)
    {
        row += (c % 2 == 0) ? '#' : '~';
    }
    return std::vector<std::string>(static_cast<std::size_t>(rows), row);
}
} // namespace

TEST_F(RenderTest, AlignedCameraDrawsTheCellsUnderTheScreen)
{
    Use(Fill(40, 30, '.'), Stripes(40, 30));
    mMap.Render(160 + 32, 120 + 48, mScreen.get()); // camera (32, 48): column 2, row 3
    EXPECT_EQ(mMap.mCameraX, 32);
    EXPECT_EQ(mMap.mCameraY, 48);
    // Column 2 is a wall (sheet x 0..15), column 3 lava (sheet x 32..47).
    EXPECT_EQ(ColourAt(mScreen.get(), 0, 0), SheetPixel(0, 0));
    EXPECT_EQ(ColourAt(mScreen.get(), 15, 15), SheetPixel(15, 15));
    EXPECT_EQ(ColourAt(mScreen.get(), 16, 5), SheetPixel(32, 5));
    EXPECT_EQ(ColourAt(mScreen.get(), 319, 239), SheetPixel(47, 15));
}

TEST_F(RenderTest, UnalignedCameraDrawsOneMoreColumnAndRowPartlyOffScreen)
{
    Use(Fill(40, 30, '.'), Stripes(40, 30));
    mMap.Render(160 + 8, 120 + 4, mScreen.get()); // camera (8, 4)
    // Column 0 is cut by 8 pixels on the left, row 0 by 4 at the top.
    EXPECT_EQ(ColourAt(mScreen.get(), 0, 0), SheetPixel(8, 4));
    EXPECT_EQ(ColourAt(mScreen.get(), 7, 11), SheetPixel(15, 15));
    EXPECT_EQ(ColourAt(mScreen.get(), 8, 0), SheetPixel(32, 4));
    // The 21st column (20, a wall) and the 16th row fill the right and bottom edges.
    EXPECT_EQ(ColourAt(mScreen.get(), 319, 239), SheetPixel(7, 3));
}

TEST_F(RenderTest, CameraIsClampedAtTheLevelEnd)
{
    Use(Fill(40, 30, '.'), Stripes(40, 30));
    mMap.Render(10000, 10000, mScreen.get());
    EXPECT_EQ(mMap.mCameraX, 40 * 16 - 320);
    EXPECT_EQ(mMap.mCameraY, 30 * 16 - 240);
    EXPECT_EQ(ColourAt(mScreen.get(), 319, 239), SheetPixel(47, 15)); // column 39 is lava
}

TEST_F(RenderTest, BothLayersAreDrawnAndEmptyCellsLeaveTheBackground)
{
    // Background: wall in cell (0, 0), sky elsewhere. Collision: lava at (1, 0), undefined colour at (2, 0).
    std::vector<std::string> background = Fill(20, 15, '.');
    background[0][0] = '#';
    std::vector<std::string> collision = Fill(20, 15, '.');
    collision[0][1] = '~';
    collision[0][2] = '?';
    Use(background, collision);
    mMap.Render(0, 0, mScreen.get());
    EXPECT_EQ(ColourAt(mScreen.get(), 3, 3), SheetPixel(3, 3));
    EXPECT_EQ(ColourAt(mScreen.get(), 19, 3), SheetPixel(35, 3));
    EXPECT_EQ(ColourAt(mScreen.get(), 35, 3), 0u); // undefined colour: not drawn
    EXPECT_EQ(ColourAt(mScreen.get(), 100, 100), 0u); // sky has image "0"
}

TEST_F(RenderTest, AnimatedTilesAlternateTwoFramesEveryTenUpdates)
{
    Use(Fill(20, 15, 'w'), Fill(20, 15, '.'));
    TileType* water = mMap.mTileManager->GetTileType("255");
    const std::pair<unsigned, int> cases[] = {{0, 48}, {9, 48}, {10, 64}, {19, 64}, {20, 48}};
    for (const auto& [counter, sourceX] : cases)
    {
        water->mFrameCounter = counter;
        mMap.Render(0, 0, mScreen.get());
        EXPECT_EQ(ColourAt(mScreen.get(), 2, 1), SheetPixel(sourceX + 2, 1)) << "counter " << counter;
    }
}

TEST_F(RenderTest, EntitiesAreDrawnRelativeToTheCameraAndMirroredWhenFacingLeft)
{
    Use(Fill(40, 30, '.'), Fill(40, 30, '.'),
        "Health 0 3 2 a\n"  // item facing left: mirrored
        "Crate 0 5 2 b\n"   // plain entity facing left: never mirrored
        "Blob1 1 7 2 c\n");
    AddSprites();
    mMap.Render(160 + 16, 120, mScreen.get()); // camera (16, 0)
    // Health: sheet (0, 32), drawn at (32, 32), mirrored: the left column shows sheet x 15.
    EXPECT_EQ(ColourAt(mScreen.get(), 32, 32), SheetPixel(15, 32));
    EXPECT_EQ(ColourAt(mScreen.get(), 47, 40), SheetPixel(0, 40));
    // Crate: sheet (160, 32), drawn at (64, 32) as in the sheet.
    EXPECT_EQ(ColourAt(mScreen.get(), 64, 32), SheetPixel(160, 32));
    // Blob1, animated, Walking with 4 frames, counter 0: sheet (0, 16) at (96, 32).
    EXPECT_EQ(ColourAt(mScreen.get(), 96, 33), SheetPixel(0, 17));
}

TEST_F(RenderTest, AnimatedEntitiesShowTheirTypesFrame)
{
    Use(Fill(20, 15, '.'), Fill(20, 15, '.'), "OxygenTank 1 1 1 a\nBlob1 1 3 1 b\n");
    AddSprites();
    mMap.mEntityTypeManager->GetEntityType("OxygenTank")->mFrameCounter = 10; // Standing: 2 frames
    mMap.mEntityTypeManager->GetEntityType("Blob1")->mFrameCounter = 35;      // Walking: 4 frames
    mMap.Render(0, 0, mScreen.get());
    EXPECT_EQ(ColourAt(mScreen.get(), 16, 16), SheetPixel(32 + 16, 32));
    EXPECT_EQ(ColourAt(mScreen.get(), 48, 16), SheetPixel(0 + 3 * 16, 16));

    // A state without frames shows frame 0 instead of dividing by zero.
    mMap.GetEntity("Item", "OxygenTank")->SetState(JumpingArmed);
    mMap.Render(0, 0, mScreen.get());
    EXPECT_EQ(ColourAt(mScreen.get(), 16, 16), SheetPixel(32, 32));
}

TEST_F(RenderTest, EnemiesLieOverItemsOverPlainEntities)
{
    Use(Fill(20, 15, '.'), Fill(20, 15, '.'), "Blob1 1 1 1 a\nHealth 1 1 1 b\nCrate 1 1 1 c\n");
    AddSprites();
    mMap.Render(0, 0, mScreen.get());
    EXPECT_EQ(ColourAt(mScreen.get(), 16, 16), SheetPixel(0, 16));
    mMap.RemoveEntity("Enemy", "Blob1");
    mMap.Render(0, 0, mScreen.get());
    EXPECT_EQ(ColourAt(mScreen.get(), 16, 16), SheetPixel(0, 32));
}

TEST_F(RenderTest, WithoutSpritesTilesAreDrawnButNoEntity)
{
    Use(Fill(20, 15, '.'), Stripes(20, 15), "Health 1 1 1 b\n");
    mMap.Render(0, 0, mScreen.get());
    EXPECT_EQ(ColourAt(mScreen.get(), 16, 16), SheetPixel(32, 0)); // the lava tile, not the item
}

TEST_F(RenderTest, SmallLevelIsCentredWithItsEntities)
{
    // 10 x 5 tiles = 160 x 80 pixels on a 320 x 240 screen: 80 pixels margin each side.
    Use(Fill(10, 5, '.'), Stripes(10, 5), "Health 1 2 1 a\n");
    AddSprites();
    mMap.Render(0, 0, mScreen.get());
    EXPECT_EQ(mMap.mCameraX, -80);
    EXPECT_EQ(mMap.mCameraY, -80);
    EXPECT_EQ(ColourAt(mScreen.get(), 79, 80), 0u);
    EXPECT_EQ(ColourAt(mScreen.get(), 80, 80), SheetPixel(0, 0));
    EXPECT_EQ(ColourAt(mScreen.get(), 239, 159), SheetPixel(47, 15)); // the last cell, lava
    EXPECT_EQ(ColourAt(mScreen.get(), 240, 159), 0u);
    // The item at level (32, 16) sits on its cell, at screen (112, 96).
    EXPECT_EQ(ColourAt(mScreen.get(), 112, 96), SheetPixel(0, 32));
}
