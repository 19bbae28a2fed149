// One undoable change to a level: the cells it repainted and, when it touched them, the entities, the size
// or the description as they were before and after.
#pragma once

#include "editor/PlacedEntity.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class LevelDocument;

class LevelEdit
{
  public:
    struct CellChange
    {
        int mLayer;
        int mX;
        int mY;
        std::uint32_t mBefore;
        std::uint32_t mAfter;
    };
    // A change of size at the right and bottom edges, with the cells it cut off as they were (those of
    // colour 0 left out: a level grown back is colour 0 there anyway).
    struct Resizing
    {
        int mWidthBefore = 0;
        int mHeightBefore = 0;
        int mWidthAfter = 0;
        int mHeightAfter = 0;
        std::vector<CellChange> mCut;
    };
    // A whole level as it stood, for the change that replaces every cell (an autosave restored).
    struct Shape
    {
        int mWidth = 0;
        int mHeight = 0;
        std::vector<std::uint32_t> mLayers[2];
    };

    void Apply(LevelDocument& level) const;
    void Revert(LevelDocument& level) const;
    bool IsEmpty() const;
    // Whether it changes nothing but cells and entities: only such edits of one stroke merge.
    bool IsCellsAndEntities() const;
    // Takes in a later edit of the same stroke: its cells after this one's, its entities' final state.
    void Merge(const LevelEdit& later);
    // About the memory it holds, for the history's bound.
    std::size_t Bytes() const;

    std::vector<CellChange> mCells;
    std::optional<std::vector<PlacedEntity>> mEntitiesBefore;
    std::optional<std::vector<PlacedEntity>> mEntitiesAfter;
    std::optional<Resizing> mResize;
    std::optional<Shape> mShapeBefore;
    std::optional<Shape> mShapeAfter;
    std::optional<std::string> mDescriptionBefore;
    std::optional<std::string> mDescriptionAfter;
    // Edits of one mouse stroke share a number and undo as one; 0 stands alone.
    int mStroke = 0;
};
