// Counting what one view of a level draws, to pick the screen that costs the most.
#include "ViewLoad.h"

#include "world/Map.h"

#include <algorithm>
#include <vector>

namespace bench
{
namespace
{
// Area of the part of a box that lies inside the screen.
long long Visible(long long x, long long y, long long width, long long height, int screenWidth,
                  int screenHeight)
{
    const long long w = std::min<long long>(x + width, screenWidth) - std::max<long long>(x, 0);
    const long long h = std::min<long long>(y + height, screenHeight) - std::max<long long>(y, 0);
    return w > 0 && h > 0 ? w * h : 0;
}

// Whether the level drawing draws a cell with this key: not without a tile, for the empty default type,
// for a type that is never drawn ("0") or whose picture is missing.
bool IsDrawn(Map& map, const std::string& key)
{
    const Tile* tile = map.mTileManager->GetTile(key);
    if (tile == nullptr || tile->mTileType == nullptr || tile->mTileType == &Tile::mNonSolidTile)
    {
        return false;
    }
    const TileType& type = *tile->mTileType;
    return type.mImage != "0" && map.mImageManager->GetImage(type.mImage) != nullptr;
}

template <typename Registry>
void AddEntities(const Registry& registry, ViewLoad& load, int screenWidth, int screenHeight)
{
    for (const auto& entry : registry)
    {
        const Entity& entity = *entry.second;
        const long long area =
            Visible(static_cast<long long>(entity.GetX()) - load.cameraX,
                    static_cast<long long>(entity.GetY()) - load.cameraY, entity.GetFrameWidth(),
                    entity.GetFrameHeight(), screenWidth, screenHeight);
        if (area > 0)
        {
            load.entityPixels += area;
            ++load.entities;
        }
    }
}
} // namespace

ViewLoad MeasureView(Map& map, int cameraX, int cameraY, const SDL_Surface* screen)
{
    const int screenWidth = screen->w;
    const int screenHeight = screen->h;
    ViewLoad load;
    load.cameraX = cameraX;
    load.cameraY = cameraY;
    if (!map.mTileManager || !map.mImageManager)
    {
        return load;
    }
    const int size = map.mTileSize;
    for (const auto* layer : {&map.mBackgroundLayer, &map.mCollisionLayer})
    {
        if (layer->size() != static_cast<std::size_t>(map.mWidth) * static_cast<std::size_t>(map.mHeight))
        {
            continue;
        }
        for (int row = 0; row < map.mHeight; ++row)
        {
            for (int column = 0; column < map.mWidth; ++column)
            {
                const long long area = Visible(static_cast<long long>(column) * size - cameraX,
                                               static_cast<long long>(row) * size - cameraY, size, size,
                                               screenWidth, screenHeight);
                if (area > 0 && IsDrawn(map, (*layer)[static_cast<std::size_t>(row) * map.mWidth + column]))
                {
                    load.tilePixels += area;
                }
            }
        }
    }
    if (map.mImageManager->GetImage("sprites") != nullptr)
    {
        AddEntities(map.mEntities, load, screenWidth, screenHeight);
        AddEntities(map.mItems, load, screenWidth, screenHeight);
        AddEntities(map.mEnemies, load, screenWidth, screenHeight);
    }
    return load;
}

namespace
{
// 0, step, 2 step, ... and the last position itself.
std::vector<int> Positions(int range, int step)
{
    std::vector<int> positions;
    for (int position = 0; position < range; position += step)
    {
        positions.push_back(position);
    }
    positions.push_back(range);
    return positions;
}
} // namespace

ViewLoad FindBusiestView(Map& map, const SDL_Surface* screen)
{
    // The drawing centres the camera on the player and keeps it inside the level; a level smaller than
    // the screen has one position on that axis.
    const int rangeX = std::max(map.mWidth * map.mTileSize - screen->w, 0);
    const int rangeY = std::max(map.mHeight * map.mTileSize - screen->h, 0);
    const int step = 4;
    ViewLoad best;
    bool first = true;
    for (int y : Positions(rangeY, step))
    {
        for (int x : Positions(rangeX, step))
        {
            // Where the drawing puts the camera for a player standing at the centre of this view.
            map.CameraCheck(x + screen->w / 2, y + screen->h / 2, screen);
            const ViewLoad load = MeasureView(map, map.mCameraX, map.mCameraY, screen);
            if (first || load.Pixels() > best.Pixels())
            {
                best = load;
                first = false;
            }
        }
    }
    return best;
}
} // namespace bench
