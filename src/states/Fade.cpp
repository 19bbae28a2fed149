// The black overlay every screen fades through: opacity steps, and building and drawing the overlay.
#include "states/Fade.h"

#include "graphics/Image.h"

bool Fade::StepIn(int& alpha)
{
    if (alpha > 0)
    {
        alpha -= mStep;
        if (alpha < 0)
        {
            alpha = 0;
        }
    }
    return alpha <= 0;
}

bool Fade::StepOut(int& alpha)
{
    if (alpha < mOpaque)
    {
        alpha += mStep;
        if (alpha < mOpaque)
        {
            return false;
        }
    }
    alpha = mOpaque;
    return true;
}

std::unique_ptr<Image> Fade::CreateOverlay(SDL_Surface* screen, int alpha)
{
    auto overlay = std::make_unique<Image>();
    // Without a screen, or when the surface cannot be made, Load throws its own error.
    const int width = screen ? screen->w : 0;
    const int height = screen ? screen->h : 0;
    overlay->Load(screen, width, height, false, Image::mKeyRed, Image::mKeyGreen, Image::mKeyBlue);
    SDL_Surface* surface = overlay->mSurface;
    SDL_FillRect(surface, nullptr, SDL_MapRGBA(surface->format, 0, 0, 0, 255));
    // A format without an alpha channel would otherwise copy the black over the screen at any opacity.
    SDL_SetSurfaceBlendMode(surface, SDL_BLENDMODE_BLEND);
    SDL_SetSurfaceAlphaMod(surface, static_cast<Uint8>(alpha));
    return overlay;
}

void Fade::DrawOverlay(Image& overlay, int alpha, SDL_Surface* screen)
{
    SDL_SetSurfaceAlphaMod(overlay.mSurface, static_cast<Uint8>(alpha));
    // A clear overlay changes no pixel; blending it anyway would cost half a frame of play.
    if (static_cast<Uint8>(alpha) == 0)
    {
        return;
    }
    SDL_BlitSurface(overlay.mSurface, nullptr, screen, nullptr);
}
