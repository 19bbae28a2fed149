// The player's shot: flies level, dies at the first wall; its health is the damage it deals.
#pragma once

#include "entities/Entity.h"

class Bullet : public Entity
{
  public:
    Bullet();
    ~Bullet() override = default;

    bool Init(double x, double y, const std::string& id, EntityType* type) override;
    void Tick() override;
    float GetMaxMotionSpeed() override;
    void CheckHorizontalCollision() override;
    void CheckVerticalCollision() override;
};
