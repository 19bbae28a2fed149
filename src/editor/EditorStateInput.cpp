// The level editor's input: the mouse paints, erases and scrolls; the keys choose tools and layers, undo,
// save and test-play; a controller's or the touch controls' actions move a cell cursor and use the tools.
#include "editor/EditorState.h"

#include "Game.h"
#include "StateManager.h"
#include "editor/EditTools.h"
#include "editor/LevelGrid.h"
#include "editor/LevelLink.h"
#include "graphics/Framework.h"
#include "graphics/Scaling.h"
#include "input/Input.h"
#include "io/Translation.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>

namespace
{
constexpr int kTile = 16;
constexpr int kScrollStep = 16;

// Descriptions and identifiers are typed in one line of the picture at most.
constexpr std::size_t kMaxTyped = 36;
} // namespace

void EditorState::HandleEvents(Game* game)
{
    if (mTesting)
    {
        BackFromPlay(game);
    }
    // The editor reads the mouse, the fingers and its shortcut keys itself; controllers and the touch
    // controls reach it through the actions.
    class Reader : public InputHandler
    {
      public:
        Reader(EditorState& editor, Game* game) : mEditor(editor), mGame(game) {}
        Next OnEvent(const SDL_Event& event) override
        {
            if (!mEditor.HandleEvent(mGame, event))
            {
                return Next::Stop;
            }
            return event.type == SDL_KEYDOWN || event.type == SDL_KEYUP ? Next::SkipActions : Next::Actions;
        }
        bool OnAction(Action action, bool /*repeat*/) override
        {
            mEditor.HandleAction(mGame, action);
            return !mEditor.mTesting && mGame->mStateManager->mCurrentState == &mEditor;
        }

      private:
        EditorState& mEditor;
        Game* mGame;
    };
    Reader reader(*this, game);
    game->mInput->Poll(reader);
    TakePageAnswer(game);
    // Accept's stroke ends when the last control holding Accept lets go, which a quick tap does in the same
    // pass as it began.
    if (mAcceptStroke && !game->mInput->Held(Action::Accept, Input::kControllers | Input::kTouch))
    {
        EndStroke();
    }
}

void EditorState::HandleAction(Game* game, Action action)
{
    // A controller's Start holds Accept beside Pause, for the menus; here it only test-plays.
    if (action == Action::Accept && game->mInput->Held(Action::Pause, Input::kControllers))
    {
        return;
    }
    mTouchLast = game->mInput->UsingTouch();
    if (mChooser)
    {
        mChooser = !(action == Action::Back || action == Action::Fire || action == Action::Tools);
        return;
    }
    if (mPicker.IsOpen())
    {
        PickerAction(action);
        return;
    }
    if (mMenu.IsOpen())
    {
        MenuAction(game, action);
        return;
    }
    if (mTypingFor != NotTyping || mRestoreOffered || mHelp)
    {
        // Back answers what is up as Escape does; Accept takes the autosave offered or closes the help.
        if (action == Action::Back)
        {
            Press(game, SDLK_ESCAPE, KMOD_NONE);
        }
        else if (action == Action::Accept && mRestoreOffered)
        {
            Restore();
        }
        else if ((action == Action::Accept || action == Action::Tools) && mHelp)
        {
            mHelp = false;
        }
        return;
    }
    switch (action)
    {
    case Action::Left:
        StepCursor(-1, 0);
        return;
    case Action::Right:
        StepCursor(1, 0);
        return;
    case Action::Up:
        StepCursor(0, -1);
        return;
    case Action::Down:
        StepCursor(0, 1);
        return;
    case Action::Accept:
        // A left click at the cursor; held, it is the button held down.
        mActionCursor = true;
        if (mOnPalette)
        {
            PickPalette(mPaletteColumn, mPaletteRow);
        }
        else if (mButton == 0)
        {
            BeginStroke(SDL_BUTTON_LEFT, mCursorX, mCursorY);
            mAcceptStroke = true;
        }
        return;
    case Action::Fire:
        SetTool(mTool == Tool::Move ? Tool::Paint : static_cast<Tool>(static_cast<int>(mTool) + 1));
        mStatus = std::string(Tr("Tool: ")) + ToolName(mTool);
        return;
    case Action::Pause:
        TestPlay(game, false);
        return;
    case Action::Tools:
        OpenMenu();
        return;
    case Action::Zoom:
        SetZoom(mZoom % mMaxZoom + 1);
        return;
    case Action::Back:
        // Undo rather than leave: in the browser leaving ends the program, and a slip of the thumb must
        // not do that. Escape, closing the window and the page still leave.
        Press(game, SDLK_z, KMOD_CTRL);
        return;
    default:
        // Jump is left alone: the d-pad's up holds it too, and moving up must not paint.
        return;
    }
}

void EditorState::StepCursor(int dx, int dy)
{
    mActionCursor = true;
    const int rows = PaletteRows();
    if (mOnPalette && mPaletteColumn + dx >= 0)
    {
        mPaletteColumn = std::min(mPaletteColumn + dx, mPaletteColumns - 1);
        mPaletteRow = std::clamp(mPaletteRow + dy, 0, rows - 1);
        ShowPaletteRow();
        return;
    }
    if (mOnPalette)
    {
        // Back onto the level's last column, on the row level with the palette's.
        mOnPalette = false;
        mCursorX = mLevel.Width() - 1;
        mCursorY =
            std::clamp(CellAtY((mPaletteRow - mPaletteTop) * kTile + kTile / 2), 0, mLevel.Height() - 1);
    }
    else if (mCursorX + dx >= mLevel.Width() && mButton == 0 && rows > 0)
    {
        // The palette lies past the level's right edge; a stroke stays on the level.
        mOnPalette = true;
        mPaletteColumn = 0;
        const int onPicture = (mCursorY * kTile + kTile / 2 - mCameraY) * mZoom;
        mPaletteRow = std::clamp(onPicture / kTile + mPaletteTop, 0, rows - 1);
        ShowPaletteRow();
        return;
    }
    else
    {
        StrokeTo(std::clamp(mCursorX + dx, 0, mLevel.Width() - 1),
                 std::clamp(mCursorY + dy, 0, mLevel.Height() - 1));
    }
    ShowCursorCell();
}

void EditorState::ShowCursorCell()
{
    const int left = mCursorX * kTile - mCameraX;
    const int top = mCursorY * kTile - mCameraY;
    Scroll(std::min(0, left) + std::max(0, left + kTile - SpanX()),
           std::min(0, top) + std::max(0, top + kTile - SpanY()));
}

void EditorState::ShowPaletteRow()
{
    mPaletteTop = std::clamp(mPaletteTop, mPaletteRow - mPaletteVisibleRows + 1, mPaletteRow);
}

void EditorState::SetTool(Tool tool)
{
    mTool = tool;
    // Entities stand on the foreground: placing and moving them happen there.
    if (tool == Tool::Place || tool == Tool::Move)
    {
        mLayer = LevelDocument::Foreground;
    }
}

bool EditorState::HandleEvent(Game* game, const SDL_Event& event)
{
    switch (event.type)
    {
    case SDL_QUIT:
        Leave(game);
        return false;
    case SDL_KEYDOWN:
        mTouchLast = false;
        HandleKey(game, event.key);
        // Test-play or leaving hands the next events to another screen.
        return !mTesting && game->mStateManager->mCurrentState == this;
    case SDL_TEXTINPUT:
        TypeText(event.text.text);
        break;
    case SDL_MOUSEBUTTONDOWN:
    {
        if (mFingers >= 2)
        {
            break;
        }
        mTouchLast = event.button.which == SDL_TOUCH_MOUSEID;
        const SDL_Point at = game->mFramework->ToPicture(event.button.x, event.button.y);
        PressMouse(event.button.button, at.x, at.y);
        break;
    }
    case SDL_MOUSEBUTTONUP:
    {
        const SDL_Point at = game->mFramework->ToPicture(event.button.x, event.button.y);
        ReleaseMouse(event.button.button, at.x, at.y);
        break;
    }
    case SDL_MOUSEMOTION:
    {
        const SDL_Point at = game->mFramework->ToPicture(event.motion.x, event.motion.y);
        MoveMouse(at.x, at.y);
        break;
    }
    case SDL_MOUSEWHEEL:
        Wheel(event.wheel.x, event.wheel.y);
        break;
    case SDL_FINGERDOWN:
    case SDL_FINGERUP:
        TrackFinger(event);
        mFingers = SDL_GetNumTouchFingers(event.tfinger.touchId);
        // One finger paints as the left button does (SDL makes it the mouse); a second one turns
        // the stroke into a scroll or a pinch. The first finger's cell, painted a moment before the
        // second came, was no stroke: it goes.
        if (mFingers >= 2)
        {
            if (mButton == SDL_BUTTON_LEFT && mStroke != 0 && mHistory.Changes() != mStrokeChanges &&
                mCursorX == mAnchorX && mCursorY == mAnchorY)
            {
                mHistory.Undo(mLevel);
            }
            mButton = 0;
            mStroke = 0;
        }
        break;
    case SDL_FINGERMOTION:
        TrackFinger(event);
        if (mFingers >= 2)
        {
            // Each finger reports its own motion: their mean moves the level with them. Slow drags move
            // less than a pixel an event, so the fractions are kept.
            const float scale = static_cast<float>(mFingers * mZoom);
            mTouchScrollX -= event.tfinger.dx * 320.0f / scale;
            mTouchScrollY -= event.tfinger.dy * 240.0f / scale;
            const int dx = static_cast<int>(mTouchScrollX);
            const int dy = static_cast<int>(mTouchScrollY);
            mTouchScrollX -= static_cast<float>(dx);
            mTouchScrollY -= static_cast<float>(dy);
            Scroll(dx, dy);
        }
        break;
    default:
        break;
    }
    return true;
}

void EditorState::HandleKey(Game* game, const SDL_KeyboardEvent& key)
{
    if (key.repeat != 0 && mTypingFor == NotTyping && key.keysym.sym != SDLK_LEFT &&
        key.keysym.sym != SDLK_RIGHT && key.keysym.sym != SDLK_UP && key.keysym.sym != SDLK_DOWN)
    {
        return;
    }
    Press(game, key.keysym.sym, key.keysym.mod);
}

void EditorState::Press(Game* game, SDL_Keycode key, Uint16 modifiers)
{
    const bool control = (modifiers & KMOD_CTRL) != 0;
    const bool shift = (modifiers & KMOD_SHIFT) != 0;
    if (mChooser)
    {
        mChooser = key != SDLK_ESCAPE;
        return;
    }
    if (mAskedPage)
    {
        // The page's field has the keys; one that reaches the game all the same only cancels.
        if (key == SDLK_ESCAPE)
        {
            FinishTyping(false);
        }
        return;
    }
    if (mMenu.IsOpen() && mTypingFor == NotTyping)
    {
        // The menu's own keys: the arrows, Return, and Escape to close it.
        const std::pair<SDL_Keycode, Action> keys[] = {
            {SDLK_UP, Action::Up},        {SDLK_DOWN, Action::Down},     {SDLK_LEFT, Action::Left},
            {SDLK_RIGHT, Action::Right},  {SDLK_RETURN, Action::Accept}, {SDLK_KP_ENTER, Action::Accept},
            {SDLK_SPACE, Action::Accept}, {SDLK_ESCAPE, Action::Back}};
        for (const auto& [pressed, action] : keys)
        {
            if (key == pressed)
            {
                MenuAction(game, action);
            }
        }
        return;
    }
    if (mTypingFor != NotTyping)
    {
        if (key == SDLK_RETURN || key == SDLK_KP_ENTER || key == SDLK_ESCAPE)
        {
            FinishTyping(key != SDLK_ESCAPE);
        }
        else if (key == SDLK_BACKSPACE && !mTyped.empty())
        {
            mTyped.pop_back();
        }
        return;
    }
    if (mRestoreOffered)
    {
        if (key == SDLK_y)
        {
            Restore();
        }
        else if (key == SDLK_n || key == SDLK_ESCAPE)
        {
            mRestoreOffered = false;
            mStatus = Tr("Kept the file; the autosave is replaced at the next change");
        }
        return;
    }
    if (mHelp && (key == SDLK_ESCAPE || key == SDLK_F1 || key == SDLK_h))
    {
        mHelp = false;
        return;
    }
    // Resizing and undo come with Ctrl; plain arrows scroll.
    if (control)
    {
        switch (key)
        {
        case SDLK_z:
            if (shift)
            {
                Redo();
            }
            else
            {
                Undo();
            }
            return;
        case SDLK_y:
            Redo();
            return;
        case SDLK_s:
            Save();
            return;
        case SDLK_g:
            WriteGrid();
            return;
        case SDLK_LEFT:
        case SDLK_RIGHT:
        case SDLK_UP:
        case SDLK_DOWN:
            Resize((key == SDLK_RIGHT) - (key == SDLK_LEFT), (key == SDLK_DOWN) - (key == SDLK_UP));
            return;
        default:
            return;
        }
    }
    switch (key)
    {
    case SDLK_ESCAPE:
        Leave(game);
        return;
    case SDLK_F1:
    case SDLK_h:
        mHelp = true;
        return;
    case SDLK_b:
        SetTool(Tool::Paint);
        return;
    case SDLK_r:
        SetTool(Tool::Fill);
        return;
    case SDLK_e:
        SetTool(Tool::Erase);
        return;
    case SDLK_k:
        SetTool(Tool::Pick);
        return;
    case SDLK_n:
        SetTool(Tool::Place);
        return;
    case SDLK_m:
        SetTool(Tool::Move);
        return;
    case SDLK_TAB:
        mLayer = mLayer == LevelDocument::Foreground ? LevelDocument::Backdrop : LevelDocument::Foreground;
        return;
    case SDLK_1:
        mLayer = LevelDocument::Backdrop;
        return;
    case SDLK_2:
        mLayer = LevelDocument::Foreground;
        return;
    case SDLK_f:
        Turn();
        return;
    case SDLK_i:
        StartTyping(true, TypingFrom::Keys);
        return;
    case SDLK_d:
        StartTyping(false, TypingFrom::Keys);
        return;
    case SDLK_l:
        if (shift)
        {
            SendRace(game);
            return;
        }
        PrintLink();
        return;
    case SDLK_EQUALS:
    case SDLK_PLUS:
    case SDLK_KP_PLUS:
        SetZoom(mZoom + 1);
        return;
    case SDLK_MINUS:
    case SDLK_KP_MINUS:
        SetZoom(mZoom - 1);
        return;
    case SDLK_t:
    case SDLK_F5:
        TestPlay(game, (modifiers & KMOD_SHIFT) != 0);
        return;
    case SDLK_LEFT:
        Scroll(-kScrollStep, 0);
        return;
    case SDLK_RIGHT:
        Scroll(kScrollStep, 0);
        return;
    case SDLK_UP:
        Scroll(0, -kScrollStep);
        return;
    case SDLK_DOWN:
        Scroll(0, kScrollStep);
        return;
    default:
        return;
    }
}

void EditorState::TypeText(const std::string& text)
{
    if (mTypingFor == NotTyping)
    {
        return;
    }
    for (char c : text)
    {
        // Printable ASCII only: the font has no other glyphs. Identifiers are one field: no blanks.
        if (c >= 32 && c < 127 && mTyped.size() < kMaxTyped && !(mTypingFor == TypingIdentifier && c == ' '))
        {
            mTyped += c;
        }
    }
}

void EditorState::FinishTyping(bool keep)
{
    const Typing typingFor = mTypingFor;
    mTypingFor = NotTyping;
    mPicker.Close();
    mAskedPage = false;
    SDL_StopTextInput();
    if (!keep)
    {
        return;
    }
    if (typingFor == TypingDescription)
    {
        const std::size_t rest = mLevel.mDescription.find('\n');
        Do(EditTools::Describe(mLevel,
                               mTyped + (rest == std::string::npos ? "" : mLevel.mDescription.substr(rest))));
    }
    else
    {
        Do(EditTools::Name(mLevel, mLevel.EntityAt(mCursorX, mCursorY), mTyped));
    }
}

void EditorState::Do(LevelEdit edit)
{
    edit.mStroke = mStroke;
    mHistory.Do(mLevel, std::move(edit));
}

void EditorState::Scroll(int dx, int dy)
{
    const int maxX = std::max(0, mLevel.Width() * kTile - SpanX());
    const int maxY = std::max(0, mLevel.Height() * kTile - SpanY());
    mCameraX = std::clamp(mCameraX + dx, 0, maxX);
    mCameraY = std::clamp(mCameraY + dy, 0, maxY);
}

void EditorState::Wheel(int dx, int dy)
{
    // The wheel scrolls down the level as a page scrolls; with Shift it scrolls across. Over the palette
    // it scrolls the palette.
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    if (mGame != nullptr && mGame->mFramework != nullptr && mGame->mFramework->ToPicture(x, y).x >= mPaletteX)
    {
        mPaletteTop = std::clamp(mPaletteTop - dy, 0, std::max(0, PaletteRows() - mPaletteVisibleRows));
        return;
    }
    if ((SDL_GetModState() & KMOD_SHIFT) != 0)
    {
        std::swap(dx, dy);
    }
    Scroll(dx * kScrollStep, -dy * kScrollStep);
}

void EditorState::ApplyTool(int x, int y)
{
    switch (mTool)
    {
    case Tool::Paint:
        Do(EditTools::Paint(mLevel, mLayer, x, y, mColor));
        break;
    case Tool::Erase:
        Do(EditTools::Erase(mLevel, mLayer, x, y));
        break;
    case Tool::Pick:
    {
        const EditTools::Picked picked = EditTools::Pick(mLevel, mLayer, x, y);
        if (picked.mEntity >= 0)
        {
            mEntityType = mLevel.mEntities[picked.mEntity].mType;
            mFacing = mLevel.mEntities[picked.mEntity].mDirection;
            mTool = Tool::Place;
        }
        else
        {
            mColor = picked.mColor;
            mTool = Tool::Paint;
        }
        break;
    }
    case Tool::Place:
        Do(EditTools::Place(mLevel, mCatalogue, mEntityType, mFacing, x, y));
        break;
    case Tool::Fill:
    case Tool::Move:
        break; // both act when the button comes up
    }
}

void EditorState::PressMouse(int button, int pictureX, int pictureY)
{
    if (PressOverlay(mGame, pictureX, pictureY))
    {
        return;
    }
    // A click on the black border around the picture is on neither the level nor the palette.
    if (mHelp || mRestoreOffered || mTypingFor != NotTyping || pictureX < 0 || pictureY < 0 ||
        pictureX >= Scaling::mPictureWidth || pictureY >= Scaling::mPictureHeight)
    {
        return;
    }
    if (button == SDL_BUTTON_LEFT && pictureX >= mToolsX && pictureY >= mToolsY)
    {
        OpenMenu();
        return;
    }
    if (pictureX >= mPaletteX && pictureY < mViewHeight)
    {
        if (button == SDL_BUTTON_LEFT && mTouchLast)
        {
            // A fingertip is wider than the palette's cells on a phone: it gets the large board.
            mChooser = true;
            mStatus = Tr("Choose a tile or an entity");
        }
        else if (button == SDL_BUTTON_LEFT)
        {
            PickPalette((pictureX - mPaletteX) / kTile, pictureY / kTile + mPaletteTop);
        }
        return;
    }
    if (pictureY >= mViewHeight)
    {
        return;
    }
    mActionCursor = false;
    mOnPalette = false;
    mDragX = pictureX;
    mDragY = pictureY;
    BeginStroke(button, CellAtX(pictureX), CellAtY(pictureY));
}

void EditorState::BeginStroke(int button, int x, int y)
{
    mCursorX = x;
    mCursorY = y;
    mButton = button;
    mAcceptStroke = false;
    if (button == SDL_BUTTON_MIDDLE)
    {
        return; // a drag that scrolls
    }
    mAnchorX = x;
    mAnchorY = y;
    mStroke = ++mStrokes;
    mStrokeChanges = mHistory.Changes();
    if (button == SDL_BUTTON_RIGHT)
    {
        Do(EditTools::Erase(mLevel, mLayer, x, y));
    }
    else if (button == SDL_BUTTON_LEFT)
    {
        mMoving = mTool == Tool::Move ? mLevel.EntityAt(x, y) : -1;
        ApplyTool(x, y);
    }
}

void EditorState::MoveMouse(int pictureX, int pictureY)
{
    if (mButton == SDL_BUTTON_MIDDLE)
    {
        // Whole level pixels only: what a closer view moves less than one waits for the next motion.
        const int dx = (mDragX - pictureX) / mZoom;
        const int dy = (mDragY - pictureY) / mZoom;
        Scroll(dx, dy);
        mDragX -= dx * mZoom;
        mDragY -= dy * mZoom;
        return;
    }
    // Under the menu or a board the cursor stays on the cell they act on.
    if (pictureX >= mViewWidth || pictureY >= mViewHeight || pictureX < 0 || pictureY < 0 || mMenu.IsOpen() ||
        mPicker.IsOpen() || mChooser)
    {
        return;
    }
    mActionCursor = false;
    mOnPalette = false;
    StrokeTo(CellAtX(pictureX), CellAtY(pictureY));
}

void EditorState::StrokeTo(int x, int y)
{
    if (x == mCursorX && y == mCursorY)
    {
        return;
    }
    // A held button paints (or erases) every cell the cursor passes, in one stroke: a fast pointer
    // skips cells between two events, so the cells on the line between them are visited too.
    const bool erasing = mButton == SDL_BUTTON_RIGHT;
    const bool painting = mButton == SDL_BUTTON_LEFT && (mTool == Tool::Paint || mTool == Tool::Erase);
    const int steps = std::max(std::abs(x - mCursorX), std::abs(y - mCursorY));
    const int fromX = mCursorX;
    const int fromY = mCursorY;
    for (int step = 1; step <= steps && (erasing || painting); ++step)
    {
        const int cellX = fromX + (x - fromX) * step / steps;
        const int cellY = fromY + (y - fromY) * step / steps;
        if (erasing)
        {
            Do(EditTools::Erase(mLevel, mLayer, cellX, cellY));
        }
        else
        {
            ApplyTool(cellX, cellY);
        }
    }
    mCursorX = x;
    mCursorY = y;
}

void EditorState::ReleaseMouse(int button, int pictureX, int pictureY)
{
    if (button != mButton)
    {
        return;
    }
    MoveMouse(pictureX, pictureY);
    EndStroke();
}

void EditorState::EndStroke()
{
    // A rectangle and a move act when the button comes up.
    if (mButton == SDL_BUTTON_LEFT && mTool == Tool::Fill)
    {
        Do(EditTools::Fill(mLevel, mLayer, mAnchorX, mAnchorY, mCursorX, mCursorY, mColor));
    }
    else if (mButton == SDL_BUTTON_LEFT && mTool == Tool::Move && mMoving >= 0)
    {
        Do(EditTools::Move(mLevel, mMoving, mCursorX, mCursorY));
    }
    mMoving = -1;
    mButton = 0;
    mStroke = 0;
    mAcceptStroke = false;
}

int EditorState::TileRows() const
{
    return (static_cast<int>(mCatalogue.Tiles().size()) + mPaletteColumns - 1) / mPaletteColumns;
}

int EditorState::PaletteRows() const
{
    const int entities = static_cast<int>(mCatalogue.Entities().size());
    return TileRows() + (entities + mPaletteColumns - 1) / mPaletteColumns;
}

EditorState::PaletteItem EditorState::PaletteAt(int column, int row) const
{
    PaletteItem item;
    if (column < 0 || column >= mPaletteColumns || row < 0)
    {
        return item;
    }
    const int tileRows = TileRows();
    if (row < tileRows)
    {
        const auto tile = static_cast<std::size_t>(row * mPaletteColumns + column);
        if (tile < mCatalogue.Tiles().size())
        {
            item.mTile = &mCatalogue.Tiles()[tile];
        }
        return item;
    }
    const auto entity = static_cast<std::size_t>((row - tileRows) * mPaletteColumns + column);
    if (entity < mCatalogue.Entities().size())
    {
        item.mEntity = &mCatalogue.Entities()[entity];
    }
    return item;
}

void EditorState::PickPalette(int column, int row)
{
    PickItem(PaletteAt(column, row));
}

void EditorState::PickItem(const PaletteItem& item)
{
    if (item.mTile != nullptr)
    {
        mColor = item.mTile->mColor;
        if (mTool != Tool::Fill)
        {
            mTool = Tool::Paint;
        }
    }
    else if (item.mEntity != nullptr)
    {
        mEntityType = item.mEntity->mName;
        SetTool(Tool::Place);
    }
}
