// Recording, undoing and redoing a level's edits.
#include "editor/EditHistory.h"

#include "editor/LevelDocument.h"

void EditHistory::Do(LevelDocument& level, LevelEdit edit)
{
    if (edit.IsEmpty())
    {
        return;
    }
    edit.Apply(level);
    ++mChanges;
    if (mDone < mSteps.size())
    {
        // The redoable steps are gone; if the saved state was among them, it can no longer be reached.
        if (mSavedAt > static_cast<long long>(mDone))
        {
            mSavedAt = -1;
        }
        for (auto step = mSteps.begin() + static_cast<std::ptrdiff_t>(mDone); step != mSteps.end(); ++step)
        {
            mBytes -= step->Bytes();
        }
        mSteps.erase(mSteps.begin() + static_cast<std::ptrdiff_t>(mDone), mSteps.end());
    }
    else if (edit.mStroke != 0 && mDone > 0 && mSteps.back().mStroke == edit.mStroke &&
             edit.IsCellsAndEntities() && mSteps.back().IsCellsAndEntities() &&
             mSavedAt != static_cast<long long>(mDone))
    {
        mBytes -= mSteps.back().Bytes();
        mSteps.back().Merge(edit);
        mBytes += mSteps.back().Bytes();
        Bound();
        return;
    }
    mBytes += edit.Bytes();
    mSteps.push_back(std::move(edit));
    ++mDone;
    Bound();
}

void EditHistory::Bound()
{
    while (mSteps.size() > 1 && (mSteps.size() > mLimit || mBytes > mMaxBytes))
    {
        mBytes -= mSteps.front().Bytes();
        mSteps.pop_front();
        --mDone;
        mSavedAt = mSavedAt > 0 ? mSavedAt - 1 : -1;
    }
}

bool EditHistory::Undo(LevelDocument& level)
{
    if (!CanUndo())
    {
        return false;
    }
    --mDone;
    mSteps[mDone].Revert(level);
    ++mChanges;
    return true;
}

bool EditHistory::Redo(LevelDocument& level)
{
    if (!CanRedo())
    {
        return false;
    }
    mSteps[mDone].Apply(level);
    ++mDone;
    ++mChanges;
    return true;
}

void EditHistory::MarkSaved()
{
    mSavedAt = static_cast<long long>(mDone);
}

bool EditHistory::IsChanged() const
{
    return mSavedAt != static_cast<long long>(mDone);
}
