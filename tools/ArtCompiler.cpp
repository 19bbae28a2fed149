// Paints a picture from its text source: compiling it, and the painting steps its directives use.
#include "ArtCompiler.h"

#include "TextSource.h"

#include <algorithm>
#include <stdexcept>

namespace
{
// 4x4 ordered dither thresholds, 0..15.
const int mBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
} // namespace

void ArtCompiler::Compile(const std::string& sourcePath)
{
    TextSource source(sourcePath);
    Process(source);
    RequirePicture(source);
}

const Picture& ArtCompiler::GetPicture() const
{
    if (!mPicture)
        throw std::runtime_error("no picture compiled");
    return *mPicture;
}

void ArtCompiler::Paint(int x, int y, char symbol)
{
    if (symbol == Palette::mClear || !mPicture->Inside(x, y))
        return;
    mPicture->Set(x, y, mPalette.Color(symbol));
    mPainted[static_cast<std::size_t>(y) * mPicture->Width() + x] = true;
}

void ArtCompiler::DrawGrid(const Grid& grid, int x, int y, bool flip, const std::map<char, char>& swaps,
                           int scale)
{
    int width = static_cast<int>(grid[0].size());
    for (int row = 0; row < static_cast<int>(grid.size()); ++row)
    {
        for (int column = 0; column < width; ++column)
        {
            char symbol = grid[row][flip ? width - 1 - column : column];
            auto swapped = swaps.find(symbol);
            if (swapped != swaps.end())
                symbol = swapped->second;
            for (int dy = 0; dy < scale; ++dy)
                for (int dx = 0; dx < scale; ++dx)
                    Paint(x + column * scale + dx, y + row * scale + dy, symbol);
        }
    }
}

void ArtCompiler::DrawWord(TextSource& source, const Fields& fields)
{
    // word X Y SPACING PREFIX TEXT RAMP [SCALE]: the letters are grids named PREFIX + letter, enlarged SCALE
    // times; their '#' pixels take the ramp colour of their row, top to bottom. X may be "centre".
    const std::string& prefix = fields[4];
    const std::string& text = fields[5];
    const std::string& ramp = fields[6];
    int spacing = source.Number(fields[3]);
    int scale = fields.size() == 8 ? source.Number(fields[7]) : 1;
    if (scale < 1)
        throw source.Error("scale must be at least 1");
    std::vector<const Grid*> letters;
    int total = 0;
    for (char letter : text)
    {
        auto grid = mGrids.find(prefix + letter);
        if (grid == mGrids.end())
            throw source.Error(std::string("no letter grid ") + prefix + letter);
        letters.push_back(&grid->second);
        total += static_cast<int>(grid->second[0].size()) * scale + spacing;
    }
    total -= spacing;
    int x = fields[1] == "centre" ? (mPicture->Width() - total) / 2 : source.Number(fields[1]);
    int y = source.Number(fields[2]);
    for (const Grid* grid : letters)
    {
        int height = static_cast<int>(grid->size()) * scale;
        for (int row = 0; row < height; ++row)
        {
            char shade = ramp[static_cast<std::size_t>(row) * ramp.size() / height];
            const std::string& cells = (*grid)[row / scale];
            for (int column = 0; column < static_cast<int>(cells.size()) * scale; ++column)
            {
                char symbol = cells[column / scale];
                Paint(x + column, y + row, symbol == '#' ? shade : symbol);
            }
        }
        x += static_cast<int>((*grid)[0].size()) * scale + spacing;
    }
}

void ArtCompiler::Gradient(int x, int y, int width, int height, const std::string& symbols)
{
    // Vertical blend through the listed colours, dithered since the palette has no in-between shades.
    int steps = static_cast<int>(symbols.size()) - 1;
    for (int row = 0; row < height; ++row)
    {
        int position = steps > 0 && height > 1 ? row * steps * 16 / (height - 1) : 0;
        int band = std::min(position / 16, std::max(steps - 1, 0));
        int blend = position - band * 16;
        for (int column = 0; column < width; ++column)
        {
            char symbol = symbols[band];
            if (steps > 0 && blend > mBayer[(y + row) & 3][(x + column) & 3])
                symbol = symbols[band + 1];
            Paint(x + column, y + row, symbol);
        }
    }
}

void ArtCompiler::Stars(unsigned seed, int count, int x, int y, int width, int height,
                        const std::string& symbols)
{
    // A fixed-seed generator, so every build scatters the stars alike.
    std::uint32_t state = seed;
    auto next = [&state](int range)
    {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 8) % static_cast<std::uint32_t>(range));
    };
    for (int i = 0; i < count; ++i)
    {
        int sx = x + next(width);
        int sy = y + next(height);
        Paint(sx, sy, symbols[next(static_cast<int>(symbols.size()))]);
    }
}

void ArtCompiler::Outline(char symbol, int cellWidth, int cellHeight)
{
    std::vector<bool> before = mPainted;
    int width = mPicture->Width();
    for (int y = 0; y < mPicture->Height(); ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            if (before[static_cast<std::size_t>(y) * width + x])
                continue;
            bool touches = false;
            for (int dy = -1; dy <= 1 && !touches; ++dy)
                for (int dx = -1; dx <= 1 && !touches; ++dx)
                    touches = mPicture->Inside(x + dx, y + dy) && (x + dx) / cellWidth == x / cellWidth &&
                              (y + dy) / cellHeight == y / cellHeight &&
                              before[static_cast<std::size_t>(y + dy) * width + x + dx];
            if (touches)
                Paint(x, y, symbol);
        }
    }
}

void ArtCompiler::Shadow(char symbol, int dx, int dy)
{
    std::vector<bool> before = mPainted;
    int width = mPicture->Width();
    for (int y = 0; y < mPicture->Height(); ++y)
        for (int x = 0; x < width; ++x)
            if (before[static_cast<std::size_t>(y) * width + x] && mPicture->Inside(x + dx, y + dy) &&
                !before[static_cast<std::size_t>(y + dy) * width + x + dx])
                Paint(x + dx, y + dy, symbol);
}

void ArtCompiler::RequirePicture(const TextSource& source) const
{
    if (!mPicture)
        throw source.Error("no picture yet: 'size' must come first");
}
