// A picture of a level's two tile layers, drawn once per cell and copied to the screen row by row.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <vector>

class Image;

class LayerCache
{
  public:
    // What the picture holds of a cell.
    enum class Cell : std::uint8_t
    {
        Unknown, // not drawn yet, or changed since
        Still,   // both layers drawn into the picture
        Moving   // left clear: an animated tile, drawn onto the screen each frame
    };

    // A clear picture of a level of columns x rows cells of tileSize pixels, in the screen's pixel format;
    // null when the screen is not 4 bytes a pixel, the level too large to keep whole, or memory short.
    // The level is then drawn tile by tile.
    static std::unique_ptr<LayerCache> Make(int columns, int rows, int tileSize, const SDL_Surface* screen);

    ~LayerCache();
    LayerCache(const LayerCache&) = delete;
    LayerCache& operator=(const LayerCache&) = delete;

    // Whether the picture still serves a level of that size on a screen of that format.
    bool Serves(int columns, int rows, int tileSize, const SDL_Surface* screen) const;

    Cell At(int column, int row) const { return mCells[Index(column, row)]; }
    void Set(int column, int row, Cell cell) { mCells[Index(column, row)] = cell; }
    // Clears the cell's pixels and marks it to be drawn again.
    void Forget(int column, int row);

    // The picture, 0 where neither layer shows; drawn keyed on 0.
    Image& Picture() { return *mPicture; }

  private:
    LayerCache(int columns, int rows, int tileSize, Uint32 format, SDL_Surface* surface);

    std::size_t Index(int column, int row) const
    {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(mColumns) +
               static_cast<std::size_t>(column);
    }

    int mColumns;
    int mRows;
    int mTileSize;
    Uint32 mFormat;
    std::unique_ptr<Image> mPicture;
    std::vector<Cell> mCells;
};
