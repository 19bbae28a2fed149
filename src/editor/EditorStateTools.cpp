// The editor without a keyboard: the tool menu, the letter board and the page's text field for typing,
// the zoom and the two-finger pinch, and the work they share with the keys.
#include "editor/EditorState.h"

#include "Game.h"
#include "editor/EditTools.h"
#include "editor/LevelGrid.h"
#include "editor/LevelLink.h"
#include "graphics/Font.h"
#include "input/Input.h"
#include "io/Translation.h"
#include "platform/Platform.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>

namespace
{
constexpr int kTile = 16;
// How far two fingers spread (or close) before the view comes a step closer (or goes a step back).
constexpr float kPinchStep = 1.35f;

// A value's line: its name, then the value between the arrows that change it; the names are counted in
// the font's cells, so that the arrows line up in every language.
std::string ValueLine(const std::string& name, const std::string& value)
{
    const std::size_t cells = Font::Length(name);
    return name + std::string(cells < 9 ? 9 - cells : 1, ' ') + "< " + value + " >";
}
} // namespace

std::vector<std::string> EditorState::MenuLines() const
{
    const int entity = mLevel.EntityAt(mCursorX, mCursorY);
    std::vector<std::string> lines(static_cast<std::size_t>(MenuItem::Count));
    const auto set = [&lines](MenuItem item, std::string text)
    { lines[static_cast<int>(item)] = std::move(text); };
    // TRANSLATORS: the editor's tool menu: each line at most 34 characters; a value's name (Tool, Layer,
    // Facing, Width, Height, Zoom) at most 8, since its value follows it between arrows.
    set(MenuItem::Help, Tr("Help"));
    set(MenuItem::ToolChoice, ValueLine(Tr("Tool"), ToolName(mTool)));
    set(MenuItem::Layer,
        ValueLine(Tr("Layer"), mLayer == LevelDocument::Foreground ? Tr("Fore") : Tr("Back")));
    // TRANSLATORS: the way new entities face, in the editor's tool menu: at most 10 characters each.
    set(MenuItem::Facing,
        entity >= 0 ? Tr("Turn the entity") : ValueLine(Tr("Facing"), mFacing ? Tr("right") : Tr("left")));
    set(MenuItem::Identifier, entity >= 0 ? Tr("Entity's identifier") : Tr("(Identifier: no entity)"));
    set(MenuItem::Words, Tr("Level's words"));
    set(MenuItem::Width, ValueLine(Tr("Width"), std::to_string(mLevel.Width())));
    set(MenuItem::Height, ValueLine(Tr("Height"), std::to_string(mLevel.Height())));
    set(MenuItem::Zoom, ValueLine(Tr("Zoom"), std::to_string(mZoom) + "x"));
    set(MenuItem::Undo, Tr("Undo"));
    set(MenuItem::Redo, Tr("Redo"));
    set(MenuItem::Save, Tr("Save"));
    set(MenuItem::TestPlay, Tr("Test-play"));
    set(MenuItem::TestFromCursor, Tr("Test from the cursor"));
    set(MenuItem::Grid, Tr("Write the text grid"));
    set(MenuItem::Link, Tr("Print the link"));
    set(MenuItem::Race, Tr("Send a race"));
    set(MenuItem::Leave, Tr("Leave the editor"));
    return lines;
}

void EditorState::OpenMenu()
{
    // A stroke held on when the menu opens ends here, so nothing paints under it.
    if (mButton != 0)
    {
        EndStroke();
    }
    mHelp = false;
    // TRANSLATORS: the heading of the editor's tool menu, also its button: at most 5 characters.
    mMenu.Open(Tr("Tools"), MenuLines());
}

void EditorState::MenuAction(Game* game, Action action)
{
    const auto item = static_cast<MenuItem>(mMenu.Chosen());
    switch (action)
    {
    case Action::Up:
        mMenu.Move(-1);
        return;
    case Action::Down:
        mMenu.Move(1);
        return;
    case Action::Left:
    case Action::Right:
        Adjust(item, action == Action::Left ? -1 : 1);
        return;
    case Action::Accept:
        Activate(game, item);
        return;
    case Action::Back:
    case Action::Fire:
    case Action::Tools:
    case Action::Pause:
        mMenu.Close();
        return;
    default:
        return;
    }
}

void EditorState::Adjust(MenuItem item, int step)
{
    switch (item)
    {
    case MenuItem::ToolChoice:
    {
        const int tools = static_cast<int>(Tool::Move) + 1;
        SetTool(static_cast<Tool>((static_cast<int>(mTool) + step + tools) % tools));
        mStatus = std::string(Tr("Tool: ")) + ToolName(mTool);
        break;
    }
    case MenuItem::Layer:
        if (mTool != Tool::Place && mTool != Tool::Move)
        {
            mLayer =
                mLayer == LevelDocument::Foreground ? LevelDocument::Backdrop : LevelDocument::Foreground;
        }
        break;
    case MenuItem::Facing:
        Turn();
        break;
    case MenuItem::Width:
        Resize(step, 0);
        break;
    case MenuItem::Height:
        Resize(0, step);
        break;
    case MenuItem::Zoom:
        SetZoom(mZoom + step);
        break;
    default:
        return;
    }
    mMenu.SetLines(MenuLines());
}

void EditorState::Activate(Game* game, MenuItem item)
{
    switch (item)
    {
    case MenuItem::ToolChoice:
    case MenuItem::Layer:
    case MenuItem::Facing:
    case MenuItem::Width:
    case MenuItem::Height:
        // Choosing a value raises it, as the right arrow does; the zoom goes round.
        Adjust(item, 1);
        return;
    case MenuItem::Zoom:
        SetZoom(mZoom % mMaxZoom + 1);
        mMenu.SetLines(MenuLines());
        return;
    case MenuItem::Undo:
        Undo();
        mMenu.SetLines(MenuLines());
        return;
    case MenuItem::Redo:
        Redo();
        mMenu.SetLines(MenuLines());
        return;
    default:
        break;
    }
    mMenu.Close();
    switch (item)
    {
    case MenuItem::Help:
        mHelp = true;
        return;
    case MenuItem::Identifier:
    case MenuItem::Words:
        StartTyping(item == MenuItem::Identifier, mTouchLast ? TypingFrom::Finger : TypingFrom::Controller);
        return;
    case MenuItem::Save:
        Save();
        return;
    case MenuItem::TestPlay:
    case MenuItem::TestFromCursor:
        TestPlay(game, item == MenuItem::TestFromCursor);
        return;
    case MenuItem::Grid:
        WriteGrid();
        return;
    case MenuItem::Link:
        PrintLink();
        return;
    case MenuItem::Race:
        SendRace(game);
        return;
    case MenuItem::Leave:
        Leave(game);
        return;
    default:
        return;
    }
}

EditorState::PaletteItem EditorState::ChooserAt(int column, int row) const
{
    PaletteItem item;
    const int tiles = static_cast<int>(mCatalogue.Tiles().size());
    const int tileRows = (tiles + mChooserColumns - 1) / mChooserColumns;
    if (column < 0 || column >= mChooserColumns || row < 0)
    {
        return item;
    }
    if (row < tileRows)
    {
        const int tile = row * mChooserColumns + column;
        item.mTile = tile < tiles ? &mCatalogue.Tiles()[static_cast<std::size_t>(tile)] : nullptr;
        return item;
    }
    const auto entity = static_cast<std::size_t>((row - tileRows) * mChooserColumns + column);
    item.mEntity = entity < mCatalogue.Entities().size() ? &mCatalogue.Entities()[entity] : nullptr;
    return item;
}

int EditorState::ChooserRows() const
{
    const int tiles = static_cast<int>(mCatalogue.Tiles().size());
    const int entities = static_cast<int>(mCatalogue.Entities().size());
    return (tiles + mChooserColumns - 1) / mChooserColumns +
           (entities + mChooserColumns - 1) / mChooserColumns;
}

bool EditorState::PressOverlay(Game* game, int pictureX, int pictureY)
{
    if (mChooser)
    {
        // Its cells are twice the palette's, from the picture's top edge and below an 8-pixel margin; the
        // margin under them turns to the rows below when there are more.
        const int cell = 2 * kTile;
        const int row = (pictureY - 8) / cell;
        const PaletteItem item = pictureY >= 8 && row < mChooserVisibleRows
                                     ? ChooserAt(pictureX / cell, row + mChooserTop)
                                     : PaletteItem{};
        if (item.mTile != nullptr || item.mEntity != nullptr)
        {
            PickItem(item);
            mChooser = false;
            // TRANSLATORS: %1 is the entity's name (player, walker...), as the files name it.
            mStatus = item.mTile != nullptr
                          ? Tr("Tile chosen")
                          : Translation::Format(Tr("Entity chosen: %1"), {item.mEntity->mName});
        }
        else if (pictureY >= 8 + mChooserVisibleRows * cell && pictureY < mViewHeight &&
                 ChooserRows() > mChooserVisibleRows)
        {
            mChooserTop =
                mChooserTop + mChooserVisibleRows < ChooserRows() ? mChooserTop + mChooserVisibleRows : 0;
        }
        else
        {
            mChooser = false;
        }
        return true;
    }
    if (mPicker.IsOpen())
    {
        if (mPicker.Point(pictureX, pictureY))
        {
            UsePickerKey();
        }
        return true;
    }
    if (mMenu.IsOpen())
    {
        const int line = mMenu.LineAt(pictureX, pictureY);
        if (line >= 0)
        {
            mMenu.Choose(line);
            const auto item = static_cast<MenuItem>(line);
            const bool value = item == MenuItem::ToolChoice || item == MenuItem::Layer ||
                               item == MenuItem::Width || item == MenuItem::Height ||
                               item == MenuItem::Zoom ||
                               (item == MenuItem::Facing && mLevel.EntityAt(mCursorX, mCursorY) < 0);
            if (value)
            {
                Adjust(item, mMenu.RightHalf(pictureX) ? 1 : -1);
            }
            else
            {
                Activate(game, item);
            }
        }
        else if (!mMenu.Inside(pictureX, pictureY))
        {
            mMenu.Close(); // a tap beside the menu puts it away
        }
        return true;
    }
    return false;
}

void EditorState::Undo()
{
    if (mHistory.Undo(mLevel))
    {
        mStatus = Tr("Undone");
    }
}

void EditorState::Redo()
{
    if (mHistory.Redo(mLevel))
    {
        mStatus = Tr("Redone");
    }
}

void EditorState::Resize(int dWidth, int dHeight)
{
    const int width = mLevel.Width() + dWidth;
    const int height = mLevel.Height() + dHeight;
    if (width < 1 || height < 1 || width > LevelDocument::mMaxSide || height > LevelDocument::mMaxSide)
    {
        return;
    }
    Do(EditTools::Resize(mLevel, width, height));
    // TRANSLATORS: %1x%2 is the level's width and height in tiles.
    mStatus = Translation::Format(Tr("Size %1x%2"), {std::to_string(width), std::to_string(height)});
    // The cursor stays on the level, and the view within it.
    mCursorX = std::min(mCursorX, width - 1);
    mCursorY = std::min(mCursorY, height - 1);
    Scroll(0, 0);
}

void EditorState::WriteGrid()
{
    const std::string grid = std::filesystem::path(mFile).replace_extension(".txt").string();
    if (grid == mFile)
    {
        mStatus = Tr("No grid: the level file is itself a .txt, which the grid would replace");
        return;
    }
    if (!PassesChecks(mLevel, Tr("No grid: ")))
    {
        return;
    }
    try
    {
        LevelGrid::Write(mLevel, mCatalogue, grid);
        // TRANSLATORS: %1 is a file name.
        mStatus = Translation::Format(Tr("Grid written to %1"), {grid});
    }
    catch (const std::exception& error)
    {
        mStatus = std::string(Tr("No grid: ")) + error.what();
    }
}

void EditorState::PrintLink()
{
    // The desktop's way to pass a level on: the link on standard output, for a chat or a page.
    std::string why;
    if (!LevelLink::Fits(mLevel, &why))
    {
        mStatus = why == LevelLink::mTooLarge ? Tr(why) : Tr("No link: ") + why;
        return;
    }
    try
    {
        std::cout << LevelLink::Pack(mLevel) << std::endl;
        mStatus = Tr("Link printed on standard output");
    }
    catch (const std::exception& error)
    {
        mStatus = std::string(Tr("No link: ")) + error.what();
    }
}

void EditorState::Turn()
{
    const int entity = mLevel.EntityAt(mCursorX, mCursorY);
    if (entity >= 0)
    {
        Do(EditTools::Turn(mLevel, entity));
    }
    else
    {
        mFacing = !mFacing;
    }
}

void EditorState::StartTyping(bool identifier, TypingFrom from)
{
    const int entity = mLevel.EntityAt(mCursorX, mCursorY);
    if (identifier && entity < 0)
    {
        mStatus = Tr("No entity at the cursor to name");
        return;
    }
    mTypingFor = identifier ? TypingIdentifier : TypingDescription;
    mTyped = identifier ? mLevel.mEntities[entity].mID
                        : mLevel.mDescription.substr(0, mLevel.mDescription.find('\n'));
    mAskedPage =
        from == TypingFrom::Finger &&
        // TRANSLATORS: the question above the page's text field, when typing by touch.
        Platform::AskText(identifier ? Tr("The entity's identifier") : Tr("The level's words"), mTyped);
    if (mAskedPage)
    {
        return;
    }
    // Keys type as well while the letter board is up.
    SDL_StartTextInput();
    if (from != TypingFrom::Keys)
    {
        mPicker.Open();
    }
}

void EditorState::PickerAction(Action action)
{
    switch (action)
    {
    case Action::Left:
        mPicker.Move(-1, 0);
        return;
    case Action::Right:
        mPicker.Move(1, 0);
        return;
    case Action::Up:
        mPicker.Move(0, -1);
        return;
    case Action::Down:
        mPicker.Move(0, 1);
        return;
    case Action::Accept:
        UsePickerKey();
        return;
    case Action::Fire:
        // The second button rubs out, as on a console's keyboard.
        if (!mTyped.empty())
        {
            mTyped.pop_back();
        }
        return;
    case Action::Pause:
    case Action::Tools:
        FinishTyping(true);
        return;
    case Action::Back:
        FinishTyping(false);
        return;
    default:
        return;
    }
}

void EditorState::UsePickerKey()
{
    switch (mPicker.Current())
    {
    case LetterPicker::Key::Letter:
        TypeText(std::string(1, mPicker.Letter()));
        return;
    case LetterPicker::Key::Space:
        TypeText(" ");
        return;
    case LetterPicker::Key::Delete:
        if (!mTyped.empty())
        {
            mTyped.pop_back();
        }
        return;
    case LetterPicker::Key::Done:
        FinishTyping(true);
        return;
    case LetterPicker::Key::None:
        return;
    }
}

void EditorState::TakePageAnswer(Game* game)
{
    std::string text;
    bool kept = false;
    if (!game->mInput->TakeAnswer(text, kept) || !mAskedPage || mTypingFor == NotTyping)
    {
        return;
    }
    // The page's field holds what it was given; the same rules as typing apply to what comes back.
    mTyped.clear();
    TypeText(text);
    FinishTyping(kept);
}

void EditorState::SetZoom(int zoom)
{
    zoom = std::clamp(zoom, 1, mMaxZoom);
    if (zoom == mZoom)
    {
        return;
    }
    // The middle of the view stays where it is.
    const int middleX = mCameraX + SpanX() / 2;
    const int middleY = mCameraY + SpanY() / 2;
    mZoom = zoom;
    mCameraX = middleX - SpanX() / 2;
    mCameraY = middleY - SpanY() / 2;
    Scroll(0, 0);
    if (mActionCursor && !mOnPalette)
    {
        ShowCursorCell();
    }
    // TRANSLATORS: %1 is how many times closer the editor's view is (1 to 3).
    mStatus = Translation::Format(Tr("Zoom %1x"), {std::to_string(mZoom)});
}

void EditorState::TrackFinger(const SDL_Event& event)
{
    const SDL_TouchFingerEvent& finger = event.tfinger;
    if (event.type == SDL_FINGERUP)
    {
        mFingerAt.erase(finger.fingerId);
    }
    else
    {
        // A finger whose lift was never seen (the page was hidden) must not count: when SDL knows of one
        // finger alone, it is this one.
        if (event.type == SDL_FINGERDOWN && SDL_GetNumTouchFingers(finger.touchId) == 1)
        {
            mFingerAt.clear();
        }
        mFingerAt[finger.fingerId] = SDL_FPoint{finger.x, finger.y};
    }
    if (mFingerAt.size() != 2)
    {
        mPinchFrom = 0.0f;
        return;
    }
    // The spread in picture pixels, so that a pinch means the same however the screen is shaped.
    const SDL_FPoint a = mFingerAt.begin()->second;
    const SDL_FPoint b = std::next(mFingerAt.begin())->second;
    const float spread = std::hypot((a.x - b.x) * 320.0f, (a.y - b.y) * 240.0f);
    if (mPinchFrom <= 0.0f)
    {
        mPinchFrom = spread;
        return;
    }
    if (spread >= mPinchFrom * kPinchStep && mZoom < mMaxZoom)
    {
        SetZoom(mZoom + 1);
        mPinchFrom = spread;
    }
    else if (spread * kPinchStep <= mPinchFrom && mZoom > 1)
    {
        SetZoom(mZoom - 1);
        mPinchFrom = spread;
    }
}
