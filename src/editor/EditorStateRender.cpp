// Drawing the level editor: the level with the layer not being edited dimmed, the palettes, the status
// line and the help card, all on the 320x240 picture in the game's own tiles, sprites and font.
#include "editor/EditorState.h"

#include "Game.h"
#include "graphics/Font.h"
#include "graphics/Image.h"
#include "world/EntityType.h"

#include <algorithm>
#include <cstdio>

namespace
{
constexpr int kTile = 16;
constexpr int kStatusY = EditorState::mViewHeight;

const char* ToolName(EditorState::Tool tool)
{
    switch (tool)
    {
    case EditorState::Tool::Paint:
        return "Paint";
    case EditorState::Tool::Fill:
        return "Rect";
    case EditorState::Tool::Erase:
        return "Erase";
    case EditorState::Tool::Pick:
        return "Pick";
    case EditorState::Tool::Place:
        return "Place";
    case EditorState::Tool::Move:
        return "Move";
    }
    return "";
}

std::string Hex(std::uint32_t color)
{
    char text[8];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(color & 0xFFFFFF));
    return text;
}

void Frame(SDL_Surface* screen, int x, int y, int w, int h, Uint32 color)
{
    SDL_Rect edges[4] = {{x, y, w, 1}, {x, y + h - 1, w, 1}, {x, y, 1, h}, {x + w - 1, y, 1, h}};
    SDL_FillRects(screen, edges, 4, color);
}

const char* const kHelp[] = {
    "Mouse: left paints, right erases",  "  wheel/middle drag scrolls", "B paint  R rectangle  E erase",
    "K pick  N place  M move entity",    "F facing  I identifier",      "Tab/1/2 layer  Arrows scroll",
    "Ctrl+Arrows resize  D description", "Ctrl+Z undo  Ctrl+Y redo",    "Ctrl+S save  Ctrl+G text grid",
    "T test-play  Shift+T from cursor",  "L print link  Esc leave",
};
} // namespace

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

void EditorState::DrawLayer(int layer, SDL_Surface* target, int offsetX, int offsetY)
{
    const int firstX = mCameraX / kTile;
    const int firstY = mCameraY / kTile;
    for (int y = firstY; y <= (mCameraY + mViewHeight - 1) / kTile && y < mLevel.Height(); ++y)
    {
        for (int x = firstX; x <= (mCameraX + mViewWidth - 1) / kTile && x < mLevel.Width(); ++x)
        {
            DrawTile(mLevel.Cell(layer, x, y), target, x * kTile - mCameraX + offsetX,
                     y * kTile - mCameraY + offsetY);
        }
    }
}

void EditorState::DrawEntities(SDL_Surface* target, int offsetX, int offsetY)
{
    for (const PlacedEntity& placed : mLevel.mEntities)
    {
        const EditorCatalogue::EntityEntry* type = mCatalogue.FindEntity(placed.mType);
        const int x = placed.mX * kTile - mCameraX + offsetX;
        const int y = placed.mY * kTile - mCameraY + offsetY;
        if (type == nullptr || !mSprites || x <= -kTile || y <= -kTile || x >= mViewWidth || y >= mViewHeight)
        {
            continue;
        }
        // Facing left is the sheet's picture mirrored, as in play.
        if (placed.mDirection || type->mBaseType == EntityType::mBaseEntity)
        {
            mSprites->Draw(target, x, y, type->mSourceX, type->mSourceY, kTile, kTile);
        }
        else
        {
            mSprites->DrawFlipped(target, x, y, type->mSourceX, type->mSourceY, kTile, kTile);
        }
    }
}

void EditorState::Render(Game* game, const float& /*interpolation*/)
{
    SDL_Surface* screen = game->mScreen->mSurface;
    SDL_Rect view{0, 0, mViewWidth, mViewHeight};
    SDL_SetClipRect(screen, &view);
    // The level's extent on a dark ground; beyond it stays black.
    SDL_Rect level{-mCameraX, -mCameraY, mLevel.Width() * kTile, mLevel.Height() * kTile};
    SDL_FillRect(screen, &level, SDL_MapRGB(screen->format, 12, 12, 24));

    // The layer not being edited is drawn apart and blended in faintly.
    SDL_FillRect(mDimmed, nullptr, 0);
    if (mLayer == LevelDocument::Foreground)
    {
        DrawLayer(LevelDocument::Backdrop, mDimmed, 0, 0);
        SDL_BlitSurface(mDimmed, nullptr, screen, nullptr);
        DrawLayer(LevelDocument::Foreground, screen, 0, 0);
        DrawEntities(screen, 0, 0);
    }
    else
    {
        DrawLayer(LevelDocument::Backdrop, screen, 0, 0);
        DrawLayer(LevelDocument::Foreground, mDimmed, 0, 0);
        DrawEntities(mDimmed, 0, 0);
        SDL_BlitSurface(mDimmed, nullptr, screen, nullptr);
    }

    // The cursor's cell, or the rectangle being drawn.
    const Uint32 white = SDL_MapRGB(screen->format, 255, 255, 255);
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
    Frame(screen, left * kTile - mCameraX, top * kTile - mCameraY, (right - left + 1) * kTile,
          (bottom - top + 1) * kTile, white);
    SDL_SetClipRect(screen, nullptr);

    DrawPalette(game, screen);
    DrawStatus(game, screen);
    if (mHelp)
    {
        DrawHelp(game, screen);
    }
}

void EditorState::DrawPalette(Game* /*game*/, SDL_Surface* screen)
{
    SDL_Rect panel{mPaletteX, 0, 320 - mPaletteX, mViewHeight};
    SDL_FillRect(screen, &panel, SDL_MapRGB(screen->format, 24, 24, 40));
    const Uint32 yellow = SDL_MapRGB(screen->format, 255, 224, 64);
    const auto& tiles = mCatalogue.Tiles();
    for (std::size_t i = 0; i < tiles.size(); ++i)
    {
        const int x = mPaletteX + static_cast<int>(i % mPaletteColumns) * kTile;
        const int y = static_cast<int>(i / mPaletteColumns) * kTile;
        DrawTile(tiles[i].mColor, screen, x, y);
        if (tiles[i].mColor == mColor && mTool != Tool::Place && mTool != Tool::Move)
        {
            Frame(screen, x, y, kTile, kTile, yellow);
        }
    }
    const int tileRows = (static_cast<int>(tiles.size()) + mPaletteColumns - 1) / mPaletteColumns;
    const auto& entities = mCatalogue.Entities();
    for (std::size_t i = 0; i < entities.size(); ++i)
    {
        const int x = mPaletteX + static_cast<int>(i % mPaletteColumns) * kTile;
        const int y = (tileRows + static_cast<int>(i / mPaletteColumns)) * kTile;
        if (mSprites && y + kTile <= mViewHeight)
        {
            mSprites->Draw(screen, x, y, entities[i].mSourceX, entities[i].mSourceY, kTile, kTile);
        }
        if (entities[i].mName == mEntityType && mTool == Tool::Place)
        {
            Frame(screen, x, y, kTile, kTile, yellow);
        }
    }
}

std::string EditorState::UnderCursor() const
{
    const std::uint32_t color = mLevel.Cell(mLayer, mCursorX, mCursorY);
    std::string text = Hex(color);
    const EditorCatalogue::TileEntry* tile = mCatalogue.FindTile(color);
    if (tile == nullptr)
    {
        text += " unknown";
    }
    else if (tile->mBlocking || tile->mHarmful)
    {
        text += tile->mBlocking ? " solid" : "";
        text += tile->mHarmful ? " harms" : "";
    }
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
    std::string first = std::string(ToolName(mTool)) +
                        (mLayer == LevelDocument::Foreground ? " Fore " : " Back ") +
                        std::to_string(mCursorX) + "," + std::to_string(mCursorY) + " " + UnderCursor();
    font.DrawString(first.substr(0, 40), 0, kStatusY + 2, grey, screen);
    std::string second;
    if (mTypingFor != 0)
    {
        second = (mTypingFor == 1 ? "Words: " : "Id: ") + mTyped + "_";
    }
    else
    {
        second = mStatus;
    }
    font.DrawString(second.substr(0, 40), 0, kStatusY + 12, amber, screen);
    const std::string third = std::string(mHistory.IsChanged() ? "* " : "  ") +
                              std::to_string(mLevel.Width()) + "x" + std::to_string(mLevel.Height()) + " " +
                              (mFacing ? "facing >" : "facing <") + "  F1 help";
    font.DrawString(third, 0, kStatusY + 22, grey, screen);
}

void EditorState::DrawHelp(Game* game, SDL_Surface* screen)
{
    const int lines = static_cast<int>(sizeof kHelp / sizeof kHelp[0]);
    SDL_Rect box{12, 24, 296, lines * 10 + 24};
    SDL_FillRect(screen, &box, SDL_MapRGB(screen->format, 0, 0, 0));
    const Uint32 grey = SDL_MapRGB(screen->format, 192, 192, 192);
    Frame(screen, box.x, box.y, box.w, box.h, grey);
    game->mFont->DrawString("Level editor", box.x + 100, box.y + 6, grey, screen);
    for (int i = 0; i < lines; ++i)
    {
        game->mFont->DrawString(kHelp[i], box.x + 12, box.y + 18 + i * 10, grey, screen);
    }
}
