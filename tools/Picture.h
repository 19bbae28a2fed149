// An RGB canvas the content tools paint on and save as PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Picture
{
  public:
    Picture(int width, int height, std::uint32_t fill);

    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < mWidth && y < mHeight; }
    // Colours are 0xRRGGBB; writes outside the canvas are ignored.
    void Set(int x, int y, std::uint32_t rgb);
    std::uint32_t Get(int x, int y) const;

    // Writes a 24-bit PNG with no metadata, so equal pictures give equal files. Throws on failure.
    void Save(const std::string& path) const;

  private:
    int mWidth;
    int mHeight;
    std::vector<std::uint32_t> mPixels;
};
