// Pick-ups, keycard locks and doors: they lie where placed; what touching one does is up to the play screen.
#pragma once

#include "entities/Entity.h"

class Item : public Entity
{
  public:
    Item();
    ~Item() override = default;

    bool Init(double x, double y, const std::string& id, EntityType* type) override;
    void Tick() override;
    float GetMaxMotionSpeed() override;
    void CheckHorizontalCollision() override;
    void CheckVerticalCollision() override;
    // Items of a type with a jump speed fall; others hang where placed. No on-ground guard.
    void SetY(double y) override;

    // Does nothing and returns false.
    virtual bool Use(Entity* user, Item* item);
};
