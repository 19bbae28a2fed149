// Items: pick-ups, locks and doors that stay where they were placed unless their type falls.
#include "entities/Item.h"

Item::Item()
{
    mHealth = 10; // the amount a pick-up gives
}

bool Item::Init(double x, double y, const std::string& id, EntityType* type)
{
    if (!Entity::Init(x, y, id, type))
    {
        return false;
    }
    mBaseType = EntityType::mBaseItem;
    mType = type->mName;
    return true;
}

void Item::Tick() {}

float Item::GetMaxMotionSpeed()
{
    return 2.0f;
}

void Item::CheckHorizontalCollision()
{
    SetDX(0.0);
}

void Item::CheckVerticalCollision()
{
    if (mDY >= 0.0)
    {
        mIsOnGround = true;
    }
    SetDY(0.0);
}

void Item::SetY(double y)
{
    if (mJumpSpeed == 0.0)
    {
        return;
    }
    if (IsRowBelow(y))
    {
        mIsOnGround = false;
    }
    mY = y;
}

bool Item::Use(Entity* /*user*/, Item* /*item*/)
{
    return false;
}
