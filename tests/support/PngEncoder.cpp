// PNG files written byte by byte, in any colour type an image editor may choose.
#include "PngEncoder.h"

#include <algorithm>

namespace test
{
namespace
{
void PutBigEndian(std::string& out, std::uint32_t value, int bytes)
{
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
    {
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

std::uint32_t Crc32(const std::string& bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes)
    {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
        {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string StoredZlib(const std::string& data)
{
    std::string out("\x78\x01", 2);
    std::size_t at = 0;
    do
    {
        const std::size_t size = std::min<std::size_t>(data.size() - at, 0xFFFF);
        out.push_back(at + size == data.size() ? 1 : 0);
        const auto length = static_cast<std::uint32_t>(size);
        for (std::uint32_t half : {length, ~length & 0xFFFFu})
        {
            out.push_back(static_cast<char>(half & 0xFF));
            out.push_back(static_cast<char>(half >> 8));
        }
        out.append(data, at, size);
        at += size;
    } while (at < data.size());
    std::uint32_t a = 1, b = 0;
    for (unsigned char byte : data)
    {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(out, (b << 16) | a, 4);
    return out;
}

// Channel 0 is red, 1 green, 2 blue, 3 alpha.
std::uint32_t Channel(std::uint32_t pixel, int channel)
{
    return (pixel >> (24 - 8 * channel)) & 0xFF;
}

bool IsGrey(PngColour colour)
{
    return colour == PngColour::Grey || colour == PngColour::GreyAlpha;
}

class Samples
{
  public:
    Samples(const std::vector<std::uint32_t>& rgba, PngEncoding encoding) : mEncoding(encoding)
    {
        if (encoding.colour == PngColour::Palette)
        {
            for (std::uint32_t pixel : rgba)
            {
                if (std::find(mPalette.begin(), mPalette.end(), pixel) == mPalette.end())
                {
                    mPalette.push_back(pixel);
                }
            }
        }
    }

    const std::vector<std::uint32_t>& Palette() const { return mPalette; }

    // One pixel's samples appended to a scanline.
    void Put(std::string& line, std::uint32_t pixel) const
    {
        if (mEncoding.colour == PngColour::Palette)
        {
            line.push_back(
                static_cast<char>(std::find(mPalette.begin(), mPalette.end(), pixel) - mPalette.begin()));
            return;
        }
        for (int channel = 0; channel < (IsGrey(mEncoding.colour) ? 1 : 3); ++channel)
        {
            Sample(line, Channel(pixel, channel), 8);
        }
        if (mEncoding.colour == PngColour::GreyAlpha || mEncoding.colour == PngColour::Rgba)
        {
            Sample(line, Channel(pixel, 3), 8);
        }
    }

    // A sample at the file's depth (tRNS values take 16 bits whatever the depth); 16-bit files repeat
    // the byte, as editors widen 8-bit pictures.
    void Sample(std::string& out, std::uint32_t value, int minimumBits) const
    {
        PutBigEndian(out, mEncoding.bitDepth == 16 ? value * 257 : value,
                     std::max(mEncoding.bitDepth, minimumBits) / 8);
    }

  private:
    PngEncoding mEncoding;
    std::vector<std::uint32_t> mPalette;
};

// The tRNS chunk of a type without alpha channel, or "" when every pixel is opaque.
std::string Transparency(const std::vector<std::uint32_t>& rgba, const Samples& samples, PngEncoding encoding)
{
    const auto clear =
        std::find_if(rgba.begin(), rgba.end(), [](std::uint32_t pixel) { return Channel(pixel, 3) != 0xFF; });
    std::string chunk;
    if (clear == rgba.end())
    {
        return chunk;
    }
    if (encoding.colour == PngColour::Palette)
    {
        for (std::uint32_t entry : samples.Palette())
        {
            chunk.push_back(static_cast<char>(Channel(entry, 3)));
        }
        return chunk;
    }
    for (int channel = 0; channel < (IsGrey(encoding.colour) ? 1 : 3); ++channel)
    {
        samples.Sample(chunk, Channel(*clear, channel), 16);
    }
    return chunk;
}
} // namespace

void PutPngChunk(std::string& png, const char* type, const std::string& data)
{
    PutBigEndian(png, static_cast<std::uint32_t>(data.size()), 4);
    const std::string body = std::string(type, 4) + data;
    png += body;
    PutBigEndian(png, Crc32(body), 4);
}

std::string EncodePng(int width, int height, const std::vector<std::uint32_t>& rgba, PngEncoding encoding)
{
    const Samples samples(rgba, encoding);
    const bool hasAlpha = encoding.colour == PngColour::GreyAlpha || encoding.colour == PngColour::Rgba;

    std::string header;
    PutBigEndian(header, static_cast<std::uint32_t>(width), 4);
    PutBigEndian(header, static_cast<std::uint32_t>(height), 4);
    header.push_back(static_cast<char>(encoding.bitDepth));
    header.push_back(static_cast<char>(encoding.colour));
    header += std::string("\0\0", 2); // deflate, adaptive filtering
    header.push_back(encoding.interlaced ? 1 : 0);

    // Adam7 splits the picture into seven sub-pictures; a plain picture is one pass over everything.
    struct Pass
    {
        int x, y, stepX, stepY;
    };
    const std::vector<Pass> passes =
        encoding.interlaced ? std::vector<Pass>{{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                                {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}
                            : std::vector<Pass>{{0, 0, 1, 1}};
    std::string raw;
    for (const Pass& pass : passes)
    {
        if (pass.x >= width || pass.y >= height)
        {
            continue; // an empty pass has no scanlines at all
        }
        for (int y = pass.y; y < height; y += pass.stepY)
        {
            raw.push_back(0); // filter: none
            for (int x = pass.x; x < width; x += pass.stepX)
            {
                samples.Put(raw, rgba.at(static_cast<std::size_t>(y) * width + x));
            }
        }
    }

    std::string png("\x89PNG\r\n\x1a\n", 8);
    PutPngChunk(png, "IHDR", header);
    if (encoding.colour == PngColour::Palette)
    {
        std::string palette;
        for (std::uint32_t entry : samples.Palette())
        {
            PutBigEndian(palette, entry >> 8, 3);
        }
        PutPngChunk(png, "PLTE", palette);
    }
    if (!hasAlpha)
    {
        const std::string transparency = Transparency(rgba, samples, encoding);
        if (!transparency.empty())
        {
            PutPngChunk(png, "tRNS", transparency);
        }
    }
    PutPngChunk(png, "IDAT", StoredZlib(raw));
    PutPngChunk(png, "IEND", "");
    return png;
}
} // namespace test
