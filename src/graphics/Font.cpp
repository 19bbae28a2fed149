// Drawing text with the bitmap font: one glyph cell per character, painted in the caller's colour.
#include "graphics/Font.h"

#include "graphics/Utils.h"

#include <stdexcept>

namespace
{
// Glyph cells are laid out 12 to a row.
constexpr int GlyphsPerRow = 12;

std::string PrintableAscii()
{
    std::string characters;
    for (char c = ' '; c <= '~'; ++c)
    {
        characters += c;
    }
    return characters;
}
} // namespace

Font::Font() : mCharacters(PrintableAscii()) {}

bool Font::Init(const std::string& file, SDL_RendererInfo info, int charWidth, int charHeight)
{
    mImage = std::make_unique<Image>();
    mImage->Load("data/gfx/" + file, info, true, Image::mKeyRed, Image::mKeyGreen, Image::mKeyBlue);
    const int width = mImage->mSurface->w;
    const int height = mImage->mSurface->h;
    if (width < 1)
    {
        throw std::runtime_error("Font image width is invalid: " + Utils::ToString(width));
    }
    if (height < 1)
    {
        throw std::runtime_error("Font image height is invalid: " + Utils::ToString(height));
    }
    if (charWidth < 1)
    {
        throw std::runtime_error("Character width is invalid: " + Utils::ToString(charWidth));
    }
    mCharWidth = charWidth;
    if (charHeight < 1)
    {
        throw std::runtime_error("Character height is invalid: " + Utils::ToString(charHeight));
    }
    mCharHeight = charHeight;
    return true;
}

void Font::DrawGlyph(std::string::size_type index, int x, int y, unsigned int color, SDL_Surface* dest)
{
    // Characters without a glyph leave their cell empty.
    if (!mImage || index == std::string::npos)
    {
        return;
    }
    const int column = static_cast<int>(index % GlyphsPerRow);
    const int row = static_cast<int>(index / GlyphsPerRow);
    mImage->Draw(dest, color, x, y, mCharWidth * column, mCharHeight * row, mCharWidth, mCharHeight);
}

void Font::DrawChar(unsigned char c, int x, int y, unsigned int color, SDL_Surface* dest)
{
    DrawGlyph(mCharacters.find(static_cast<char>(c)), x, y, color, dest);
}

void Font::DrawString(const std::string& text, int x, int y, unsigned int color, SDL_Surface* dest)
{
    int dx = 0;
    int dy = 0;
    for (const char c : text)
    {
        if (c == '\n')
        {
            dx = 0;
            dy += mCharHeight;
        }
        else if (c == '\t')
        {
            dx += 2 * mCharWidth;
        }
        else
        {
            DrawGlyph(mCharacters.find(c), x + dx, y + dy, color, dest);
            dx += mCharWidth;
        }
    }
}

void Font::DrawNumber(std::string digits, int x, int y, unsigned int minLength, unsigned int color,
                      SDL_Surface* dest)
{
    if (digits.size() < minLength)
    {
        digits.insert(0, minLength - digits.size(), '0');
    }
    int dx = 0;
    for (const char c : digits)
    {
        DrawGlyph(mCharacters.find(c), x + dx, y, color, dest);
        dx += mCharWidth;
    }
}
