// Loading images from PNG files and from existing surfaces, with and without the transparent colour.
#include "graphics/Image.h"
#include "graphics/Utils.h"

#include "PngEncoder.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace
{
constexpr std::uint32_t Magenta = 0x800080;

// 3x2 picture: key colour, black, white / red, key colour, blue.
void WriteSample(const test::TempDir& dir)
{
    dir.WritePng("sample.png", 3, 2, {Magenta, 0x000000, 0xFFFFFF, 0xFF0000, Magenta, 0x0000FF});
}

TEST(ImageLoad, KeyColourBecomesZeroAndIsNeverDrawn)
{
    test::TempDir dir;
    WriteSample(dir);
    Image image;
    ASSERT_TRUE(image.Load("sample.png", test::ArgbRendererInfo(), true, 128, 0, 128));
    ASSERT_NE(image.mSurface, nullptr);
    EXPECT_TRUE(image.mHasColorKey);
    EXPECT_EQ(image.mSurface->format->format, static_cast<Uint32>(SDL_PIXELFORMAT_ARGB8888));
    EXPECT_EQ(image.mSurface->w, 3);
    EXPECT_EQ(image.mSurface->h, 2);
    EXPECT_EQ(Utils::GetPixel(image.mSurface, 0, 0), 0u);
    EXPECT_EQ(Utils::GetPixel(image.mSurface, 1, 1), 0u);
    EXPECT_EQ(Utils::GetPixel(image.mSurface, 1, 0), 0xFF000000u); // opaque black is a real colour
    EXPECT_EQ(Utils::GetPixel(image.mSurface, 2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(Utils::GetPixel(image.mSurface, 0, 1), 0xFFFF0000u);
    EXPECT_EQ(Utils::GetPixel(image.mSurface, 2, 1), 0xFF0000FFu);
    Uint32 key = 0;
    EXPECT_NE(SDL_GetColorKey(image.mSurface, &key), 0) << "the converted picture carries no key of its own";

    test::SurfacePtr dest = test::MakeSurface(3, 2, 4);
    SDL_FillRect(dest.get(), nullptr, 0x12345678u);
    image.Draw(dest.get(), 0, 0);
    EXPECT_EQ(Utils::GetPixel(dest.get(), 0, 0), 0x12345678u);
    EXPECT_EQ(Utils::GetPixel(dest.get(), 1, 1), 0x12345678u);
    EXPECT_EQ(Utils::GetPixel(dest.get(), 1, 0), 0xFF000000u);
    EXPECT_EQ(Utils::GetPixel(dest.get(), 0, 1), 0xFFFF0000u);

    // Without the key every pixel is drawn, the key colour as itself.
    Image plain;
    ASSERT_TRUE(plain.Load("sample.png", test::ArgbRendererInfo(), false, 128, 0, 128));
    EXPECT_FALSE(plain.mHasColorKey);
    plain.Draw(dest.get(), 0, 0);
    EXPECT_EQ(Utils::GetPixel(dest.get(), 0, 0), 0xFF800080u);
    EXPECT_EQ(Utils::GetPixel(dest.get(), 1, 1), 0xFF800080u);
}

TEST(ImageLoad, UnreadableFilesThrow)
{
    test::TempDir dir;
    dir.WriteFile("broken.png", "not a picture");
    for (const std::string file : {"missing.png", "broken.png"})
    {
        Image image;
        try
        {
            image.Load(file, test::ArgbRendererInfo(), true, 128, 0, 128);
            ADD_FAILURE() << file << " loaded";
        }
        catch (const std::runtime_error& error)
        {
            EXPECT_EQ(std::string(error.what()).rfind("Unable to load image: ", 0), 0u) << error.what();
            EXPECT_GT(std::string(error.what()).size(), std::string("Unable to load image: ").size());
        }
        EXPECT_EQ(image.mSurface, nullptr);
    }
}

TEST(ImageLoad, FromSurfaceWithSizeMakesABlankCopyOfTheFormat)
{
    test::SurfacePtr model = test::MakeSurface(640, 480, 4);
    SDL_FillRect(model.get(), nullptr, 0xFFFFFFFFu);
    Image image;
    ASSERT_TRUE(image.Load(model.get(), 320, 240, false, 128, 0, 128));
    ASSERT_NE(image.mSurface, nullptr);
    EXPECT_NE(image.mSurface, model.get());
    EXPECT_EQ(image.mSurface->w, 320);
    EXPECT_EQ(image.mSurface->h, 240);
    EXPECT_EQ(image.mSurface->format->format, model->format->format);
    EXPECT_EQ(Utils::GetPixel(image.mSurface, 10, 10), 0u);
    EXPECT_FALSE(image.mHasColorKey);

    // No model, or a size SDL cannot make, is an error with the reason; the picture stays as it was.
    SDL_Surface* const blank = image.mSurface;
    for (const auto& [surface, width] : {std::pair<SDL_Surface*, int>{nullptr, 320}, {model.get(), -5}})
    {
        SDL_ClearError();
        try
        {
            image.Load(surface, width, 240, false, 128, 0, 128);
            ADD_FAILURE() << "no exception for width " << width;
        }
        catch (const std::runtime_error& error)
        {
            const std::string reason = surface ? SDL_GetError() : "Surface is null!";
            EXPECT_FALSE(reason.empty());
            EXPECT_EQ(error.what(), "Unable to set image: " + reason);
        }
        EXPECT_EQ(image.mSurface, blank);
    }
}

TEST(ImageLoad, FromSurfaceWithKeyMarksItsKeyColour)
{
    SDL_Surface* surface = test::MakeSurface(2, 1, 4).release();
    const Uint32 key = SDL_MapRGB(surface->format, 128, 0, 128);
    Utils::PutPixel(surface, 0, 0, key);
    Utils::PutPixel(surface, 1, 0, 0xFF00FF00u);
    Image image;
    ASSERT_TRUE(image.Load(surface, -1, -1, true, 128, 0, 128));
    EXPECT_EQ(image.mSurface, surface); // taken over, freed by the image
    EXPECT_TRUE(image.mHasColorKey);
    Uint32 stored = 0;
    ASSERT_EQ(SDL_GetColorKey(surface, &stored), 0);
    EXPECT_EQ(stored, key);

    // With a size the new picture is keyed, and the caller's model is left as it was.
    test::SurfacePtr model = test::MakeSurface(2, 1, 4);
    Image blank;
    blank.Load(model.get(), 4, 4, true, 128, 0, 128);
    ASSERT_EQ(SDL_GetColorKey(blank.mSurface, &stored), 0);
    EXPECT_EQ(stored, key);
    EXPECT_NE(SDL_GetColorKey(model.get(), &stored), 0);

    test::SurfacePtr dest = test::MakeSurface(2, 1, 4);
    SDL_FillRect(dest.get(), nullptr, 7u);
    image.Draw(dest.get(), 0, 0);
    EXPECT_EQ(Utils::GetPixel(dest.get(), 0, 0), 7u);
    EXPECT_EQ(Utils::GetPixel(dest.get(), 1, 0), 0xFF00FF00u);
}

// A palette without the key colour must not make its nearest entry transparent.
TEST(ImageLoad, PaletteKeyOnlyWhenThePaletteHoldsTheExactColour)
{
    test::SurfacePtr surface = test::MakeSurface(2, 2, 1);
    SDL_Color colours[2] = {{0, 0, 0, 255}, {130, 0, 126, 255}};
    SDL_SetPaletteColors(surface->format->palette, colours, 0, 2);
    for (int i = 2; i < surface->format->palette->ncolors; ++i)
    {
        SDL_Color white{255, 255, 255, 255};
        SDL_SetPaletteColors(surface->format->palette, &white, i, 1);
    }
    Image image;
    image.SetColorKey(surface.get(), 128, 0, 128);
    EXPECT_TRUE(image.mHasColorKey);
    Uint32 key = 0;
    EXPECT_NE(SDL_GetColorKey(surface.get(), &key), 0);

    SDL_Color magenta{128, 0, 128, 255};
    SDL_SetPaletteColors(surface->format->palette, &magenta, 5, 1);
    image.SetColorKey(surface.get(), 128, 0, 128);
    ASSERT_EQ(SDL_GetColorKey(surface.get(), &key), 0);
    EXPECT_EQ(key, 5u);
}
// One picture saved the ways image editors save it: every encoding draws the same pixels, and never
// the key colour or a fully transparent pixel.
TEST(ImageLoad, KeyColourAndClearPixelsAreSeeThroughInEveryPngColourType)
{
    using test::PngColour;
    const std::uint32_t clearGreen = 0x00FF0000u; // 0xRRGGBBAA: alpha 0
    const std::vector<std::uint32_t> colours = {0x800080FF, 0x000000FF, 0xFFFFFFFF, 0xFF0000FF, 0x0000FFFF,
                                                0x808080FF, 0x810080FF, 0x800080FF, 0x7F0080FF, clearGreen};
    const std::uint32_t clearGrey = 0x20202000u;
    const std::vector<std::uint32_t> greys = {0x000000FF, 0x404040FF, 0x808080FF, 0xC0C0C0FF, 0xFFFFFFFF,
                                              0x7F7F7FFF, 0x010101FF, 0x818181FF, 0xFEFEFEFF, clearGrey};
    struct Case
    {
        const char* name;
        test::PngEncoding encoding;
        bool grey;
        bool clear; // keeps the fully transparent pixel; otherwise it is saved opaque
    };
    const Case cases[] = {
        {"palette", {PngColour::Palette, 8, false}, false, false},
        {"palette with a transparent entry", {PngColour::Palette, 8, false}, false, true},
        {"palette interlaced", {PngColour::Palette, 8, true}, false, true},
        {"RGB", {PngColour::Rgb, 8, false}, false, false},
        {"RGB 16-bit", {PngColour::Rgb, 16, false}, false, false},
        {"RGB with a transparent colour", {PngColour::Rgb, 8, false}, false, true},
        {"RGB interlaced", {PngColour::Rgb, 8, true}, false, false},
        {"RGBA", {PngColour::Rgba, 8, false}, false, true},
        {"RGBA 16-bit", {PngColour::Rgba, 16, false}, false, true},
        {"RGBA interlaced", {PngColour::Rgba, 8, true}, false, true},
        {"grey", {PngColour::Grey, 8, false}, true, false},
        {"grey 16-bit with a transparent grey", {PngColour::Grey, 16, false}, true, true},
        {"grey with alpha", {PngColour::GreyAlpha, 8, false}, true, true},
        {"grey with alpha, 16-bit interlaced", {PngColour::GreyAlpha, 16, true}, true, true},
    };
    const Uint32 untouched = 0x12345678u;
    test::TempDir dir;
    for (const Case& c : cases)
    {
        std::vector<std::uint32_t> pixels = c.grey ? greys : colours;
        if (!c.clear)
        {
            pixels.back() |= 0xFF;
        }
        dir.WriteFile("picture.png", test::EncodePng(5, 2, pixels, c.encoding));
        Image image;
        ASSERT_TRUE(image.Load("picture.png", test::ArgbRendererInfo(), true, 128, 0, 128)) << c.name;
        test::SurfacePtr dest = test::MakeSurface(5, 2, 4);
        SDL_FillRect(dest.get(), nullptr, untouched);
        image.Draw(dest.get(), 0, 0);
        for (int i = 0; i < 10; ++i)
        {
            const std::uint32_t rgb = pixels[i] >> 8;
            const bool seeThrough = (pixels[i] & 0xFF) == 0 || rgb == 0x800080;
            EXPECT_EQ(Utils::GetPixel(dest.get(), i % 5, i / 5), seeThrough ? untouched : 0xFF000000u | rgb)
                << c.name << ", pixel " << i;
        }
    }
}

// The soft edge a paint program saves around a shape: at least half opaque is the colour itself, fully
// opaque; less is see-through with the key and 0 without it. Nothing is darkened by blending with black.
TEST(ImageLoad, SoftEdgesAreOpaqueFromHalfAlphaAndSeeThroughBelow)
{
    const std::uint8_t alphas[] = {255, 200, 128, 127, 60, 0};
    const Uint32 untouched = 0x12345678u;
    test::TempDir dir;
    for (const test::PngEncoding encoding : {test::PngEncoding{test::PngColour::Rgba, 8, false},
                                             test::PngEncoding{test::PngColour::Rgba, 16, false},
                                             test::PngEncoding{test::PngColour::GreyAlpha, 8, false}})
    {
        const std::uint32_t rgb = encoding.colour == test::PngColour::Rgba ? 0xE08020 : 0xA0A0A0;
        std::vector<std::uint32_t> edge;
        for (std::uint8_t alpha : alphas)
        {
            edge.push_back(rgb << 8 | alpha);
        }
        dir.WriteFile("edge.png", test::EncodePng(6, 1, edge, encoding));
        for (bool colorKey : {true, false})
        {
            Image image;
            image.Load("edge.png", test::ArgbRendererInfo(), colorKey, 128, 0, 128);
            test::SurfacePtr dest = test::MakeSurface(6, 1, 4);
            SDL_FillRect(dest.get(), nullptr, untouched);
            image.Draw(dest.get(), 0, 0);
            const Uint32 seeThrough = colorKey ? untouched : 0u;
            for (int x = 0; x < 6; ++x)
            {
                EXPECT_EQ(Utils::GetPixel(dest.get(), x, 0),
                          alphas[x] >= 128 ? 0xFF000000u | rgb : seeThrough)
                    << "type " << static_cast<int>(encoding.colour) << ", depth " << encoding.bitDepth
                    << ", key " << colorKey << ", alpha " << int{alphas[x]};
            }
        }
    }
}
} // namespace
