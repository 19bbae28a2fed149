// Ownership and selection rules of the screen registry.
#include "StateManager.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
// Counts its destructions and any call the manager must not make.
class ProbeState : public State
{
  public:
    ProbeState(int& destroyed, int& calls) : mDestroyed(destroyed), mCalls(calls) {}
    ~ProbeState() override { ++mDestroyed; }
    bool Init(Game*) override { return ++mCalls, true; }
    void CleanUp() override { ++mCalls; }
    void Pause() override { ++mCalls; }
    void Resume() override { ++mCalls; }
    void HandleEvents(Game*) override { ++mCalls; }
    void Tick(Game*) override { ++mCalls; }
    void Render(Game*, const float&) override { ++mCalls; }

  private:
    int& mDestroyed;
    int& mCalls;
};

TEST(StateManager, ChangeStateSelectsOnlyRegisteredNamesAndCallsNothing)
{
    int destroyed = 0;
    int calls = 0;
    StateManager manager;
    auto* menu = new ProbeState(destroyed, calls);
    auto* play = new ProbeState(destroyed, calls);
    manager.AddState("MainMenu", menu);
    manager.AddState("Play", play);
    EXPECT_EQ(manager.mCurrentState, nullptr); // adding selects nothing

    manager.ChangeState("Nowhere");
    EXPECT_EQ(manager.mCurrentState, nullptr);
    manager.ChangeState("MainMenu");
    EXPECT_EQ(manager.mCurrentState, menu);
    manager.ChangeState("mainmenu"); // names are case-sensitive
    EXPECT_EQ(manager.mCurrentState, menu);
    manager.ChangeState("Play");
    manager.ChangeState("Play");
    EXPECT_EQ(manager.mCurrentState, play);
    EXPECT_EQ(calls, 0);
}

TEST(StateManager, DuplicateNameKeepsTheFirstAndLeavesTheSecondWithTheCaller)
{
    int destroyed = 0;
    int calls = 0;
    auto second = std::make_unique<ProbeState>(destroyed, calls);
    {
        StateManager manager;
        auto* first = new ProbeState(destroyed, calls);
        manager.AddState("Story", first);
        manager.AddState("Story", second.get());
        ASSERT_EQ(manager.mStates.size(), 1u);
        manager.ChangeState("Story");
        EXPECT_EQ(manager.mCurrentState, first);
    }
    // Only the first was the manager's to delete.
    EXPECT_EQ(destroyed, 1);
    second.reset();
    EXPECT_EQ(destroyed, 2);
}

TEST(StateManager, DestroyingDeletesEachStateOnceThroughItsOwnDestructor)
{
    int destroyed = 0;
    int calls = 0;
    {
        StateManager manager;
        for (const char* name : {"MainMenu", "Settings", "Story", "Play", "Credits"})
        {
            manager.AddState(name, new ProbeState(destroyed, calls));
        }
        manager.ChangeState("Credits");
    }
    EXPECT_EQ(destroyed, 5);
    EXPECT_EQ(calls, 0); // no CleanUp from the manager: the destructors release
}

TEST(StateManager, RemoveStateDeletesKnownNamesAndClearsTheCurrentOne)
{
    int destroyed = 0;
    int calls = 0;
    StateManager manager;
    auto* menu = new ProbeState(destroyed, calls);
    manager.AddState("MainMenu", menu);
    manager.AddState("Settings", new ProbeState(destroyed, calls));
    manager.ChangeState("MainMenu");

    manager.RemoveState("Nowhere");
    EXPECT_EQ(manager.mStates.size(), 2u);
    EXPECT_EQ(destroyed, 0);

    manager.RemoveState("Settings");
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(manager.mCurrentState, menu);

    // The loop must not be left holding a deleted screen.
    manager.RemoveState("MainMenu");
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(manager.mCurrentState, nullptr);
    EXPECT_TRUE(manager.mStates.empty());
}
} // namespace
