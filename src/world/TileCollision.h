// The answer to "may this box move there?" against a level's collision layer.
#pragma once

#include <cstdint>

struct TileCollision
{
    // The first blocking cell in scan order; both -1 when the move is free. A block at the level's
    // left edge above the top row is reported at row 0, so the pair (-1, -1) always means free.
    int mTileX = -1;
    int mTileY = -1;
    // Gathered whether or not the move is blocked.
    bool mIsHarmful = false;
    std::uint32_t mDamage = 0;
    bool mIsBlocked = false;

    bool IsBlocked() const { return mIsBlocked; }
};
