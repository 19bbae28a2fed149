// Pieces the menu screens share: picture loading, the black fade overlay, the fade and blink steps, text.
#pragma once

#include <SDL.h>

#include <memory>
#include <string>

class Font;
class Image;

class MenuScreen
{
  public:
    MenuScreen() = delete;

    // Fade step in overlay opacity units per tick: a full fade takes 32 ticks.
    static constexpr int mFadeStep = 8;
    // The cursor toggles when its counter passes this, so it shows for 16 ticks and hides for 16.
    static constexpr unsigned int mBlinkLimit = 15;

    // Loads a picture from a file; a load that reports failure throws failure.
    static std::unique_ptr<Image> LoadPicture(const std::string& file, SDL_RendererInfo info, bool colorKey,
                                              const std::string& failure);
    // An opaque black image of the screen's size and format, blended with the given opacity (0..255).
    static std::unique_ptr<Image> CreateBlackScreen(SDL_Surface* screen, int alpha);
    // Blits the black overlay over the whole screen at the given opacity.
    static void DrawOverlay(Image& overlay, int alpha, SDL_Surface* screen);

    // One tick of the fade shared by the menus (fadeState 1 in, 2 out, -1 idle; idle turns into a fade-in).
    // Returns true on the tick a fade-out completes, when the screen hands over.
    static bool StepFade(int& alpha, int& fadeState);
    static void StepBlink(unsigned int& counter, bool& visible);

    // Light grey, the colour of all menu text and markers, in the screen's format.
    static Uint32 TextColour(SDL_Surface* screen);
    // Draws text horizontally centred on the screen, top at y.
    static void DrawCentred(Font& font, const std::string& text, int y, Uint32 colour, SDL_Surface* screen);
    // Draws the whole of a picture as a solid shape in one colour.
    static void DrawShape(Image& picture, Uint32 colour, int x, int y, SDL_Surface* screen);
};
