// A game controller made of software (SDL's virtual joystick), plugged in and handled like a real one.
#pragma once

#include <SDL.h>

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
    void Stick(SDL_GameControllerAxis axis, Sint16 value);
    void Unplug();

  private:
    void Set(SDL_GameControllerButton button, Uint8 value);

    int mDeviceIndex = -1;
    SDL_Joystick* mJoystick = nullptr;
};

// Lets controllers be read without a focused window (tests run on the dummy video driver) and starts
// SDL's controller support; call before the game's GamepadInput starts.
void AllowBackgroundControllers();
} // namespace test
