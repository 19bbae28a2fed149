// Entity types: the shared description of one kind of entity.
#include "world/EntityType.h"

void EntityType::Init(const std::string& baseType, const std::string& name, unsigned sourceX,
                      unsigned sourceY, unsigned value, bool animated, bool blocking, double jumpSpeed)
{
    mBaseType = baseType;
    mName = name;
    mSourceX = sourceX;
    mSourceY = sourceY;
    mValue = value;
    mIsAnimated = animated;
    mIsBlockingMotion = blocking;
    mJumpSpeed = jumpSpeed;
    mHasValue = value != 0;
}

void EntityType::Tick()
{
    if (mIsAnimated)
    {
        ++mFrameCounter;
    }
}
