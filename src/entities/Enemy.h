// A patrolling enemy: walks, turns back at walls, dies over 25 updates when shot or stomped.
#pragma once

#include "entities/Entity.h"

class Enemy : public Entity
{
  public:
    Enemy();
    ~Enemy() override = default;

    bool Init(double x, double y, const std::string& id, EntityType* type) override;
    void Tick() override;
    float GetMaxMotionSpeed() override;
    void CheckHorizontalCollision() override;
    void CheckVerticalCollision() override;

    // An enemy standing still starts walking left.
    virtual void Move();
};
