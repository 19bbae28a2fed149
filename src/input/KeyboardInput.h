// The keyboard as an input device: the fixed menu keys as actions, and which keys are down.
#pragma once

#include "input/Action.h"

#include <SDL.h>

#include <map>

class Input;

class KeyboardInput
{
  public:
    KeyboardInput(const int& keyLeft, const int& keyRight, const int& keyJump, const int& keyFire)
        : mBound{&keyLeft, &keyRight, &keyJump, &keyFire}
    {
    }

    // A key press or release; other events are not the keyboard's.
    void HandleEvent(const SDL_Event& event, Input& input);
    bool IsDown(int scancode) const { return mDown.count(scancode) != 0; }
    // The action a key stands for now; Action::Count for none. The game keys are read by play itself,
    // so here only the fixed keys count, and P pauses only while no game key is bound to it.
    Action ActionFor(int scancode) const;

  private:
    void Release(int scancode, Input& input);

    const int* mBound[4];
    // Keys down, each with the action it pressed then (a later rebinding does not change what it lets go).
    std::map<int, Action> mDown;
};
