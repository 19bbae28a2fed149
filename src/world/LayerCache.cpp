// The level's tile layers kept as one picture, so a frame copies rows instead of looking up every tile.
#include "world/LayerCache.h"

#include "graphics/Image.h"

namespace
{
// 16 MB: the largest shipped level takes 6.3 MB; a level maker's giant is drawn tile by tile instead.
constexpr long long kMaxPixels = 4LL * 1024 * 1024;
} // namespace

std::unique_ptr<LayerCache> LayerCache::Make(int columns, int rows, int tileSize, const SDL_Surface* screen)
{
    if (screen == nullptr || screen->format->BytesPerPixel != 4 || columns < 1 || rows < 1 || tileSize < 1)
    {
        return nullptr;
    }
    const long long width = static_cast<long long>(columns) * tileSize;
    const long long height = static_cast<long long>(rows) * tileSize;
    if (width * height > kMaxPixels)
    {
        return nullptr;
    }
    const Uint32 format = screen->format->format;
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(width), static_cast<int>(height), 32, format);
    if (surface == nullptr)
    {
        return nullptr;
    }
    return std::unique_ptr<LayerCache>(new LayerCache(columns, rows, tileSize, format, surface));
}

LayerCache::LayerCache(int columns, int rows, int tileSize, Uint32 format, SDL_Surface* surface)
    : mColumns(columns), mRows(rows), mTileSize(tileSize), mFormat(format),
      mPicture(std::make_unique<Image>()),
      mCells(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), Cell::Unknown)
{
    // Created cleared: 0 is see-through, as in every loaded picture, and the surface carries no key.
    mPicture->mSurface = surface;
    mPicture->mHasColorKey = true;
}

LayerCache::~LayerCache() = default;

bool LayerCache::Serves(int columns, int rows, int tileSize, const SDL_Surface* screen) const
{
    return columns == mColumns && rows == mRows && tileSize == mTileSize && screen != nullptr &&
           screen->format->format == mFormat;
}

void LayerCache::Forget(int column, int row)
{
    if (column < 0 || row < 0 || column >= mColumns || row >= mRows)
    {
        return;
    }
    Set(column, row, Cell::Unknown);
    mPicture->Fill(mPicture->mSurface, column * mTileSize, row * mTileSize, (column + 1) * mTileSize,
                   (row + 1) * mTileSize, 0);
}
