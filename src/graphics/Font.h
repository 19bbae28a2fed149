// The monospaced bitmap font, cut from a glyph sheet of 12 cells per row: printable ASCII, then the letters
// and punctuation of the game's languages (GlyphOrder). Text is UTF-8.
#pragma once

#include "graphics/Image.h"

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

class Font
{
  public:
    Font();

    // Loads "data/gfx/" + file (extension included) and checks the sizes; failures throw.
    bool Init(const std::string& file, SDL_RendererInfo info, int charWidth, int charHeight);
    void DrawChar(unsigned char c, int x, int y, unsigned int color, SDL_Surface* dest);
    // Line feeds start a new line, tabs skip two cells; control characters leave an empty cell; a character
    // the font has no glyph for, and a broken UTF-8 sequence, draw the replacement box.
    void DrawString(const std::string& text, int x, int y, unsigned int color, SDL_Surface* dest);
    // The cells a text's longest line takes, as DrawString lays it out (a tab two).
    static std::size_t Length(const std::string& text);
    // The text's first cells characters (a broken sequence counts as one, as it draws).
    static std::string Clip(const std::string& text, std::size_t cells);
    int TextWidth(const std::string& text) const { return static_cast<int>(Length(text)) * mCharWidth; }
    // Whether the font picture holds a glyph for the character (space counts).
    bool HasGlyph(char32_t code) const;
    // Pads digits on the left with '0' up to minLength characters.
    void DrawNumber(std::string digits, int x, int y, unsigned int minLength, unsigned int color,
                    SDL_Surface* dest);

    // A text drawn, or a box its texts must stay inside, as noted for the layout checks.
    struct Drawn
    {
        std::string mText; // "" for a box
        SDL_Rect mArea;
    };
    // While set, every text drawn with ink and every box noted is added here.
    std::vector<Drawn>* mRecord = nullptr;
    // A box (a card, the editor's help) over what was drawn before; the texts drawn in it must fit inside.
    void NoteBox(const SDL_Rect& box)
    {
        if (mRecord)
        {
            mRecord->push_back({"", box});
        }
    }

    int mCharWidth = 8;
    int mCharHeight = 8;
    std::string mCharacters; // the printable ASCII characters, in glyph order
    std::unique_ptr<Image> mImage;

  private:
    void DrawGlyph(std::string::size_type index, int x, int y, unsigned int color, SDL_Surface* dest);
    // One character of a text: its glyph, the replacement box, or nothing for a control character.
    void DrawCode(char32_t code, int x, int y, unsigned int color, SDL_Surface* dest);
    void DrawBox(int x, int y, unsigned int color, SDL_Surface* dest);

    std::vector<bool> mInked; // by glyph index: the picture's cell has ink (or is a space)
};
