// A test fixture with the standard world data in a temporary working folder and a map to load into.
#pragma once

#include "TestSupport.h"
#include "WorldFixtures.h"
#include "world/Map.h"

#include <gtest/gtest.h>

class LevelTest : public ::testing::Test
{
  protected:
    LevelTest() { test::WriteWorldData(mDir); }

    // Writes the level and loads it into mMap; the result of Map::Load.
    bool LoadLevel(const test::LevelFiles& level)
    {
        test::WriteLevel(mDir, level);
        return mMap.Load("data/maps/" + level.name, mInfo);
    }

    // A 320 x 240 screen in the renderer's format, cleared to 0.
    test::SurfacePtr MakeScreen(int width = 320, int height = 240)
    {
        return test::SurfacePtr(
            SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888));
    }

    // The 0xRRGGBB colour of a screen pixel.
    static std::uint32_t ColourAt(SDL_Surface* screen, int x, int y)
    {
        return static_cast<std::uint32_t*>(screen->pixels)[y * screen->pitch / 4 + x] & 0xFFFFFFu;
    }

    test::TempDir mDir;
    SDL_RendererInfo mInfo = test::ArgbRendererInfo();
    Map mMap;
};
