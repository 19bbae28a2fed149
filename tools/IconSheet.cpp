// The desktop icon: reading its grids and painting each size with a see-through background.
#include "IconSheet.h"

#include <SDL.h>
#include <SDL_image.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace
{
std::vector<std::string> Words(const std::string& line)
{
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;)
        words.push_back(word);
    return words;
}

int Number(const std::string& text, const std::string& where)
{
    std::size_t used = 0;
    int value = 0;
    try
    {
        value = std::stoi(text, &used);
    }
    catch (const std::exception&)
    {
        used = 0;
    }
    if (used != text.size() || value < 1 || value > 1024)
        throw std::runtime_error(where + "expected a size from 1 to 1024, got '" + text + "'");
    return value;
}
} // namespace

void IconSheet::Load(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error("cannot open " + path);
    int lineNumber = 0;
    auto where = [&] { return path + ":" + std::to_string(lineNumber) + ": "; };
    auto nextLine = [&](std::string& line)
    {
        if (!std::getline(file, line))
            return false;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        return true;
    };

    bool havePalette = false;
    for (std::string line; nextLine(line);)
    {
        if (line.compare(0, 2, "//") == 0)
            continue;
        std::vector<std::string> words = Words(line);
        if (words.empty())
            continue;
        if (words[0] == "palette" && words.size() == 2)
        {
            mPalette.Load((std::filesystem::path(path).parent_path() / words[1]).string());
            havePalette = true;
            continue;
        }
        if (words[0] != "grid" || words.size() < 4 || words[2] != "sizes")
            throw std::runtime_error(where() + "expected 'palette <file>' or 'grid <side> sizes <n>...'");
        if (!havePalette)
            throw std::runtime_error(where() + "the palette must come before the grids");

        std::string gridWhere = where();
        int side = Number(words[1], gridWhere);
        for (std::size_t i = 3; i < words.size(); ++i)
        {
            int size = Number(words[i], where());
            if (size % side != 0)
                throw std::runtime_error(where() + "size " + words[i] + " is not a multiple of " + words[1]);
            if (!mGridForSize.emplace(size, mGrids.size()).second)
                throw std::runtime_error(where() + "size " + words[i] + " is served twice");
        }
        Grid grid;
        while (static_cast<int>(grid.size()) < side && nextLine(line))
        {
            if (static_cast<int>(line.size()) != side)
                throw std::runtime_error(where() + "a row of this grid must be " + words[1] + " wide");
            for (char symbol : line)
                if (symbol != Palette::mClear && !mPalette.Has(symbol))
                    throw std::runtime_error(where() + "colour not in the palette: '" + symbol + "'");
            grid.push_back(line);
        }
        if (static_cast<int>(grid.size()) != side)
            throw std::runtime_error(gridWhere + "the grid ends before its " + words[1] + " rows");
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
