// The bitmap font: glyph placement, line feeds and tabs, padded numbers and the checks of Init.
#include "graphics/Font.h"
#include "graphics/GlyphOrder.h"
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

// A glyph sheet of 12 cells per row where cell i shows its own index: bit k of i as pixel (k, 0) (bits 7
// and 8 as pixels (0, 2) and (1, 2)), and a marker at (cellWidth - 1, 1) so even glyph 0 (space) can be
// seen. The ASCII glyphs alone by default, or every glyph of the game's order.
void WriteLabelledFont(const test::TempDir& dir, const std::string& name, int cellWidth, int cellHeight,
                       int glyphs = 95)
{
    const int width = 12 * cellWidth;
    const int height = (glyphs + 11) / 12 * cellHeight;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height), Background);
    for (int index = 0; index < glyphs; ++index)
    {
        const int left = cellWidth * (index % 12);
        const int top = cellHeight * (index / 12);
        for (int bit = 0; bit < 9; ++bit)
        {
            if (index & (1 << bit))
            {
                const int row = bit < 7 ? top : top + 2;
                pixels[static_cast<std::size_t>(row * width + left + bit % 7)] = 0xFFFFFF;
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
            else if (j == 2 && i < 2)
            {
                index |= inked ? 1 << (i + 7) : 0;
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

// The replacement box: a hollow frame as tall as a capital, nothing else in its cell.
bool IsBox(SDL_Surface* surface, int x, int y)
{
    for (int j = 0; j < 8; ++j)
    {
        for (int i = 0; i < 8; ++i)
        {
            const bool frame = i >= 1 && i <= 5 && j <= 6 && (i == 1 || i == 5 || j == 0 || j == 6);
            if ((Utils::GetPixel(surface, x + i, y + j) == Ink) != frame)
            {
                return false;
            }
        }
    }
    return true;
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
    EXPECT_EQ(Glyph(36, 10), -1);              // a control character keeps its cell empty
    EXPECT_TRUE(IsBox(mScreen.get(), 44, 10)); // byte 200 alone is a broken sequence: the box
    EXPECT_EQ(Glyph(52, 10), 36);
}

TEST(FontUtf8, LettersBeyondAsciiComeFromTheirCellsAndTheRestDrawTheBox)
{
    test::TempDir dir;
    WriteLabelledFont(dir, "font.png", 8, 8, GlyphOrder::mGlyphCount);
    Font font;
    ASSERT_TRUE(font.Init("font.png", test::ArgbRendererInfo(), 8, 8));
    test::SurfacePtr screen = test::MakeSurface(160, 20, 4);
    // Each text draws these cells in order: a glyph's character, or 0 for the box.
    const struct
    {
        const char* mText;
        std::vector<char32_t> mCells;
    } cases[] = {
        {"a\u00e9\u042f\u2014\u20ac", {'a', 0xE9, 0x42F, 0x2014, 0x20AC}},
        {"\u00a0\u017f\u045f", {0xA0, 0x17F, 0x45F}},
        {"x\u4e2d\u2603y", {'x', 0, 0, 'y'}},     // no glyph: a box each
        {"a\xc3", {'a', 0}},                      // cut short at the end
        {"\xc3(b", {0, '(', 'b'}},                // a lead byte without its follower
        {"\xc0\xaf!", {0, 0, '!'}},               // overlong: every byte a box
        {"\xed\xa0\x80z", {0, 0, 0, 'z'}},        // a surrogate
        {"\xf5\x80\x80\x80", {0, 0, 0, 0}},       // beyond Unicode
        {"\xe2\x82\xac\xe2\x82", {0x20AC, 0, 0}}, // a whole euro, then a broken one
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.mText);
        SDL_FillRect(screen.get(), nullptr, Paper);
        font.DrawString(test.mText, 0, 0, Ink, screen.get());
        EXPECT_EQ(Font::Length(test.mText), test.mCells.size());
        for (std::size_t i = 0; i < test.mCells.size(); ++i)
        {
            const int x = static_cast<int>(8 * i);
            if (test.mCells[i] == 0)
            {
                EXPECT_TRUE(IsBox(screen.get(), x, 0)) << "cell " << i;
            }
            else
            {
                EXPECT_EQ(GlyphAt(screen.get(), x, 0, 8, 8), GlyphOrder::Index(test.mCells[i]))
                    << "cell " << i;
            }
        }
        EXPECT_EQ(Font::Clip(test.mText, test.mCells.size()), test.mText);
    }
    EXPECT_EQ(Font::Clip("\u00e9t\u00e9", 2), "\u00e9t");
    EXPECT_EQ(font.TextWidth("ab\n\u00e9\u00e9\u00e9"), 24); // the longest line
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
