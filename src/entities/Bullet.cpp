// The player's shots: fly level and die at the first wall.
#include "entities/Bullet.h"

Bullet::Bullet()
{
    mHealth = 10; // also the damage it deals
    mDX = 2.0;
}

bool Bullet::Init(double x, double y, const std::string& id, EntityType* type)
{
    if (!Entity::Init(x, y, id, type))
    {
        return false;
    }
    mBaseType = "Bullet";
    mType = type->mName;
    mState = Walking;
    mStateAnimations[Walking] = 4;
    return true;
}

void Bullet::Tick()
{
    if (mState == Dying)
    {
        ++mStateTimer;
        if (mStateTimer > 1)
        {
            SetState(Dead);
        }
    }
}

float Bullet::GetMaxMotionSpeed()
{
    return 0.5f;
}

void Bullet::CheckHorizontalCollision()
{
    SetState(Dying);
}

void Bullet::CheckVerticalCollision()
{
    SetDY(0.0); // a shot never stands on anything
}
