// Questions a loaded level answers: tiles at cells, swept-box collision, and the camera clamps.
#include "world/Map.h"

#include "graphics/Utils.h"

#include <algorithm>

void Map::Tick()
{
    if (mTileManager)
    {
        mTileManager->Tick();
    }
    if (mEntityTypeManager)
    {
        mEntityTypeManager->Tick();
    }
}

Tile* Map::GetTile(int x, int y, int layer)
{
    if (x < 0 || y < 0 || x >= mWidth || y >= mHeight || !mTileManager)
    {
        return nullptr;
    }
    const std::vector<std::string>* cells = nullptr;
    if (layer == 0)
    {
        cells = &mBackgroundLayer;
    }
    else if (layer == 1)
    {
        cells = &mCollisionLayer;
    }
    else
    {
        return nullptr;
    }
    std::size_t index =
        static_cast<std::size_t>(y) * static_cast<std::size_t>(mWidth) + static_cast<std::size_t>(x);
    if (index >= cells->size())
    {
        return nullptr; // layers are empty after Clear
    }
    return mTileManager->GetTile((*cells)[index]);
}

TileCollision Map::GetTileCollision(Entity* entity, double x, double y)
{
    TileCollision result;
    double left = std::min(entity->GetX(), x);
    double top = std::min(entity->GetY(), y);
    double right = std::max(entity->GetX(), x);
    double bottom = std::max(entity->GetY(), y);

    // The box's last pixel column and row are part of it, hence the - 1.
    int c0 = Utils::TruncateToInt(left) >> mTileShift;
    int r0 = Utils::TruncateToInt(top) >> mTileShift;
    int c1 = Utils::TruncateToInt(right + entity->GetFrameWidth() - 1) >> mTileShift;
    int r1 = Utils::TruncateToInt(bottom + entity->GetFrameHeight() - 1) >> mTileShift;

    // Rows above and below the level never block or hurt, so they need not be visited.
    int firstRow = std::max(r0, 0);
    int lastRow = std::min(r1, mHeight - 1);

    // Neighbouring cells mostly hold the same key, and a lookup in the tile catalogue costs several text
    // comparisons, so the tile of the last key looked up is reused while the key repeats.
    const std::string* lastKey = nullptr;
    Tile* lastTile = nullptr;
    for (int c = c0; c <= c1; ++c)
    {
        if (c < 0 || c >= mWidth)
        {
            // The left and right edges of the level block like walls, reported at the first row swept.
            // Column -1 at row -1 would read as a free move, so that one report names row 0 instead.
            result.mTileX = c;
            result.mTileY = (c == -1 && r0 == -1) ? 0 : r0;
            result.mIsBlocked = true;
            return result;
        }
        for (int r = firstRow; r <= lastRow; ++r)
        {
            // As GetTile(c, r, 1): no tile without a catalogue or beyond an emptied layer.
            const std::size_t index =
                static_cast<std::size_t>(r) * static_cast<std::size_t>(mWidth) + static_cast<std::size_t>(c);
            if (!mTileManager || index >= mCollisionLayer.size())
            {
                continue;
            }
            const std::string& key = mCollisionLayer[index];
            if (lastKey == nullptr || key != *lastKey)
            {
                lastTile = mTileManager->GetTile(key);
                lastKey = &key;
            }
            Tile* tile = lastTile;
            if (tile == nullptr || tile->mTileType == nullptr)
            {
                continue;
            }
            const TileType* type = tile->mTileType;
            if (type->mIsBlockingMotion)
            {
                result.mTileX = c;
                result.mTileY = r;
                result.mIsBlocked = true;
                result.mIsHarmful = type->mIsHarmful;
                result.mDamage = type->mDamage;
                return result;
            }
            if (type->mIsHarmful)
            {
                // A later harmful tile in scan order replaces the damage of an earlier one.
                result.mIsHarmful = true;
                result.mDamage = type->mDamage;
            }
        }
    }
    return result;
}

void Map::CheckCameraPos(int& x, int& y, const SDL_Surface* screen)
{
    if (x <= 0)
    {
        x = 0;
    }
    if (y <= 0)
    {
        y = 0;
    }
    // Applied last: a level smaller than the screen gives a negative position.
    x = std::min(x, mWidth * mTileSize - screen->w);
    y = std::min(y, mHeight * mTileSize - screen->h);
}

void Map::CentreSmallLevel(int& x, int& y, const SDL_Surface* screen) const
{
    int levelWidth = mWidth * mTileSize;
    int levelHeight = mHeight * mTileSize;
    if (levelWidth < screen->w)
    {
        x = -((screen->w - levelWidth) / 2);
    }
    if (levelHeight < screen->h)
    {
        y = -((screen->h - levelHeight) / 2);
    }
}

void Map::CameraCheck(double x, double y, const SDL_Surface* screen)
{
    mCameraX = std::max(Utils::TruncateToInt(x) - screen->w / 2, 0);
    mCameraY = std::max(Utils::TruncateToInt(y) - screen->h / 2, 0);
    mCameraX = std::min(mCameraX, mWidth * mTileSize - screen->w);
    mCameraY = std::min(mCameraY, mHeight * mTileSize - screen->h);
    CentreSmallLevel(mCameraX, mCameraY, screen);
}
