// The keyboard device: arrows, Return, Escape, P or Pause and F12 as actions; repeats are the system's.
#include "input/KeyboardInput.h"

#include "input/Input.h"

void KeyboardInput::HandleEvent(const SDL_Event& event, Input& input)
{
    if (event.type != SDL_KEYDOWN && event.type != SDL_KEYUP)
    {
        return;
    }
    const int scancode = event.key.keysym.scancode;
    if (event.type == SDL_KEYUP)
    {
        Release(scancode, input);
        return;
    }
    const Action action = ActionFor(scancode);
    if (event.key.repeat != 0)
    {
        // The system repeats a held key at the player's own rate; only directions act on it.
        input.Repeat(action);
        return;
    }
    // A press of a key already down is a new press: its release was lost (or never sent).
    Release(scancode, input);
    mDown[scancode] = action;
    if (action != Action::Count)
    {
        input.Hold(Input::Device::Keyboard, action, true);
    }
}

void KeyboardInput::Release(int scancode, Input& input)
{
    const auto found = mDown.find(scancode);
    if (found == mDown.end())
    {
        return;
    }
    const Action action = found->second;
    mDown.erase(found);
    if (action != Action::Count)
    {
        input.Hold(Input::Device::Keyboard, action, false);
    }
}

Action KeyboardInput::ActionFor(int scancode) const
{
    switch (scancode)
    {
    case SDL_SCANCODE_LEFT:
        return Action::Left;
    case SDL_SCANCODE_RIGHT:
        return Action::Right;
    case SDL_SCANCODE_UP:
        return Action::Up;
    case SDL_SCANCODE_DOWN:
        return Action::Down;
    case SDL_SCANCODE_RETURN:
        return Action::Accept;
    case SDL_SCANCODE_ESCAPE:
        return Action::Back;
    case SDL_SCANCODE_F12:
        return Action::Screenshot;
    case SDL_SCANCODE_P:
    case SDL_SCANCODE_PAUSE:
        for (const int* bound : mBound)
        {
            if (*bound == scancode)
            {
                return Action::Count; // a game key the player chose does that instead
            }
        }
        return Action::Pause;
    default:
        return Action::Count;
    }
}
