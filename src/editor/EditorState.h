// The level editor screen: the level scrolling under a cursor, palettes of tiles and entities, a status line,
// tools with undo and redo, autosave, and test-play through the real play screen.
#pragma once

#include "State.h"
#include "editor/EditHistory.h"
#include "editor/EditorCatalogue.h"
#include "editor/EditorMenu.h"
#include "editor/LetterPicker.h"
#include "editor/LevelDocument.h"
#include "input/Action.h"

#include <SDL.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class Image;
class ScratchLevel;

class EditorState : public State
{
  public:
    enum class Tool
    {
        Paint,
        Fill, // a rectangle, from where the button went down to where it comes up
        Erase,
        Pick,
        Place, // the entity chosen in the palette
        Move   // drags an entity to another cell
    };

    // What the tool menu holds, in its order: all that has no button of its own on a controller or the
    // touch controls.
    enum class MenuItem
    {
        Help,
        ToolChoice,
        Layer,
        Facing,
        Identifier,
        Words,
        Width,
        Height,
        Zoom,
        Undo,
        Redo,
        Save,
        TestPlay,
        TestFromCursor,
        Grid,
        Link,
        Race, // the last test-play's run to the exit, as a race link
        Leave,
        Count
    };

    EditorState();
    ~EditorState() override;
    // The tool's name, as the status line and the help say it.
    static const char* ToolName(Tool tool);

    // The level file to edit from the next Init: read when it exists, a new level otherwise.
    void Open(const std::string& file)
    {
        mFile = file;
        mGiven.reset();
    }
    // A level that came in a link, to be edited and saved as file.
    void Open(const std::string& file, const LevelDocument& level)
    {
        mFile = file;
        mGiven = level;
    }
    // Reads the type tables, the pictures and the level; throws std::runtime_error when one cannot be read.
    bool Init(Game* game) override;
    void CleanUp() override;
    void Pause() override {}
    void Resume() override {}
    void HandleEvents(Game* game) override;
    void Tick(Game* game) override;
    void Render(Game* game, const float& interpolation) override;

    // The editor's work, also driven by the tests as a player would drive it.
    void Press(Game* game, SDL_Keycode key, Uint16 modifiers);
    void PressMouse(int button, int pictureX, int pictureY);
    void MoveMouse(int pictureX, int pictureY);
    void ReleaseMouse(int button, int pictureX, int pictureY);
    void Wheel(int dx, int dy);
    // The tool menu's lines as drawn, and what choosing one does (also driven by the tests).
    std::vector<std::string> MenuLines() const;
    void OpenMenu();
    void Activate(Game* game, MenuItem item);
    // A value's line: step -1 lowers it, +1 raises it (the next tool, a wider level, a closer view).
    void Adjust(MenuItem item, int step);
    // 1 shows a cell as 16 pixels of the picture; each step closer enlarges it once more.
    void SetZoom(int zoom);
    // Saves after the checks; false (and the first problem in the status line) when they fail.
    bool Save();
    // Plays the level as it stands, from its start or from the cursor's cell.
    void TestPlay(Game* game, bool fromCursor);
    // Sends the last test-play that reached the exit as a race link.
    void SendRace(Game* game);
    // Writes the autosave beside the level when it has changed since it was saved, and removes it when the
    // level has not. False, with why in the status line, when it cannot be written; it never throws.
    bool Autosave();
    // Where the autosave of a level file is kept.
    static std::string AutosavePath(const std::string& file);

    LevelDocument mLevel;
    EditHistory mHistory;
    EditorCatalogue mCatalogue;
    Tool mTool = Tool::Paint;
    int mLayer = LevelDocument::Foreground;
    std::uint32_t mColor = 0; // the tile that painting lays
    std::string mEntityType;  // the entity that placing puts down
    bool mFacing = true;      // the facing new entities get
    int mCameraX = 0;         // the view's left and top edge, level pixels
    int mCameraY = 0;
    int mCursorX = 0; // the level cell under the mouse, or the actions' cursor
    int mCursorY = 0;
    // The actions' cursor moves on past the level's right edge onto the palette, to this cell of it.
    bool mOnPalette = false;
    int mPaletteColumn = 0;
    int mPaletteRow = 0;
    bool mActionCursor = false;   // the cursor was last moved by actions: drawn so that it stands out
    std::string mStatus;          // the second status line: a problem, a message
    bool mHelp = false;           // the help card is up
    bool mRestoreOffered = false; // a newer autosave waits for Y or N
    bool mTesting = false;        // the play screen is trying the level
    EditorMenu mMenu;             // the tool menu, when open
    LetterPicker mPicker;         // the letter board, while a line is typed without a keyboard
    bool mAskedPage = false;      // the line is being typed in the browser page's own field
    // The palette's large board, which a finger's tap on the palette opens: its cells are big enough for a
    // fingertip on a phone.
    bool mChooser = false;
    int mChooserTop = 0; // its first row in sight
    static constexpr int mChooserColumns = 10;
    static constexpr int mChooserVisibleRows = 6;
    int mZoom = 1;
    static constexpr int mMaxZoom = 3;
    int mPaletteTop = 0; // the palette's first row in sight; a long palette scrolls

    // The view of the level and the palette, on the 320x240 picture.
    static constexpr int mViewWidth = 256;
    static constexpr int mViewHeight = 208;
    static constexpr int mPaletteX = 256;
    static constexpr int mPaletteColumns = 4;
    static constexpr int mPaletteVisibleRows = mViewHeight / 16;
    // The status area's Tools button, on its last line at the right.
    static constexpr int mToolsX = 276;
    static constexpr int mToolsY = mViewHeight + 20;
    // 30 seconds of updates between autosaves.
    static constexpr int mAutosaveUpdates = 900;

  private:
    // Input (EditorStateInput.cpp). False when polling stops for this pass.
    bool HandleEvent(Game* game, const SDL_Event& event);
    void HandleKey(Game* game, const SDL_KeyboardEvent& key);
    void TypeText(const std::string& text);
    void FinishTyping(bool keep);
    // The controllers' and touch controls' actions: a cell cursor, a tool, a stroke, test-play, undo.
    void HandleAction(Game* game, Action action);
    void StepCursor(int dx, int dy);
    // Scrolls the view so that the cursor's cell is in sight.
    void ShowCursorCell();
    void SetTool(Tool tool);
    void ApplyTool(int x, int y);
    // A stroke in cells, for the mouse and Accept alike: the button goes down on a cell, the cursor moves
    // to another (every cell between is passed), the button comes up.
    void BeginStroke(int button, int x, int y);
    void StrokeTo(int x, int y);
    void EndStroke();
    // What a cell of the palette holds: its tiles' rows first, then its entities' rows.
    struct PaletteItem
    {
        const EditorCatalogue::TileEntry* mTile = nullptr;
        const EditorCatalogue::EntityEntry* mEntity = nullptr;
    };
    int TileRows() const;
    // Neither a tile nor an entity for a cell off the palette or past its end.
    PaletteItem PaletteAt(int column, int row) const;
    void PickPalette(int column, int row);
    void PickItem(const PaletteItem& item);
    // The large board's cells: its tiles' rows first, then its entities' rows.
    PaletteItem ChooserAt(int column, int row) const;
    int ChooserRows() const;
    void DrawChooser(SDL_Surface* screen);
    int PaletteRows() const;
    void Scroll(int dx, int dy);
    // The level pixels the view spans at the zoom, across and down.
    int SpanX() const { return (mViewWidth + mZoom - 1) / mZoom; }
    int SpanY() const { return (mViewHeight + mZoom - 1) / mZoom; }
    // The level cell under a point of the view on the picture.
    int CellAtX(int pictureX) const { return (pictureX / mZoom + mCameraX) / 16; }
    int CellAtY(int pictureY) const { return (pictureY / mZoom + mCameraY) / 16; }
    // Keeps the actions' cursor's palette row in sight.
    void ShowPaletteRow();
    void Do(LevelEdit edit);

    // The shared work of keys, the tool menu and the letter board (EditorStateTools.cpp).
    void Undo();
    void Redo();
    void Resize(int dWidth, int dHeight);
    void WriteGrid();
    void PrintLink();
    // Turns the entity at the cursor, or else the facing of entities to come.
    void Turn();
    // Starts typing the level's words or the identifier of the entity at the cursor: with keys, in the
    // page's field (a finger asked), or on the letter board (a controller).
    enum class TypingFrom
    {
        Keys,
        Finger,
        Controller
    };
    void StartTyping(bool identifier, TypingFrom from);
    void MenuAction(Game* game, Action action);
    void PickerAction(Action action);
    void UsePickerKey();
    // A press on the picture while the menu or the board is up; true when they took it.
    bool PressOverlay(Game* game, int pictureX, int pictureY);
    // Applies the page's answer, when it came.
    void TakePageAnswer(Game* game);
    // Two fingers: their motion scrolls and their spread zooms.
    void TrackFinger(const SDL_Event& event);
    void Leave(Game* game);

    // Drawing (EditorStateRender.cpp).
    void DrawLayer(int layer, SDL_Surface* target);
    void DrawEntities(SDL_Surface* target);
    void DrawTile(std::uint32_t color, SDL_Surface* target, int x, int y);
    void DrawPalette(SDL_Surface* screen);
    void DrawStatus(Game* game, SDL_Surface* screen);
    void DrawHelp(Game* game, SDL_Surface* screen);
    // The level, its entities and the cursor, on a surface that shows the view's span at one pixel a pixel.
    void DrawView(SDL_Surface* target, bool lit);
    // Copies the span drawn on mZoomView onto the picture's view, each pixel made a square of the zoom.
    void Enlarge(SDL_Surface* screen);
    // Copies a part of a surface onto another at x, y, each pixel made a square of factor pixels, within the
    // target's clipping rectangle (only its right and bottom edges: x and y lie inside it).
    static void EnlargeRect(SDL_Surface* from, const SDL_Rect& part, SDL_Surface* to, int x, int y,
                            int factor);
    std::string UnderCursor() const;

    // Set-up (EditorState.cpp).
    // False, with the first problem in the status line after the refusal, when the level fails its checks.
    bool PassesChecks(const LevelDocument& level, const std::string& refusal);
    void OfferRestore();
    void Restore();
    void BackFromPlay(Game* game);
    // Hands the level's link to the page.
    void PublishLink();

    std::string mFile;
    std::optional<LevelDocument> mGiven; // the level a link brought, used by the next Init
    std::unique_ptr<Image> mTiles;
    std::unique_ptr<Image> mSprites;
    SDL_Surface* mDimmed = nullptr; // the layer not being edited, drawn here and blended in faintly
    std::unique_ptr<ScratchLevel> mScratch;
    int mAutosaveTimer = 0;
    // The history's count of changes at which the autosave found on opening is kept as it is: while its
    // restore is offered, and after "No" until the next change.
    std::optional<std::size_t> mAutosaveKeptAt;
    bool mLeaveUnkept = false;     // leaving was refused once because the autosave failed
    std::string mPublished;        // the link the page was last given
    std::string mPublishedRefusal; // or why the page was last told the level has none
    // The history's count of changes when the link was last made; none after opening a level.
    std::optional<std::size_t> mPublishedChanges;
    Game* mGame = nullptr;            // the game the editor was set up in, for taps that test-play or leave
    std::unique_ptr<Image> mArrow;    // the menus' cursor
    SDL_Surface* mZoomView = nullptr; // the view drawn at one pixel a pixel, then enlarged by the zoom
    bool mTouchLast = false;          // a finger, not a controller, gave the last action or press
    std::map<SDL_FingerID, SDL_FPoint> mFingerAt; // where each finger on the screen is, 0..1
    float mPinchFrom = 0.0f;    // the two fingers' spread when the zoom last changed, 0 for no pinch
    int mFingers = 0;           // fingers on the screen; two scroll the level
    float mTouchScrollX = 0.0f; // picture pixels of a two-finger scroll not yet applied
    float mTouchScrollY = 0.0f;
    int mStroke = 0;                // the number of the mouse stroke going on, 0 for none
    int mStrokes = 0;               // strokes begun, to number the next
    std::size_t mStrokeChanges = 0; // the history's count of changes when the stroke began
    int mButton = 0;                // the mouse button held in the view (Accept holds the left one)
    int mAnchorX = 0;               // where a rectangle or a move began, in cells
    int mAnchorY = 0;
    int mMoving = -1; // the entity being moved
    int mDragX = 0;   // where a middle-button scroll last stood, picture pixels
    int mDragY = 0;
    bool mAcceptStroke = false; // the stroke going on is Accept's: it ends when Accept is let go
    int mBlink = 0;             // updates into the actions' cursor's blink
    static constexpr int mBlinkUpdates = 32;
    // Text typed for the description or an entity's identifier; mTypingFor says which.
    enum Typing
    {
        NotTyping,
        TypingDescription,
        TypingIdentifier
    };
    std::string mTyped;
    Typing mTypingFor = NotTyping;
};
