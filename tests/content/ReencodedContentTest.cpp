// The shipped content saved again the way other tools save it: pictures with an alpha channel and text
// files with a byte-order mark give exactly what the files as shipped give.
#include "PlayFixtures.h"
#include "PngEncoder.h"
#include "TestSupport.h"
#include "graphics/Image.h"
#include "graphics/Utils.h"
#include "states/StoryState.h"
#include "world/Map.h"

#include <SDL_image.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

// The generated content, or an empty path when this build has none.
fs::path ShippedData()
{
    const fs::path data = fs::absolute("data");
    return fs::exists(data / "maps" / "maps.lst") ? data : fs::path();
}

// A picture's pixels as 0xRRGGBBAA, row after row.
std::vector<std::uint32_t> RgbaPixels(const std::string& file, int& width, int& height)
{
    test::SurfacePtr loaded(IMG_Load(file.c_str()));
    test::SurfacePtr rgba(loaded ? SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGBA8888, 0)
                                 : nullptr);
    std::vector<std::uint32_t> pixels;
    if (!rgba)
    {
        return pixels;
    }
    width = rgba->w;
    height = rgba->h;
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            pixels.push_back(Utils::GetPixel(rgba.get(), x, y));
        }
    }
    return pixels;
}

// Everything the game made of the content in the working folder: level list, sounds, story, and every
// listed level's layers, player start and entities.
std::string Observe()
{
    std::ostringstream seen;
    test::PlayHarness harness;
    seen << "game begins: " << harness.BeginGame() << "\nlevels:";
    for (const std::string& name : harness.Play().mMaps)
    {
        seen << " [" << name << "]";
    }
    seen << "\nsounds:";
    for (const auto& sound : harness.mGame.mAudioManager->mSounds)
    {
        seen << " [" << sound.first << "]";
    }
    for (const auto& song : harness.mGame.mAudioManager->mSongs)
    {
        seen << " [" << song.first << "]";
    }
    StoryState story;
    story.Init(&harness.mGame);
    seen << "\nstory:";
    for (const std::string& line : story.mLines)
    {
        seen << "\n  " << line;
    }
    for (const std::string& name : harness.Play().mMaps)
    {
        Map map;
        seen << "\n" << name << " loads: " << map.Load("data/maps/" + name, test::ArgbRendererInfo());
        seen << ", start " << map.mPlayerStartX << "," << map.mPlayerStartY << "," << map.mPlayerDirection
             << ", tanks " << map.mOxygenTanksTotal << ", tile types "
             << (map.mTileManager ? map.mTileManager->mTileTypes.size() : 0) << "\n ";
        // The cells as one digest, so that a difference does not print thousands of keys.
        std::string cells;
        for (const auto* layer : {&map.mBackgroundLayer, &map.mCollisionLayer})
        {
            for (const std::string& key : *layer)
            {
                cells += key + " ";
            }
        }
        seen << "cells " << std::hash<std::string>{}(cells);
        auto list = [&seen](const auto& registry)
        {
            for (const auto& [key, entity] : registry)
            {
                seen << "\n  " << key << " " << entity->GetX() << "," << entity->GetY() << " "
                     << entity->GetID();
            }
        };
        list(map.mEntities);
        list(map.mEnemies);
        list(map.mItems);
    }
    return seen.str();
}
} // namespace

TEST(ReencodedContent, PicturesSavedAsRgbaWithTheKeyColourOpaqueDrawAsShipped)
{
    const fs::path shipped = ShippedData();
    if (shipped.empty())
    {
        GTEST_SKIP() << "no generated content";
    }
    test::TempDir dir;
    for (const auto& entry : fs::directory_iterator(shipped / "gfx"))
    {
        const std::string original = entry.path().string();
        int width = 0, height = 0;
        const std::vector<std::uint32_t> pixels = RgbaPixels(original, width, height);
        ASSERT_FALSE(pixels.empty()) << original;
        Image reference;
        reference.Load(original, test::ArgbRendererInfo(), true, 128, 0, 128);
        for (int depth : {8, 16})
        {
            dir.WriteFile("resaved.png",
                          test::EncodePng(width, height, pixels, {test::PngColour::Rgba, depth, false}));
            Image resaved;
            resaved.Load("resaved.png", test::ArgbRendererInfo(), true, 128, 0, 128);
            int differing = 0;
            for (int y = 0; y < height; ++y)
            {
                for (int x = 0; x < width; ++x)
                {
                    differing +=
                        Utils::GetPixel(resaved.mSurface, x, y) != Utils::GetPixel(reference.mSurface, x, y);
                }
            }
            EXPECT_EQ(differing, 0) << entry.path().filename() << " as " << depth << "-bit RGBA";
        }
    }
}

TEST(ReencodedContent, TextFilesWithAByteOrderMarkReadAsShipped)
{
    const fs::path shipped = ShippedData();
    if (shipped.empty())
    {
        GTEST_SKIP() << "no generated content";
    }
    std::string asShipped;
    std::string withMarks;
    for (bool marked : {false, true})
    {
        test::TempDir dir;
        fs::copy(shipped, "data", fs::copy_options::recursive);
        for (const auto& entry : fs::recursive_directory_iterator("data"))
        {
            const std::string extension = entry.path().extension().string();
            if (marked && entry.is_regular_file() && extension != ".png" && extension != ".wav" &&
                extension != ".ogg")
            {
                const std::string relative = entry.path().string();
                dir.WriteFile(relative, "\xEF\xBB\xBF" + dir.ReadFile(relative));
            }
        }
        (marked ? withMarks : asShipped) = Observe();
    }
    EXPECT_NE(asShipped.find("game begins: 1"), std::string::npos) << asShipped;
    EXPECT_EQ(withMarks, asShipped);
}
