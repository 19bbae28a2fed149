// Game controllers as an input device: hot-plugging, one table of buttons and stick to actions, and the
// stick's dead zone.
#pragma once

#include "input/Action.h"

#include <SDL.h>

#include <map>
#include <memory>
#include <vector>

class Input;

class GamepadInput
{
  public:
    // The left stick's dead zone and the hysteresis below which a pushed direction lets go again.
    static constexpr Sint16 mStickPress = 16000;
    static constexpr Sint16 mStickRelease = 12000;
    // The left stick's four directions, numbered after the controller's buttons.
    static constexpr int mStickLeft = SDL_CONTROLLER_BUTTON_MAX;
    static constexpr int mStickRight = SDL_CONTROLLER_BUTTON_MAX + 1;
    static constexpr int mStickUp = SDL_CONTROLLER_BUTTON_MAX + 2;
    static constexpr int mStickDown = SDL_CONTROLLER_BUTTON_MAX + 3;

    GamepadInput() = default;
    ~GamepadInput();
    GamepadInput(const GamepadInput&) = delete;
    GamepadInput& operator=(const GamepadInput&) = delete;

    // Starts SDL's controller support and opens every controller present; later ones open as they are
    // plugged in. False when the subsystem cannot start.
    bool Start();
    // A controller event; other events are not the controllers'.
    void HandleEvent(const SDL_Event& event, Input& input);
    // Lets go of what the controllers no longer hold, for a release SDL's full queue lost.
    void Sync(Input& input);
    // The actions a control stands for, the same on every screen; none for a control the game leaves
    // unused.
    static std::vector<Action> ActionsFor(int control);

    std::size_t OpenControllers() const { return mControllers.size(); }

  private:
    struct ControllerCloser
    {
        void operator()(SDL_GameController* controller) const { SDL_GameControllerClose(controller); }
    };
    struct HeldControl
    {
        SDL_JoystickID mController;
        int mControl;
    };

    void Open(int deviceIndex);
    void Close(SDL_JoystickID controller, Input& input);
    void Press(SDL_JoystickID controller, int control, Input& input);
    void Release(SDL_JoystickID controller, int control, Input& input);
    void Stick(SDL_JoystickID controller, Uint8 axis, Sint16 value, Input& input);
    std::vector<HeldControl>::const_iterator FindHeld(SDL_JoystickID controller, int control) const;
    bool IsHeld(SDL_JoystickID controller, int control) const;
    // Lets go of every held control that passes the test.
    template <typename Test> void ReleaseWhere(Test test, Input& input);
    // Whether the controller still holds the control, as SDL last read it.
    bool StillHeld(const HeldControl& held) const;

    bool mStarted = false;
    std::map<SDL_JoystickID, std::unique_ptr<SDL_GameController, ControllerCloser>> mControllers;
    std::vector<HeldControl> mHeldControls;
};
