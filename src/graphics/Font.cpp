// Drawing text with the bitmap font: one glyph cell per character, painted in the caller's colour.
#include "graphics/Font.h"

#include "graphics/GlyphOrder.h"
#include "graphics/Utils.h"

#include <algorithm>
#include <stdexcept>

namespace
{
// Glyph cells are laid out 12 to a row.
constexpr int GlyphsPerRow = GlyphOrder::mPerRow;

bool IsSpace(char32_t code)
{
    return code == ' ' || code == 0xA0;
}

bool IsControl(char32_t code)
{
    return code < 0x20 || (code >= 0x7F && code < 0xA0);
}

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
    // A cell the picture lacks, or one left blank, is no glyph: its characters draw the replacement box.
    mInked.assign(GlyphOrder::mGlyphCount, false);
    SDL_Surface* surface = mImage->mSurface;
    SDL_LockSurface(surface);
    for (int index = 0; index < GlyphOrder::mGlyphCount; ++index)
    {
        const int left = index % GlyphsPerRow * mCharWidth;
        const int top = index / GlyphsPerRow * mCharHeight;
        if (left + mCharWidth > width || top + mCharHeight > height)
        {
            continue;
        }
        bool inked = IsSpace(GlyphOrder::CodeAt(index));
        for (int y = top; y < top + mCharHeight && !inked; ++y)
        {
            for (int x = left; x < left + mCharWidth && !inked; ++x)
            {
                inked = Utils::GetPixel(surface, x, y) != 0;
            }
        }
        mInked[static_cast<std::size_t>(index)] = inked;
    }
    SDL_UnlockSurface(surface);
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

bool Font::HasGlyph(char32_t code) const
{
    const int index = GlyphOrder::Index(code);
    return index >= 0 && static_cast<std::size_t>(index) < mInked.size() &&
           mInked[static_cast<std::size_t>(index)];
}

void Font::DrawBox(int x, int y, unsigned int color, SDL_Surface* dest)
{
    // A hollow box as tall as a capital, plain to see and like no letter.
    const int right = std::max(mCharWidth - 3, 1);
    const int bottom = std::max(mCharHeight - 2, 1);
    SDL_Rect edges[] = {{x + 1, y, right, 1},
                        {x + 1, y + bottom, right, 1},
                        {x + 1, y, 1, bottom + 1},
                        {x + right, y, 1, bottom + 1}};
    for (SDL_Rect& edge : edges)
    {
        SDL_FillRect(dest, &edge, color);
    }
}

void Font::DrawCode(char32_t code, int x, int y, unsigned int color, SDL_Surface* dest)
{
    if (IsControl(code))
    {
        return;
    }
    if (!HasGlyph(code))
    {
        DrawBox(x, y, color, dest);
        return;
    }
    DrawGlyph(static_cast<std::string::size_type>(GlyphOrder::Index(code)), x, y, color, dest);
}

void Font::DrawString(const std::string& text, int x, int y, unsigned int color, SDL_Surface* dest)
{
    if (mRecord && text.find_first_not_of(" \t\n") != std::string::npos)
    {
        const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
        mRecord->push_back({text, {x, y, TextWidth(text), lines * mCharHeight}});
    }
    int dx = 0;
    int dy = 0;
    for (std::size_t at = 0; at < text.size();)
    {
        const char32_t code = GlyphOrder::NextCode(text, at);
        if (code == '\n')
        {
            dx = 0;
            dy += mCharHeight;
        }
        else if (code == '\t')
        {
            dx += 2 * mCharWidth;
        }
        else
        {
            DrawCode(code, x + dx, y + dy, color, dest);
            dx += mCharWidth;
        }
    }
}

std::size_t Font::Length(const std::string& text)
{
    std::size_t longest = 0;
    std::size_t cells = 0;
    for (std::size_t at = 0; at < text.size();)
    {
        const char32_t code = GlyphOrder::NextCode(text, at);
        cells = code == '\n' ? 0 : cells + (code == '\t' ? 2 : 1);
        longest = std::max(longest, cells);
    }
    return longest;
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

std::string Font::Clip(const std::string& text, std::size_t cells)
{
    std::size_t at = 0;
    for (std::size_t taken = 0; taken < cells && at < text.size(); ++taken)
    {
        GlyphOrder::NextCode(text, at);
    }
    return text.substr(0, at);
}
