// Paints a picture from its text source.
#include "ArtCompiler.h"

#include "TextSource.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace
{
// 4x4 ordered dither thresholds, 0..15.
const int mBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

std::map<char, char> ParseSwaps(TextSource& source, const std::string& option)
{
    // swap=abc:xyz paints a as x, b as y, c as z.
    std::map<char, char> swaps;
    std::size_t colon = option.find(':');
    if (colon == std::string::npos || colon - 5 != option.size() - colon - 1)
        throw source.Error("expected swap=FROM:TO of equal length");
    for (std::size_t i = 0; i < colon - 5; ++i)
        swaps[option[5 + i]] = option[colon + 1 + i];
    return swaps;
}
} // namespace

void ArtCompiler::Compile(const std::string& sourcePath)
{
    TextSource source(sourcePath);
    Process(source, 0);
    RequirePicture(source);
}

void ArtCompiler::Process(TextSource& source, int depth)
{
    std::filesystem::path folder = std::filesystem::path(source.Path()).parent_path();
    std::vector<std::string> fields;
    while (source.NextFields(fields))
    {
        const std::string& word = fields[0];
        if (word == "include" && fields.size() == 2)
        {
            // Shared grids (such as the logo letters) live in files of their own.
            if (depth > 4)
                throw source.Error("includes nested too deeply");
            TextSource included((folder / fields[1]).string());
            Process(included, depth + 1);
        }
        else if (word == "palette" && fields.size() == 2)
        {
            mPalette.Load((folder / fields[1]).string());
        }
        else if (word == "size" && fields.size() == 4)
        {
            if (!mPalette.Size())
                throw source.Error("palette must come before size");
            if (!mPalette.Has(fields[3][0]))
                throw source.Error("fill colour not in the palette");
            mPicture = std::make_unique<Picture>(source.Number(fields[1]), source.Number(fields[2]),
                                                 mPalette.Color(fields[3][0]));
            mPainted.assign(static_cast<std::size_t>(mPicture->Width()) * mPicture->Height(), false);
        }
        else if (word == "grid" && fields.size() == 2)
        {
            if (mGrids.count(fields[1]))
                throw source.Error("grid defined twice: " + fields[1]);
            mGrids[fields[1]] = ReadGrid(source, fields[1]);
        }
        else if (word == "draw" && fields.size() >= 4)
        {
            RequirePicture(source);
            auto grid = mGrids.find(fields[1]);
            if (grid == mGrids.end())
                throw source.Error("unknown grid: " + fields[1]);
            bool flip = false;
            int scale = 1;
            std::map<char, char> swaps;
            for (std::size_t i = 4; i < fields.size(); ++i)
            {
                if (fields[i] == "flip")
                    flip = true;
                else if (fields[i].compare(0, 6, "scale=") == 0)
                    scale = source.Number(fields[i].substr(6));
                else if (fields[i].compare(0, 5, "swap=") == 0)
                    swaps = ParseSwaps(source, fields[i]);
                else
                    throw source.Error("unknown draw option: " + fields[i]);
            }
            if (scale < 1)
                throw source.Error("scale must be at least 1");
            DrawGrid(grid->second, source.Number(fields[2]), source.Number(fields[3]), flip, swaps, scale);
        }
        else if (word == "cell" && fields.size() == 4)
        {
            mCellWidth = source.Number(fields[1]);
            mCellHeight = source.Number(fields[2]);
            mCellColumns = source.Number(fields[3]);
        }
        else if (word == "glyph" && fields.size() == 2)
        {
            RequirePicture(source);
            // Glyph cells run from the space character in code order, row by row.
            char code = fields[1] == "space" ? ' ' : fields[1][0];
            if (fields[1] != "space" && fields[1].size() != 1)
                throw source.Error("glyph takes one character or 'space'");
            Grid grid = ReadGrid(source, fields[1]);
            if (static_cast<int>(grid.size()) != mCellHeight ||
                static_cast<int>(grid[0].size()) != mCellWidth)
                throw source.Error("glyph grid does not match the cell size");
            int index = code - ' ';
            DrawGrid(grid, index % mCellColumns * mCellWidth, index / mCellColumns * mCellHeight, false, {},
                     1);
        }
        else if (word == "rect" && fields.size() == 6)
        {
            RequirePicture(source);
            int x = source.Number(fields[1]);
            int y = source.Number(fields[2]);
            for (int row = 0; row < source.Number(fields[4]); ++row)
                for (int column = 0; column < source.Number(fields[3]); ++column)
                    Paint(x + column, y + row, fields[5][0]);
        }
        else if (word == "gradient" && fields.size() == 6)
        {
            RequirePicture(source);
            Gradient(source.Number(fields[1]), source.Number(fields[2]), source.Number(fields[3]),
                     source.Number(fields[4]), fields[5]);
        }
        else if (word == "stars" && fields.size() == 8)
        {
            RequirePicture(source);
            Stars(static_cast<unsigned>(source.Number(fields[1])), source.Number(fields[2]),
                  source.Number(fields[3]), source.Number(fields[4]), source.Number(fields[5]),
                  source.Number(fields[6]), fields[7]);
        }
        else if (word == "disc" && fields.size() == 5)
        {
            RequirePicture(source);
            int cx = source.Number(fields[1]);
            int cy = source.Number(fields[2]);
            int radius = source.Number(fields[3]);
            for (int y = cy - radius; y <= cy + radius; ++y)
                for (int x = cx - radius; x <= cx + radius; ++x)
                    if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius)
                        Paint(x, y, fields[4][0]);
        }
        else if (word == "word" && (fields.size() == 7 || fields.size() == 8))
        {
            RequirePicture(source);
            DrawWord(source, fields);
        }
        else if (word == "outline" && (fields.size() == 2 || fields.size() == 4))
        {
            // With a cell size, every cell is outlined on its own so nothing bleeds into the next frame.
            RequirePicture(source);
            int cellWidth = fields.size() == 4 ? source.Number(fields[2]) : mPicture->Width();
            int cellHeight = fields.size() == 4 ? source.Number(fields[3]) : mPicture->Height();
            if (cellWidth < 1 || cellHeight < 1)
                throw source.Error("cell size must be positive");
            Outline(fields[1][0], cellWidth, cellHeight);
        }
        else if (word == "shadow" && fields.size() == 4)
        {
            RequirePicture(source);
            Shadow(fields[1][0], source.Number(fields[2]), source.Number(fields[3]));
        }
        else
        {
            throw source.Error("unknown directive or wrong field count: " + word);
        }
    }
}

const Picture& ArtCompiler::GetPicture() const
{
    if (!mPicture)
        throw std::runtime_error("no picture compiled");
    return *mPicture;
}

ArtCompiler::Grid ArtCompiler::ReadGrid(TextSource& source, const std::string& name)
{
    // Rows run until an empty line, a directive (rows never hold a blank) or the end of the file.
    Grid grid;
    std::string line;
    while (source.NextLine(line) && !line.empty())
    {
        if (TextSource::IsComment(line))
            continue;
        if (line.find(' ') != std::string::npos)
        {
            source.PushBack(line);
            break;
        }
        if (!grid.empty() && line.size() != grid[0].size())
            throw source.Error("grid " + name + ": row width differs from the first row");
        for (char symbol : line)
            if (symbol != Palette::mClear && !mPalette.Has(symbol))
                throw source.Error(std::string("grid ") + name + ": colour not in the palette: '" + symbol +
                                   "'");
        grid.push_back(line);
    }
    if (grid.empty())
        throw source.Error("grid " + name + " has no rows");
    return grid;
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

void ArtCompiler::DrawWord(TextSource& source, const std::vector<std::string>& fields)
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
