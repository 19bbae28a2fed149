// The directives of a picture source: each keyword's field counts and the member that carries it out.
#include "ArtCompiler.h"

#include "TextSource.h"
#include "graphics/GlyphOrder.h"

#include <filesystem>
#include <limits>
#include <stdexcept>

namespace
{
// Included files and palettes are named relative to the file that names them.
std::string Beside(const TextSource& source, const std::string& name)
{
    return (std::filesystem::path(source.Path()).parent_path() / name).string();
}

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

std::runtime_error WrongFieldCount(const TextSource& source, const std::string& word)
{
    return source.Error("unknown directive or wrong field count: " + word);
}

// A picture may nest includes this deep below its own source.
const int mMostIncludeDepth = 5;
} // namespace

const std::map<std::string, ArtCompiler::Directive>& ArtCompiler::Directives()
{
    const std::size_t any = std::numeric_limits<std::size_t>::max();
    static const std::map<std::string, Directive> directives = {
        {"include", {2, 2, false, &ArtCompiler::IncludeDirective}},
        {"palette", {2, 2, false, &ArtCompiler::PaletteDirective}},
        {"size", {4, 4, false, &ArtCompiler::SizeDirective}},
        {"grid", {2, 2, false, &ArtCompiler::GridDirective}},
        {"draw", {4, any, true, &ArtCompiler::DrawDirective}},
        {"cell", {4, 4, false, &ArtCompiler::CellDirective}},
        {"glyph", {2, 2, true, &ArtCompiler::GlyphDirective}},
        {"compose", {5, 7, true, &ArtCompiler::ComposeDirective}},
        {"rect", {6, 6, true, &ArtCompiler::RectDirective}},
        {"gradient", {6, 6, true, &ArtCompiler::GradientDirective}},
        {"stars", {8, 8, true, &ArtCompiler::StarsDirective}},
        {"disc", {5, 5, true, &ArtCompiler::DiscDirective}},
        {"word", {7, 8, true, &ArtCompiler::DrawWord}},
        {"outline", {2, 4, true, &ArtCompiler::OutlineDirective}},
        {"shadow", {4, 4, true, &ArtCompiler::ShadowDirective}},
    };
    return directives;
}

void ArtCompiler::Process(TextSource& source)
{
    Fields fields;
    while (source.NextFields(fields))
    {
        auto found = Directives().find(fields[0]);
        if (found == Directives().end())
            throw WrongFieldCount(source, fields[0]);
        const Directive& directive = found->second;
        if (fields.size() < directive.mFewestFields || fields.size() > directive.mMostFields)
            throw WrongFieldCount(source, fields[0]);
        if (directive.mNeedsPicture)
            RequirePicture(source);
        (this->*directive.mHandle)(source, fields);
    }
}

void ArtCompiler::IncludeDirective(TextSource& source, const Fields& fields)
{
    // Shared grids (such as the logo letters) live in files of their own.
    if (mIncludeDepth >= mMostIncludeDepth)
        throw source.Error("includes nested too deeply");
    TextSource included(Beside(source, fields[1]));
    ++mIncludeDepth;
    Process(included);
    --mIncludeDepth;
}

void ArtCompiler::PaletteDirective(TextSource& source, const Fields& fields)
{
    mPalette.Load(Beside(source, fields[1]));
}

void ArtCompiler::SizeDirective(TextSource& source, const Fields& fields)
{
    if (!mPalette.Size())
        throw source.Error("palette must come before size");
    if (!mPalette.Has(fields[3][0]))
        throw source.Error("fill colour not in the palette");
    mPicture = std::make_unique<Picture>(source.Number(fields[1]), source.Number(fields[2]),
                                         mPalette.Color(fields[3][0]));
    mPainted.assign(static_cast<std::size_t>(mPicture->Width()) * mPicture->Height(), false);
}

void ArtCompiler::GridDirective(TextSource& source, const Fields& fields)
{
    if (mGrids.count(fields[1]))
        throw source.Error("grid defined twice: " + fields[1]);
    mGrids[fields[1]] = ReadPaletteGrid(source, fields[1]);
}

void ArtCompiler::DrawDirective(TextSource& source, const Fields& fields)
{
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

void ArtCompiler::CellDirective(TextSource& source, const Fields& fields)
{
    mCellWidth = source.Number(fields[1]);
    mCellHeight = source.Number(fields[2]);
    mCellColumns = source.Number(fields[3]);
}

char32_t ArtCompiler::GlyphCode(TextSource& source, const std::string& field) const
{
    if (field == "space")
        return ' ';
    if (field.size() > 2 && field.compare(0, 2, "U+") == 0 &&
        field.find_first_not_of("0123456789ABCDEF", 2) == std::string::npos && field.size() <= 8)
        return static_cast<char32_t>(std::stoul(field.substr(2), nullptr, 16));
    std::size_t at = 0;
    const char32_t code = GlyphOrder::NextCode(field, at);
    if (code == GlyphOrder::mBroken || at != field.size())
        throw source.Error("a glyph is one UTF-8 character, 'space' or U+XXXX: " + field);
    return code;
}

void ArtCompiler::PlaceGlyph(TextSource& source, char32_t code, const Grid& grid)
{
    // The glyph order is the game's own (GlyphOrder), so the game finds every cell painted here.
    const int index = GlyphOrder::Index(code);
    if (index < 0)
        throw source.Error("the font has no cell for this character");
    if (mGlyphs.count(code))
        throw source.Error("glyph drawn twice");
    if (static_cast<int>(grid.size()) != mCellHeight || static_cast<int>(grid[0].size()) != mCellWidth)
        throw source.Error("glyph grid does not match the cell size");
    DrawGrid(grid, index % mCellColumns * mCellWidth, index / mCellColumns * mCellHeight, false, {}, 1);
    mGlyphs[code] = grid;
}

void ArtCompiler::GlyphDirective(TextSource& source, const Fields& fields)
{
    const char32_t code = GlyphCode(source, fields[1]);
    PlaceGlyph(source, code, ReadPaletteGrid(source, fields[1]));
}

void ArtCompiler::ComposeDirective(TextSource& source, const Fields& fields)
{
    // compose CHAR BASE MARK ROW [capital] [x=N]: a glyph made of an earlier one and a mark grid ("-" for
    // none) laid over it with its top at ROW, N pixels to the right. "capital" first presses the base's seven
    // rows into six (one of its repeated rows left out) and lowers it to the cell's bottom, so an accent fits
    // above a capital.
    const char32_t code = GlyphCode(source, fields[1]);
    const auto base = mGlyphs.find(GlyphCode(source, fields[2]));
    if (base == mGlyphs.end())
        throw source.Error("compose needs its base glyph drawn first: " + fields[2]);
    Grid grid = base->second;
    bool capital = false;
    int shift = 0;
    for (std::size_t i = 5; i < fields.size(); ++i)
    {
        if (fields[i] == "capital")
            capital = true;
        else if (fields[i].compare(0, 2, "x=") == 0)
            shift = source.Number(fields[i].substr(2));
        else
            throw source.Error("unknown compose option: " + fields[i]);
    }
    const std::string blank(grid[0].size(), Palette::mClear);
    if (capital)
    {
        if (grid.size() < 8)
            throw source.Error("capital needs a glyph eight rows high");
        // The repeated row nearest the middle goes; a letter without one loses its fourth row.
        std::size_t dropped = 3;
        for (std::size_t row : {3, 2, 4, 1, 5})
            if (grid[row] == grid[row + 1])
            {
                dropped = row;
                break;
            }
        Grid pressed = {blank, blank};
        for (std::size_t row = 0; row < 7; ++row)
            if (row != dropped)
                pressed.push_back(grid[row]);
        grid = pressed;
    }
    if (fields[3] != "-")
    {
        const auto mark = mGrids.find(fields[3]);
        if (mark == mGrids.end())
            throw source.Error("unknown mark grid: " + fields[3]);
        const int top = source.Number(fields[4]);
        for (int row = 0; row < static_cast<int>(mark->second.size()); ++row)
            for (int column = 0; column < static_cast<int>(mark->second[row].size()); ++column)
            {
                const int y = top + row;
                const int x = shift + column;
                const char symbol = mark->second[row][column];
                if (symbol != Palette::mClear && y >= 0 && y < static_cast<int>(grid.size()) && x >= 0 &&
                    x < static_cast<int>(grid[y].size()))
                    grid[y][x] = symbol;
            }
    }
    PlaceGlyph(source, code, grid);
}

void ArtCompiler::RectDirective(TextSource& source, const Fields& fields)
{
    int x = source.Number(fields[1]);
    int y = source.Number(fields[2]);
    for (int row = 0; row < source.Number(fields[4]); ++row)
        for (int column = 0; column < source.Number(fields[3]); ++column)
            Paint(x + column, y + row, fields[5][0]);
}

void ArtCompiler::GradientDirective(TextSource& source, const Fields& fields)
{
    Gradient(source.Number(fields[1]), source.Number(fields[2]), source.Number(fields[3]),
             source.Number(fields[4]), fields[5]);
}

void ArtCompiler::StarsDirective(TextSource& source, const Fields& fields)
{
    Stars(static_cast<unsigned>(source.Number(fields[1])), source.Number(fields[2]), source.Number(fields[3]),
          source.Number(fields[4]), source.Number(fields[5]), source.Number(fields[6]), fields[7]);
}

void ArtCompiler::DiscDirective(TextSource& source, const Fields& fields)
{
    int cx = source.Number(fields[1]);
    int cy = source.Number(fields[2]);
    int radius = source.Number(fields[3]);
    for (int y = cy - radius; y <= cy + radius; ++y)
        for (int x = cx - radius; x <= cx + radius; ++x)
            if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius)
                Paint(x, y, fields[4][0]);
}

void ArtCompiler::OutlineDirective(TextSource& source, const Fields& fields)
{
    // A cell size takes both its width and height.
    if (fields.size() == 3)
        throw WrongFieldCount(source, fields[0]);
    // With a cell size, every cell is outlined on its own so nothing bleeds into the next frame.
    int cellWidth = fields.size() == 4 ? source.Number(fields[2]) : mPicture->Width();
    int cellHeight = fields.size() == 4 ? source.Number(fields[3]) : mPicture->Height();
    if (cellWidth < 1 || cellHeight < 1)
        throw source.Error("cell size must be positive");
    Outline(fields[1][0], cellWidth, cellHeight);
}

void ArtCompiler::ShadowDirective(TextSource& source, const Fields& fields)
{
    Shadow(fields[1][0], source.Number(fields[2]), source.Number(fields[3]));
}

ArtCompiler::Grid ArtCompiler::ReadPaletteGrid(TextSource& source, const std::string& name)
{
    return source.ReadGrid(name,
                           [&](const std::string& row)
                           {
                               for (char symbol : row)
                                   if (symbol != Palette::mClear && !mPalette.Has(symbol))
                                       throw source.Error(std::string("grid ") + name +
                                                          ": colour not in the palette: '" + symbol + "'");
                           });
}
