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

// A tile can be kept in the layer picture when its see-through pixels are exactly its 0 pixels, as
// for every tile sheet loaded from a file.
bool SeeThroughOnZero(const Image& image)
{
    Uint32 key = 0;
    return image.mHasColorKey && (SDL_GetColorKey(image.mSurface, &key) != 0 || key == 0);
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
    DrawLayers(screen);

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

void Map::SetTile(int x, int y, int layer, const std::string& key)
{
    std::vector<std::string>* cells = layer == 0   ? &mBackgroundLayer
                                      : layer == 1 ? &mCollisionLayer
                                                   : nullptr;
    if (cells == nullptr || x < 0 || y < 0 || x >= mWidth || y >= mHeight)
    {
        return;
    }
    const std::size_t index = static_cast<std::size_t>(y) * static_cast<std::size_t>(mWidth) + x;
    if (index >= cells->size())
    {
        return; // layers are empty after Clear
    }
    (*cells)[index] = key;
    if (mLayerCache)
    {
        mLayerCache->Forget(x, y);
    }
}

Map::CellRange Map::VisibleCells(const SDL_Surface* screen) const
{
    // Only the cells under the screen: one extra column or row when the view is off the tile grid.
    // A negative camera (a small, centred level) starts at the first cell.
    return CellRange{
        std::max(mCameraX / mTileSize, 0), std::min((mCameraX + screen->w - 1) / mTileSize, mWidth - 1),
        std::max(mCameraY / mTileSize, 0), std::min((mCameraY + screen->h - 1) / mTileSize, mHeight - 1)};
}

Map::TileArt Map::ArtAt(const std::vector<std::string>& layer, std::size_t cell, TileArt& last)
{
    Tile* tile = mTileManager->GetTile(layer[cell]);
    if (tile == nullptr || tile->mTileType == nullptr || tile->mTileType == &Tile::mNonSolidTile)
    {
        return {};
    }
    // Consecutive cells usually share a tile, so the image of the last one is remembered.
    if (tile->mTileType != last.type)
    {
        last.type = tile->mTileType;
        last.image = last.type->mImage == "0" ? nullptr : mImageManager->GetImage(last.type->mImage);
    }
    return last;
}

void Map::DrawTile(const TileArt& art, SDL_Surface* dest, int x, int y)
{
    if (art.image == nullptr)
    {
        return;
    }
    const TileType& type = *art.type;
    int sourceX = static_cast<int>(type.mSourceX);
    if (type.mIsAnimated)
    {
        // Two frames side by side, each shown for 10 updates.
        sourceX += mTileSize * static_cast<int>((type.mFrameCounter / 10) % 2);
    }
    art.image->Draw(dest, x, y, sourceX, static_cast<int>(type.mSourceY), mTileSize, mTileSize);
}

void Map::DrawLayers(SDL_Surface* screen)
{
    const std::size_t cellCount = static_cast<std::size_t>(mWidth) * static_cast<std::size_t>(mHeight);
    const CellRange cells = VisibleCells(screen);
    if (mBackgroundLayer.size() != cellCount || mCollisionLayer.size() != cellCount)
    {
        DrawLayer(mBackgroundLayer, cells, screen);
        DrawLayer(mCollisionLayer, cells, screen);
        return;
    }
    if (!mLayerCache || !mLayerCache->Serves(mWidth, mHeight, mTileSize, screen))
    {
        mLayerCache = LayerCache::Make(mWidth, mHeight, mTileSize, screen);
    }
    if (!mLayerCache)
    {
        DrawLayer(mBackgroundLayer, cells, screen);
        DrawLayer(mCollisionLayer, cells, screen);
        return;
    }

    // Cells seen for the first time are drawn into the picture, both layers in order; a cell with an
    // animated tile (or one whose picture is see-through on another colour) stays clear there and is
    // drawn onto the screen after the picture, both layers in order again, so the result is the same.
    LayerCache& cache = *mLayerCache;
    SDL_Surface* picture = cache.Picture().mSurface;
    bool anyMoving = false;
    TileArt last;
    for (int row = cells.firstRow; row <= cells.lastRow; ++row)
    {
        for (int column = cells.firstColumn; column <= cells.lastColumn; ++column)
        {
            LayerCache::Cell state = cache.At(column, row);
            if (state == LayerCache::Cell::Unknown)
            {
                const std::size_t cell = static_cast<std::size_t>(row) * mWidth + column;
                const TileArt back = ArtAt(mBackgroundLayer, cell, last);
                const TileArt front = ArtAt(mCollisionLayer, cell, last);
                auto moving = [](const TileArt& art)
                { return art.image != nullptr && (art.type->mIsAnimated || !SeeThroughOnZero(*art.image)); };
                state = moving(back) || moving(front) ? LayerCache::Cell::Moving : LayerCache::Cell::Still;
                if (state == LayerCache::Cell::Still)
                {
                    DrawTile(back, picture, column * mTileSize, row * mTileSize);
                    DrawTile(front, picture, column * mTileSize, row * mTileSize);
                }
                cache.Set(column, row, state);
            }
            anyMoving = anyMoving || state == LayerCache::Cell::Moving;
        }
    }
    // Whole rows of the picture at once; its 0 pixels let the sky through.
    cache.Picture().Draw(screen, -mCameraX, -mCameraY);

    if (!anyMoving)
    {
        return;
    }
    for (int row = cells.firstRow; row <= cells.lastRow; ++row)
    {
        for (int column = cells.firstColumn; column <= cells.lastColumn; ++column)
        {
            if (cache.At(column, row) != LayerCache::Cell::Moving)
            {
                continue;
            }
            const std::size_t cell = static_cast<std::size_t>(row) * mWidth + column;
            const int x = column * mTileSize - mCameraX;
            const int y = row * mTileSize - mCameraY;
            DrawTile(ArtAt(mBackgroundLayer, cell, last), screen, x, y);
            DrawTile(ArtAt(mCollisionLayer, cell, last), screen, x, y);
        }
    }
}

void Map::DrawLayer(const std::vector<std::string>& layer, const CellRange& cells, SDL_Surface* screen)
{
    if (layer.size() != static_cast<std::size_t>(mWidth) * static_cast<std::size_t>(mHeight))
    {
        return;
    }
    TileArt last;
    for (int row = cells.firstRow; row <= cells.lastRow; ++row)
    {
        for (int column = cells.firstColumn; column <= cells.lastColumn; ++column)
        {
            DrawTile(ArtAt(layer, static_cast<std::size_t>(row) * mWidth + column, last), screen,
                     column * mTileSize - mCameraX, row * mTileSize - mCameraY);
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
