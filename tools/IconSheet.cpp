// The desktop icon: reading its grids and painting each size with a see-through background.
#include "IconSheet.h"

#include "TextSource.h"

#include <SDL.h>
#include <SDL_image.h>

#include <filesystem>
#include <stdexcept>

namespace
{
int Side(const TextSource& source, const std::string& text)
{
    int value = source.Number(text);
    if (value < 1 || value > 1024)
        throw source.Error("expected a size from 1 to 1024, got '" + text + "'");
    return value;
}
} // namespace

void IconSheet::Load(const std::string& path)
{
    TextSource source(path);
    bool havePalette = false;
    std::vector<std::string> words;
    while (source.NextFields(words))
    {
        if (words[0] == "palette" && words.size() == 2)
        {
            mPalette.Load((std::filesystem::path(path).parent_path() / words[1]).string());
            havePalette = true;
            continue;
        }
        if (words[0] != "grid" || words.size() < 4 || words[2] != "sizes")
            throw source.Error("expected 'palette <file>' or 'grid <side> sizes <n>...'");
        if (!havePalette)
            throw source.Error("the palette must come before the grids");

        int side = Side(source, words[1]);
        for (std::size_t i = 3; i < words.size(); ++i)
        {
            int size = Side(source, words[i]);
            if (size % side != 0)
                throw source.Error("size " + words[i] + " is not a multiple of " + words[1]);
            if (!mGridForSize.emplace(size, mGrids.size()).second)
                throw source.Error("size " + words[i] + " is served twice");
        }
        Grid grid = source.ReadGrid(
            "",
            [&](const std::string& row)
            {
                if (static_cast<int>(row.size()) != side)
                    throw source.Error("a row of this grid must be " + words[1] + " wide");
                for (char symbol : row)
                    if (symbol != Palette::mClear && !mPalette.Has(symbol))
                        throw source.Error(std::string("colour not in the palette: '") + symbol + "'");
            });
        if (static_cast<int>(grid.size()) != side)
            throw source.Error("a grid of side " + words[1] + " needs " + words[1] + " rows, not " +
                               std::to_string(grid.size()));
        mGrids.push_back(grid);
    }
    if (mGrids.empty())
        throw std::runtime_error(path + ": no grid");
}

std::vector<int> IconSheet::Sizes() const
{
    std::vector<int> sizes;
    for (const auto& entry : mGridForSize)
        sizes.push_back(entry.first);
    return sizes;
}

std::uint32_t IconSheet::ColorOf(char symbol) const
{
    if (symbol == Palette::mClear || mPalette.Color(symbol) == mTransparent)
        return mTransparent;
    return mPalette.Color(symbol);
}

Picture IconSheet::Render(int size) const
{
    auto found = mGridForSize.find(size);
    if (found == mGridForSize.end())
        throw std::runtime_error("no grid serves the icon size " + std::to_string(size));
    const Grid& grid = mGrids[found->second];
    int scale = size / static_cast<int>(grid.size());
    Picture picture(size, size, mTransparent);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            picture.Set(x, y, ColorOf(grid[y / scale][x / scale]));
    return picture;
}

void IconSheet::SaveWithAlpha(const Picture& picture, const std::string& path)
{
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, picture.Width(), picture.Height(), 32, SDL_PIXELFORMAT_RGBA32);
    if (surface == nullptr)
        throw std::runtime_error(std::string("cannot create surface: ") + SDL_GetError());
    auto* bytes = static_cast<std::uint8_t*>(surface->pixels);
    for (int y = 0; y < picture.Height(); ++y)
    {
        std::uint8_t* pixel = bytes + static_cast<std::size_t>(y) * surface->pitch;
        for (int x = 0; x < picture.Width(); ++x, pixel += 4)
        {
            std::uint32_t rgb = picture.Get(x, y);
            bool clear = rgb == mTransparent;
            // See-through pixels are black as well, so no key colour fringes appear when a desktop scales
            // them.
            pixel[0] = clear ? 0 : static_cast<std::uint8_t>(rgb >> 16);
            pixel[1] = clear ? 0 : static_cast<std::uint8_t>(rgb >> 8);
            pixel[2] = clear ? 0 : static_cast<std::uint8_t>(rgb);
            pixel[3] = clear ? 0 : 255;
        }
    }
    int result = IMG_SavePNG(surface, path.c_str());
    SDL_FreeSurface(surface);
    if (result != 0)
        throw std::runtime_error("cannot write " + path + ": " + IMG_GetError());
}
