// Image drawing: the fast row walkers must give exactly the pixels of a plain per-pixel reference.
#include "graphics/Image.h"
#include "graphics/Utils.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <sstream>
#include <string>

namespace
{
enum class Form
{
    Whole,
    Rectangle,
    Paint,
    FlippedWhole,
    FlippedRectangle,
    Scaled
};

struct Call
{
    Form form;
    int x, y, srcX, srcY, width, height, scale;
    Uint32 color;
};

std::string Describe(const Call& call, int sourceBytes, int destBytes, bool hasKey)
{
    std::ostringstream text;
    text << "form " << static_cast<int>(call.form) << " at (" << call.x << "," << call.y << ") src ("
         << call.srcX << "," << call.srcY << ") size " << call.width << "x" << call.height << " scale "
         << call.scale << " bytes " << sourceBytes << "->" << destBytes << " key " << hasKey;
    return text.str();
}

// Visits the whole destination rectangle pixel by pixel exactly as the drawing rules read.
void ReferenceDraw(const Image& image, SDL_Surface* dest, const Call& call)
{
    SDL_Surface* source = image.mSurface;
    Uint32 key = 0;
    if (image.mHasColorKey)
    {
        SDL_GetColorKey(source, &key);
    }
    const bool whole = call.form == Form::Whole || call.form == Form::FlippedWhole;
    const int width = whole ? source->w : call.width;
    const int height = whole ? source->h : call.height;
    const int scale = call.form == Form::Scaled ? call.scale : 1;
    const int srcX = whole ? 0 : call.srcX;
    const int srcY = whole ? 0 : call.srcY;
    // Scales below 1 draw nothing (a negative scale times a negative size is no enlargement).
    if (scale < 1 || width * scale < 1 || height * scale < 1)
    {
        return;
    }
    for (int j = 0; j < height * scale; ++j)
    {
        for (int i = 0; i < width * scale; ++i)
        {
            const int dx = call.x + i;
            const int dy = call.y + j;
            if (dx < 0 || dy < 0 || dx >= dest->w || dy >= dest->h)
            {
                continue;
            }
            int sx = srcX + i / scale;
            if (call.form == Form::FlippedWhole || call.form == Form::FlippedRectangle)
            {
                sx = srcX + width - 1 - i;
            }
            const Uint32 value = Utils::GetPixel(source, sx, srcY + j / scale);
            if (image.mHasColorKey && value == key)
            {
                continue;
            }
            Utils::PutPixel(dest, dx, dy, call.form == Form::Paint ? call.color : value);
        }
    }
}

void RealDraw(Image& image, SDL_Surface* dest, const Call& call)
{
    switch (call.form)
    {
    case Form::Whole:
        image.Draw(dest, call.x, call.y);
        break;
    case Form::Rectangle:
        image.Draw(dest, call.x, call.y, call.srcX, call.srcY, call.width, call.height);
        break;
    case Form::Paint:
        image.Draw(dest, call.color, call.x, call.y, call.srcX, call.srcY, call.width, call.height);
        break;
    case Form::FlippedWhole:
        image.DrawFlipped(dest, call.x, call.y);
        break;
    case Form::FlippedRectangle:
        image.DrawFlipped(dest, call.x, call.y, call.srcX, call.srcY, call.width, call.height);
        break;
    case Form::Scaled:
        image.DrawScaled(dest, call.scale, call.x, call.y, call.srcX, call.srcY, call.width, call.height);
        break;
    }
}

Uint32 ValueMask(int bytes)
{
    return bytes == 4 ? 0xFFFFFFFFu : (1u << (8 * bytes)) - 1;
}

// Random pixels with plenty of zeros and key values, so transparency is exercised everywhere.
void Scribble(SDL_Surface* surface, std::mt19937& random, Uint32 key)
{
    const Uint32 mask = ValueMask(surface->format->BytesPerPixel);
    for (int y = 0; y < surface->h; ++y)
    {
        for (int x = 0; x < surface->w; ++x)
        {
            const unsigned pick = random() % 8;
            const Uint32 value = pick == 0 ? 0 : pick == 1 ? key : static_cast<Uint32>(random()) & mask;
            Utils::PutPixel(surface, x, y, value);
        }
    }
}

void ExpectSamePixels(SDL_Surface* expected, SDL_Surface* actual, const std::string& what)
{
    for (int y = 0; y < expected->h; ++y)
    {
        for (int x = 0; x < expected->w; ++x)
        {
            ASSERT_EQ(Utils::GetPixel(expected, x, y), Utils::GetPixel(actual, x, y))
                << what << " differs at (" << x << "," << y << ")";
        }
    }
}

// Draws the same random calls through Image and through the reference on two equal destinations.
void CompareManyCalls(int sourceBytes, int destBytes, bool hasKey, bool surfaceKey, unsigned seed)
{
    std::mt19937 random(seed);
    auto uniform = [&random](int low, int high)
    { return std::uniform_int_distribution<int>(low, high)(random); };
    const Uint32 sourceMask = ValueMask(sourceBytes);
    const Uint32 key = surfaceKey ? (0x00A5C3E1u & sourceMask) | 1u : 0;

    for (int round = 0; round < 400; ++round)
    {
        Image image;
        image.mSurface = test::MakeSurface(uniform(1, 19), uniform(1, 13), sourceBytes).release();
        ASSERT_NE(image.mSurface, nullptr);
        Scribble(image.mSurface, random, key);
        image.mHasColorKey = hasKey;
        if (surfaceKey)
        {
            SDL_SetColorKey(image.mSurface, SDL_TRUE, key);
        }

        test::SurfacePtr actual = test::MakeSurface(uniform(1, 41), uniform(1, 29), destBytes);
        test::SurfacePtr expected = test::MakeSurface(actual->w, actual->h, destBytes);
        Scribble(actual.get(), random, 0);
        for (int y = 0; y < actual->h; ++y)
        {
            for (int x = 0; x < actual->w; ++x)
            {
                Utils::PutPixel(expected.get(), x, y, Utils::GetPixel(actual.get(), x, y));
            }
        }

        Call call;
        call.form = static_cast<Form>(uniform(0, 5));
        call.x = uniform(-25, 45);
        call.y = uniform(-20, 32);
        call.srcX = uniform(-12, 24);
        call.srcY = uniform(-10, 17);
        call.width = uniform(-2, 30);
        call.height = uniform(-2, 22);
        call.scale = uniform(-1, 4);
        call.color = static_cast<Uint32>(random()) & ValueMask(destBytes);

        RealDraw(image, actual.get(), call);
        ReferenceDraw(image, expected.get(), call);
        ExpectSamePixels(expected.get(), actual.get(), Describe(call, sourceBytes, destBytes, hasKey));
        if (::testing::Test::HasFatalFailure())
        {
            return;
        }
    }
}

struct Pairing
{
    int sourceBytes;
    int destBytes;
};

class ImageDrawMatchesReference : public ::testing::TestWithParam<Pairing>
{
};

TEST_P(ImageDrawMatchesReference, WithoutColorKey)
{
    CompareManyCalls(GetParam().sourceBytes, GetParam().destBytes, false, false, 11);
}

TEST_P(ImageDrawMatchesReference, WithZeroAsTransparent)
{
    CompareManyCalls(GetParam().sourceBytes, GetParam().destBytes, true, false, 23);
}

TEST_P(ImageDrawMatchesReference, WithSurfaceColorKey)
{
    CompareManyCalls(GetParam().sourceBytes, GetParam().destBytes, true, true, 37);
}

// A surface key without the image's flag must be ignored.
TEST_P(ImageDrawMatchesReference, SurfaceKeyIgnoredWithoutFlag)
{
    CompareManyCalls(GetParam().sourceBytes, GetParam().destBytes, false, true, 41);
}

INSTANTIATE_TEST_SUITE_P(PixelSizes, ImageDrawMatchesReference,
                         ::testing::Values(Pairing{1, 1}, Pairing{2, 2}, Pairing{3, 3}, Pairing{4, 4},
                                           Pairing{1, 4}, Pairing{3, 4}, Pairing{4, 3}),
                         [](const ::testing::TestParamInfo<Pairing>& info)
                         {
                             return "Source" + std::to_string(info.param.sourceBytes) + "Dest" +
                                    std::to_string(info.param.destBytes);
                         });

// A 4-byte image whose pixel (x, y) holds 1000 * (y + 1) + x + 1, so every value names its origin.
std::unique_ptr<Image> LabelledImage(int width, int height)
{
    auto image = std::make_unique<Image>();
    image->mSurface = test::MakeSurface(width, height, 4).release();
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            Utils::PutPixel(image->mSurface, x, y, static_cast<Uint32>(1000 * (y + 1) + x + 1));
        }
    }
    return image;
}

Uint32 Label(int x, int y)
{
    return static_cast<Uint32>(1000 * (y + 1) + x + 1);
}

TEST(ImageDraw, ClippedMirroredAndEnlargedPixelsComeFromTheRightPlace)
{
    auto image = LabelledImage(64, 16);
    test::SurfacePtr dest = test::MakeSurface(40, 20, 4);
    image->Draw(dest.get(), -5, 2, 0, 0, 10, 4); // starts with source column 5
    EXPECT_EQ(Utils::GetPixel(dest.get(), 0, 2), Label(5, 0));
    EXPECT_EQ(Utils::GetPixel(dest.get(), 4, 5), Label(9, 3));
    EXPECT_EQ(Utils::GetPixel(dest.get(), 5, 2), 0u);

    image->DrawFlipped(dest.get(), 10, 1, 32, 0, 16, 16);
    EXPECT_EQ(Utils::GetPixel(dest.get(), 10, 1), Label(47, 0));
    EXPECT_EQ(Utils::GetPixel(dest.get(), 25, 16), Label(32, 15));

    image->DrawScaled(dest.get(), 2, 30, 17, 2, 1, 1, 1);
    EXPECT_EQ(Utils::GetPixel(dest.get(), 30, 17), Label(2, 1));
    EXPECT_EQ(Utils::GetPixel(dest.get(), 31, 18), Label(2, 1));
    EXPECT_EQ(Utils::GetPixel(dest.get(), 32, 17), 0u);
    EXPECT_EQ(Utils::GetPixel(dest.get(), 30, 19), 0u);
}

// The frame enlargement as the main loop asks for it: the destination's own size as the rectangle.
TEST(ImageDraw, WholeScreenDoubledOntoWindowSurface)
{
    auto screen = LabelledImage(320, 240);
    test::SurfacePtr window = test::MakeSurface(640, 480, 4);
    screen->DrawScaled(window.get(), 2, 0, 0, 0, 0, window->w, window->h);
    for (int y = 0; y < 480; ++y)
    {
        for (int x = 0; x < 640; ++x)
        {
            ASSERT_EQ(Utils::GetPixel(window.get(), x, y), Label(x / 2, y / 2)) << x << "," << y;
        }
    }
}

TEST(ImageDraw, MissingSurfacesDrawNothing)
{
    auto image = LabelledImage(4, 4);
    image->Draw(nullptr, 0, 0);
    image->DrawScaled(nullptr, 2, 0, 0, 0, 0, 4, 4);
    Image empty;
    test::SurfacePtr dest = test::MakeSurface(8, 8, 4);
    empty.Draw(dest.get(), 0, 0);
    empty.DrawFlipped(dest.get(), 0, 0);
    empty.Draw(dest.get(), 1u, 0, 0, 0, 0, 4, 4);
    EXPECT_EQ(Utils::GetPixel(dest.get(), 0, 0), 0u);
}

TEST(ImageFill, RightAndBottomBoundsAreExclusiveAndClipped)
{
    for (int bytes = 1; bytes <= 4; ++bytes)
    {
        test::SurfacePtr dest = test::MakeSurface(6, 5, bytes);
        Image image;
        image.Fill(dest.get(), -3, 3, 2, 9, 0x5Au);
        image.Fill(dest.get(), 4, 0, 4, 5, 0x11u); // empty width
        image.Fill(dest.get(), 3, 2, 5, 1, 0x22u); // empty height
        image.Fill(dest.get(), 5, 0, 10, 1, 0x33u);
        for (int y = 0; y < 5; ++y)
        {
            for (int x = 0; x < 6; ++x)
            {
                const Uint32 expected = (x < 2 && y >= 3) ? 0x5A : (x == 5 && y == 0) ? 0x33 : 0;
                EXPECT_EQ(Utils::GetPixel(dest.get(), x, y), expected)
                    << bytes << " bytes at " << x << "," << y;
            }
        }
    }
}
} // namespace
