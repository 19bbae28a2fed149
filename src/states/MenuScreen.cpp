// Pieces the menu screens share: picture loading, the black fade overlay, the fade and blink steps, text.
#include "states/MenuScreen.h"

#include "graphics/Font.h"
#include "graphics/Image.h"

#include <stdexcept>

std::unique_ptr<Image> MenuScreen::LoadPicture(const std::string& file, SDL_RendererInfo info, bool colorKey,
                                               const std::string& failure)
{
    auto picture = std::make_unique<Image>();
    if (!picture->Load(file, info, colorKey, 128, 0, 128))
    {
        throw std::runtime_error(failure);
    }
    return picture;
}

std::unique_ptr<Image> MenuScreen::CreateBlackScreen(SDL_Surface* screen, int alpha)
{
    auto overlay = std::make_unique<Image>();
    // Without a screen, Load throws its own error.
    const int width = screen ? screen->w : 0;
    const int height = screen ? screen->h : 0;
    if (!overlay->Load(screen, width, height, false, 128, 0, 128) || !overlay->mSurface)
    {
        throw std::runtime_error("Couldn't initialize black screen surface!");
    }
    SDL_Surface* surface = overlay->mSurface;
    SDL_FillRect(surface, nullptr, SDL_MapRGBA(surface->format, 0, 0, 0, 255));
    // A format without an alpha channel would otherwise copy the black over the screen at any opacity.
    SDL_SetSurfaceBlendMode(surface, SDL_BLENDMODE_BLEND);
    SDL_SetSurfaceAlphaMod(surface, static_cast<Uint8>(alpha));
    return overlay;
}

void MenuScreen::DrawOverlay(Image& overlay, int alpha, SDL_Surface* screen)
{
    SDL_SetSurfaceAlphaMod(overlay.mSurface, static_cast<Uint8>(alpha));
    // A clear overlay changes no pixel; blending it anyway would cost half a frame of play.
    if (static_cast<Uint8>(alpha) == 0)
    {
        return;
    }
    SDL_BlitSurface(overlay.mSurface, nullptr, screen, nullptr);
}

bool MenuScreen::StepFade(int& alpha, int& fadeState)
{
    if (fadeState == 1)
    {
        if (alpha > 0)
        {
            alpha -= mFadeStep;
            if (alpha > 0)
            {
                return false;
            }
        }
        alpha = 0;
        fadeState = -1;
        return false;
    }
    if (fadeState == 2)
    {
        if (alpha < 255)
        {
            alpha += mFadeStep;
            if (alpha < 255)
            {
                return false;
            }
        }
        alpha = 255;
        fadeState = -1;
        return true;
    }
    // Idle: fade in again; at opacity 0 this ends at once, and after a fade-out it brightens the screen
    // the next time it becomes current.
    fadeState = 1;
    return false;
}

void MenuScreen::StepBlink(unsigned int& counter, bool& visible)
{
    ++counter;
    if (counter > mBlinkLimit)
    {
        visible = !visible;
        counter = 0;
    }
}

Uint32 MenuScreen::TextColour(SDL_Surface* screen)
{
    return SDL_MapRGBA(screen->format, 192, 192, 192, 255);
}

void MenuScreen::DrawCentred(Font& font, const std::string& text, int y, Uint32 colour, SDL_Surface* screen)
{
    const int width = font.mCharWidth * static_cast<int>(text.size());
    font.DrawString(text, screen->w / 2 - width / 2, y, colour, screen);
}

void MenuScreen::DrawShape(Image& picture, Uint32 colour, int x, int y, SDL_Surface* screen)
{
    picture.Draw(screen, colour, x, y, 0, 0, picture.mSurface->w, picture.mSurface->h);
}
