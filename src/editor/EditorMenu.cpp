// The editor's boxed lists: layout, the chosen line, taps on it, and drawing in the menus' look.
#include "editor/EditorMenu.h"

#include "graphics/Font.h"
#include "graphics/Image.h"

#include <algorithm>

namespace
{
constexpr int kPadding = 6;
constexpr int kArrowRoom = 14; // the arrow's column left of the lines
constexpr int kCharWidth = 8;
} // namespace

void EditorMenu::Open(std::string heading, std::vector<std::string> lines)
{
    mOpen = true;
    mHeading = std::move(heading);
    mLines = std::move(lines);
    mChosen = 0;
}

void EditorMenu::SetLines(std::vector<std::string> lines)
{
    mLines = std::move(lines);
    mChosen = std::clamp(mChosen, 0, std::max(0, static_cast<int>(mLines.size()) - 1));
}

void EditorMenu::Move(int step)
{
    const int count = static_cast<int>(mLines.size());
    if (count > 0)
    {
        mChosen = ((mChosen + step) % count + count) % count;
    }
}

void EditorMenu::Choose(int line)
{
    if (line >= 0 && line < static_cast<int>(mLines.size()))
    {
        mChosen = line;
    }
}

SDL_Rect EditorMenu::Box() const
{
    // Counted in the font's cells, not bytes, for the languages beyond ASCII.
    std::size_t widest = Font::Length(mHeading);
    for (const std::string& line : mLines)
    {
        widest = std::max(widest, Font::Length(line));
    }
    const int width = static_cast<int>(widest) * kCharWidth + kArrowRoom + 2 * kPadding;
    // The heading, a gap of half a line, then the lines.
    const int height =
        2 * kPadding + mLineHeight + mLineHeight / 2 + static_cast<int>(mLines.size()) * mLineHeight;
    return {(mAreaWidth - width) / 2, std::max(0, (mAreaHeight - height) / 2), width, height};
}

int EditorMenu::FirstLineY() const
{
    return Box().y + kPadding + mLineHeight + mLineHeight / 2;
}

bool EditorMenu::Inside(int x, int y) const
{
    const SDL_Rect box = Box();
    return mOpen && x >= box.x && x < box.x + box.w && y >= box.y && y < box.y + box.h;
}

int EditorMenu::LineAt(int x, int y) const
{
    if (!Inside(x, y) || y < FirstLineY())
    {
        return -1;
    }
    const int line = (y - FirstLineY()) / mLineHeight;
    return line < static_cast<int>(mLines.size()) ? line : -1;
}

bool EditorMenu::RightHalf(int x) const
{
    const SDL_Rect box = Box();
    return x >= box.x + box.w / 2;
}

void EditorMenu::DrawBox(SDL_Surface* screen, const SDL_Rect& box)
{
    // A black box inside a one-pixel light-grey border, as the game's cards are drawn.
    SDL_Rect outer = box;
    SDL_FillRect(screen, &outer, SDL_MapRGB(screen->format, 192, 192, 192));
    SDL_Rect inside = {box.x + 1, box.y + 1, box.w - 2, box.h - 2};
    SDL_FillRect(screen, &inside, SDL_MapRGB(screen->format, 0, 0, 0));
}

void EditorMenu::Render(SDL_Surface* screen, Font& font, Image* arrow, bool lit) const
{
    if (!mOpen)
    {
        return;
    }
    const SDL_Rect box = Box();
    DrawBox(screen, box);
    font.NoteBox(box);
    const Uint32 grey = SDL_MapRGB(screen->format, 192, 192, 192);
    font.DrawString(mHeading, box.x + (box.w - static_cast<int>(Font::Length(mHeading)) * kCharWidth) / 2,
                    box.y + kPadding, grey, screen);
    const int x = box.x + kPadding + kArrowRoom;
    for (std::size_t i = 0; i < mLines.size(); ++i)
    {
        font.DrawString(mLines[i], x, FirstLineY() + static_cast<int>(i) * mLineHeight, grey, screen);
    }
    if (lit && arrow != nullptr && arrow->mSurface != nullptr)
    {
        arrow->Draw(screen, grey, box.x + kPadding, FirstLineY() + mChosen * mLineHeight, 0, 0,
                    arrow->mSurface->w, arrow->mSurface->h);
    }
}
