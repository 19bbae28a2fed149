// The bitmap font: glyph placement, line feeds and tabs, padded numbers and the checks of Init.
#include "graphics/Font.h"
#include "graphics/Utils.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace
{
constexpr std::uint32_t Background = 0x800080;
constexpr Uint32 Ink = 0xFF00FF00u;
constexpr Uint32 Paper = 0xFF101010u;

// A glyph sheet of 12 cells per row where cell i shows its own index: bit k of i as pixel (k, 0),
// and a marker at (cellWidth - 1, 1) so even glyph 0 (space) can be seen.
void WriteLabelledFont(const test::TempDir& dir, const std::string& name, int cellWidth, int cellHeight)
{
    const int width = 12 * cellWidth;
    const int height = 8 * cellHeight;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height), Background);
    for (int index = 0; index < 95; ++index)
    {
        const int left = cellWidth * (index % 12);
        const int top = cellHeight * (index / 12);
        for (int bit = 0; bit < 7; ++bit)
        {
            if (index & (1 << bit))
            {
                pixels[static_cast<std::size_t>(top * width + left + bit)] = 0xFFFFFF;
            }
        }
        pixels[static_cast<std::size_t>((top + 1) * width + left + cellWidth - 1)] = 0x000000;
    }
    dir.WritePng("data/gfx/" + name, width, height, pixels);
}

// The glyph index drawn in the cell at (x, y), or -1 for an empty cell; fails on stray pixels.
int GlyphAt(SDL_Surface* surface, int x, int y, int cellWidth, int cellHeight)
{
    int index = 0;
    bool marked = false;
    for (int j = 0; j < cellHeight; ++j)
    {
        for (int i = 0; i < cellWidth; ++i)
        {
            const bool inked = Utils::GetPixel(surface, x + i, y + j) == Ink;
            if (j == 0 && i < 7)
            {
                index |= inked ? 1 << i : 0;
            }
            else if (j == 1 && i == cellWidth - 1)
            {
                marked = inked;
            }
            else
            {
                EXPECT_FALSE(inked) << "stray pixel at " << x + i << "," << y + j;
            }
        }
    }
    return marked ? index : (index == 0 ? -1 : -2);
}

int InkCount(SDL_Surface* surface)
{
    int count = 0;
    for (int y = 0; y < surface->h; ++y)
    {
        for (int x = 0; x < surface->w; ++x)
        {
            count += Utils::GetPixel(surface, x, y) == Ink ? 1 : 0;
        }
    }
    return count;
}

class FontTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        WriteLabelledFont(mDir, "font.png", 8, 8);
        ASSERT_TRUE(mFont.Init("font.png", test::ArgbRendererInfo(), 8, 8));
        SDL_FillRect(mScreen.get(), nullptr, Paper);
    }

    int Glyph(int x, int y) { return GlyphAt(mScreen.get(), x, y, 8, 8); }

    test::TempDir mDir;
    Font mFont;
    test::SurfacePtr mScreen = test::MakeSurface(120, 60, 4);
};

TEST_F(FontTest, EveryGlyphComesFromItsCell)
{
    const std::string all = mFont.mCharacters;
    for (std::size_t start = 0; start < all.size(); start += 12)
    {
        SDL_FillRect(mScreen.get(), nullptr, Paper);
        mFont.DrawString(all.substr(start, 12), 0, 0, Ink, mScreen.get());
        for (std::size_t i = start; i < std::min(all.size(), start + 12); ++i)
        {
            EXPECT_EQ(Glyph(static_cast<int>(8 * (i - start)), 0), static_cast<int>(i));
        }
    }
}

TEST_F(FontTest, StringLayoutWithLineFeedsTabsAndUnknownCharacters)
{
    mFont.DrawString("AB", 10, 20, Ink, mScreen.get());
    EXPECT_EQ(Glyph(10, 20), 33);
    EXPECT_EQ(Glyph(18, 20), 34);
    EXPECT_EQ(InkCount(mScreen.get()), 6); // two bits and a marker each: nothing else drawn

    SDL_FillRect(mScreen.get(), nullptr, Paper);
    mFont.DrawString(std::string("A\nB\tC\x01") + static_cast<char>(200) + "D", 4, 2, Ink, mScreen.get());
    EXPECT_EQ(Glyph(4, 2), 33);
    EXPECT_EQ(Glyph(4, 10), 34);
    EXPECT_EQ(Glyph(12, 10), -1); // the tab's two empty cells
    EXPECT_EQ(Glyph(20, 10), -1);
    EXPECT_EQ(Glyph(28, 10), 35);
    EXPECT_EQ(Glyph(36, 10), -1); // control character and code 200 keep their cells
    EXPECT_EQ(Glyph(44, 10), -1);
    EXPECT_EQ(Glyph(52, 10), 36);
}

TEST_F(FontTest, NumbersArePaddedWithZeros)
{
    mFont.DrawNumber("7", 0, 0, 3, Ink, mScreen.get());
    EXPECT_EQ(Glyph(0, 0), '0' - 32);
    EXPECT_EQ(Glyph(8, 0), '0' - 32);
    EXPECT_EQ(Glyph(16, 0), '7' - 32);

    mFont.DrawNumber("1234", 0, 20, 3, Ink, mScreen.get());
    EXPECT_EQ(Glyph(0, 20), '1' - 32);
    EXPECT_EQ(Glyph(24, 20), '4' - 32);
    EXPECT_EQ(Glyph(32, 20), -1);

    // No special characters: a line feed is just an empty cell.
    mFont.DrawNumber("1\n2", 0, 40, 0, Ink, mScreen.get());
    EXPECT_EQ(Glyph(0, 40), '1' - 32);
    EXPECT_EQ(Glyph(8, 40), -1);
    EXPECT_EQ(Glyph(16, 40), '2' - 32);
}

TEST(FontCells, OtherCellSizesKeepTwelveCellsPerRow)
{
    test::TempDir dir;
    WriteLabelledFont(dir, "small.png", 9, 3);
    Font font;
    ASSERT_TRUE(font.Init("small.png", test::ArgbRendererInfo(), 9, 3));
    EXPECT_EQ(font.mCharWidth, 9);
    EXPECT_EQ(font.mCharHeight, 3);
    test::SurfacePtr screen = test::MakeSurface(40, 10, 4);
    font.DrawString("z\n{", 1, 1, Ink, screen.get());
    EXPECT_EQ(GlyphAt(screen.get(), 1, 1, 9, 3), 'z' - 32);
    EXPECT_EQ(GlyphAt(screen.get(), 1, 4, 9, 3), '{' - 32);
}

std::string InitError(const std::string& file, int charWidth, int charHeight, Font& font)
{
    try
    {
        font.Init(file, test::ArgbRendererInfo(), charWidth, charHeight);
    }
    catch (const std::runtime_error& error)
    {
        return error.what();
    }
    return "no error";
}

TEST(FontInit, RejectsBadCellSizesAndMissingFiles)
{
    test::TempDir dir;
    WriteLabelledFont(dir, "font.png", 8, 8);
    Font font;
    EXPECT_EQ(InitError("font.png", 0, 8, font), "Character width is invalid: 0");
    EXPECT_EQ(font.mCharWidth, 8);
    EXPECT_EQ(InitError("font.png", 6, -3, font), "Character height is invalid: -3");
    EXPECT_EQ(font.mCharWidth, 6); // kept once it passed its check
    EXPECT_EQ(font.mCharHeight, 8);
    EXPECT_EQ(InitError("nothere.png", 8, 8, font).rfind("Unable to load image: ", 0), 0u);
}
} // namespace
