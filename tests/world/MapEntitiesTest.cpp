// The entity registry: adding, finding, removing, and the door trigger.
#include "LevelTest.h"

class RegistryTest : public LevelTest
{
  protected:
    RegistryTest() { EXPECT_TRUE(LoadLevel({"r", {"...."}, {}, ""})); }

    EntityType* Type(const std::string& name) { return mMap.mEntityTypeManager->GetEntityType(name); }
};

TEST_F(RegistryTest, RegistriesKeepTypeNameThenInsertionOrder)
{
    mMap.AddEntity("a", Type("Blob2"), true, 32.0, 16.0);
    mMap.AddEntity("b", Type("Blob1"), true, 0.0, 0.0);
    mMap.AddEntity("c", Type("Blob1"), false, 0.0, 0.0);
    mMap.AddEntity("d", Type("Crate"), false, 0.0, 0.0);
    mMap.AddEntity("p", Type("Player"), true, 0.0, 0.0); // players are not kept here
    std::string ids;
    for (auto& entry : mMap.mEnemies)
    {
        ids += entry.second->GetID();
    }
    EXPECT_EQ(ids, "bca");
    EXPECT_EQ(mMap.GetEntity("Enemy", "Blob1")->GetID(), "b"); // the first of several under one key
    EXPECT_DOUBLE_EQ(mMap.GetEntity("Enemy", "Blob2")->GetDX(), 2.0);
    EXPECT_EQ(mMap.GetEntity("Entity", "Crate")->GetBaseType(), "Entity");
    EXPECT_EQ(mMap.GetEntity("Item", "Blob1"), nullptr);
    EXPECT_EQ(mMap.mItems.size() + mMap.mEntities.size(), 1u);

    mMap.AddEntity("e", Type("Blob1"), true, 0.0, 0.0);
    mMap.RemoveEntity("Item", "Blob1"); // another registry: nothing
    mMap.RemoveEntity("Enemy", "Blob1");
    EXPECT_EQ(mMap.mEnemies.count("Blob1"), 0u);
    EXPECT_EQ(mMap.mEnemies.size(), 1u);
}

TEST_F(RegistryTest, TriggerOpensOnlyTheFirstMatchingDoorAndMakesItPassable)
{
    mMap.AddEntity("8", Type("ShipDoor1"), true, 0.0, 0.0);
    mMap.AddEntity("7", Type("ShipDoor1"), true, 16.0, 0.0);
    mMap.AddEntity("7", Type("ShipDoor1"), true, 32.0, 0.0);
    mMap.AddEntity("7", Type("KeycardLock"), true, 48.0, 0.0);
    auto door = mMap.mItems.find("ShipDoor1");
    Entity* other = door->second.get();
    Entity* first = std::next(door)->second.get();
    Entity* second = std::next(door, 2)->second.get();

    mMap.Trigger(mMap.GetEntity("Item", "KeycardLock"), true);
    EXPECT_EQ(first->GetType(), "ShipDoor2");
    EXPECT_EQ(first->GetEntityType(), Type("ShipDoor2"));
    EXPECT_FALSE(first->GetIsBlockingMotion());
    EXPECT_TRUE(first->GetIsAnimated());
    EXPECT_EQ(second->GetType(), "ShipDoor1");
    EXPECT_EQ(other->GetType(), "ShipDoor1");
    EXPECT_EQ(mMap.mItems.count("ShipDoor1"), 3u); // still registered under the closed name
}

TEST_F(RegistryTest, TriggerIgnoresItselfDoorsWithoutValueAndLevelsWithoutAnOpenType)
{
    mMap.AddEntity("7", Type("ShipDoor1"), true, 0.0, 0.0);
    mMap.AddEntity("7", Type("KeycardLock"), true, 0.0, 0.0);
    Entity* door = mMap.GetEntity("Item", "ShipDoor1");
    mMap.Trigger(door, true);
    EXPECT_EQ(door->GetType(), "ShipDoor1");

    Type("ShipDoor1")->mHasValue = false;
    mMap.Trigger(mMap.GetEntity("Item", "KeycardLock"), true);
    EXPECT_EQ(door->GetType(), "ShipDoor1");

    Type("ShipDoor1")->mHasValue = true;
    mMap.mEntityTypeManager->mEntityTypes.erase("ShipDoor2");
    mMap.Trigger(mMap.GetEntity("Item", "KeycardLock"), true);
    EXPECT_EQ(door->GetEntityType(), Type("ShipDoor1"));
    EXPECT_TRUE(door->GetIsBlockingMotion());
}
