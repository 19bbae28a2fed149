// Enemies: patrol between walls, turn back on contact, die over 25 updates.
#include "entities/Enemy.h"

Enemy::Enemy()
{
    mHealth = 10; // also the damage its touch deals
    mDX = 2.0;
}

bool Enemy::Init(double x, double y, const std::string& id, EntityType* type)
{
    if (!Entity::Init(x, y, id, type))
    {
        return false;
    }
    mBaseType = EntityType::mBaseEnemy;
    mType = type->mName;
    mState = Walking;
    mStateAnimations[Walking] = 4;
    return true;
}

void Enemy::Tick()
{
    if (mState == Dying)
    {
        ++mStateTimer;
        if (mStateTimer > 24)
        {
            SetState(Dead);
        }
        return;
    }
    if (mState != Dead)
    {
        Move();
    }
}

float Enemy::GetMaxMotionSpeed()
{
    return 2.0f;
}

void Enemy::CheckHorizontalCollision()
{
    SetDX(-GetDX());
}

void Enemy::CheckVerticalCollision()
{
    if (mDY >= 0.0)
    {
        mIsOnGround = true;
    }
    SetDY(0.0);
}

void Enemy::Move()
{
    if (mDX == 0.0 && mState != Dying && mState != Dead)
    {
        mDX = -GetMaxMotionSpeed();
    }
}
