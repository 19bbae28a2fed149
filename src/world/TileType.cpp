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
    if (mIsAnimated)
    {
        ++mFrameCounter;
    }
}
