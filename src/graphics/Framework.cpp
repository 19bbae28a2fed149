// Opening the window and renderer, and presenting the finished 640x480 picture each frame.
#include "graphics/Framework.h"

#include <SDL_image.h>

#include <stdexcept>
#include <string>

namespace
{
[[noreturn]] void ThrowSdl(const char* prefix)
{
    throw std::runtime_error(std::string(prefix) + SDL_GetError());
}

constexpr int ScreenWidth = 640;
constexpr int ScreenHeight = 480;
} // namespace

Framework::~Framework()
{
    Quit();
}

bool Framework::Init(bool fullscreen, bool vsync)
{
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) < 0)
    {
        ThrowSdl("Unable to initialize SDL: ");
    }
    const Uint32 windowFlags = fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0;
    // Made ready for OpenGL at once: otherwise the renderer recreates the window, and without a window
    // manager SDL waits for each of the two windows to show. Drivers without OpenGL get a plain window.
    mWindow = SDL_CreateWindow("Kestrovane", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, ScreenWidth,
                               ScreenHeight, windowFlags | SDL_WINDOW_OPENGL);
    if (!mWindow)
    {
        mWindow = SDL_CreateWindow("Kestrovane", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, ScreenWidth,
                                   ScreenHeight, windowFlags);
    }
    if (!mWindow)
    {
        ThrowSdl("Unable to create window: ");
    }
    const Uint32 vsyncFlag = vsync ? SDL_RENDERER_PRESENTVSYNC : 0;
    mRenderer = SDL_CreateRenderer(mWindow, -1, SDL_RENDERER_ACCELERATED | vsyncFlag);
    if (!mRenderer)
    {
        // Machines without a GPU driver still get a picture from SDL's own renderer.
        mRenderer = SDL_CreateRenderer(mWindow, -1, SDL_RENDERER_SOFTWARE | vsyncFlag);
    }
    if (!mRenderer)
    {
        ThrowSdl("Unable to create renderer: ");
    }
    if (SDL_GetRendererInfo(mRenderer, &mRendererInfo) < 0)
    {
        ThrowSdl("Unable to get renderer information: ");
    }
    if (SDL_GetCurrentDisplayMode(SDL_GetWindowDisplayIndex(mWindow), &mDisplayMode) < 0)
    {
        ThrowSdl("Unable to get current display mode information: ");
    }
    // The surface shares the texture's format, so each frame uploads its bytes unchanged.
    const Uint32 format = mRendererInfo.texture_formats[0];
    mTexture = SDL_CreateTexture(mRenderer, format, SDL_TEXTUREACCESS_STREAMING, ScreenWidth, ScreenHeight);
    if (!mTexture)
    {
        ThrowSdl("Unable to create texture: ");
    }
    mSurface = SDL_CreateRGBSurfaceWithFormat(0, ScreenWidth, ScreenHeight, SDL_BITSPERPIXEL(format), format);
    if (!mSurface)
    {
        ThrowSdl("Unable to create surface: ");
    }
    SDL_ShowCursor(SDL_DISABLE);
    if (IMG_Init(IMG_INIT_PNG) != IMG_INIT_PNG)
    {
        ThrowSdl("Unable to initialize PNG support: ");
    }
    return true;
}

void Framework::Clear()
{
    SDL_SetRenderDrawColor(mRenderer, 0, 0, 0, 255);
    SDL_RenderClear(mRenderer);
}

void Framework::Render()
{
    if (!mSurface || !mTexture)
    {
        return;
    }
    SDL_UpdateTexture(mTexture, nullptr, mSurface->pixels, mSurface->pitch);
    SDL_RenderCopy(mRenderer, mTexture, nullptr, nullptr);
    SDL_RenderPresent(mRenderer);
}

SDL_RendererInfo Framework::GetRendererInfo()
{
    if (!mRenderer)
    {
        throw std::runtime_error("Renderer is null!");
    }
    SDL_GetRendererInfo(mRenderer, &mRendererInfo);
    if (SDL_GetCurrentDisplayMode(0, &mDisplayMode) != 0)
    {
        ThrowSdl("Unable to get current display mode information: ");
    }
    return mRendererInfo;
}

void Framework::Quit()
{
    // The handles are cleared as they go, so a Quit before destruction does not free them twice.
    IMG_Quit();
    SDL_DestroyTexture(mTexture);
    mTexture = nullptr;
    SDL_DestroyRenderer(mRenderer);
    mRenderer = nullptr;
    SDL_DestroyWindow(mWindow);
    mWindow = nullptr;
    SDL_FreeSurface(mSurface);
    mSurface = nullptr;
    SDL_Quit();
}
