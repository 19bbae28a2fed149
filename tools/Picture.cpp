// An RGB canvas saved through SDL2_image.
#include "Picture.h"

#include <SDL.h>
#include <SDL_image.h>

#include <stdexcept>

Picture::Picture(int width, int height, std::uint32_t fill)
    : mWidth(width), mHeight(height), mPixels(static_cast<std::size_t>(width) * height, fill)
{
    if (width < 1 || height < 1)
        throw std::runtime_error("picture size must be positive");
}

void Picture::Set(int x, int y, std::uint32_t rgb)
{
    if (Inside(x, y))
        mPixels[static_cast<std::size_t>(y) * mWidth + x] = rgb & 0xFFFFFF;
}

std::uint32_t Picture::Get(int x, int y) const
{
    if (!Inside(x, y))
        throw std::runtime_error("pixel outside the picture");
    return mPixels[static_cast<std::size_t>(y) * mWidth + x];
}

void Picture::Save(const std::string& path) const
{
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, mWidth, mHeight, 24, SDL_PIXELFORMAT_RGB24);
    if (surface == nullptr)
        throw std::runtime_error(std::string("cannot create surface: ") + SDL_GetError());
    auto* bytes = static_cast<std::uint8_t*>(surface->pixels);
    for (int y = 0; y < mHeight; ++y)
    {
        std::uint8_t* row = bytes + static_cast<std::size_t>(y) * surface->pitch;
        for (int x = 0; x < mWidth; ++x)
        {
            std::uint32_t rgb = mPixels[static_cast<std::size_t>(y) * mWidth + x];
            row[3 * x] = static_cast<std::uint8_t>(rgb >> 16);
            row[3 * x + 1] = static_cast<std::uint8_t>(rgb >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(rgb);
        }
    }
    int result = IMG_SavePNG(surface, path.c_str());
    SDL_FreeSurface(surface);
    if (result != 0)
        throw std::runtime_error("cannot write " + path + ": " + IMG_GetError());
}
