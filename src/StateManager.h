// Owns the screens by name and knows which one the main loop serves.
#pragma once

#include "State.h"

#include <map>
#include <memory>
#include <string>

class StateManager
{
  public:
    StateManager() = default;
    ~StateManager();

    // Takes ownership unless the name is registered already; then the caller keeps the state.
    void AddState(std::string name, State* state);
    // Selects a registered state; unknown names change nothing. Calls nothing on either state.
    void ChangeState(std::string name);
    // Deletes a registered state; removing the current one also clears mCurrentState.
    void RemoveState(std::string name);

    State* mCurrentState = nullptr;
    std::map<std::string, std::unique_ptr<State>> mStates;
};
