// What a screen gives the input layer's poll loop: its reading of raw events and of actions, in order.
#pragma once

#include "input/Action.h"

#include <SDL.h>

class InputHandler
{
  public:
    // After a raw event: go on to the actions it caused, leave them out (the screen took the event
    // itself, as a key capture does), or stop polling for this pass (the events still queued wait).
    enum class Next
    {
        Actions,
        SkipActions,
        Stop
    };

    virtual ~InputHandler() = default;
    // Every event, once the devices have seen it.
    virtual Next OnEvent(const SDL_Event& /*event*/) { return Next::Actions; }
    // An action that went down, or a direction's repeat. False stops polling for this pass.
    virtual bool OnAction(Action /*action*/, bool /*repeat*/) { return true; }
};
