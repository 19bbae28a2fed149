// Drawing the level editor: the level with the layer not being edited dimmed, the palettes, the status
// line and the help card, all on the 320x240 picture in the game's own tiles, sprites and font.
#include "editor/EditorState.h"

#include "Game.h"
#include "graphics/Font.h"
#include "graphics/Image.h"
#include "input/Input.h"
#include "io/Translation.h"
#include "world/EntityType.h"

#include <algorithm>
#include <cstring>

namespace
{
constexpr int kTile = 16;
constexpr int kStatusY = EditorState::mViewHeight;

void Frame(SDL_Surface* screen, int x, int y, int w, int h, Uint32 color)
{
    SDL_Rect edges[4] = {{x, y, w, 1}, {x, y + h - 1, w, 1}, {x, y, 1, h}, {x + w - 1, y, 1, h}};
    SDL_FillRects(screen, edges, 4, color);
}

// The actions' cursor: a frame two pixels thick, edged in black so that it shows on any tile, blinking
// between white and amber so that it is found at a glance.
void ActionFrame(SDL_Surface* screen, int x, int y, int w, int h, bool lit)
{
    const Uint32 color =
        lit ? SDL_MapRGB(screen->format, 255, 255, 255) : SDL_MapRGB(screen->format, 255, 176, 32);
    Frame(screen, x - 1, y - 1, w + 2, h + 2, SDL_MapRGB(screen->format, 0, 0, 0));
    Frame(screen, x, y, w, h, color);
    Frame(screen, x + 1, y + 1, w - 2, h - 2, color);
    Frame(screen, x + 2, y + 2, w - 4, h - 4, SDL_MapRGB(screen->format, 0, 0, 0));
}

// A tile's colour and what it does.
std::string TileText(const EditorCatalogue& catalogue, std::uint32_t color)
{
    std::string text = LevelDocument::Hex(color);
    const EditorCatalogue::TileEntry* tile = catalogue.FindTile(color);
    if (tile == nullptr)
    {
        // TRANSLATORS: what a tile under the editor's cursor does, after its colour on the status line.
        text += std::string(" ") + Tr("unknown");
    }
    else if (tile->mBlocking || tile->mHarmful)
    {
        text += tile->mBlocking ? std::string(" ") + Tr("solid") : "";
        text += tile->mHarmful ? std::string(" ") + Tr("harms") : "";
    }
    return text;
}

// The keys, then a controller's buttons beside the touch controls' names for the same actions.
// TRANSLATORS: the editor's help card: each line at most 34 characters; keep the keys' names (B, Ctrl+S,
// Tab...) as they are, since the keys stay the same.
const char* const kHelp[] = {
    TrNoop("Mouse: left paints, right erases"),
    TrNoop("  wheel/middle drag scrolls"),
    TrNoop("B paint  R rectangle  E erase"),
    TrNoop("K pick  N place  M move entity"),
    TrNoop("F facing  I identifier"),
    TrNoop("Tab/1/2 layer  Arrows scroll"),
    TrNoop("Ctrl+Arrows resize  D description"),
    TrNoop("Ctrl+Z undo  Ctrl+Y redo"),
    TrNoop("Ctrl+S save  Ctrl+G text grid"),
    TrNoop("T test-play  Shift+T from cursor"),
    TrNoop("L print link  Shift+L race"),
    TrNoop("+/- zoom  Esc leave"),
    "",
    TrNoop("Controller, touch controls:"),
    TrNoop("D-pad cursor (right: the palette)"),
    TrNoop("A/Jump use tool (hold to stroke)"),
    TrNoop("B/X/Fire next tool  Back undo"),
    TrNoop("Start/Pause test-play Y/Tools menu"),
    TrNoop("Two fingers scroll; pinch zooms"),
};
} // namespace

const char* EditorState::ToolName(Tool tool)
{
    switch (tool)
    {
    case Tool::Paint:
        // TRANSLATORS: the editor's tools, at the start of its status line: at most 6 characters each.
        return Tr("Paint");
    case Tool::Fill:
        return Tr("Rect");
    case Tool::Erase:
        return Tr("Erase");
    case Tool::Pick:
        return Tr("Pick");
    case Tool::Place:
        return Tr("Place");
    case Tool::Move:
        return Tr("Move");
    }
    return "";
}

void EditorState::DrawTile(std::uint32_t color, SDL_Surface* target, int x, int y)
{
    const EditorCatalogue::TileEntry* tile = mCatalogue.FindTile(color);
    if (tile == nullptr)
    {
        // A colour the tables do not know plays as empty space; it is shown in its own colour.
        SDL_Rect cell{x + 4, y + 4, kTile - 8, kTile - 8};
        SDL_FillRect(target, &cell,
                     SDL_MapRGB(target->format, color >> 16, (color >> 8) & 0xFF, color & 0xFF));
        return;
    }
    if (tile->mDrawn && mTiles)
    {
        mTiles->Draw(target, x, y, tile->mSourceX, tile->mSourceY, kTile, kTile);
    }
}

void EditorState::DrawLayer(int layer, SDL_Surface* target)
{
    const int firstX = mCameraX / kTile;
    const int firstY = mCameraY / kTile;
    for (int y = firstY; y <= (mCameraY + SpanY() - 1) / kTile && y < mLevel.Height(); ++y)
    {
        for (int x = firstX; x <= (mCameraX + SpanX() - 1) / kTile && x < mLevel.Width(); ++x)
        {
            DrawTile(mLevel.Cell(layer, x, y), target, x * kTile - mCameraX, y * kTile - mCameraY);
        }
    }
}

void EditorState::DrawEntities(SDL_Surface* target)
{
    for (const PlacedEntity& placed : mLevel.mEntities)
    {
        const EditorCatalogue::EntityEntry* type = mCatalogue.FindEntity(placed.mType);
        const int x = placed.mX * kTile - mCameraX;
        const int y = placed.mY * kTile - mCameraY;
        if (type == nullptr || !mSprites || x <= -kTile || y <= -kTile || x >= SpanX() || y >= SpanY())
        {
            continue;
        }
        // Facing left is the sheet's picture mirrored, as in play.
        if (placed.mDirection || type->mBaseType == EntityType::mBaseEntity ||
            type->mBaseType == EntityType::mBaseLift)
        {
            mSprites->Draw(target, x, y, type->mSourceX, type->mSourceY, kTile, kTile);
        }
        else
        {
            mSprites->DrawFlipped(target, x, y, type->mSourceX, type->mSourceY, kTile, kTile);
        }
    }
}

void EditorState::DrawView(SDL_Surface* target, bool lit)
{
    SDL_Rect view{0, 0, SpanX(), SpanY()};
    SDL_SetClipRect(target, &view);
    SDL_FillRect(target, &view, SDL_MapRGB(target->format, 0, 0, 0));
    // The level's extent on a dark ground; beyond it stays black.
    SDL_Rect level{-mCameraX, -mCameraY, mLevel.Width() * kTile, mLevel.Height() * kTile};
    SDL_FillRect(target, &level, SDL_MapRGB(target->format, 12, 12, 24));

    // The layer not being edited is drawn apart and blended in faintly.
    SDL_FillRect(mDimmed, nullptr, 0);
    SDL_Rect span{0, 0, SpanX(), SpanY()};
    if (mLayer == LevelDocument::Foreground)
    {
        DrawLayer(LevelDocument::Backdrop, mDimmed);
        SDL_BlitSurface(mDimmed, &span, target, nullptr);
        DrawLayer(LevelDocument::Foreground, target);
        DrawEntities(target);
    }
    else
    {
        DrawLayer(LevelDocument::Backdrop, target);
        DrawLayer(LevelDocument::Foreground, mDimmed);
        DrawEntities(mDimmed);
        SDL_BlitSurface(mDimmed, &span, target, nullptr);
    }

    // The cursor's cell, or the rectangle being drawn; on the palette the palette draws it.
    int left = mCursorX;
    int top = mCursorY;
    int right = mCursorX;
    int bottom = mCursorY;
    if (mTool == Tool::Fill && mButton == SDL_BUTTON_LEFT)
    {
        left = std::min(mAnchorX, mCursorX);
        right = std::max(mAnchorX, mCursorX);
        top = std::min(mAnchorY, mCursorY);
        bottom = std::max(mAnchorY, mCursorY);
    }
    const SDL_Rect cursor{left * kTile - mCameraX, top * kTile - mCameraY, (right - left + 1) * kTile,
                          (bottom - top + 1) * kTile};
    if (!mActionCursor)
    {
        Frame(target, cursor.x, cursor.y, cursor.w, cursor.h, SDL_MapRGB(target->format, 255, 255, 255));
    }
    else if (!mOnPalette)
    {
        ActionFrame(target, cursor.x, cursor.y, cursor.w, cursor.h, lit);
    }
    SDL_SetClipRect(target, nullptr);
}

void EditorState::EnlargeRect(SDL_Surface* from, const SDL_Rect& part, SDL_Surface* to, int x, int y,
                              int factor)
{
    if (SDL_LockSurface(from) != 0)
    {
        return;
    }
    if (SDL_LockSurface(to) != 0)
    {
        SDL_UnlockSurface(from);
        return;
    }
    // Within the target's clipping rectangle, as a blit would be.
    SDL_Rect clip;
    SDL_GetClipRect(to, &clip);
    const int bytes = to->format->BytesPerPixel;
    const int width = std::min(part.w * factor, clip.x + clip.w - x);
    const int height = std::min(part.h * factor, clip.y + clip.h - y);
    for (int row = 0; row < height; ++row)
    {
        const auto* source =
            static_cast<const Uint8*>(from->pixels) + (part.y + row / factor) * from->pitch + part.x * bytes;
        auto* target = static_cast<Uint8*>(to->pixels) + (y + row) * to->pitch + x * bytes;
        for (int column = 0; column < width; ++column)
        {
            std::memcpy(target + column * bytes, source + (column / factor) * bytes,
                        static_cast<std::size_t>(bytes));
        }
    }
    SDL_UnlockSurface(to);
    SDL_UnlockSurface(from);
}

void EditorState::Enlarge(SDL_Surface* screen)
{
    const SDL_Rect span{0, 0, SpanX(), SpanY()};
    // The span's last column and row may be cut: the view ends where the palette and the status begin.
    SDL_Rect view{0, 0, mViewWidth, mViewHeight};
    SDL_SetClipRect(screen, &view);
    EnlargeRect(mZoomView, span, screen, 0, 0, mZoom);
    SDL_SetClipRect(screen, nullptr);
}

void EditorState::DrawChooser(SDL_Surface* screen)
{
    EditorMenu::DrawBox(screen, SDL_Rect{0, 0, 320, mViewHeight});
    // Drawn at one pixel a pixel on the spare view surface, then enlarged twice.
    SDL_FillRect(mZoomView, nullptr, SDL_MapRGB(mZoomView->format, 24, 24, 40));
    const Uint32 yellow = SDL_MapRGB(screen->format, 255, 224, 64);
    for (int row = 0; row < mChooserVisibleRows; ++row)
    {
        for (int column = 0; column < mChooserColumns; ++column)
        {
            const PaletteItem item = ChooserAt(column, row + mChooserTop);
            if (item.mTile != nullptr)
            {
                DrawTile(item.mTile->mColor, mZoomView, column * kTile, row * kTile);
            }
            else if (item.mEntity != nullptr && mSprites)
            {
                mSprites->Draw(mZoomView, column * kTile, row * kTile, item.mEntity->mSourceX,
                               item.mEntity->mSourceY, kTile, kTile);
            }
        }
    }
    const SDL_Rect board{0, 0, mChooserColumns * kTile, mChooserVisibleRows * kTile};
    EnlargeRect(mZoomView, board, screen, 0, 8, 2);
    for (int row = 0; row < mChooserVisibleRows; ++row)
    {
        for (int column = 0; column < mChooserColumns; ++column)
        {
            const PaletteItem item = ChooserAt(column, row + mChooserTop);
            const bool chosen =
                (item.mTile != nullptr && item.mTile->mColor == mColor && mTool != Tool::Place &&
                 mTool != Tool::Move) ||
                (item.mEntity != nullptr && item.mEntity->mName == mEntityType && mTool == Tool::Place);
            if (chosen)
            {
                Frame(screen, column * 2 * kTile, 8 + row * 2 * kTile, 2 * kTile, 2 * kTile, yellow);
            }
        }
    }
}

void EditorState::Render(Game* game, const float& /*interpolation*/)
{
    SDL_Surface* screen = game->mScreen->mSurface;
    const bool lit = mBlink < mBlinkUpdates / 2;
    if (mZoom == 1)
    {
        DrawView(screen, lit);
    }
    else
    {
        DrawView(mZoomView, lit);
        Enlarge(screen);
    }

    DrawPalette(screen);
    if (mOnPalette)
    {
        ActionFrame(screen, mPaletteX + mPaletteColumn * kTile, (mPaletteRow - mPaletteTop) * kTile, kTile,
                    kTile, lit);
    }
    DrawStatus(game, screen);
    if (mHelp)
    {
        DrawHelp(game, screen);
    }
    if (mChooser)
    {
        DrawChooser(screen);
    }
    mMenu.Render(screen, *game->mFont, mArrow.get(), lit);
    mPicker.Render(screen, *game->mFont, lit);
}

void EditorState::DrawPalette(SDL_Surface* screen)
{
    SDL_Rect panel{mPaletteX, 0, 320 - mPaletteX, mViewHeight};
    SDL_FillRect(screen, &panel, SDL_MapRGB(screen->format, 24, 24, 40));
    const Uint32 yellow = SDL_MapRGB(screen->format, 255, 224, 64);
    for (int row = mPaletteTop; row < std::min(PaletteRows(), mPaletteTop + mPaletteVisibleRows); ++row)
    {
        for (int column = 0; column < mPaletteColumns; ++column)
        {
            const PaletteItem item = PaletteAt(column, row);
            const int x = mPaletteX + column * kTile;
            const int y = (row - mPaletteTop) * kTile;
            bool chosen = false;
            if (item.mTile != nullptr)
            {
                DrawTile(item.mTile->mColor, screen, x, y);
                chosen = item.mTile->mColor == mColor && mTool != Tool::Place && mTool != Tool::Move;
            }
            else if (item.mEntity != nullptr)
            {
                if (mSprites)
                {
                    mSprites->Draw(screen, x, y, item.mEntity->mSourceX, item.mEntity->mSourceY, kTile,
                                   kTile);
                }
                chosen = item.mEntity->mName == mEntityType && mTool == Tool::Place;
            }
            if (chosen)
            {
                Frame(screen, x, y, kTile, kTile, yellow);
            }
        }
    }
    // More rows above or below: a notch at that edge of the panel.
    const Uint32 grey = SDL_MapRGB(screen->format, 192, 192, 192);
    if (mPaletteTop > 0)
    {
        SDL_Rect notch{mPaletteX + 28, 0, 8, 2};
        SDL_FillRect(screen, &notch, grey);
    }
    if (mPaletteTop + mPaletteVisibleRows < PaletteRows())
    {
        SDL_Rect notch{mPaletteX + 28, mViewHeight - 2, 8, 2};
        SDL_FillRect(screen, &notch, grey);
    }
}

std::string EditorState::UnderCursor() const
{
    if (mOnPalette)
    {
        const PaletteItem item = PaletteAt(mPaletteColumn, mPaletteRow);
        if (item.mTile != nullptr)
        {
            return "palette " + TileText(mCatalogue, item.mTile->mColor);
        }
        return item.mEntity != nullptr ? "palette " + item.mEntity->mName : "palette";
    }
    std::string text = std::to_string(mCursorX) + "," + std::to_string(mCursorY) + " " +
                       TileText(mCatalogue, mLevel.Cell(mLayer, mCursorX, mCursorY));
    const int entity = mLevel.EntityAt(mCursorX, mCursorY);
    if (entity >= 0)
    {
        const PlacedEntity& placed = mLevel.mEntities[entity];
        text += " " + placed.mType + (placed.mDirection ? ">" : "<");
        if (!placed.mID.empty())
        {
            text += " " + placed.mID;
        }
    }
    return text;
}

void EditorState::DrawStatus(Game* game, SDL_Surface* screen)
{
    Font& font = *game->mFont;
    const Uint32 grey = SDL_MapRGB(screen->format, 192, 192, 192);
    const Uint32 amber = SDL_MapRGB(screen->format, 255, 192, 64);
    // TRANSLATORS: the layer being edited, on the editor's status line: at most 5 characters.
    std::string first = std::string(ToolName(mTool)) + " " +
                        (mLayer == LevelDocument::Foreground ? Tr("Fore") : Tr("Back")) + " " + UnderCursor();
    font.DrawString(Font::Clip(first, 40), 0, kStatusY + 2, grey, screen);
    std::string second;
    if (mTypingFor != NotTyping)
    {
        // TRANSLATORS: what the editor's status line is typing: the level's description, or an identifier.
        second = std::string(mTypingFor == TypingDescription ? Tr("Words: ") : Tr("Id: ")) + mTyped + "_";
    }
    else
    {
        second = mStatus;
    }
    font.DrawString(Font::Clip(second, 40), 0, kStatusY + 12, amber, screen);
    // The help needs a keyboard: with a controller or the touch controls the hint names their own.
    // TRANSLATORS: the end of the editor's last status line: at most 20 characters.
    const Input::Device device = game->mInput->LastDevice();
    const char* hint = device == Input::Device::Controllers ? TrNoop("A paint X tool")
                       : device == Input::Device::Touch     ? TrNoop("Jump paint Fire tool")
                                                            : TrNoop("F1 help");
    const std::string third = std::string(mHistory.IsChanged() ? "* " : "  ") +
                              std::to_string(mLevel.Width()) + "x" + std::to_string(mLevel.Height()) + " " +
                              (mFacing ? ">" : "<") + (mZoom > 1 ? " " + std::to_string(mZoom) + "x" : "") +
                              " " + Tr(hint);
    // The line stops short of the Tools button beside it: the way new entities face is the arrow alone, so
    // that the longest hint still shows whole beside a level's size and the zoom.
    font.DrawString(Font::Clip(third, mToolsX / 8), 0, kStatusY + 22, grey, screen);
    // The Tools button, for a pointer or a finger.
    Frame(screen, mToolsX, mToolsY, 320 - mToolsX, 240 - mToolsY, grey);
    // TRANSLATORS: the editor's button that opens its tool menu: at most 5 characters.
    font.DrawString(Font::Clip(Tr("Tools"), 5), mToolsX + 3, mToolsY + 1, grey, screen);
}

void EditorState::DrawHelp(Game* game, SDL_Surface* screen)
{
    const int lines = static_cast<int>(sizeof kHelp / sizeof kHelp[0]);
    SDL_Rect box{12, 8, 296, lines * 10 + 24};
    SDL_FillRect(screen, &box, SDL_MapRGB(screen->format, 0, 0, 0));
    const Uint32 grey = SDL_MapRGB(screen->format, 192, 192, 192);
    Frame(screen, box.x, box.y, box.w, box.h, grey);
    game->mFont->NoteBox(box);
    const std::string title = Tr("Level editor");
    game->mFont->DrawString(title, box.x + (box.w - game->mFont->TextWidth(title)) / 2, box.y + 6, grey,
                            screen);
    for (int i = 0; i < lines; ++i)
    {
        game->mFont->DrawString(kHelp[i][0] ? Tr(kHelp[i]) : "", box.x + 12, box.y + 18 + i * 10, grey,
                                screen);
    }
}
