// The framework without a display: software renderer fallback and the renderer information.
#include "graphics/Framework.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace
{
// Set by a test to make the stand-ins below fail the way SDL does.
bool gRefuseTexture = false;
bool gRefuseSurface = false;

template <typename Function> Function RealSdl(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}
} // namespace

// Stand-ins that the program's own calls reach before SDL's (SDL's internal calls do not): they refuse on
// request, and otherwise pass the call on to SDL.
extern "C" SDL_Texture* SDL_CreateTexture(SDL_Renderer* renderer, Uint32 format, int access, int w, int h)
{
    if (gRefuseTexture)
    {
        SDL_SetError("refused by the test");
        return nullptr;
    }
    static const auto real =
        RealSdl<SDL_Texture* (*)(SDL_Renderer*, Uint32, int, int, int)>("SDL_CreateTexture");
    return real(renderer, format, access, w, h);
}

extern "C" SDL_Surface* SDL_CreateRGBSurfaceWithFormat(Uint32 flags, int w, int h, int depth, Uint32 format)
{
    if (gRefuseSurface)
    {
        SDL_SetError("refused by the test");
        return nullptr;
    }
    static const auto real =
        RealSdl<SDL_Surface* (*)(Uint32, int, int, int, Uint32)>("SDL_CreateRGBSurfaceWithFormat");
    return real(flags, w, h, depth, format);
}

namespace
{
TEST(Framework, InitReportsATextureOrSurfaceItCouldNotCreate)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    for (const bool texture : {true, false})
    {
        gRefuseTexture = texture;
        gRefuseSurface = !texture;
        Framework framework;
        try
        {
            framework.Init(false, false);
            ADD_FAILURE() << "no exception when the " << (texture ? "texture" : "surface") << " is missing";
        }
        catch (const std::runtime_error& error)
        {
            EXPECT_EQ(error.what(),
                      std::string(texture ? "Unable to create texture: " : "Unable to create surface: ") +
                          "refused by the test");
        }
    }
    gRefuseTexture = false;
    gRefuseSurface = false;
}

TEST(Framework, RendererInfoNeedsARenderer)
{
    Framework framework;
    try
    {
        framework.GetRendererInfo();
        FAIL() << "no exception";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "Renderer is null!");
    }
}

TEST(Framework, InitFallsBackToTheSoftwareRenderer)
{
    // Without a display there is no accelerated renderer.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    Framework framework;
    ASSERT_TRUE(framework.Init(false, false));
    ASSERT_NE(framework.mWindow, nullptr);
    ASSERT_NE(framework.mRenderer, nullptr);
    ASSERT_NE(framework.mTexture, nullptr);
    ASSERT_NE(framework.mSurface, nullptr);
    EXPECT_STREQ(framework.mRendererInfo.name, "software");

    const Uint32 format = framework.mRendererInfo.texture_formats[0];
    EXPECT_EQ(framework.mSurface->w, 640);
    EXPECT_EQ(framework.mSurface->h, 480);
    EXPECT_EQ(framework.mSurface->format->format, format);
    Uint32 textureFormat = 0;
    int access = 0;
    int width = 0;
    int height = 0;
    ASSERT_EQ(SDL_QueryTexture(framework.mTexture, &textureFormat, &access, &width, &height), 0);
    EXPECT_EQ(textureFormat, format);
    EXPECT_EQ(access, SDL_TEXTUREACCESS_STREAMING);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);

    // The first window fits the desktop and is remembered as the size to return to from fullscreen.
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetWindowSize(framework.mWindow, &windowWidth, &windowHeight);
    SDL_Rect usable{};
    SDL_GetDisplayUsableBounds(0, &usable);
    const SDL_Point first = Scaling::FirstWindowSize(usable.w, usable.h);
    EXPECT_EQ(windowWidth, first.x);
    EXPECT_EQ(windowHeight, first.y);
    EXPECT_EQ(framework.mWindowedSize.x, first.x);
    EXPECT_EQ(framework.mWindowedSize.y, first.y);
    EXPECT_STREQ(SDL_GetWindowTitle(framework.mWindow), "Kestrovane");

    const SDL_RendererInfo info = framework.GetRendererInfo();
    EXPECT_EQ(info.texture_formats[0], format);

    // A frame goes through without complaint.
    SDL_FillRect(framework.mSurface, nullptr, 0xFFFFFFFFu);
    framework.Clear();
    framework.Render();

    // An early Quit leaves nothing for the destructor to free twice.
    framework.Quit();
    EXPECT_EQ(framework.mRenderer, nullptr);
    EXPECT_EQ(framework.mSurface, nullptr);
    EXPECT_THROW(framework.GetRendererInfo(), std::runtime_error);
}
} // namespace
