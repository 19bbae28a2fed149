// The busy-view search behind the frame benchmark: what a view draws, and which view draws the most.
#include "ViewLoad.h"

#include "TestSupport.h"
#include "WorldFixtures.h"
#include "world/Map.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// A map of rows in the standard legend (collision layer; the background is all sky), with the sprite sheet.
class ViewLoadTest : public ::testing::Test
{
  protected:
    void Load(const std::vector<std::string>& collision, const std::string& placement, bool sprites = true)
    {
        test::WriteWorldData(mDir);
        test::LevelFiles level;
        level.background =
            std::vector<std::string>(collision.size(), std::string(collision.front().size(), '.'));
        level.collision = collision;
        level.placement = placement;
        test::WriteLevel(mDir, level);
        ASSERT_TRUE(mMap.Load("data/maps/level", test::ArgbRendererInfo()));
        if (sprites)
        {
            mMap.mImageManager->AddImage("sprites", "sprites", test::ArgbRendererInfo(), true);
        }
    }

    static std::vector<std::string> Rows(int width, int height)
    {
        return std::vector<std::string>(static_cast<std::size_t>(height),
                                        std::string(static_cast<std::size_t>(width), '.'));
    }

    test::TempDir mDir;
    Map mMap;
    test::SurfacePtr mScreen = test::MakeSurface(320, 240, 4);
};

TEST_F(ViewLoadTest, CountsDrawnCellsAndEntitiesOnlyWhereTheyMeetTheScreen)
{
    auto rows = Rows(30, 15);
    rows[14][0] = '#';  // half inside at camera x 8
    rows[14][25] = '#'; // beyond the right edge
    rows[14][5] = '?';  // an undefined colour is never drawn
    // An enemy fully inside, an item cut in half by the right edge, one far right.
    Load(rows, "Blob1 1 19 5 a\nHealth 1 20 5 b\nHealth 1 28 5 c\n");

    const bench::ViewLoad load = bench::MeasureView(mMap, 8, 0, mScreen.get());
    EXPECT_EQ(load.tilePixels, 8 * 16);
    EXPECT_EQ(load.entityPixels, 16 * 16 + 8 * 16);
    EXPECT_EQ(load.entities, 2);
    EXPECT_EQ(load.Pixels(), 8 * 16 + 16 * 16 + 8 * 16);
}

TEST_F(ViewLoadTest, EntitiesCountOnlyWhenTheSpriteSheetIsThere)
{
    Load(Rows(20, 15), "Blob1 1 3 3 a\n", false);
    EXPECT_EQ(bench::MeasureView(mMap, 0, 0, mScreen.get()).entityPixels, 0);
}

TEST_F(ViewLoadTest, BusiestViewIsTheOneOverTheDenseEnd)
{
    // Walls fill columns 40 to 59; the camera can go from 0 to 640 across and 0 to 80 down.
    auto rows = Rows(60, 20);
    for (auto& row : rows)
    {
        row.replace(40, 20, std::string(20, '#'));
    }
    Load(rows, "");

    const bench::ViewLoad best = bench::FindBusiestView(mMap, mScreen.get());
    EXPECT_EQ(best.cameraX, 640);
    EXPECT_EQ(best.tilePixels, 320 * 240);
    // The chosen camera is one the drawing itself takes for a player in the middle of the view.
    mMap.Render(best.cameraX + 160, best.cameraY + 120, mScreen.get());
    EXPECT_EQ(mMap.mCameraX, best.cameraX);
    EXPECT_EQ(mMap.mCameraY, best.cameraY);
}

TEST_F(ViewLoadTest, BusiestViewOfATallNarrowLevelIsCentredAcrossAndLowestDown)
{
    // 10 x 30: narrower than the screen, so the camera is centred on that axis; walls in the bottom rows.
    auto rows = Rows(10, 30);
    for (int row = 25; row < 30; ++row)
    {
        rows[static_cast<std::size_t>(row)] = std::string(10, '#');
    }
    Load(rows, "");

    const bench::ViewLoad best = bench::FindBusiestView(mMap, mScreen.get());
    EXPECT_EQ(best.cameraX, -80);
    EXPECT_EQ(best.cameraY, 30 * 16 - 240);
    EXPECT_EQ(best.tilePixels, 10 * 5 * 256);
}
} // namespace
