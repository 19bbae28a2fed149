// A frame is shown again only when its pixels or its place on the output differ from the one shown, or
// the output has lost it.
#include "graphics/ShownPicture.h"

#include <gtest/gtest.h>

#include <memory>

TEST(ShownPicture, TakesOnlyAPictureThatDiffersInPixelsOrPlace)
{
    // 3 pixels of 3 bytes: rows padded to 12 bytes, where a change must not count.
    const std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> picture(
        SDL_CreateRGBSurfaceWithFormat(0, 3, 2, 24, SDL_PIXELFORMAT_RGB24), SDL_FreeSurface);
    ASSERT_TRUE(picture);
    ASSERT_GT(picture->pitch, 9);
    auto* pixels = static_cast<Uint8*>(picture->pixels);
    const SDL_Rect whole{0, 0, 640, 480};
    ShownPicture shown;
    EXPECT_TRUE(shown.Take(*picture, whole));
    EXPECT_FALSE(shown.Take(*picture, whole));
    pixels[picture->pitch - 1] ^= 0xFF; // padding only
    EXPECT_FALSE(shown.Take(*picture, whole));
    pixels[picture->pitch + 8] ^= 0xFF; // the last byte of the last pixel
    EXPECT_TRUE(shown.Take(*picture, whole));
    EXPECT_FALSE(shown.Take(*picture, whole));
    EXPECT_TRUE(shown.Take(*picture, SDL_Rect{80, 0, 480, 480}));
    shown.Forget();
    EXPECT_TRUE(shown.Take(*picture, SDL_Rect{80, 0, 480, 480}));
}
