// A boxed list over the editor in the game's own look: a black box in a light-grey border, a heading, the
// lines in the game's font and the menus' blinking arrow at the chosen one.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

class Font;
class Image;

class EditorMenu
{
  public:
    // Opens with the cursor on the first line.
    void Open(std::string heading, std::vector<std::string> lines);
    void Close() { mOpen = false; }
    bool IsOpen() const { return mOpen; }
    // New texts for the lines (a value changed); the cursor stays where it was.
    void SetLines(std::vector<std::string> lines);
    // Up and Down: one line on, wrapping round.
    void Move(int step);
    void Choose(int line);
    int Chosen() const { return mChosen; }

    // The line under a point of the 320x240 picture, -1 for none; a point inside the box but off the lines
    // is 'inside' all the same (a tap there must not reach the level beneath).
    int LineAt(int x, int y) const;
    bool Inside(int x, int y) const;
    // Whether a point lies in the right half of the box: a tap there raises a value, left of it lowers it.
    bool RightHalf(int x) const;

    // lit: the arrow's blink phase.
    void Render(SDL_Surface* screen, Font& font, Image* arrow, bool lit) const;
    // The box itself, shared with the other pickers of the editor.
    static void DrawBox(SDL_Surface* screen, const SDL_Rect& box);

    // The box stands centred over the level's view, above the status lines.
    static constexpr int mAreaWidth = 320;
    static constexpr int mAreaHeight = 208;
    static constexpr int mLineHeight = 10;

  private:
    SDL_Rect Box() const;
    int FirstLineY() const;

    bool mOpen = false;
    std::string mHeading;
    std::vector<std::string> mLines;
    int mChosen = 0;
};
