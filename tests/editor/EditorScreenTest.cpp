// The editor screen driven as a level maker drives it: a level made with the mouse and keys is finished by a
// recorded input, test-play returns to the editor as it was, and a newer autosave is offered and restored.
#include "PlayFixtures.h"
#include "editor/EditorState.h"
#include "io/InputScript.h"

#include <gtest/gtest.h>

#include <filesystem>

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
    void Open()
    {
        mEditor->Open("made.map");
        mEditor->Init(&mGame);
        mPlay.Show("Editor");
    }
    // A left click on the 320x240 picture.
    void Click(int x, int y)
    {
        mEditor->PressMouse(&mGame, SDL_BUTTON_LEFT, x, y);
        mEditor->ReleaseMouse(&mGame, SDL_BUTTON_LEFT, x, y);
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
        mEditor->PressMouse(&mGame, SDL_BUTTON_LEFT, CellX(0), CellY(13));
        mEditor->MoveMouse(&mGame, CellX(14), CellY(13));
        mEditor->ReleaseMouse(&mGame, SDL_BUTTON_LEFT, CellX(14), CellY(13));
        mEditor->PressMouse(&mGame, SDL_BUTTON_RIGHT, CellX(6), CellY(13)); // a gap to jump
        mEditor->ReleaseMouse(&mGame, SDL_BUTTON_RIGHT, CellX(6), CellY(13));
        const int entityRow = 8; // the palette's tiles fill its first eight rows
        Click(EditorState::mPaletteX + 8, entityRow * 16 + 8);
        Click(CellX(2), CellY(12));
        Click(EditorState::mPaletteX + 2 * 16 + 8, (entityRow + 2) * 16 + 8); // the open door
        Click(CellX(12), CellY(12));
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
    mEditor->MoveMouse(&mGame, CellX(8), CellY(12));
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
