// PNG files written byte by byte, in any colour type an image editor may choose, for the picture loader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace test
{
enum class PngColour
{
    Grey = 0,
    Rgb = 2,
    Palette = 3,
    GreyAlpha = 4,
    Rgba = 6
};

struct PngEncoding
{
    PngColour colour = PngColour::Rgb;
    int bitDepth = 8; // 8 or 16 (a palette is always 8)
    bool interlaced = false;
};

// The bytes of a PNG of width x height pixels given as 0xRRGGBBAA, row after row, stored without
// compression. Grey types take the red channel. Types without an alpha channel mark the pixels of
// alpha 0 through a tRNS chunk (their colour must not also occur opaque); other alphas need one.
std::string EncodePng(int width, int height, const std::vector<std::uint32_t>& rgba, PngEncoding encoding);

// Appends one chunk (length, type, data, CRC) to the bytes of a PNG.
void PutPngChunk(std::string& png, const char* type, const std::string& data);
} // namespace test
