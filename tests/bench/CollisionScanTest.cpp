// The swept-box tile collision, sped up for crowded levels, must answer exactly as the plain scan of the
// collision layer does: the same blocking cell, harm and damage for every box and move.
#include "TestSupport.h"
#include "WorldFixtures.h"
#include "world/Map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace
{
// The rules written out plainly, one GetTile per cell: columns left to right, each top to bottom; the
// level's side edges block like walls (row 0 stands in for row -1 there), rows above and below never do.
TileCollision PlainScan(Map& map, Entity& entity, double x, double y)
{
    const auto cell = [&map](double value)
    { return static_cast<int>(std::clamp(value, -2.0e9, 2.0e9)) >> map.mTileShift; };
    const int c0 = cell(std::min(entity.GetX(), x));
    const int r0 = cell(std::min(entity.GetY(), y));
    const int c1 = cell(std::max(entity.GetX(), x) + entity.GetFrameWidth() - 1);
    const int r1 = cell(std::max(entity.GetY(), y) + entity.GetFrameHeight() - 1);
    TileCollision result;
    for (int c = c0; c <= c1; ++c)
    {
        if (c < 0 || c >= map.mWidth)
        {
            result.mTileX = c;
            result.mTileY = (c == -1 && r0 == -1) ? 0 : r0;
            result.mIsBlocked = true;
            return result;
        }
        for (int r = std::max(r0, 0); r <= std::min(r1, map.mHeight - 1); ++r)
        {
            const Tile* tile = map.GetTile(c, r, 1);
            if (tile == nullptr || tile->mTileType == nullptr)
            {
                continue;
            }
            const TileType& type = *tile->mTileType;
            if (type.mIsBlockingMotion)
            {
                result.mTileX = c;
                result.mTileY = r;
                result.mIsBlocked = true;
                result.mIsHarmful = type.mIsHarmful;
                result.mDamage = type.mDamage;
                return result;
            }
            if (type.mIsHarmful)
            {
                result.mIsHarmful = true;
                result.mDamage = type.mDamage;
            }
        }
    }
    return result;
}

bool Same(const TileCollision& a, const TileCollision& b)
{
    return a.mTileX == b.mTileX && a.mTileY == b.mTileY && a.mIsBlocked == b.mIsBlocked &&
           a.mIsHarmful == b.mIsHarmful && a.mDamage == b.mDamage;
}

TEST(CollisionScan, AnswersAsThePlainScanForRandomBoxesAndMoves)
{
    test::TempDir dir;
    test::WriteWorldData(dir);
    // Long runs of one colour (where cells repeat) beside single odd cells, all kinds of tile.
    const std::string kinds = "..........###^~w?";
    std::mt19937 random(7);
    std::vector<std::string> rows(12, std::string(24, '.'));
    for (auto& row : rows)
    {
        for (std::size_t column = 0; column < row.size(); ++column)
        {
            const bool repeat = column > 0 && random() % 3 != 0;
            row[column] = repeat ? row[column - 1] : kinds[random() % kinds.size()];
        }
    }
    test::WriteLevel(dir, {"scan", std::vector<std::string>(12, std::string(24, '.')), rows, ""});
    Map map;
    ASSERT_TRUE(map.Load("data/maps/scan", test::ArgbRendererInfo()));

    EntityTypeManager types;
    types.InitEntityTypes("data/maps/entitytypes.cfg", 16);
    std::uniform_real_distribution<double> position(-40.0, 24 * 16 + 40.0);
    std::uniform_real_distribution<double> step(-20.0, 20.0);
    std::uniform_int_distribution<int> size(1, 40);
    for (int trial = 0; trial < 20000; ++trial)
    {
        Entity entity;
        entity.Init(position(random), position(random) * 0.5, "e", types.GetEntityType("Blob1"));
        entity.SetFrameWidth(size(random));
        entity.SetFrameHeight(size(random));
        const double x = entity.GetX() + (trial % 2 == 0 ? step(random) : 0.0);
        const double y = entity.GetY() + (trial % 2 == 1 ? step(random) : 0.0);
        const TileCollision fast = map.GetTileCollision(&entity, x, y);
        const TileCollision plain = PlainScan(map, entity, x, y);
        ASSERT_TRUE(Same(fast, plain))
            << "trial " << trial << ": box " << entity.GetFrameWidth() << "x" << entity.GetFrameHeight()
            << " from (" << entity.GetX() << ", " << entity.GetY() << ") to (" << x << ", " << y << ")";
    }
}

TEST(CollisionScan, AnEmptiedLevelBlocksOnlyAtItsEdges)
{
    test::TempDir dir;
    test::WriteWorldData(dir);
    test::WriteLevel(dir, {"empty", {"####", "####"}, {}, ""});
    Map map;
    ASSERT_TRUE(map.Load("data/maps/empty", test::ArgbRendererInfo()));
    EntityTypeManager types;
    types.InitEntityTypes("data/maps/entitytypes.cfg", 16);
    Entity entity;
    entity.Init(16, 0, "e", types.GetEntityType("Blob1"));
    ASSERT_TRUE(map.GetTileCollision(&entity, 17, 0).IsBlocked());

    map.Clear(); // the layers are gone, the size stays
    EXPECT_FALSE(map.GetTileCollision(&entity, 17, 0).IsBlocked());
    EXPECT_EQ(map.GetTileCollision(&entity, -1, 0).mTileX, -1);
}
} // namespace
