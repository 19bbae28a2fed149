// The answer to "may this box move there?" against a level's collision layer.
#pragma once

#include <cstdint>

struct TileCollision
{
    // The move is free exactly when both are -1; otherwise the first blocking cell in scan order.
    int mTileX = -1;
    int mTileY = -1;
    // Gathered whether or not the move is blocked.
    bool mIsHarmful = false;
    std::uint32_t mDamage = 0;

    bool IsBlocked() const { return mTileX != -1 || mTileY != -1; }
};
