// An on-screen board of letters for typing a line without a keyboard (a controller on a television): the
// d-pad moves over the board, a button types the letter under it.
#pragma once

#include <SDL.h>

#include <string>

class Font;

class LetterPicker
{
  public:
    // What the key under the cursor (or a tap) does.
    enum class Key
    {
        None,
        Letter, // types Letter()
        Space,
        Delete,
        Done
    };

    void Open()
    {
        mOpen = true;
        mColumn = 0;
        mRow = 0;
    }
    void Close() { mOpen = false; }
    bool IsOpen() const { return mOpen; }
    // One key on, stopping at the board's edges; the wide keys of the last row count as one.
    void Move(int dx, int dy);
    Key Current() const { return KeyAt(mColumn, mRow); }
    char Letter() const { return LetterAt(mColumn, mRow); }
    // Moves the cursor to the key under a point of the 320x240 picture; false when there is none.
    bool Point(int x, int y);
    bool Inside(int x, int y) const;

    // lit: the cursor's blink phase.
    void Render(SDL_Surface* screen, Font& font, bool lit) const;

    static constexpr int mColumns = 13;
    static constexpr int mRows = 7; // six of letters and signs, then Space, Delete and Done

  private:
    static Key KeyAt(int column, int row);
    static char LetterAt(int column, int row);
    // The first column of the wide key a column of the last row belongs to, and its width.
    static int WideStart(int column);
    static int WideWidth(int column);
    static SDL_Rect Box();

    bool mOpen = false;
    int mColumn = 0;
    int mRow = 0;
};
