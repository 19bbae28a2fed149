// The common behaviour of every entity: state, vertical motion guards, death timer and animation.
#include "entities/Entity.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace
{
// Placement files are not range checked, so a position may lie far beyond the int range of the box.
int BoxCoordinate(double value)
{
    if (std::isnan(value))
    {
        return 0;
    }
    return static_cast<int>(std::clamp(value, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}
} // namespace

bool Entity::Init(double x, double y, const std::string& id, EntityType* type)
{
    mIsAnimated = type->mIsAnimated;
    mIsBlockingMotion = type->mIsBlockingMotion;
    mX = x;
    mY = y;
    mID = id;
    mEntityType = type;
    mBaseType = EntityType::mBaseEntity;
    mType = type->mName;
    mJumpSpeed = type->mJumpSpeed;
    mRect.x = BoxCoordinate(x);
    mRect.y = BoxCoordinate(y);
    mRect.w = mFrameWidth;
    mRect.h = mFrameHeight;
    // Subclasses may have registered their own counts already; those stay.
    mStateAnimations.emplace(Standing, 2);
    mStateAnimations.emplace(Walking, 2);
    mStateAnimations.emplace(Dying, 2);
    mStateAnimations.emplace(Dead, 2);
    return true;
}

void Entity::Tick()
{
    if (mState == Dying)
    {
        ++mStateTimer;
        if (mStateTimer > 24)
        {
            SetState(Dead);
        }
    }
}

float Entity::GetMaxMotionSpeed()
{
    return 2.0f;
}

void Entity::Jump(bool force)
{
    if (mIsOnGround || force)
    {
        mIsOnGround = false;
        mDY = mJumpSpeed;
    }
}

void Entity::CheckHorizontalCollision()
{
    mDX = 0.0;
}

void Entity::CheckVerticalCollision()
{
    // Stopped while rising (a ceiling) is not standing on anything.
    if (mDY >= 0.0)
    {
        mIsOnGround = true;
    }
    mDY = 0.0;
}

bool Entity::GetIsAlive() const
{
    return mState <= JumpingArmed;
}

unsigned Entity::GetStateAnimation()
{
    return mStateAnimations[mState];
}

void Entity::SetHealth(int health)
{
    mHealth = std::clamp(health, 0, 10);
}

void Entity::SetState(EntityState state)
{
    if (state == mState)
    {
        return;
    }
    mState = state;
    // Only the unarmed death stops the body; the armed one keeps its motion.
    if (state == Dying)
    {
        SetDX(0.0);
        SetDY(0.0);
    }
}

void Entity::SetFrameWidth(int width)
{
    mFrameWidth = width;
    mRect.w = width;
}

void Entity::SetFrameHeight(int height)
{
    mFrameHeight = height;
    mRect.h = height;
}

void Entity::SetY(double y)
{
    if (mJumpSpeed == 0.0)
    {
        return; // entities that cannot jump never change height
    }
    if (IsRowBelow(y))
    {
        mIsOnGround = false;
        mY = y;
    }
    else if (!mIsOnGround)
    {
        // A grounded entity is neither lifted nor nudged within its pixel row.
        mY = y;
    }
}

bool Entity::IsRowBelow(double y) const
{
    return std::trunc(y) > std::trunc(mY);
}

unsigned Entity::GetAnimationFrame()
{
    unsigned frames = GetStateAnimation();
    if (frames == 0 || mEntityType == nullptr)
    {
        return 0;
    }
    return (mEntityType->mFrameCounter / 10) % frames;
}
