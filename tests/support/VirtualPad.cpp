// A software game controller for driving the screens as a controller player would.
#include "VirtualPad.h"

#include "Game.h"
#include "input/Input.h"

#include <stdexcept>
#include <string>

namespace test
{
namespace
{
Uint64 sClockShift = 0;
} // namespace

VirtualPad::VirtualPad()
{
    // Counted by SDL: the joystick support stays up while any pad or the game's own controllers use it.
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    // Every button and axis present, so joystick button n is controller button n.
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.name = "Test pad";
    mDeviceIndex = SDL_JoystickAttachVirtualEx(&desc);
    if (mDeviceIndex < 0)
    {
        throw std::runtime_error(std::string("Unable to attach a virtual controller: ") + SDL_GetError());
    }
    mJoystick = SDL_JoystickOpen(mDeviceIndex);
    if (mJoystick == nullptr)
    {
        throw std::runtime_error(std::string("Unable to open the virtual controller: ") + SDL_GetError());
    }
}

VirtualPad::~VirtualPad()
{
    Unplug();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

void VirtualPad::Set(SDL_GameControllerButton button, Uint8 value)
{
    SDL_JoystickSetVirtualButton(mJoystick, button, value);
}

void VirtualPad::Tap(SDL_GameControllerButton button, Game& game, int times)
{
    for (int i = 0; i < times; ++i)
    {
        Press(button);
        game.HandleEvents();
        Release(button);
        game.HandleEvents();
    }
}

void VirtualPad::Stick(SDL_GameControllerAxis axis, Sint16 value)
{
    SDL_JoystickSetVirtualAxis(mJoystick, axis, value);
}

void VirtualPad::Unplug()
{
    if (mJoystick == nullptr)
    {
        return;
    }
    // Detaching looks the device up by its current index, which an earlier unplug may have shifted.
    const SDL_JoystickID id = SDL_JoystickInstanceID(mJoystick);
    SDL_JoystickClose(mJoystick);
    mJoystick = nullptr;
    for (int index = 0; index < SDL_NumJoysticks(); ++index)
    {
        if (SDL_JoystickGetDeviceInstanceID(index) == id)
        {
            SDL_JoystickDetachVirtual(index);
            return;
        }
    }
}

bool StartControllers(Game& game)
{
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    game.mInput->mClock = [] { return SDL_GetTicks64() + sClockShift; };
    return game.mInput->StartControllers();
}

void MoveClockOn(Uint64 ms)
{
    sClockShift += ms;
}
} // namespace test
