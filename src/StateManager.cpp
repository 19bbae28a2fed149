// The registry of screens by name and the choice of the current one.
#include "StateManager.h"

#include <utility>

StateManager::~StateManager()
{
    // The states' own destructors release what their Init acquired.
    mCurrentState = nullptr;
    mStates.clear();
}

void StateManager::AddState(std::string name, State* state)
{
    if (mStates.count(name) != 0)
    {
        return; // the first registration stays; the caller keeps this state
    }
    mStates.emplace(std::move(name), std::unique_ptr<State>(state));
}

void StateManager::ChangeState(std::string name)
{
    const auto found = mStates.find(name);
    if (found != mStates.end())
    {
        mCurrentState = found->second.get();
    }
}

void StateManager::RemoveState(std::string name)
{
    const auto found = mStates.find(name);
    if (found == mStates.end() || !found->second)
    {
        return;
    }
    // The main loop must never be left serving a deleted screen.
    if (mCurrentState == found->second.get())
    {
        mCurrentState = nullptr;
    }
    mStates.erase(found);
}
