// Lifts: the plate's cycle of rising, waiting, sinking and waiting.
#include "entities/Lift.h"

#include <algorithm>
#include <cmath>

bool Lift::Init(double x, double y, const std::string& id, EntityType* type)
{
    if (!Entity::Init(x, y, id, type))
    {
        return false;
    }
    mBaseType = EntityType::mBaseLift;
    mType = type->mName;
    mIsFlying = true; // it rides its shaft, untouched by gravity
    const double speed = std::fabs(type->mJumpSpeed);
    mSpeed = std::isfinite(speed) ? static_cast<int>(std::clamp(speed, 1.0, 16.0)) : 1;
    mPhase = Phase::Rising;
    mWait = 0;
    mPreviousY = y;
    return true;
}

void Lift::Tick()
{
    if (IsMoving())
    {
        return;
    }
    if (++mWait >= mWaitUpdates)
    {
        mWait = 0;
        mPhase = mPhase == Phase::WaitingTop ? Phase::Sinking : Phase::Rising;
    }
}

void Lift::Arrive()
{
    if (IsMoving())
    {
        mPhase = mPhase == Phase::Rising ? Phase::WaitingTop : Phase::WaitingBottom;
        mWait = 1; // the update it arrives in is the first of its wait
    }
}
