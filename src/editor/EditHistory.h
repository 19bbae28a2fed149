// The undo and redo of a level's edits. Saving never clears it; it only remembers where the file stands.
#pragma once

#include "editor/LevelEdit.h"

#include <cstddef>
#include <deque>

class LevelDocument;

class EditHistory
{
  public:
    // The oldest steps are forgotten beyond this many, or beyond this much memory (the newest step is
    // always kept).
    static constexpr std::size_t mLimit = 500;
    static constexpr std::size_t mMaxBytes = 64u * 1024u * 1024u;

    // Applies the edit and records it (merged into the last step when both belong to one stroke and change
    // only cells and entities: a resize or new words are a step of their own); anything undone is no longer
    // redoable. An edit that changes nothing is not recorded.
    void Do(LevelDocument& level, LevelEdit edit);
    bool Undo(LevelDocument& level);
    bool Redo(LevelDocument& level);
    bool CanUndo() const { return mDone > 0; }
    bool CanRedo() const { return mDone < mSteps.size(); }
    std::size_t Steps() const { return mSteps.size(); }
    // How many times the level has changed through this history: a new number means a new level.
    std::size_t Changes() const { return mChanges; }
    // About the memory the steps hold.
    std::size_t Bytes() const { return mBytes; }

    // The level now matches its file.
    void MarkSaved();
    // The level has no file yet: it differs from it until saved.
    void MarkUnsaved() { mSavedAt = -1; }
    // Whether the level differs from its last save (or was never saved).
    bool IsChanged() const;

  private:
    // Forgets the oldest steps beyond the bounds.
    void Bound();

    std::deque<LevelEdit> mSteps;
    std::size_t mDone = 0; // steps applied; the rest are redoable
    std::size_t mChanges = 0;
    std::size_t mBytes = 0;
    // Steps applied when last saved; -1 when that point has been forgotten or undone past and rewritten.
    long long mSavedAt = 0;
};
