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

// Division rounding down, so positions left of or above the picture stay outside it.
int FloorDiv(long long numerator, long long denominator)
{
    const long long quotient = numerator / denominator;
    return static_cast<int>(quotient * denominator > numerator ? quotient - 1 : quotient);
}
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
    const Uint32 windowFlags =
        (fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) | (mResizable ? SDL_WINDOW_RESIZABLE : 0);
    // Even a fullscreen window gets its windowed size: leaving fullscreen returns to it.
    SDL_Rect usable{0, 0, ScreenWidth, ScreenHeight};
    if (mResizable && SDL_GetDisplayUsableBounds(0, &usable) != 0)
    {
        usable = {0, 0, ScreenWidth, ScreenHeight};
    }
    mWindowedSize = WindowSize(usable);
    // Made ready for OpenGL at once: otherwise the renderer recreates the window, and without a window
    // manager SDL waits for each of the two windows to show. Drivers without OpenGL get a plain window.
    mWindow = SDL_CreateWindow("Kestrovane", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, mWindowedSize.x,
                               mWindowedSize.y, windowFlags | SDL_WINDOW_OPENGL);
    if (!mWindow)
    {
        mWindow = SDL_CreateWindow("Kestrovane", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   mWindowedSize.x, mWindowedSize.y, windowFlags);
    }
    if (!mWindow)
    {
        ThrowSdl("Unable to create window: ");
    }
    if (mResizable)
    {
        SDL_SetWindowMinimumSize(mWindow, ScreenWidth, ScreenHeight);
        SDL_AddEventWatch(WatchWindow, this);
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
    // Enlarged pixels stay hard-edged at any size.
    SDL_SetTextureScaleMode(mTexture, SDL_ScaleModeNearest);
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
    // Stretch copies over the whole output, with no rectangle at all.
    const SDL_Rect target = PictureRect();
    SDL_RenderCopy(mRenderer, mTexture, nullptr, mScaling == Scaling::Mode::Stretch ? nullptr : &target);
    SDL_RenderPresent(mRenderer);
}

SDL_Rect Framework::PictureRect() const
{
    int width = ScreenWidth;
    int height = ScreenHeight;
    if (mRenderer)
    {
        SDL_GetRendererOutputSize(mRenderer, &width, &height);
    }
    return Scaling::PictureRect(width, height, mScaling);
}

SDL_Point Framework::ToPicture(int windowX, int windowY) const
{
    // Window positions are in the window's units, which a high-density display maps to more output pixels.
    int windowWidth = ScreenWidth;
    int windowHeight = ScreenHeight;
    int outputWidth = ScreenWidth;
    int outputHeight = ScreenHeight;
    if (mWindow && mRenderer)
    {
        SDL_GetWindowSize(mWindow, &windowWidth, &windowHeight);
        SDL_GetRendererOutputSize(mRenderer, &outputWidth, &outputHeight);
    }
    const SDL_Rect picture = Scaling::PictureRect(outputWidth, outputHeight, mScaling);
    if (windowWidth <= 0 || windowHeight <= 0 || picture.w <= 0 || picture.h <= 0)
    {
        return {-1, -1};
    }
    const long long outputX = static_cast<long long>(windowX) * outputWidth / windowWidth;
    const long long outputY = static_cast<long long>(windowY) * outputHeight / windowHeight;
    return {FloorDiv((outputX - picture.x) * Scaling::mPictureWidth, picture.w),
            FloorDiv((outputY - picture.y) * Scaling::mPictureHeight, picture.h)};
}

SDL_Point Framework::WindowSize(SDL_Rect usable) const
{
    // A size kept from a larger desktop than this one would open off the screen.
    const bool known = mWindowedSize.x >= ScreenWidth && mWindowedSize.y >= ScreenHeight;
    if (mResizable && known && mWindowedSize.x <= usable.w && mWindowedSize.y <= usable.h)
    {
        return mWindowedSize;
    }
    if (!mResizable)
    {
        return {ScreenWidth, ScreenHeight};
    }
    return Scaling::FirstWindowSize(usable.w, usable.h);
}

int Framework::WatchWindow(void* framework, SDL_Event* event)
{
    auto* self = static_cast<Framework*>(framework);
    if (event->type == SDL_WINDOWEVENT && event->window.event == SDL_WINDOWEVENT_SIZE_CHANGED &&
        self->mWindow && event->window.windowID == SDL_GetWindowID(self->mWindow))
    {
        // Fullscreen and maximised sizes are the desktop's; the window returns from them to its own.
        const Uint32 flags = SDL_GetWindowFlags(self->mWindow);
        if ((flags & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_MAXIMIZED)) == 0)
        {
            self->mWindowedSize = {event->window.data1, event->window.data2};
        }
    }
    return 1;
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
    SDL_DelEventWatch(WatchWindow, this);
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
