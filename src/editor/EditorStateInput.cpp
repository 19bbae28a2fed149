// The level editor's input: the mouse paints, erases and scrolls; the keys choose tools and layers, undo,
// save and test-play.
#include "editor/EditorState.h"

#include "Game.h"
#include "StateManager.h"
#include "editor/EditTools.h"
#include "editor/LevelGrid.h"
#include "editor/LevelLink.h"
#include "graphics/Framework.h"
#include "input/Input.h"

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
enum Typing
{
    NotTyping = 0,
    TypingDescription = 1,
    TypingIdentifier = 2
};

// A window position on the 320x240 picture, which the framework stretches over the whole window. (Kept
// here until the framework maps window positions to the picture itself.)
SDL_Point ToPicture(Game* game, int windowX, int windowY)
{
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(game->mFramework->mWindow, &width, &height);
    if (width <= 0 || height <= 0)
    {
        return {windowX / 2, windowY / 2};
    }
    return {windowX * 320 / width, windowY * 240 / height};
}
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
            // Back means what Escape means: close the card, decline the restore, leave.
            if (action == Action::Back)
            {
                mEditor.Press(mGame, SDLK_ESCAPE, KMOD_NONE);
            }
            return !mEditor.mTesting && mGame->mStateManager->mCurrentState == &mEditor;
        }

      private:
        EditorState& mEditor;
        Game* mGame;
    };
    Reader reader(*this, game);
    game->mInput->Poll(reader);
}

bool EditorState::HandleEvent(Game* game, const SDL_Event& event)
{
    switch (event.type)
    {
    case SDL_QUIT:
        Leave(game);
        return false;
    case SDL_KEYDOWN:
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
        const SDL_Point at = ToPicture(game, event.button.x, event.button.y);
        PressMouse(game, event.button.button, at.x, at.y);
        break;
    }
    case SDL_MOUSEBUTTONUP:
    {
        const SDL_Point at = ToPicture(game, event.button.x, event.button.y);
        ReleaseMouse(game, event.button.button, at.x, at.y);
        break;
    }
    case SDL_MOUSEMOTION:
    {
        const SDL_Point at = ToPicture(game, event.motion.x, event.motion.y);
        MoveMouse(game, at.x, at.y);
        break;
    }
    case SDL_MOUSEWHEEL:
        Wheel(event.wheel.x, event.wheel.y);
        break;
    case SDL_FINGERDOWN:
    case SDL_FINGERUP:
        mFingers = SDL_GetNumTouchFingers(event.tfinger.touchId);
        // One finger paints as the left button does (SDL makes it the mouse); a second one turns
        // the stroke into a scroll.
        if (mFingers >= 2)
        {
            mButton = 0;
            mStroke = 0;
        }
        break;
    case SDL_FINGERMOTION:
        if (mFingers >= 2)
        {
            // Each finger reports its own motion: their mean moves the level with them. Slow drags move
            // less than a pixel an event, so the fractions are kept.
            mTouchScrollX -= event.tfinger.dx * 320.0f / static_cast<float>(mFingers);
            mTouchScrollY -= event.tfinger.dy * 240.0f / static_cast<float>(mFingers);
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
            mStatus = "Kept the file; the autosave is replaced at the next change";
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
            if (shift ? mHistory.Redo(mLevel) : mHistory.Undo(mLevel))
            {
                mStatus = shift ? "Redone" : "Undone";
            }
            return;
        case SDLK_y:
            if (mHistory.Redo(mLevel))
            {
                mStatus = "Redone";
            }
            return;
        case SDLK_s:
            Save();
            return;
        case SDLK_g:
        {
            const std::filesystem::path path(mFile);
            const std::string grid = (path.parent_path() / (path.stem().string() + ".txt")).string();
            if (!PassesChecks(mLevel, "No grid: "))
            {
                return;
            }
            try
            {
                LevelGrid::Write(mLevel, mCatalogue, grid);
                mStatus = "Grid written to " + grid;
            }
            catch (const std::exception& error)
            {
                mStatus = std::string("No grid: ") + error.what();
            }
            return;
        }
        case SDLK_LEFT:
        case SDLK_RIGHT:
        case SDLK_UP:
        case SDLK_DOWN:
        {
            const int width = mLevel.Width() + (key == SDLK_RIGHT) - (key == SDLK_LEFT);
            const int height = mLevel.Height() + (key == SDLK_DOWN) - (key == SDLK_UP);
            if (width < 1 || height < 1 || width > LevelDocument::mMaxSide ||
                height > LevelDocument::mMaxSide)
            {
                return;
            }
            Do(EditTools::Resize(mLevel, width, height));
            mStatus = "Size " + std::to_string(width) + "x" + std::to_string(height);
            return;
        }
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
        mTool = Tool::Paint;
        return;
    case SDLK_r:
        mTool = Tool::Fill;
        return;
    case SDLK_e:
        mTool = Tool::Erase;
        return;
    case SDLK_k:
        mTool = Tool::Pick;
        return;
    case SDLK_n:
        mTool = Tool::Place;
        mLayer = LevelDocument::Foreground;
        return;
    case SDLK_m:
        mTool = Tool::Move;
        mLayer = LevelDocument::Foreground;
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
        return;
    }
    case SDLK_i:
        if (mLevel.EntityAt(mCursorX, mCursorY) >= 0)
        {
            mTypingFor = TypingIdentifier;
            mTyped = mLevel.mEntities[mLevel.EntityAt(mCursorX, mCursorY)].mID;
            SDL_StartTextInput();
        }
        return;
    case SDLK_d:
        mTypingFor = TypingDescription;
        mTyped = mLevel.mDescription.substr(0, mLevel.mDescription.find('\n'));
        SDL_StartTextInput();
        return;
    case SDLK_l:
        // The desktop's way to pass a level on: the link on standard output, for a chat or a page.
        try
        {
            std::cout << LevelLink::Pack(mLevel) << std::endl;
            mStatus = "Link printed on standard output";
        }
        catch (const std::exception& error)
        {
            mStatus = std::string("No link: ") + error.what();
        }
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
    const int typingFor = mTypingFor;
    mTypingFor = NotTyping;
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
    const int maxX = std::max(0, mLevel.Width() * kTile - mViewWidth);
    const int maxY = std::max(0, mLevel.Height() * kTile - mViewHeight);
    mCameraX = std::clamp(mCameraX + dx, 0, maxX);
    mCameraY = std::clamp(mCameraY + dy, 0, maxY);
}

void EditorState::Wheel(int dx, int dy)
{
    // The wheel scrolls down the level as a page scrolls; with Shift it scrolls across.
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

void EditorState::PressMouse(Game* /*game*/, int button, int pictureX, int pictureY)
{
    if (mHelp || mRestoreOffered || mTypingFor != NotTyping)
    {
        return;
    }
    if (pictureX >= mPaletteX && pictureY < mViewHeight)
    {
        if (button == SDL_BUTTON_LEFT)
        {
            PickPalette(pictureX, pictureY);
        }
        return;
    }
    if (pictureY >= mViewHeight)
    {
        return;
    }
    mCursorX = (pictureX + mCameraX) / kTile;
    mCursorY = (pictureY + mCameraY) / kTile;
    mButton = button;
    mDragX = pictureX;
    mDragY = pictureY;
    if (button == SDL_BUTTON_MIDDLE)
    {
        return;
    }
    mAnchorX = mCursorX;
    mAnchorY = mCursorY;
    mStroke = ++mStrokes;
    if (button == SDL_BUTTON_RIGHT)
    {
        Do(EditTools::Erase(mLevel, mLayer, mCursorX, mCursorY));
    }
    else if (button == SDL_BUTTON_LEFT)
    {
        mMoving = mTool == Tool::Move ? mLevel.EntityAt(mCursorX, mCursorY) : -1;
        ApplyTool(mCursorX, mCursorY);
    }
}

void EditorState::MoveMouse(Game* /*game*/, int pictureX, int pictureY)
{
    if (mButton == SDL_BUTTON_MIDDLE)
    {
        Scroll(mDragX - pictureX, mDragY - pictureY);
        mDragX = pictureX;
        mDragY = pictureY;
        return;
    }
    if (pictureX >= mViewWidth || pictureY >= mViewHeight || pictureX < 0 || pictureY < 0)
    {
        return;
    }
    const int x = (pictureX + mCameraX) / kTile;
    const int y = (pictureY + mCameraY) / kTile;
    if (x == mCursorX && y == mCursorY)
    {
        return;
    }
    // A held button paints (or erases) every cell the pointer passes, in one stroke: a fast pointer
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

void EditorState::ReleaseMouse(Game* game, int button, int pictureX, int pictureY)
{
    if (button != mButton)
    {
        return;
    }
    MoveMouse(game, pictureX, pictureY);
    if (button == SDL_BUTTON_LEFT && mTool == Tool::Fill)
    {
        Do(EditTools::Fill(mLevel, mLayer, mAnchorX, mAnchorY, mCursorX, mCursorY, mColor));
    }
    else if (button == SDL_BUTTON_LEFT && mTool == Tool::Move && mMoving >= 0)
    {
        Do(EditTools::Move(mLevel, mMoving, mCursorX, mCursorY));
    }
    mMoving = -1;
    mButton = 0;
    mStroke = 0;
}

void EditorState::PickPalette(int pictureX, int pictureY)
{
    const int column = (pictureX - mPaletteX) / kTile;
    const int row = pictureY / kTile;
    const int index = row * mPaletteColumns + column;
    const auto& tiles = mCatalogue.Tiles();
    const int tileRows = (static_cast<int>(tiles.size()) + mPaletteColumns - 1) / mPaletteColumns;
    if (index < static_cast<int>(tiles.size()))
    {
        mColor = tiles[index].mColor;
        if (mTool != Tool::Fill)
        {
            mTool = Tool::Paint;
        }
        return;
    }
    const int entity = (row - tileRows) * mPaletteColumns + column;
    if (row >= tileRows && entity < static_cast<int>(mCatalogue.Entities().size()))
    {
        mEntityType = mCatalogue.Entities()[entity].mName;
        mTool = Tool::Place;
        mLayer = LevelDocument::Foreground;
    }
}
