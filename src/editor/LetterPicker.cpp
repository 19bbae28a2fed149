// The on-screen letter board: its keys, the cursor over them, taps, and drawing in the game's look.
#include "editor/LetterPicker.h"

#include "editor/EditorMenu.h"
#include "graphics/Font.h"
#include "io/Translation.h"

#include <algorithm>

namespace
{
// The font's printable glyphs worth typing, thirteen a row.
const char* const kBoard[LetterPicker::mRows - 1] = {
    "ABCDEFGHIJKLM", "NOPQRSTUVWXYZ", "abcdefghijklm", "nopqrstuvwxyz", "0123456789.,!", "?'-:;()/&+#\"_",
};
constexpr int kCell = 16;
// The last row: Space over five columns, Delete over four, Done over four.
constexpr int kSpaceEnd = 5;
constexpr int kDeleteEnd = 9;
} // namespace

SDL_Rect LetterPicker::Box()
{
    const int width = mColumns * kCell + 8;
    const int height = mRows * kCell + 8;
    return {(EditorMenu::mAreaWidth - width) / 2, (EditorMenu::mAreaHeight - height) / 2, width, height};
}

int LetterPicker::WideStart(int column)
{
    return column < kSpaceEnd ? 0 : column < kDeleteEnd ? kSpaceEnd : kDeleteEnd;
}

int LetterPicker::WideWidth(int column)
{
    const int start = WideStart(column);
    return (start == 0 ? kSpaceEnd : start == kSpaceEnd ? kDeleteEnd : mColumns) - start;
}

LetterPicker::Key LetterPicker::KeyAt(int column, int row)
{
    if (column < 0 || column >= mColumns || row < 0 || row >= mRows)
    {
        return Key::None;
    }
    if (row < mRows - 1)
    {
        return Key::Letter;
    }
    const int start = WideStart(column);
    return start == 0 ? Key::Space : start == kSpaceEnd ? Key::Delete : Key::Done;
}

char LetterPicker::LetterAt(int column, int row)
{
    return KeyAt(column, row) == Key::Letter ? kBoard[row][column] : ' ';
}

void LetterPicker::Move(int dx, int dy)
{
    if (mRow == mRows - 1 && dx != 0)
    {
        // Across a wide key at once.
        const int next = dx > 0 ? WideStart(mColumn) + WideWidth(mColumn) : WideStart(mColumn) - 1;
        mColumn = std::clamp(next, 0, mColumns - 1);
        return;
    }
    mColumn = std::clamp(mColumn + dx, 0, mColumns - 1);
    mRow = std::clamp(mRow + dy, 0, mRows - 1);
}

bool LetterPicker::Inside(int x, int y) const
{
    const SDL_Rect box = Box();
    return mOpen && x >= box.x && x < box.x + box.w && y >= box.y && y < box.y + box.h;
}

bool LetterPicker::Point(int x, int y)
{
    const SDL_Rect box = Box();
    const int column = (x - box.x - 4) / kCell;
    const int row = (y - box.y - 4) / kCell;
    if (!Inside(x, y) || x < box.x + 4 || y < box.y + 4 || KeyAt(column, row) == Key::None)
    {
        return false;
    }
    mColumn = column;
    mRow = row;
    return true;
}

void LetterPicker::Render(SDL_Surface* screen, Font& font, bool lit) const
{
    if (!mOpen)
    {
        return;
    }
    const SDL_Rect box = Box();
    EditorMenu::DrawBox(screen, box);
    font.NoteBox(box);
    const Uint32 grey = SDL_MapRGB(screen->format, 192, 192, 192);
    const Uint32 amber = SDL_MapRGB(screen->format, 255, 192, 64);
    const int left = box.x + 4;
    const int top = box.y + 4;
    for (int row = 0; row < mRows - 1; ++row)
    {
        for (int column = 0; column < mColumns; ++column)
        {
            font.DrawString(std::string(1, kBoard[row][column]), left + column * kCell + 4,
                            top + row * kCell + 4, grey, screen);
        }
    }
    const int lastY = top + (mRows - 1) * kCell + 4;
    // TRANSLATORS: the wide keys of the editor's letter board: Space at most 9 characters, Del (rubs out
    // the last letter) and Done at most 7.
    font.DrawString(Font::Clip(Tr("Space"), 9), left + 4, lastY, grey, screen);
    font.DrawString(Font::Clip(Tr("Del"), 7), left + kSpaceEnd * kCell + 8, lastY, grey, screen);
    font.DrawString(Font::Clip(Tr("Done"), 7), left + kDeleteEnd * kCell + 8, lastY, grey, screen);

    // The key under the cursor, framed; a wide key whole.
    const bool wide = mRow == mRows - 1;
    const int column = wide ? WideStart(mColumn) : mColumn;
    const int width = wide ? WideWidth(mColumn) : 1;
    const SDL_Rect frame{left + column * kCell, top + mRow * kCell, width * kCell, kCell};
    const Uint32 color = lit ? amber : grey;
    SDL_Rect edges[4] = {{frame.x, frame.y, frame.w, 1},
                         {frame.x, frame.y + frame.h - 1, frame.w, 1},
                         {frame.x, frame.y, 1, frame.h},
                         {frame.x + frame.w - 1, frame.y, 1, frame.h}};
    SDL_FillRects(screen, edges, 4, color);
}
