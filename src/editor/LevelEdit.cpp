// Applying and reverting one undoable change to a level.
#include "editor/LevelEdit.h"

#include "editor/LevelDocument.h"

namespace
{
void SetShape(LevelDocument& level, const LevelEdit::Shape& shape)
{
    level.Resize(shape.mWidth, shape.mHeight);
    for (int layer = 0; layer < 2; ++layer)
    {
        for (int y = 0; y < shape.mHeight; ++y)
        {
            for (int x = 0; x < shape.mWidth; ++x)
            {
                level.SetCell(layer, x, y,
                              shape.mLayers[layer][static_cast<std::size_t>(y) * shape.mWidth + x]);
            }
        }
    }
}
} // namespace

void LevelEdit::Apply(LevelDocument& level) const
{
    if (mResize)
    {
        level.Resize(mResize->mWidthAfter, mResize->mHeightAfter);
    }
    if (mShapeAfter)
    {
        SetShape(level, *mShapeAfter);
    }
    for (const CellChange& change : mCells)
    {
        level.SetCell(change.mLayer, change.mX, change.mY, change.mAfter);
    }
    if (mEntitiesAfter)
    {
        level.mEntities = *mEntitiesAfter;
    }
    if (mDescriptionAfter)
    {
        level.mDescription = *mDescriptionAfter;
    }
}

void LevelEdit::Revert(LevelDocument& level) const
{
    // Backwards, so a cell painted twice in one stroke ends as it was before the first.
    for (auto change = mCells.rbegin(); change != mCells.rend(); ++change)
    {
        level.SetCell(change->mLayer, change->mX, change->mY, change->mBefore);
    }
    if (mShapeBefore)
    {
        SetShape(level, *mShapeBefore);
    }
    if (mResize)
    {
        level.Resize(mResize->mWidthBefore, mResize->mHeightBefore);
        for (const CellChange& cut : mResize->mCut)
        {
            level.SetCell(cut.mLayer, cut.mX, cut.mY, cut.mBefore);
        }
    }
    if (mEntitiesBefore)
    {
        level.mEntities = *mEntitiesBefore;
    }
    if (mDescriptionBefore)
    {
        level.mDescription = *mDescriptionBefore;
    }
}

bool LevelEdit::IsEmpty() const
{
    return mCells.empty() && !mEntitiesAfter && !mResize && !mShapeAfter && !mDescriptionAfter;
}

bool LevelEdit::IsCellsAndEntities() const
{
    return !mResize && !mShapeAfter && !mDescriptionAfter;
}

std::size_t LevelEdit::Bytes() const
{
    const auto entities = [](const std::optional<std::vector<PlacedEntity>>& list)
    {
        std::size_t bytes = 0;
        for (const PlacedEntity& entity : list.value_or(std::vector<PlacedEntity>()))
        {
            bytes += sizeof entity + entity.mType.capacity() + entity.mID.capacity();
            for (const std::string& line : entity.mLinesBefore)
            {
                bytes += sizeof line + line.capacity();
            }
        }
        return bytes;
    };
    const auto shape = [](const std::optional<Shape>& whole) {
        return whole ? (whole->mLayers[0].capacity() + whole->mLayers[1].capacity()) * sizeof(std::uint32_t)
                     : 0;
    };
    return sizeof *this + mCells.capacity() * sizeof(CellChange) +
           (mResize ? mResize->mCut.capacity() * sizeof(CellChange) : 0) + entities(mEntitiesBefore) +
           entities(mEntitiesAfter) + shape(mShapeBefore) + shape(mShapeAfter) +
           (mDescriptionBefore ? mDescriptionBefore->capacity() : 0) +
           (mDescriptionAfter ? mDescriptionAfter->capacity() : 0);
}

void LevelEdit::Merge(const LevelEdit& later)
{
    mCells.insert(mCells.end(), later.mCells.begin(), later.mCells.end());
    if (later.mEntitiesAfter)
    {
        if (!mEntitiesBefore)
        {
            mEntitiesBefore = later.mEntitiesBefore;
        }
        mEntitiesAfter = later.mEntitiesAfter;
    }
}
