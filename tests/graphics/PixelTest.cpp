// Raw pixel access on every pixel size, lines and circles, colours.
#include "graphics/Utils.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

namespace
{
std::vector<Uint8> Bytes(SDL_Surface* surface)
{
    const auto* start = static_cast<const Uint8*>(surface->pixels);
    return std::vector<Uint8>(start, start + surface->pitch * surface->h);
}

TEST(Pixel, RoundTripKeepsOnlyTheBitsOfThePixelSize)
{
    const Uint32 value = 0xA1B2C3D4u;
    const Uint32 expected[] = {0xD4u, 0xC3D4u, 0xB2C3D4u, 0xA1B2C3D4u};
    for (int bytes = 1; bytes <= 4; ++bytes)
    {
        test::SurfacePtr surface = test::MakeSurface(5, 4, bytes);
        Utils::PutPixel(surface.get(), 3, 2, value);
        EXPECT_EQ(Utils::GetPixel(surface.get(), 3, 2), expected[bytes - 1]) << bytes << " bytes";
        // Neighbours stay untouched.
        EXPECT_EQ(Utils::GetPixel(surface.get(), 2, 2), 0u);
        EXPECT_EQ(Utils::GetPixel(surface.get(), 4, 2), 0u);
        EXPECT_EQ(Utils::GetPixel(surface.get(), 3, 1), 0u);
        EXPECT_EQ(Utils::GetPixel(surface.get(), 3, 3), 0u);
    }
}

TEST(Pixel, ThreeByteLayoutStoresLowestByteFirst)
{
    test::SurfacePtr surface = test::MakeSurface(4, 3, 3);
    Utils::PutPixel(surface.get(), 1, 2, 0xFF123456u);
    const Uint8* at = static_cast<const Uint8*>(surface->pixels) + 2 * surface->pitch + 3;
    EXPECT_EQ(at[0], 0x56);
    EXPECT_EQ(at[1], 0x34);
    EXPECT_EQ(at[2], 0x12);
    EXPECT_EQ(Utils::GetPixel(surface.get(), 1, 2), 0x123456u);
}

TEST(Pixel, OutsideTheSurfaceReadsZeroAndWritesNothing)
{
    for (int bytes = 1; bytes <= 4; ++bytes)
    {
        test::SurfacePtr surface = test::MakeSurface(4, 3, bytes);
        std::memset(surface->pixels, 0x5A, static_cast<size_t>(surface->pitch * surface->h));
        const std::vector<Uint8> before = Bytes(surface.get());
        const int places[][2] = {{4, 0}, {0, 3}, {-1, 0}, {0, -1}, {1000000, 1}, {-7, -7}};
        for (const auto& place : places)
        {
            EXPECT_EQ(Utils::GetPixel(surface.get(), place[0], place[1]), 0u);
            Utils::PutPixel(surface.get(), place[0], place[1], 0xFFFFFFFFu);
        }
        EXPECT_EQ(Bytes(surface.get()), before) << bytes << " bytes";
    }
    EXPECT_EQ(Utils::GetPixel(nullptr, 0, 0), 0u);
    Utils::PutPixel(nullptr, 0, 0, 1u);
}

int CountSet(SDL_Surface* surface, Uint32 value)
{
    int count = 0;
    for (int y = 0; y < surface->h; ++y)
    {
        for (int x = 0; x < surface->w; ++x)
        {
            count += Utils::GetPixel(surface, x, y) == value ? 1 : 0;
        }
    }
    return count;
}

TEST(Pixel, LinesAndCirclesReachTheirEnds)
{
    test::SurfacePtr surface = test::MakeSurface(21, 21, 4);
    Utils::Line(surface.get(), 15.9, 1.2, 5.7, 17.9, 4u); // steep, drawn backwards, ends truncated
    EXPECT_EQ(Utils::GetPixel(surface.get(), 15, 1), 4u);
    EXPECT_EQ(Utils::GetPixel(surface.get(), 5, 17), 4u);
    EXPECT_EQ(CountSet(surface.get(), 4u), 17); // one pixel per row

    Utils::Circle(surface.get(), 10, 10, 6, 3u);
    for (const auto& end : {std::pair{16, 10}, std::pair{4, 10}, std::pair{10, 16}, std::pair{10, 4}})
    {
        EXPECT_EQ(Utils::GetPixel(surface.get(), end.first, end.second), 3u);
    }
    Utils::Circle(surface.get(), 0, 0, -1, 5u);
    Utils::Circle(surface.get(), 20, 20, 0, 5u);
    EXPECT_EQ(CountSet(surface.get(), 5u), 1);
}

TEST(Colors, GetColorClearsOnlyTheTopByte)
{
    EXPECT_EQ(Utils::GetColor(0xFF123456u), 0x123456u);
    EXPECT_EQ(Utils::GetColor(0x01ABCDEFu), 0xABCDEFu);
    EXPECT_EQ(Utils::GetColor(0x00FFFFFFu), 0xFFFFFFu);
    EXPECT_EQ(Utils::GetColor(0u), 0u);
}

TEST(Colors, StarGreyDependsOnSpeedBand)
{
    test::SurfacePtr surface = test::MakeSurface(1, 1, 4);
    auto grey = [&surface](Uint8 level) { return SDL_MapRGB(surface->format, level, level, level); };
    const struct
    {
        int speed;
        Uint8 level;
    } cases[] = {{1, 160}, {3, 160},  {4, 192},  {6, 192}, {7, 224},
                 {9, 224}, {10, 255}, {12, 255}, {0, 255}, {-4, 255}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(Utils::GetStarColor(surface.get(), c.speed), grey(c.level)) << "speed " << c.speed;
    }
}
} // namespace
