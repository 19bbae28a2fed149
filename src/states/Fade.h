// The black overlay every screen fades through: the fade codes, the opacity steps and the overlay itself.
#pragma once

#include <SDL.h>

#include <memory>

class Image;

class Fade
{
  public:
    Fade() = delete;

    // The codes a screen keeps in its mFadeState.
    enum Code : int
    {
        FadingIn = 1,
        FadingOut = 2,
        // Between fades; the next update starts a fade-in (after a fade-out: when the screen is shown again).
        Idle = -1
    };

    // Overlay opacity units per update: a full fade takes 32 updates.
    static constexpr int mStep = 8;
    static constexpr int mOpaque = 255;

    // One update of brightening: true once the overlay is clear (opacity 0 or less).
    static bool StepIn(int& alpha);
    // One update of darkening: true once the overlay is fully black (left at exactly 255).
    static bool StepOut(int& alpha);

    // An opaque black image of the screen's size and format, blended with the given opacity (0..255).
    static std::unique_ptr<Image> CreateOverlay(SDL_Surface* screen, int alpha);
    // Blits the black overlay over the whole screen at the given opacity.
    static void DrawOverlay(Image& overlay, int alpha, SDL_Surface* screen);
};
