// The editor's tools, their undo and redo, and the checks made before a level is played or saved.
#include "TestSupport.h"
#include "editor/EditHistory.h"
#include "editor/EditTools.h"
#include "editor/EditorCatalogue.h"
#include "editor/LevelCheck.h"
#include "editor/LevelDocument.h"

#include <gtest/gtest.h>

namespace
{
constexpr std::uint32_t kWall = 0x808890;
constexpr std::uint32_t kCrate = 0xC08040;
constexpr int kFore = LevelDocument::Foreground;
constexpr int kBack = LevelDocument::Backdrop;

class Editing : public ::testing::Test
{
  protected:
    void SetUp() override { mCatalogue.Load("data/maps/"); }
    void Do(LevelEdit edit, int stroke = 0)
    {
        edit.mStroke = stroke;
        mHistory.Do(mLevel, std::move(edit));
    }
    void Place(const std::string& type, int x, int y, bool right = true)
    {
        Do(EditTools::Place(mLevel, mCatalogue, type, right, x, y));
    }
    std::vector<std::string> Problems()
    {
        std::vector<std::string> texts;
        for (const LevelCheck::Problem& problem : LevelCheck::Run(mLevel, mCatalogue))
        {
            texts.push_back(problem.mText);
        }
        return texts;
    }

    EditorCatalogue mCatalogue;
    LevelDocument mLevel{30, 20};
    EditHistory mHistory;
};
} // namespace

TEST_F(Editing, PaintFillEraseAndPickTouchOnlyTheirLayerAndCells)
{
    Do(EditTools::Paint(mLevel, kFore, 2, 3, kWall));
    Do(EditTools::Fill(mLevel, kBack, 6, 5, 4, 4, kCrate)); // corners in any order
    EXPECT_EQ(mLevel.Cell(kFore, 2, 3), kWall);
    EXPECT_EQ(mLevel.Cell(kBack, 2, 3), 0u);
    int filled = 0;
    for (int y = 0; y < mLevel.Height(); ++y)
        for (int x = 0; x < mLevel.Width(); ++x)
            filled += mLevel.Cell(kBack, x, y) == kCrate;
    EXPECT_EQ(filled, 6);
    EXPECT_EQ(EditTools::Pick(mLevel, kBack, 5, 4).mColor, kCrate);

    // A fill reaching past the edge is clipped; painting what is there already is no step.
    Do(EditTools::Fill(mLevel, kFore, 28, 18, 40, 40, kWall));
    EXPECT_EQ(mLevel.Cell(kFore, 29, 19), kWall);
    const std::size_t steps = mHistory.Steps();
    Do(EditTools::Paint(mLevel, kFore, 2, 3, kWall));
    EXPECT_EQ(mHistory.Steps(), steps);

    // Erasing the foreground takes an entity first, then the tile.
    Place("Keycard", 2, 3);
    EXPECT_EQ(EditTools::Pick(mLevel, kFore, 2, 3).mEntity, 0);
    Do(EditTools::Erase(mLevel, kFore, 2, 3));
    EXPECT_TRUE(mLevel.mEntities.empty());
    EXPECT_EQ(mLevel.Cell(kFore, 2, 3), kWall);
    Do(EditTools::Erase(mLevel, kFore, 2, 3));
    EXPECT_EQ(mLevel.Cell(kFore, 2, 3), 0u);
}

TEST_F(Editing, EntitiesArePlacedMovedTurnedAndThereIsOnePlayerStart)
{
    Place("Player", 1, 1);
    Place("Blob1", 5, 5, false);
    Place("Player", 3, 4); // moves the start
    ASSERT_EQ(mLevel.mEntities.size(), 2u);
    EXPECT_EQ(mLevel.EntityAt(1, 1), -1);
    const int player = mLevel.EntityAt(3, 4);
    ASSERT_GE(player, 0);

    const int blob = mLevel.EntityAt(5, 5);
    EXPECT_EQ(mLevel.mEntities[blob].mID, "blob");
    Do(EditTools::Turn(mLevel, blob));
    EXPECT_TRUE(mLevel.mEntities[blob].mDirection);
    // Moving onto another entity replaces it.
    Do(EditTools::Move(mLevel, blob, 3, 4));
    ASSERT_EQ(mLevel.mEntities.size(), 1u);
    EXPECT_EQ(mLevel.mEntities[0].mType, "Blob1");
    // Nothing is placed outside the level, and unknown types are not placed.
    Place("Blob1", 30, 0);
    Place("Bullet", 2, 2);
    EXPECT_EQ(mLevel.mEntities.size(), 1u);
}

TEST_F(Editing, UndoAndRedoRetraceEveryStepAcrossSaves)
{
    test::TempDir out(false);
    const LevelDocument blank = mLevel;
    for (int i = 0; i < 150; ++i)
    {
        Do(EditTools::Paint(mLevel, kFore, i % 30, i / 30, kWall));
    }
    Place("Player", 0, 10);
    Do(EditTools::Resize(mLevel, 40, 16));
    Do(EditTools::Describe(mLevel, "words"));
    const LevelDocument edited = mLevel;
    mLevel.Save((out.Path() / "saved.map").string());
    mHistory.MarkSaved();
    EXPECT_FALSE(mHistory.IsChanged());

    while (mHistory.Undo(mLevel))
    {
    }
    EXPECT_EQ(mLevel.Layer(kFore), blank.Layer(kFore));
    EXPECT_EQ(mLevel.Width(), 30);
    EXPECT_TRUE(mLevel.mEntities.empty());
    EXPECT_TRUE(mLevel.mDescription.empty());
    EXPECT_TRUE(mHistory.IsChanged());

    while (mHistory.Redo(mLevel))
    {
    }
    EXPECT_EQ(mLevel.Layer(kFore), edited.Layer(kFore));
    EXPECT_EQ(mLevel.Layer(kBack), edited.Layer(kBack));
    EXPECT_EQ(mLevel.mEntities, edited.mEntities);
    EXPECT_EQ(mLevel.mDescription, "words");
    EXPECT_FALSE(mHistory.IsChanged());
}

TEST_F(Editing, OneStrokeUndoesAsOneStepAndANewEditDropsTheRedo)
{
    for (int x = 0; x < 5; ++x)
    {
        Do(EditTools::Paint(mLevel, kFore, x, 0, kWall), 7);
    }
    Do(EditTools::Paint(mLevel, kFore, 0, 0, kCrate), 7); // the same cell twice in the stroke
    EXPECT_EQ(mHistory.Steps(), 1u);
    mHistory.Undo(mLevel);
    EXPECT_EQ(mLevel.Cell(kFore, 0, 0), 0u);
    EXPECT_EQ(mLevel.Cell(kFore, 4, 0), 0u);
    Do(EditTools::Paint(mLevel, kFore, 9, 9, kWall));
    EXPECT_FALSE(mHistory.CanRedo());
}

TEST_F(Editing, ResizeKeepsTheCellsThatStillFitAndRefusesImpossibleSizes)
{
    Do(EditTools::Paint(mLevel, kFore, 2, 2, kWall));
    Do(EditTools::Paint(mLevel, kFore, 29, 19, kWall));
    Do(EditTools::Resize(mLevel, 25, 15));
    EXPECT_EQ(mLevel.Cell(kFore, 2, 2), kWall);
    Do(EditTools::Resize(mLevel, 30, 20));
    EXPECT_EQ(mLevel.Cell(kFore, 29, 19), 0u);
    mHistory.Undo(mLevel);
    mHistory.Undo(mLevel);
    EXPECT_EQ(mLevel.Cell(kFore, 29, 19), kWall);
    EXPECT_THROW(EditTools::Resize(mLevel, 0, 10), std::runtime_error);
    EXPECT_THROW(EditTools::Resize(mLevel, 2000, 2000), std::runtime_error);
}

TEST_F(Editing, ChecksNameEveryProblemWithItsCell)
{
    EXPECT_EQ(Problems(), (std::vector<std::string>{"No player start", "No exit door"}));

    Place("Player", 1, 1);
    Place("ShipDoor2", 8, 1);
    EXPECT_TRUE(Problems().empty());

    // A second start slips in only from a file; the check names it.
    mLevel.mEntities.push_back({"Player", true, 4, 4, "", {}});
    Place("KeycardLock", 6, 2);
    Place("KeycardLock", 7, 2);
    Place("Keycard", 9, 9);
    mLevel.mEntities.push_back({"Blob1", true, 31, 2, "blob", {}});
    EXPECT_EQ(Problems(),
              (std::vector<std::string>{"Blob1 outside the level at 31,2", "Second player start at 4,4",
                                        "Lock at 7,2 has no keycard"}));

    // A closed door is a way out when a lock of its identifier opens it.
    LevelDocument locked(30, 20);
    mLevel = locked;
    Place("Player", 1, 1);
    Place("ShipDoor1", 5, 5);
    Place("KeycardLock", 2, 2);
    Place("Keycard", 3, 3);
    EXPECT_TRUE(Problems().empty());
    Do(EditTools::Name(mLevel, mLevel.EntityAt(5, 5), "B"));
    EXPECT_EQ(Problems(), std::vector<std::string>{"No exit door"});

    Do(EditTools::Name(mLevel, mLevel.EntityAt(5, 5), "A"));
    Do(EditTools::Resize(mLevel, 19, 15));
    EXPECT_EQ(Problems(), std::vector<std::string>{"Level is 19x15, at least 20x15 is needed"});

    // A lift rides until a wall stops it: it needs one above and one below in its column.
    mLevel = LevelDocument(30, 20);
    Place("Player", 1, 1);
    Place("ShipDoor2", 8, 1);
    Place("Lift", 10, 10);
    EXPECT_EQ(Problems(), std::vector<std::string>{"Lift at 10,10 has no roof or floor in its shaft"});
    Do(EditTools::Paint(mLevel, kFore, 10, 2, kWall));
    EXPECT_EQ(Problems(), std::vector<std::string>{"Lift at 10,10 has no floor in its shaft"});
    Do(EditTools::Paint(mLevel, kFore, 10, 19, kWall));
    EXPECT_TRUE(Problems().empty());
}

TEST_F(Editing, ResizesAndWordsAreStepsOfTheirOwnAndUndoingAllGivesTheOpenedLevel)
{
    const LevelDocument opened = mLevel;
    Do(EditTools::Paint(mLevel, kBack, 29, 5, kCrate));
    Place("Player", 3, 3);
    const LevelDocument before = mLevel;
    // A mouse stroke held while the level is cut and described: its later cells merge, the rest do not.
    Do(EditTools::Paint(mLevel, kFore, 1, 1, kWall), 4);
    Do(EditTools::Resize(mLevel, 29, 20), 4);
    Do(EditTools::Describe(mLevel, "words"), 4);
    Do(EditTools::Paint(mLevel, kFore, 2, 1, kWall), 4);
    Do(EditTools::Paint(mLevel, kFore, 3, 1, kWall), 4);
    EXPECT_EQ(mHistory.Steps(), 6u);
    for (int i = 0; i < 4; ++i)
    {
        mHistory.Undo(mLevel);
    }
    EXPECT_EQ(mLevel.Width(), 30);
    EXPECT_EQ(mLevel.Layer(kBack), before.Layer(kBack)); // the cut column is back
    EXPECT_EQ(mLevel.Layer(kFore), before.Layer(kFore));
    EXPECT_EQ(mLevel.mDescription, "");
    while (mHistory.Undo(mLevel))
    {
    }
    EXPECT_EQ(mLevel.Layer(kBack), opened.Layer(kBack));
    EXPECT_EQ(mLevel.mEntities, opened.mEntities);

    // Growing keeps nothing; cutting keeps only the cells it cut.
    EXPECT_LT(EditTools::Resize(mLevel, 1024, 1024).Bytes(), 1024u);
    Do(EditTools::Paint(mLevel, kFore, 29, 0, kWall));
    EXPECT_LT(EditTools::Resize(mLevel, 29, 20).Bytes(), 1024u);
}

TEST_F(Editing, HistoryIsBoundedInBytesAndForgetsTheOldestStepsFirst)
{
    mLevel = LevelDocument(1024, 512);
    // Each fill of the whole level keeps half a million cells: a few fill the bound.
    int fills = 0;
    while (mHistory.Steps() == static_cast<std::size_t>(fills))
    {
        Do(EditTools::Fill(mLevel, kFore, 0, 0, 1023, 511, 0x010101u * static_cast<std::uint32_t>(++fills)));
        ASSERT_LT(fills, 20);
    }
    EXPECT_LE(mHistory.Bytes(), EditHistory::mMaxBytes);
    EXPECT_GE(mHistory.Steps(), 2u);
    // The newest steps undo; the oldest are gone.
    while (mHistory.Undo(mLevel))
    {
    }
    EXPECT_NE(mLevel.Cell(kFore, 5, 5), 0u);
    EXPECT_EQ(mLevel.Cell(kFore, 5, 5), 0x010101u * static_cast<std::uint32_t>(fills - mHistory.Steps()));
}
