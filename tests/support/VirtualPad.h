// A game controller made of software (SDL's virtual joystick), plugged in and handled like a real one, and
// the browser page's touch controls as the page would press them.
#pragma once

#include "input/TouchInput.h"

#include <SDL.h>

class Game;

namespace test
{
class VirtualPad
{
  public:
    // Plugs in a controller with every standard button and axis; SDL announces it as added.
    VirtualPad();
    // Unplugs it if still plugged in.
    ~VirtualPad();
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    bool Plugged() const { return mJoystick != nullptr; }
    void Press(SDL_GameControllerButton button) { Set(button, 1); }
    void Release(SDL_GameControllerButton button) { Set(button, 0); }
    // Presses and releases the button, times over, each change followed by one pass of the game's event
    // handling as the main loop runs it.
    void Tap(SDL_GameControllerButton button, Game& game, int times = 1);
    void Stick(SDL_GameControllerAxis axis, Sint16 value);
    void Unplug();

  private:
    void Set(SDL_GameControllerButton button, Uint8 value);

    int mDeviceIndex = -1;
    SDL_Joystick* mJoystick = nullptr;
};

// Lets controllers be read without a focused window (tests run on the dummy video driver) and starts the
// game's controller support, as its start-up does. False when SDL cannot.
bool StartControllers(Game& game);
// Moves the input's clock on by ms for every pass from now on, as if that long had passed.
void MoveClockOn(Uint64 ms);
// A touch control held or let go, as the page reports it.
inline void Touch(Action action, bool held)
{
    kes_touch(static_cast<int>(action), held ? 1 : 0);
}
} // namespace test
