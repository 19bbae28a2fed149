// Tile types: the meaning of one layer colour.
#include "world/TileType.h"

void TileType::Init(const std::string& name, const std::string& image, unsigned sourceX, unsigned sourceY,
                    unsigned damage, bool animated, bool blocking, bool harmful)
{
    mName = name;
    mImage = image;
    mSourceX = sourceX;
    mSourceY = sourceY;
    mDamage = damage;
    mIsAnimated = animated;
    mIsBlockingMotion = blocking;
    mIsHarmful = harmful;
}

void TileType::Tick()
{
    if (mVentPhase == 0)
    {
        if (mIsAnimated)
        {
            ++mFrameCounter;
        }
        return;
    }
    // The picture shows what the vent did in the update just played: still, or its two blowing frames
    // in turn, each for five updates.
    if (IsBlowing())
    {
        mSourceX = mStillSourceX + mVentFrameWidth;
        if (mIsAnimated)
        {
            mFrameCounter += 2;
        }
    }
    else
    {
        mSourceX = mStillSourceX;
        mFrameCounter = 0;
    }
    ++mUpdates;
}

void TileType::SetVent(unsigned phase, unsigned frameWidth)
{
    mVentPhase = phase;
    mStillSourceX = mSourceX;
    mVentFrameWidth = frameWidth;
    mUpdates = 0;
    mFrameCounter = 0;
}

bool TileType::IsBlowing() const
{
    if (mVentPhase == 0)
    {
        return false;
    }
    const bool firstHalf = (mUpdates / mVentHalfCycle) % 2 == 0;
    return mVentPhase == 1 ? firstHalf : !firstHalf;
}
