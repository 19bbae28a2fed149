// The monospaced bitmap font of printable ASCII, cut from a glyph sheet of 12 cells per row.
#pragma once

#include "graphics/Image.h"

#include <SDL.h>

#include <memory>
#include <string>

class Font
{
  public:
    Font();

    // Loads "data/gfx/" + file (extension included) and checks the sizes; failures throw.
    bool Init(const std::string& file, SDL_RendererInfo info, int charWidth, int charHeight);
    void DrawChar(unsigned char c, int x, int y, unsigned int color, SDL_Surface* dest);
    // Line feeds start a new line, tabs skip two cells; unknown characters leave an empty cell.
    void DrawString(const std::string& text, int x, int y, unsigned int color, SDL_Surface* dest);
    // Pads digits on the left with '0' up to minLength characters.
    void DrawNumber(std::string digits, int x, int y, unsigned int minLength, unsigned int color,
                    SDL_Surface* dest);

    int mCharWidth = 8;
    int mCharHeight = 8;
    std::string mCharacters; // glyph order: index of a character is its position here
    std::unique_ptr<Image> mImage;

  private:
    void DrawGlyph(std::string::size_type index, int x, int y, unsigned int color, SDL_Surface* dest);
};
