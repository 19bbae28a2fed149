// The scaling rule on the screens players have, and mapping window positions back to the picture.
#include "graphics/Scaling.h"
#include "graphics/Framework.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

namespace
{
using Mode = Scaling::Mode;

std::tuple<int, int, int, int> Tuple(const SDL_Rect& rect)
{
    return {rect.x, rect.y, rect.w, rect.h};
}

TEST(Scaling, PictureRectOnCommonAndOddScreens)
{
    const struct
    {
        int width, height;
        SDL_Rect sharp, fit;
    } table[] = {
        {640, 480, {0, 0, 640, 480}, {0, 0, 640, 480}},
        // Fit keeps the whole screen where the whole multiple would lose a fifth of it.
        {800, 600, {80, 60, 640, 480}, {0, 0, 800, 600}},
        {1280, 720, {160, 0, 960, 720}, {160, 0, 960, 720}},
        {1920, 1080, {320, 60, 1280, 960}, {240, 0, 1440, 1080}},
        {2560, 1440, {320, 0, 1920, 1440}, {320, 0, 1920, 1440}},
        {3840, 2160, {480, 0, 2880, 2160}, {480, 0, 2880, 2160}},
        {1080, 1920, {60, 600, 960, 720}, {0, 555, 1080, 810}}, // portrait: the width decides
        // Within a tenth of the largest picture, Fit takes the whole multiple.
        {1366, 768, {203, 24, 960, 720}, {203, 24, 960, 720}},
        {1680, 1050, {200, 45, 1280, 960}, {200, 45, 1280, 960}},
        {1281, 961, {0, 0, 1280, 960}, {0, 0, 1280, 960}},
        {1001, 999, {20, 139, 960, 720}, {20, 139, 960, 720}},
        // Smaller than the picture itself: Sharp has no whole multiple and fits instead.
        {300, 200, {17, 0, 266, 200}, {17, 0, 266, 200}},
    };
    for (const auto& screen : table)
    {
        SCOPED_TRACE(std::to_string(screen.width) + "x" + std::to_string(screen.height));
        EXPECT_EQ(Tuple(screen.sharp), Tuple(Scaling::PictureRect(screen.width, screen.height, Mode::Sharp)));
        EXPECT_EQ(Tuple(screen.fit), Tuple(Scaling::PictureRect(screen.width, screen.height, Mode::Fit)));
        EXPECT_EQ(Tuple({0, 0, screen.width, screen.height}),
                  Tuple(Scaling::PictureRect(screen.width, screen.height, Mode::Stretch)));
    }
}

TEST(Scaling, FirstWindowIsTheLargestWholeMultipleWithRoomForItsFrameButNeverBelow640x480)
{
    const struct
    {
        int usableWidth, usableHeight, width, height;
    } table[] = {
        {1920, 1080, 1280, 960}, {1920, 1040, 1280, 960}, {2560, 1400, 1600, 1200}, {3840, 2120, 2560, 1920},
        {1366, 728, 640, 480},   {640, 480, 640, 480},    {320, 240, 640, 480},
    };
    for (const auto& row : table)
    {
        const SDL_Point size = Scaling::FirstWindowSize(row.usableWidth, row.usableHeight);
        EXPECT_EQ(row.width, size.x) << row.usableWidth << "x" << row.usableHeight;
        EXPECT_EQ(row.height, size.y) << row.usableWidth << "x" << row.usableHeight;
    }
}

TEST(Scaling, WindowPositionsMapBackToThePixelUnderThem)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    Framework framework;
    ASSERT_TRUE(framework.Init(false, false));
    SDL_SetWindowSize(framework.mWindow, 1280, 720);
    const struct
    {
        Mode mode;
        int windowX, windowY;
        SDL_Point picture;
    } table[] = {
        {Mode::Fit, 160, 0, {0, 0}},        // the picture's first pixel, past the black bar
        {Mode::Fit, 159, 0, {-1, 0}},       // on the bar: outside the picture
        {Mode::Fit, 1119, 719, {319, 239}}, // the last pixel
        {Mode::Fit, 1120, 360, {320, 120}}, // the right bar
        {Mode::Stretch, 1279, 719, {319, 239}},
        {Mode::Stretch, 4, 3, {1, 1}},
    };
    for (const auto& row : table)
    {
        framework.mScaling = row.mode;
        const SDL_Point picture = framework.ToPicture(row.windowX, row.windowY);
        EXPECT_EQ(row.picture.x, picture.x) << Scaling::Name(row.mode) << " " << row.windowX;
        EXPECT_EQ(row.picture.y, picture.y) << Scaling::Name(row.mode) << " " << row.windowY;
    }
}
} // namespace
