// The window, renderer, streaming texture and the 640x480 software surface presented each frame.
#pragma once

#include "graphics/Scaling.h"

#include <SDL.h>

class Framework
{
  public:
    Framework() = default;
    ~Framework();
    Framework(const Framework&) = delete;
    Framework& operator=(const Framework&) = delete;

    // Creates everything; failures throw std::runtime_error. The window opens at mWindowedSize, or when
    // that is unset or larger than the desktop, at the first window's size for this desktop.
    bool Init(bool fullscreen, bool vsync);
    void Clear();
    // Uploads mSurface, copies it onto the output as mScaling places it and presents.
    void Render();
    SDL_RendererInfo GetRendererInfo();
    void Quit();

    // Where the picture lies on the renderer's output now, in output pixels.
    SDL_Rect PictureRect() const;
    // The 320x240 picture's pixel under a window position (a mouse or touch position). Positions on the
    // black around the picture give coordinates outside 0..319 and 0..239.
    SDL_Point ToPicture(int windowX, int windowY) const;

    SDL_Window* mWindow = nullptr;
    SDL_Renderer* mRenderer = nullptr;
    SDL_Texture* mTexture = nullptr;
    SDL_Surface* mSurface = nullptr;
    SDL_DisplayMode mDisplayMode{};
    SDL_RendererInfo mRendererInfo{};

    Scaling::Mode mScaling = Scaling::mDefault;
    // Whether the player may resize the window (set before Init; a browser page keeps its canvas).
    bool mResizable = true;
    // The window's size when neither fullscreen nor maximised: what leaving fullscreen returns to and what
    // the next run opens at. {0, 0} before Init means no size is known yet.
    SDL_Point mWindowedSize{0, 0};

  private:
    // Follows the player's resizing, whichever screen polls the events.
    static int WatchWindow(void* framework, SDL_Event* event);
    SDL_Point WindowSize(SDL_Rect usable) const;
};
