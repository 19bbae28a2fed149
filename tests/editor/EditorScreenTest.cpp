// The editor screen driven as a level maker drives it: a level made with the mouse and keys is finished by a
// recorded input, test-play returns to the editor as it was, and a newer autosave is offered and restored.
// A level is also made with the touch controls alone, and a controller draws a rectangle.
#include "PlayFixtures.h"
#include "VirtualPad.h"
#include "editor/EditorState.h"
#include "editor/LevelLink.h"
#include "editor/RaceLink.h"
#include "graphics/Framework.h"
#include "io/InputScript.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace
{
class EditorScreen : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        mGame.mStateManager->AddState("Editor", mEditor = new EditorState());
        mGame.mEditorState = mEditor;
        Open();
    }
    void Open(const std::string& file = "made.map")
    {
        mEditor->Open(file);
        mEditor->Init(&mGame);
        mPlay.Show("Editor");
    }
    static std::string Read(const std::filesystem::path& file)
    {
        std::ifstream stream(file, std::ios::binary);
        std::ostringstream text;
        text << stream.rdbuf();
        return text.str();
    }
    // Every file of the working folder and its bytes.
    static std::map<std::string, std::string> Files()
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator("."))
        {
            if (entry.is_regular_file())
            {
                files[entry.path().filename().string()] = Read(entry.path());
            }
        }
        return files;
    }
    // A left click on the 320x240 picture.
    void Click(int x, int y)
    {
        mEditor->PressMouse(SDL_BUTTON_LEFT, x, y);
        mEditor->ReleaseMouse(SDL_BUTTON_LEFT, x, y);
    }
    void Key(SDL_Keycode key, Uint16 modifiers = KMOD_NONE) { mEditor->Press(&mGame, key, modifiers); }
    // The cell's centre on the picture, with the view scrolled to the bottom of the new level.
    static int CellX(int x) { return x * 16 + 8; }
    static int CellY(int y) { return y * 16 + 8 - 32; }

    // Builds a short run: ground painted along row 13 over a gap, the start, and the exit ten cells on.
    void MakeLevel()
    {
        Key(SDLK_DOWN);
        Key(SDLK_DOWN);
        Click(EditorState::mPaletteX + 8, 8 + 16); // a solid tile from the palette
        mEditor->PressMouse(SDL_BUTTON_LEFT, CellX(0), CellY(13));
        mEditor->MoveMouse(CellX(14), CellY(13));
        mEditor->ReleaseMouse(SDL_BUTTON_LEFT, CellX(14), CellY(13));
        mEditor->PressMouse(SDL_BUTTON_RIGHT, CellX(6), CellY(13)); // a gap to jump
        mEditor->ReleaseMouse(SDL_BUTTON_RIGHT, CellX(6), CellY(13));
        // The entities follow the palette's tile rows, four to a row.
        const int entityRow = (static_cast<int>(mEditor->mCatalogue.Tiles().size()) + 3) / 4;
        Click(EditorState::mPaletteX + 8, entityRow * 16 + 8);
        Click(CellX(2), CellY(12));
        Click(EditorState::mPaletteX + 2 * 16 + 8, (entityRow + 2) * 16 + 8); // the open door
        Click(CellX(12), CellY(12));
    }

    // A touch control held or let go, then one pass of the editor's event handling; a tap is both.
    void Touch(Action action, bool held)
    {
        test::Touch(action, held);
        mPlay.HandleEvents();
    }
    void Tap(Action action, int times = 1)
    {
        for (int i = 0; i < times; ++i)
        {
            Touch(action, true);
            Touch(action, false);
        }
    }
    // A finger's tap on a point of the picture, as SDL hands it on: a left click from the touch mouse.
    void FingerTap(int x, int y)
    {
        const SDL_Rect picture = mGame.mFramework->PictureRect();
        SDL_Event event{};
        event.button.which = SDL_TOUCH_MOUSEID;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.x = picture.x + (2 * x + 1) * picture.w / 640;
        event.button.y = picture.y + (2 * y + 1) * picture.h / 480;
        for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP})
        {
            event.type = type;
            SDL_PushEvent(&event);
        }
        mPlay.HandleEvents();
    }
    // A finger put down, moved or lifted at a point of the screen (0..1 across and down).
    void Finger(Uint32 type, SDL_FingerID finger, float x, float y)
    {
        SDL_Event event{};
        event.type = type;
        event.tfinger.touchId = 1;
        event.tfinger.fingerId = finger;
        event.tfinger.x = x;
        event.tfinger.y = y;
        SDL_PushEvent(&event);
        mPlay.HandleEvents();
    }
    test::ContentDir mContent;
    test::PlayHarness mPlay{true};
    Game& mGame = mPlay.mGame;
    EditorState* mEditor = nullptr;
};
} // namespace

TEST_F(EditorScreen, ALevelMadeWithMouseAndKeysIsFinishedByARecordedInput)
{
    MakeLevel();
    EXPECT_EQ(mEditor->mLevel.Cell(LevelDocument::Foreground, 6, 13), 0u);
    EXPECT_NE(mEditor->mLevel.Cell(LevelDocument::Foreground, 7, 13), 0u);
    Key(SDLK_s, KMOD_LCTRL);
    ASSERT_TRUE(std::filesystem::exists("made.map")) << mEditor->mStatus;

    mPlay.Play().PlayOnly("made.map", {});
    ASSERT_TRUE(mPlay.BeginGame());
    bool finished = false;
    for (unsigned keys : InputScript::Parse("R30 RJ8 R60"))
    {
        mPlay.Step(keys, false);
        finished = finished || mPlay.Play().mBackToMenu || mPlay.Play().mCard != nullptr;
    }
    EXPECT_TRUE(finished);
    EXPECT_TRUE(mPlay.ThePlayer().GetIsAlive());
}

TEST_F(EditorScreen, TestPlayFromTheCursorReturnsToTheEditorAsItWas)
{
    MakeLevel();
    mEditor->MoveMouse(CellX(8), CellY(12));
    mEditor->mTool = EditorState::Tool::Fill;
    const LevelDocument before = mEditor->mLevel;
    Key(SDLK_t, KMOD_LSHIFT);
    ASSERT_EQ(mPlay.CurrentState(), "Play") << mEditor->mStatus;
    // Started from the cursor's cell, not from the level's start.
    EXPECT_EQ(mPlay.TheMap().mPlayerStartX, 8);
    mPlay.SkipFadeIn();
    mPlay.PushKeyDown(SDL_SCANCODE_ESCAPE);
    for (int i = 0; i < 60 && mPlay.CurrentState() == "Play"; ++i)
    {
        mPlay.HandleEvents();
        mPlay.Tick();
    }
    ASSERT_EQ(mPlay.CurrentState(), "Editor");
    mPlay.HandleEvents();
    EXPECT_EQ(mEditor->mStatus, "Back from test-play");
    EXPECT_EQ(mEditor->mTool, EditorState::Tool::Fill);
    EXPECT_EQ(mEditor->mCursorX, 8);
    EXPECT_EQ(mEditor->mCameraY, 32);
    EXPECT_EQ(mEditor->mLevel.Layer(1), before.Layer(1));
    EXPECT_EQ(mEditor->mLevel.mEntities, before.mEntities);
    EXPECT_FALSE(std::filesystem::exists("made.map")); // nothing needed saving
}

TEST_F(EditorScreen, ANewerAutosaveIsOfferedAndRestoredAsOneUndoableStep)
{
    MakeLevel();
    Key(SDLK_s, KMOD_LCTRL);
    EXPECT_FALSE(std::filesystem::exists(EditorState::AutosavePath("made.map")));
    Click(CellX(4), CellY(5)); // changed after the save, then the autosave's time comes
    mPlay.Tick(EditorState::mAutosaveUpdates);
    ASSERT_TRUE(std::filesystem::exists(EditorState::AutosavePath("made.map")));
    const LevelDocument edited = mEditor->mLevel;

    Open();
    ASSERT_TRUE(mEditor->mRestoreOffered) << mEditor->mStatus;
    Key(SDLK_y);
    EXPECT_EQ(mEditor->mLevel.Layer(1), edited.Layer(1));
    Key(SDLK_z, KMOD_LCTRL);
    EXPECT_EQ(mEditor->mLevel.Cell(LevelDocument::Foreground, 4, 5), 0u);

    // Leaving with nothing changed since the save leaves no autosave to offer.
    Key(SDLK_s, KMOD_LCTRL);
    Key(SDLK_ESCAPE);
    EXPECT_FALSE(std::filesystem::exists(EditorState::AutosavePath("made.map")));
}

TEST_F(EditorScreen, ClicksOnTheBorderAroundThePictureDoNothing)
{
    const std::uint32_t color = mEditor->mColor;
    const std::string type = mEditor->mEntityType;
    // Above the palette (a tall window's border), right of it, and left of the level's view.
    const SDL_Point clicks[] = {{EditorState::mPaletteX + 8, -20}, {328, 8}, {-8, 100}};
    for (const SDL_Point& at : clicks)
    {
        Key(SDLK_n); // placing: a stray pick of a tile would change the tool, a stray cell would get one
        Click(at.x, at.y);
        EXPECT_EQ(mEditor->mTool, EditorState::Tool::Place) << at.x << "," << at.y;
        EXPECT_EQ(mEditor->mColor, color) << at.x << "," << at.y;
        EXPECT_EQ(mEditor->mEntityType, type) << at.x << "," << at.y;
        EXPECT_TRUE(mEditor->mLevel.mEntities.empty()) << at.x << "," << at.y;
    }
}

TEST_F(EditorScreen, ALevelMadeWithTheTouchControlsAloneTestPlays)
{
    const auto ground = [this](int x) { return mEditor->mLevel.Cell(LevelDocument::Foreground, x, 13); };
    const auto entityAt = [this](int x, int y)
    {
        const int entity = mEditor->mLevel.EntityAt(x, y);
        return entity < 0 ? std::string() : mEditor->mLevel.mEntities[entity].mType;
    };
    Tap(Action::Down, 13);
    EXPECT_EQ(mEditor->mCameraY, 16) << "the view follows the cursor down to row 13";
    // Jump held while the cursor moves is one stroke of paint; let go, the cursor moves without painting.
    Touch(Action::Jump, true);
    Tap(Action::Right, 9);
    Touch(Action::Jump, false);
    Tap(Action::Right);
    EXPECT_NE(ground(0), 0u);
    EXPECT_NE(ground(9), 0u);
    EXPECT_EQ(ground(10), 0u);

    Tap(Action::Fire, 2);
    EXPECT_EQ(mEditor->mStatus, "Tool: Erase");
    Tap(Action::Left, 5);
    Tap(Action::Jump); // a gap at 5,13
    EXPECT_EQ(ground(5), 0u);
    EXPECT_NE(ground(4), 0u);

    // Past the level's last column lies the palette, entered on its row nearest the cursor's (its last,
    // the open door's); the player start is two rows up.
    Tap(Action::Right, 35);
    ASSERT_TRUE(mEditor->mOnPalette);
    Tap(Action::Up, 2);
    Tap(Action::Jump);
    EXPECT_EQ(mEditor->mTool, EditorState::Tool::Place);
    EXPECT_EQ(mEditor->mEntityType, "Player");
    Tap(Action::Left); // back onto the level, level with the palette's row (the first after its tiles)
    const int tileRows = (static_cast<int>(mEditor->mCatalogue.Tiles().size()) + 3) / 4;
    EXPECT_EQ(mEditor->mCursorX, 39);
    EXPECT_EQ(mEditor->mCursorY, tileRows + 1);
    Tap(Action::Left, 37);
    Tap(Action::Down, 12 - (tileRows + 1));
    Tap(Action::Jump);
    EXPECT_EQ(entityAt(2, 12), "Player");

    // The open door, the third of the palette's last row, put down near the far end.
    Tap(Action::Right, 38);
    Tap(Action::Right, 2);
    Tap(Action::Jump);
    EXPECT_EQ(mEditor->mEntityType, "ShipDoor2");
    Tap(Action::Left, 5);
    Tap(Action::Down, 12 - mEditor->mCursorY); // from the palette's last row down to the ground
    Tap(Action::Jump);
    EXPECT_EQ(entityAt(37, 12), "ShipDoor2");
    Tap(Action::Back); // undoes the door, and does not leave
    EXPECT_EQ(mEditor->mStatus, "Undone");
    EXPECT_EQ(entityAt(37, 12), "");
    EXPECT_EQ(entityAt(2, 12), "Player");
    Tap(Action::Jump);

    Tap(Action::Pause);
    ASSERT_EQ(mPlay.CurrentState(), "Play") << mEditor->mStatus;
    EXPECT_EQ(mPlay.TheMap().mPlayerStartX, 2);
}

TEST_F(EditorScreen, AControllersRectangleIsDrawnWhenAIsLetGoAndNeitherUpNorStartPaints)
{
    ASSERT_TRUE(test::StartControllers(mGame));
    test::VirtualPad pad;
    mPlay.HandleEvents();
    // The foreground cells painted above the new level's ground row.
    const auto painted = [this]
    {
        int painted = 0;
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < mEditor->mLevel.Width(); ++x)
                painted += mEditor->mLevel.Cell(LevelDocument::Foreground, x, y) != 0;
        return painted;
    };
    const auto press = [&](SDL_GameControllerButton button, int times = 1) { pad.Tap(button, mGame, times); };
    press(SDL_CONTROLLER_BUTTON_DPAD_DOWN, 3);
    press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 2);
    press(SDL_CONTROLLER_BUTTON_B);
    ASSERT_EQ(mEditor->mTool, EditorState::Tool::Fill);
    pad.Press(SDL_CONTROLLER_BUTTON_A);
    press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 3);
    press(SDL_CONTROLLER_BUTTON_DPAD_DOWN, 2);
    EXPECT_EQ(painted(), 0) << "nothing before A is let go";
    pad.Release(SDL_CONTROLLER_BUTTON_A);
    mPlay.HandleEvents();
    EXPECT_EQ(painted(), 12);
    EXPECT_NE(mEditor->mLevel.Cell(LevelDocument::Foreground, 2, 3), 0u);
    EXPECT_NE(mEditor->mLevel.Cell(LevelDocument::Foreground, 5, 5), 0u);

    // Back to painting; the d-pad's up also holds Jump, and Start also holds Accept: neither paints.
    press(SDL_CONTROLLER_BUTTON_X, 5);
    ASSERT_EQ(mEditor->mTool, EditorState::Tool::Paint);
    press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    press(SDL_CONTROLLER_BUTTON_DPAD_UP, 2);
    press(SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(mEditor->mStatus, "Cannot play: No player start");
    EXPECT_EQ(painted(), 12);
}

TEST_F(EditorScreen, ALevelMadeWithAControllerAloneIsNamedSavedAndPlayedToItsExit)
{
    ASSERT_TRUE(test::StartControllers(mGame));
    test::VirtualPad pad;
    mPlay.HandleEvents();
    const auto press = [&](SDL_GameControllerButton button, int times = 1) { pad.Tap(button, mGame, times); };
    const auto entityAt = [this](int x, int y)
    {
        const int entity = mEditor->mLevel.EntityAt(x, y);
        return entity < 0 ? std::string() : mEditor->mLevel.mEntities[entity].mType;
    };
    constexpr auto kLeft = SDL_CONTROLLER_BUTTON_DPAD_LEFT;
    constexpr auto kRight = SDL_CONTROLLER_BUTTON_DPAD_RIGHT;
    constexpr auto kUp = SDL_CONTROLLER_BUTTON_DPAD_UP;
    constexpr auto kDown = SDL_CONTROLLER_BUTTON_DPAD_DOWN;

    // A solid tile from the palette, past the level's right edge; then a floor along row 12.
    press(kRight, 40);
    press(kDown);
    press(SDL_CONTROLLER_BUTTON_A);
    const std::uint32_t solid = mEditor->mColor;
    press(kLeft, 40);
    press(kDown, 11);
    pad.Press(SDL_CONTROLLER_BUTTON_A);
    press(kRight, 11);
    pad.Release(SDL_CONTROLLER_BUTTON_A);
    mPlay.HandleEvents();
    for (int x = 0; x <= 11; ++x)
    {
        ASSERT_EQ(mEditor->mLevel.Cell(LevelDocument::Foreground, x, 12), solid) << x;
    }

    // An entity from the palette, where its rows follow the tiles' (four a row), put down at a cell.
    const auto put = [&](const std::string& name, int x, int y)
    {
        const EditorCatalogue& catalogue = mEditor->mCatalogue;
        int index = 0;
        while (catalogue.Entities()[static_cast<std::size_t>(index)].mName != name)
        {
            ++index;
        }
        const int row = (static_cast<int>(catalogue.Tiles().size()) + 3) / 4 + index / 4;
        while (!mEditor->mOnPalette)
        {
            press(kRight);
        }
        press(row > mEditor->mPaletteRow ? kDown : kUp, std::abs(row - mEditor->mPaletteRow));
        press(kRight, index % 4);
        press(SDL_CONTROLLER_BUTTON_A);
        press(kLeft, index % 4 + 1);
        press(kLeft, mEditor->mCursorX - x);
        press(y > mEditor->mCursorY ? kDown : kUp, std::abs(y - mEditor->mCursorY));
        press(SDL_CONTROLLER_BUTTON_A);
    };
    put("Player", 1, 11);
    EXPECT_EQ(entityAt(1, 11), "Player");
    put("ShipDoor2", 9, 11);
    EXPECT_EQ(entityAt(9, 11), "ShipDoor2");

    // Y opens the tool menu; its sixth line types the level's words on the letter board: H, then i two
    // rows down, then Start is done.
    press(SDL_CONTROLLER_BUTTON_Y);
    ASSERT_TRUE(mEditor->mMenu.IsOpen());
    press(kDown, static_cast<int>(EditorState::MenuItem::Words));
    press(SDL_CONTROLLER_BUTTON_A);
    ASSERT_TRUE(mEditor->mPicker.IsOpen());
    EXPECT_FALSE(mEditor->mMenu.IsOpen());
    press(kRight, 7);
    press(SDL_CONTROLLER_BUTTON_A);
    press(kDown, 2);
    press(kRight);
    press(SDL_CONTROLLER_BUTTON_A);
    press(SDL_CONTROLLER_BUTTON_X); // rubs out the i
    press(SDL_CONTROLLER_BUTTON_A);
    press(SDL_CONTROLLER_BUTTON_START);
    EXPECT_FALSE(mEditor->mPicker.IsOpen());
    EXPECT_EQ(mEditor->mLevel.mDescription.substr(0, 2), "Hi");
    EXPECT_EQ(mPlay.CurrentState(), "Editor") << "Start finished the words, and did not test-play";

    // Save is up the menu, round from its first line.
    press(SDL_CONTROLLER_BUTTON_Y);
    press(kUp,
          static_cast<int>(EditorState::MenuItem::Count) - static_cast<int>(EditorState::MenuItem::Save));
    press(SDL_CONTROLLER_BUTTON_A);
    ASSERT_EQ(mEditor->mStatus, "Saved made.map");
    EXPECT_FALSE(mEditor->mHistory.IsChanged());

    // Start test-plays; the d-pad walks the start to the door, which ends the run.
    press(SDL_CONTROLLER_BUTTON_START);
    ASSERT_EQ(mPlay.CurrentState(), "Play") << mEditor->mStatus;
    pad.Press(kRight);
    bool finished = false;
    for (int i = 0; i < 200 && !finished; ++i)
    {
        mPlay.HandleEvents();
        mPlay.Tick();
        finished = mPlay.Play().mBackToMenu || mPlay.Play().mCard != nullptr;
    }
    pad.Release(kRight);
    EXPECT_TRUE(finished);
    EXPECT_TRUE(mPlay.ThePlayer().GetIsAlive());
}

TEST_F(EditorScreen, TheToolMenuReachesWithTheTouchControlsWhatOnlyKeysReached)
{
    using Item = EditorState::MenuItem;
    // Tools opens the menu, Down goes to the line, then Right, Left or Jump (choose); Back puts it away.
    const auto use = [this](Item item, Action how)
    {
        Tap(Action::Tools);
        ASSERT_TRUE(mEditor->mMenu.IsOpen());
        Tap(Action::Down, static_cast<int>(item));
        Tap(how);
        if (mEditor->mMenu.IsOpen())
        {
            Tap(Action::Back);
        }
    };
    use(Item::Width, Action::Right);
    use(Item::Height, Action::Left);
    EXPECT_EQ(mEditor->mLevel.Width(), 41);
    EXPECT_EQ(mEditor->mLevel.Height(), 14);
    use(Item::Undo, Action::Jump);
    EXPECT_EQ(mEditor->mLevel.Height(), 15);
    use(Item::Redo, Action::Jump);
    EXPECT_EQ(mEditor->mLevel.Height(), 14);
    EXPECT_EQ(mEditor->mLevel.Width(), 41) << "Back only put the menu away";

    use(Item::Layer, Action::Right);
    EXPECT_EQ(mEditor->mLayer, LevelDocument::Backdrop);
    use(Item::Facing, Action::Jump);
    EXPECT_FALSE(mEditor->mFacing);
    use(Item::Zoom, Action::Right);
    EXPECT_EQ(mEditor->mZoom, 2);
    use(Item::ToolChoice, Action::Left); // round from the first tool to the last
    EXPECT_EQ(mEditor->mTool, EditorState::Tool::Move);
    EXPECT_EQ(mEditor->mLayer, LevelDocument::Foreground) << "entities are moved on the foreground";

    use(Item::Identifier, Action::Jump);
    EXPECT_EQ(mEditor->mStatus, "No entity at the cursor to name");
    use(Item::Save, Action::Jump);
    EXPECT_EQ(mEditor->mStatus.rfind("Not saved: ", 0), 0u) << mEditor->mStatus;
    use(Item::Race, Action::Jump); // no test-play has reached the exit yet
    EXPECT_EQ(mEditor->mStatus.rfind("No race link: ", 0), 0u) << mEditor->mStatus;
    use(Item::Help, Action::Jump);
    EXPECT_TRUE(mEditor->mHelp);
    Tap(Action::Jump);
    EXPECT_FALSE(mEditor->mHelp);

    // The Tools button under the status lines opens it too; a tap beside the menu puts it away.
    FingerTap(EditorState::mToolsX + 10, EditorState::mToolsY + 5);
    EXPECT_TRUE(mEditor->mMenu.IsOpen());
    FingerTap(4, 4);
    EXPECT_FALSE(mEditor->mMenu.IsOpen());
    use(Item::Leave, Action::Jump);
    EXPECT_EQ(mPlay.CurrentState(), "Credits");
}

TEST_F(EditorScreen, EveryTileAndEntityIsChosenWithAFingerOnThePalettesLargeBoard)
{
    const EditorCatalogue& catalogue = mEditor->mCatalogue;
    const int columns = EditorState::mChooserColumns;
    const int tileRows = (static_cast<int>(catalogue.Tiles().size()) + columns - 1) / columns;
    const int items = static_cast<int>(catalogue.Tiles().size() + catalogue.Entities().size());
    for (int i = 0; i < items; ++i)
    {
        const bool tile = i < static_cast<int>(catalogue.Tiles().size());
        const int index = tile ? i : i - static_cast<int>(catalogue.Tiles().size());
        int row = index / columns + (tile ? 0 : tileRows);
        FingerTap(EditorState::mPaletteX + 8, 8);
        ASSERT_TRUE(mEditor->mChooser) << i;
        // The margin under the board turns to its next rows, when it has more than it shows.
        for (; row >= EditorState::mChooserVisibleRows; row -= EditorState::mChooserVisibleRows)
        {
            FingerTap(160, EditorState::mViewHeight - 2);
        }
        FingerTap((index % columns) * 32 + 16, 8 + row * 32 + 16);
        EXPECT_FALSE(mEditor->mChooser) << i;
        if (tile)
        {
            EXPECT_EQ(mEditor->mColor, catalogue.Tiles()[static_cast<std::size_t>(index)].mColor) << i;
        }
        else
        {
            EXPECT_EQ(mEditor->mEntityType, catalogue.Entities()[static_cast<std::size_t>(index)].mName) << i;
            EXPECT_EQ(mEditor->mTool, EditorState::Tool::Place) << i;
        }
    }
}

TEST_F(EditorScreen, TwoFingersSpreadingZoomInAndTheViewsCellsFollowTheZoom)
{
    Finger(SDL_FINGERDOWN, 1, 0.40f, 0.5f);
    Finger(SDL_FINGERDOWN, 2, 0.60f, 0.5f);
    Finger(SDL_FINGERMOTION, 2, 0.66f, 0.5f);
    EXPECT_EQ(mEditor->mZoom, 1) << "a small spread is a two-finger scroll";
    Finger(SDL_FINGERMOTION, 2, 0.70f, 0.5f);
    EXPECT_EQ(mEditor->mZoom, 2);
    Finger(SDL_FINGERMOTION, 2, 0.95f, 0.5f);
    EXPECT_EQ(mEditor->mZoom, 3);
    Finger(SDL_FINGERMOTION, 2, 0.45f, 0.5f);
    EXPECT_EQ(mEditor->mZoom, 2);
    Finger(SDL_FINGERUP, 2, 0.45f, 0.5f);
    Finger(SDL_FINGERUP, 1, 0.40f, 0.5f);

    // At twice the size, a cell is 32 pixels of the picture from the view's corner.
    const int cameraX = mEditor->mCameraX;
    const int cameraY = mEditor->mCameraY;
    Click(100, 100);
    EXPECT_EQ(mEditor->mCursorX, (50 + cameraX) / 16);
    EXPECT_EQ(mEditor->mCursorY, (50 + cameraY) / 16);
    EXPECT_NE(mEditor->mLevel.Cell(LevelDocument::Foreground, mEditor->mCursorX, mEditor->mCursorY), 0u);

    // The page's Zoom control goes a step closer, and round from the closest to the widest.
    Tap(Action::Zoom);
    EXPECT_EQ(mEditor->mZoom, 3);
    Tap(Action::Zoom);
    EXPECT_EQ(mEditor->mZoom, 1);
    EXPECT_LE(mEditor->mCameraY, mEditor->mLevel.Height() * 16 - EditorState::mViewHeight);
}

TEST_F(EditorScreen, WritesThatCannotBeFinishedChangeNoFileAndSayWhy)
{
    // Level 12 as shipped, then painted, under a file-size limit of 256 bytes.
    for (const char* file : {"level12.map", "level12_bg.png", "level12_col.png", "level12.ent"})
    {
        std::filesystem::copy_file(mContent.ContentPath() / "maps" / file, file);
    }
    Open("level12.map");
    Key(SDLK_g, KMOD_LCTRL);
    ASSERT_EQ(mEditor->mStatus, "Grid written to level12.txt");
    mEditor->mTool = EditorState::Tool::Fill;
    mEditor->PressMouse(SDL_BUTTON_LEFT, CellX(0), 8);
    mEditor->ReleaseMouse(SDL_BUTTON_LEFT, CellX(15), 40);
    const auto before = Files();
    Platform::Start(); // as the game starts: a file-size limit fails a write instead of ending the program
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{256, limit.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
    const struct
    {
        SDL_Keycode key;
        Uint16 modifiers;
        const char* says;
    } writes[] = {
        {SDLK_s, KMOD_LCTRL, "Not saved: cannot write level12_bg.png: File too large"},
        {SDLK_g, KMOD_LCTRL, "No grid: cannot write level12.txt: File too large"},
        {SDLK_ESCAPE, KMOD_NONE, "Autosave failed: cannot write level12.autosave: File too large; not left"},
    };
    for (const auto& write : writes)
    {
        testing::internal::CaptureStderr();
        Key(write.key, write.modifiers);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(mEditor->mStatus.compare(0, std::strlen(write.says), write.says), 0) << mEditor->mStatus;
        EXPECT_NE(said.find("File too large"), std::string::npos) << said;
        EXPECT_EQ(mPlay.CurrentState(), "Editor");
    }
    setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_TRUE(Files() == before) << "a file changed, or a new one was left";
    // Unkept work is left only when asked twice.
    mPlay.mGame.mStateManager->ChangeState("Editor");
    Key(SDLK_ESCAPE);
    EXPECT_EQ(mPlay.CurrentState(), "Credits");
}

TEST_F(EditorScreen, ALevelNoLinkCanHoldIsAutosavedInItsOwnFilesAndRestored)
{
    // A backdrop of 300 colours: more kinds of tile than a link's text holds.
    for (int i = 0; i < 300; ++i)
    {
        mEditor->mLevel.SetCell(LevelDocument::Backdrop, i % 40, i / 40, 0x100000 + static_cast<unsigned>(i));
    }
    Click(CellX(4), CellY(5));
    const LevelDocument edited = mEditor->mLevel;
    Key(SDLK_l);
    EXPECT_EQ(mEditor->mStatus, "No link: A link holds at most 64 kinds of tile a layer");
    Key(SDLK_ESCAPE);
    EXPECT_EQ(mPlay.CurrentState(), "Credits");

    Open();
    ASSERT_TRUE(mEditor->mRestoreOffered) << mEditor->mStatus;
    Key(SDLK_y);
    EXPECT_EQ(mEditor->mLevel.Layer(LevelDocument::Backdrop), edited.Layer(LevelDocument::Backdrop));
    EXPECT_EQ(mEditor->mLevel.Layer(LevelDocument::Foreground), edited.Layer(LevelDocument::Foreground));
}

TEST_F(EditorScreen, TheAutosaveStaysWhileItsRestoreIsOfferedAndAfterNoUntilTheNextChange)
{
    MakeLevel();
    Key(SDLK_s, KMOD_LCTRL);
    Click(CellX(4), CellY(5));
    mPlay.Tick(EditorState::mAutosaveUpdates);
    const std::string autosave = EditorState::AutosavePath("made.map");
    const std::string autosaved = Read(autosave);
    ASSERT_FALSE(autosaved.empty());

    for (SDL_Keycode answer : {SDLK_y, SDLK_n})
    {
        Open();
        ASSERT_TRUE(mEditor->mRestoreOffered) << mEditor->mStatus;
        mPlay.Tick(EditorState::mAutosaveUpdates); // the offer waits longer than the autosave's time
        EXPECT_EQ(Read(autosave), autosaved);
        Key(answer);
        mPlay.Tick(EditorState::mAutosaveUpdates);
        EXPECT_EQ(Read(autosave), autosaved) << mEditor->mStatus;
    }
    EXPECT_EQ(mEditor->mLevel.Cell(LevelDocument::Foreground, 4, 5), 0u);
    // The next change replaces it.
    Click(CellX(7), CellY(5));
    mPlay.Tick(EditorState::mAutosaveUpdates);
    EXPECT_NE(Read(autosave), autosaved);
}

TEST_F(EditorScreen, NamesTheEditorKeepsForItselfAreRefusedAndTooLargeALevelHasNoLink)
{
    Open("made.autosave");
    MakeLevel();
    Key(SDLK_s, KMOD_LCTRL);
    EXPECT_EQ(mEditor->mStatus, "Not saved: a level file cannot end in .autosave, the editor's own");
    EXPECT_FALSE(std::filesystem::exists("made.autosave"));

    Open("made.txt");
    MakeLevel();
    Key(SDLK_s, KMOD_LCTRL);
    const std::string level = Read("made.txt");
    Key(SDLK_g, KMOD_LCTRL);
    EXPECT_EQ(mEditor->mStatus, "No grid: the level file is itself a .txt, which the grid would replace");
    EXPECT_EQ(Read("made.txt"), level);

    for (int i = 0; i < 256 - 40; ++i)
    {
        Key(SDLK_RIGHT, KMOD_LCTRL);
    }
    for (int i = 0; i < 256 - 15 + 1; ++i)
    {
        Key(SDLK_DOWN, KMOD_LCTRL);
    }
    ASSERT_EQ(mEditor->mStatus, "Size 256x257");
    Key(SDLK_l);
    EXPECT_EQ(mEditor->mStatus, LevelLink::mTooLarge);
}

TEST_F(EditorScreen, ATestPlayThatReachedTheExitIsSentAsARaceCarryingTheLevel)
{
    MakeLevel();
    Key(SDLK_t);
    ASSERT_EQ(mPlay.CurrentState(), "Play") << mEditor->mStatus;
    mPlay.SkipFadeIn();
    for (unsigned keys : InputScript::Parse("R30 RJ8 R60 -200"))
    {
        if (mPlay.CurrentState() == "Play")
        {
            mPlay.Step(keys, false);
        }
    }
    ASSERT_EQ(mPlay.CurrentState(), "Editor");
    mPlay.HandleEvents();
    EXPECT_EQ(mEditor->mStatus, "Back: Shift+L sends this run as a race");
    testing::internal::CaptureStdout();
    Key(SDLK_l, KMOD_LSHIFT);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(mEditor->mStatus.rfind("Race link: ", 0), 0u) << mEditor->mStatus;
    const RaceLink race = RaceLink::Unpack(printed.substr(0, printed.find('\n')));
    ASSERT_TRUE(race.mLevel) << "a made level travels whole";
    EXPECT_EQ(race.mLevel->Layer(1), mEditor->mLevel.Layer(1));
    EXPECT_EQ(static_cast<std::size_t>(race.mTime), race.mRun.size());
}
