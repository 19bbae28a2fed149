// The window, renderer, streaming texture and the 640x480 software surface presented each frame.
#pragma once

#include <SDL.h>

class Framework
{
  public:
    Framework() = default;
    ~Framework();
    Framework(const Framework&) = delete;
    Framework& operator=(const Framework&) = delete;

    // Creates everything; failures throw std::runtime_error.
    bool Init(bool fullscreen, bool vsync);
    void Clear();
    // Uploads mSurface, copies it over the whole output and presents.
    void Render();
    SDL_RendererInfo GetRendererInfo();
    void Quit();

    SDL_Window* mWindow = nullptr;
    SDL_Renderer* mRenderer = nullptr;
    SDL_Texture* mTexture = nullptr;
    SDL_Surface* mSurface = nullptr;
    SDL_DisplayMode mDisplayMode{};
    SDL_RendererInfo mRendererInfo{};
};
