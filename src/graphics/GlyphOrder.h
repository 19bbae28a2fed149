// Where each character's glyph lies in the font picture, shared by the game and the tool that paints the
// picture: printable ASCII first (as it always was), then Latin-1 Supplement and Latin Extended-A, Cyrillic,
// and the typographic punctuation, each block in code order, 12 cells to a row.
#pragma once

#include <string>

namespace GlyphOrder
{
struct Block
{
    char32_t mFirst;
    char32_t mLast;
    int mFirstIndex;
};

// The ASCII glyphs fill 95 cells; the cell after them stays empty, so the other blocks start on a row.
constexpr Block mBlocks[] = {
    {0x20, 0x7E, 0},       // printable ASCII
    {0xA0, 0x17F, 96},     // Latin-1 Supplement and Latin Extended-A
    {0x400, 0x45F, 320},   // Cyrillic
    {0x2010, 0x2027, 416}, // dashes, quotes, bullet, ellipsis
    {0x2039, 0x203A, 440}, // single guillemets
    {0x20AC, 0x20AC, 442}, // euro sign
};
constexpr int mGlyphCount = 443;
constexpr int mPerRow = 12;

// The cell of a character, or -1 where the font has none.
constexpr int Index(char32_t code)
{
    for (const Block& block : mBlocks)
    {
        if (code >= block.mFirst && code <= block.mLast)
        {
            return block.mFirstIndex + static_cast<int>(code - block.mFirst);
        }
    }
    return -1;
}

// The character whose glyph stands in cell index, or 0 for an unused cell.
constexpr char32_t CodeAt(int index)
{
    for (const Block& block : mBlocks)
    {
        const int count = static_cast<int>(block.mLast - block.mFirst) + 1;
        if (index >= block.mFirstIndex && index < block.mFirstIndex + count)
        {
            return block.mFirst + static_cast<char32_t>(index - block.mFirstIndex);
        }
    }
    return 0;
}

// The value a broken UTF-8 sequence stands for: it draws the replacement box.
constexpr char32_t mBroken = 0xFFFD;

// Decodes the character starting at text[at] and moves at past it. A broken, overlong or truncated sequence
// (or a surrogate) yields mBroken and moves on by one byte, so what follows it is still read.
inline char32_t NextCode(const std::string& text, std::size_t& at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
    {
        ++at;
        return lead;
    }
    int extra = lead >= 0xF0 && lead <= 0xF4 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 && lead < 0xE0 ? 1 : -1;
    if (lead > 0xF4)
        extra = -1;
    if (extra < 0 || at + static_cast<std::size_t>(extra) >= text.size())
    {
        ++at;
        return mBroken;
    }
    char32_t code = lead & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i)
    {
        const unsigned char next = byte(at + static_cast<std::size_t>(i));
        if ((next & 0xC0) != 0x80)
        {
            ++at;
            return mBroken;
        }
        code = code << 6 | (next & 0x3F);
    }
    const char32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (code < least[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
    {
        ++at;
        return mBroken;
    }
    at += static_cast<std::size_t>(extra) + 1;
    return code;
}
} // namespace GlyphOrder
