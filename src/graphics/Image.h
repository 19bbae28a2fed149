// A software picture: one owned SDL surface drawn pixel by pixel onto other surfaces of the same format.
#pragma once

#include <SDL.h>

#include <string>

class Image
{
  public:
    Image() = default;
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // The game's transparent colour, passed to every Load: red 128, green 0, blue 128.
    static constexpr int mKeyRed = 128;
    static constexpr int mKeyGreen = 0;
    static constexpr int mKeyBlue = 128;

    // Both loads return true or throw std::runtime_error with SDL's reason; they never leave a null picture.

    // Loads a PNG converted to the renderer's first texture format. A pixel at least half opaque is drawn
    // in its full colour; one less than half opaque, or of the key colour, becomes 0 (see-through when
    // keyed), as pixel-art tools treat the soft edge a paint program saves.
    bool Load(const std::string& file, SDL_RendererInfo info, bool colorKey, int r, int g, int b);
    // With a size: a new blank surface in the model's format, keyed when asked; the model stays untouched
    // with the caller. With -1, -1: takes ownership of the surface and keys it.
    bool Load(SDL_Surface* surface, int width, int height, bool colorKey, int r, int g, int b);
    void SetColorKey(SDL_Surface* surface, int r, int g, int b);

    void Draw(SDL_Surface* dest, int x, int y);
    void Draw(SDL_Surface* dest, int x, int y, int srcX, int srcY, int width, int height);
    // Paints every non-transparent source pixel of the rectangle in one colour (a raw pixel value).
    void Draw(SDL_Surface* dest, unsigned int color, int x, int y, int srcX, int srcY, int width, int height);
    void DrawFlipped(SDL_Surface* dest, int x, int y);
    void DrawFlipped(SDL_Surface* dest, int x, int y, int srcX, int srcY, int width, int height);
    // Nearest-neighbour enlargement: each source pixel becomes a scale x scale block.
    void DrawScaled(SDL_Surface* dest, int scale, int x, int y, int srcX, int srcY, int width, int height);
    // Fills x1 <= x < x2, y1 <= y < y2 of dest.
    void Fill(SDL_Surface* dest, int x1, int y1, int x2, int y2, unsigned int color);

    bool mHasColorKey = false;
    SDL_Surface* mSurface = nullptr; // owned
};
