// Drawing the visible part of a level: both tile layers, then the registered entities.
#include "world/Map.h"

#include "graphics/Image.h"

#include <algorithm>

namespace
{
int TruncateToScreen(double value)
{
    // Positions far outside any screen are clamped before truncation; they draw nothing either way.
    return static_cast<int>(std::clamp(value, -1.0e9, 1.0e9));
}
} // namespace

void Map::Render(double x, double y, SDL_Surface* screen)
{
    mCameraX = TruncateToScreen(x) - screen->w / 2;
    mCameraY = TruncateToScreen(y) - screen->h / 2;
    CheckCameraPos(mCameraX, mCameraY, screen);
    CentreSmallLevel(mCameraX, mCameraY, screen);

    if (!mTileManager || !mImageManager)
    {
        return; // nothing loaded yet
    }
    DrawLayer(mBackgroundLayer, screen);
    DrawLayer(mCollisionLayer, screen);

    Image* sprites = mImageManager->GetImage("sprites");
    if (sprites == nullptr)
    {
        return;
    }
    // Plain entities face as in the sheet; items and enemies facing left are mirrored.
    for (auto& entry : mEntities)
    {
        DrawEntity(entry.second.get(), sprites, false, screen);
    }
    for (auto& entry : mItems)
    {
        DrawEntity(entry.second.get(), sprites, true, screen);
    }
    for (auto& entry : mEnemies)
    {
        DrawEntity(entry.second.get(), sprites, true, screen);
    }
}

void Map::DrawLayer(const std::vector<std::string>& layer, SDL_Surface* screen)
{
    if (layer.size() != static_cast<std::size_t>(mWidth) * static_cast<std::size_t>(mHeight))
    {
        return;
    }
    // Only the cells under the screen: one extra column or row when the view is off the tile grid.
    // A negative camera (a small, centred level) starts at the first cell.
    int firstColumn = std::max(mCameraX / mTileSize, 0);
    int lastColumn = std::min((mCameraX + screen->w - 1) / mTileSize, mWidth - 1);
    int firstRow = std::max(mCameraY / mTileSize, 0);
    int lastRow = std::min((mCameraY + screen->h - 1) / mTileSize, mHeight - 1);

    // Consecutive cells usually share a tile, so the image of the last one is remembered.
    const TileType* lastType = nullptr;
    Image* lastImage = nullptr;
    for (int row = firstRow; row <= lastRow; ++row)
    {
        for (int column = firstColumn; column <= lastColumn; ++column)
        {
            const std::string& key = layer[static_cast<std::size_t>(row) * mWidth + column];
            Tile* tile = mTileManager->GetTile(key);
            if (tile == nullptr || tile->mTileType == nullptr || tile->mTileType == &Tile::mNonSolidTile)
            {
                continue;
            }
            const TileType* type = tile->mTileType;
            if (type != lastType)
            {
                lastType = type;
                lastImage = type->mImage == "0" ? nullptr : mImageManager->GetImage(type->mImage);
            }
            if (lastImage == nullptr)
            {
                continue;
            }
            int sourceX = static_cast<int>(type->mSourceX);
            if (type->mIsAnimated)
            {
                // Two frames side by side, each shown for 10 updates.
                sourceX += mTileSize * static_cast<int>((type->mFrameCounter / 10) % 2);
            }
            lastImage->Draw(screen, column * mTileSize - mCameraX, row * mTileSize - mCameraY, sourceX,
                            static_cast<int>(type->mSourceY), mTileSize, mTileSize);
        }
    }
}

void Map::DrawEntity(Entity* entity, Image* sprites, bool mirrorLeft, SDL_Surface* screen)
{
    const EntityType* type = entity->GetEntityType();
    if (type == nullptr)
    {
        return;
    }
    int width = entity->GetFrameWidth();
    int height = entity->GetFrameHeight();
    int sourceX = static_cast<int>(type->mSourceX);
    if (entity->GetIsAnimated())
    {
        sourceX += width * static_cast<int>(entity->GetAnimationFrame());
    }
    int destX = TruncateToScreen(entity->GetX() - mCameraX);
    int destY = TruncateToScreen(entity->GetY() - mCameraY);
    if (mirrorLeft && !entity->GetDirection())
    {
        sprites->DrawFlipped(screen, destX, destY, sourceX, static_cast<int>(type->mSourceY), width, height);
    }
    else
    {
        sprites->Draw(screen, destX, destY, sourceX, static_cast<int>(type->mSourceY), width, height);
    }
}
