// The entity registry: adding, finding, removing, clearing, and the door trigger.
#include "LevelTest.h"

class RegistryTest : public LevelTest
{
protected:
    RegistryTest()
    {
        test::LevelFiles level;
        level.name = "r";
        level.background = {"....", "....", "####"};
        EXPECT_TRUE(LoadLevel(level));
    }

    EntityType* Type(const std::string& name) { return mMap.mEntityTypeManager->GetEntityType(name); }
};

TEST_F(RegistryTest, AddEntityMakesTheKindOfItsBaseTypeInInsertionOrder)
{
    mMap.AddEntity("a", Type("Blob2"), true, 32.0, 16.0);
    mMap.AddEntity("b", Type("Blob1"), true, 0.0, 0.0);
    mMap.AddEntity("c", Type("Blob1"), false, 0.0, 0.0);
    mMap.AddEntity("d", Type("Weapon"), false, 0.0, 0.0);
    mMap.AddEntity("e", Type("Crate"), false, 0.0, 0.0);
    mMap.AddEntity("p", Type("Player"), true, 0.0, 0.0); // no kind for players
    mMap.AddEntity("n", nullptr, true, 0.0, 0.0);

    std::vector<std::string> ids;
    for (auto& entry : mMap.mEnemies)
    {
        ids.push_back(entry.second->GetID());
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"b", "c", "a"})); // by type name, then insertion
    Entity* right = mMap.GetEntity("Enemy", "Blob2");
    EXPECT_DOUBLE_EQ(right->GetDX(), 2.0);
    EXPECT_DOUBLE_EQ(right->GetX(), 32.0);
    EXPECT_EQ(right->GetState(), Walking);
    EXPECT_EQ(mMap.GetEntity("Item", "Weapon")->GetBaseType(), "Item");
    EXPECT_FALSE(mMap.GetEntity("Item", "Weapon")->GetDirection());
    Entity* crate = mMap.GetEntity("Entity", "Crate");
    ASSERT_NE(crate, nullptr);
    EXPECT_EQ(crate->GetBaseType(), "Entity");
    EXPECT_TRUE(crate->GetIsBlockingMotion());
    EXPECT_EQ(mMap.GetEntity("Enemy", "Weapon"), nullptr);
    EXPECT_EQ(mMap.GetEntity("Player", "Player"), nullptr);
    EXPECT_EQ(mMap.mItems.size() + mMap.mEnemies.size() + mMap.mEntities.size(), 5u);
}

TEST_F(RegistryTest, RemoveEntityDestroysEveryEntityUnderTheKey)
{
    for (int i = 0; i < 3; ++i)
    {
        mMap.AddEntity("x", Type("Blob1"), true, 0.0, 0.0);
    }
    mMap.AddEntity("x", Type("Blob2"), true, 0.0, 0.0);
    mMap.RemoveEntity("Item", "Blob1"); // wrong registry: nothing
    mMap.RemoveEntity("Other", "Blob1");
    EXPECT_EQ(mMap.mEnemies.size(), 4u);
    mMap.RemoveEntity("Enemy", "Blob1");
    EXPECT_EQ(mMap.mEnemies.count("Blob1"), 0u);
    EXPECT_EQ(mMap.mEnemies.size(), 1u);
    mMap.ClearEntities();
    EXPECT_TRUE(mMap.mEnemies.empty());
}

TEST_F(RegistryTest, TriggerOpensOnlyTheFirstClosedDoorWithTheSameId)
{
    mMap.AddEntity("7", Type("ShipDoor1"), true, 0.0, 0.0);
    mMap.AddEntity("7", Type("ShipDoor1"), true, 16.0, 0.0);
    mMap.AddEntity("8", Type("ShipDoor1"), true, 32.0, 0.0);
    mMap.AddEntity("7", Type("KeycardLock"), true, 48.0, 0.0);
    Entity* lock = mMap.GetEntity("Item", "KeycardLock");
    auto doors = mMap.mItems.equal_range("ShipDoor1");
    Entity* first = doors.first->second.get();
    Entity* second = std::next(doors.first)->second.get();
    ASSERT_TRUE(first->GetIsBlockingMotion());

    mMap.Trigger(lock, true);
    EXPECT_EQ(first->GetType(), "ShipDoor2");
    EXPECT_EQ(first->GetEntityType(), Type("ShipDoor2"));
    // An open door takes the open type's flags, so the player can walk into it and leave.
    EXPECT_FALSE(first->GetIsBlockingMotion());
    EXPECT_TRUE(first->GetIsAnimated());
    EXPECT_EQ(second->GetType(), "ShipDoor1");
    EXPECT_EQ(mMap.mItems.count("ShipDoor1"), 3u); // still registered under the closed name

    mMap.Trigger(lock, true);
    EXPECT_EQ(second->GetType(), "ShipDoor2");
    EXPECT_EQ(mMap.GetEntity("Item", "ShipDoor1")->GetType(), "ShipDoor2");
    EXPECT_EQ(std::prev(doors.second)->second->GetType(), "ShipDoor1"); // id 8 never opened
}

TEST_F(RegistryTest, TriggerIgnoresItselfDoorsWithoutValueAndLevelsWithoutAnOpenType)
{
    mMap.AddEntity("7", Type("ShipDoor1"), true, 0.0, 0.0);
    Entity* door = mMap.GetEntity("Item", "ShipDoor1");
    mMap.Trigger(door, true); // a door does not open itself
    EXPECT_EQ(door->GetType(), "ShipDoor1");

    mMap.AddEntity("7", Type("KeycardLock"), true, 0.0, 0.0);
    Entity* lock = mMap.GetEntity("Item", "KeycardLock");
    Type("ShipDoor1")->mHasValue = false;
    mMap.Trigger(lock, true);
    EXPECT_EQ(door->GetType(), "ShipDoor1");

    Type("ShipDoor1")->mHasValue = true;
    mMap.mEntityTypeManager->mEntityTypes.erase("ShipDoor2");
    mMap.Trigger(lock, true);
    EXPECT_EQ(door->GetType(), "ShipDoor1");
    EXPECT_EQ(door->GetEntityType(), Type("ShipDoor1"));
    EXPECT_TRUE(door->GetIsBlockingMotion());
}

TEST_F(LevelTest, PlacementStopsAtAPlainEntityNamedPlayer)
{
    // A plain entity registered under "Player" ends the placement.
    mDir.WriteFile("data/maps/entitytypes.cfg",
                   "Entity Player 0 0 0 0 0 0\nItem Health 0 2 0 0 0 0\n");
    test::LevelFiles level;
    level.name = "stop";
    level.background = {"...."};
    level.placement = "Health 1 0 0 a\nPlayer 1 1 0 p\nHealth 1 2 0 b\n";
    ASSERT_TRUE(LoadLevel(level));
    EXPECT_EQ(mMap.mItems.size(), 1u);
    EXPECT_EQ(mMap.mEntities.count("Player"), 1u);
}
