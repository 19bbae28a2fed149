// Game controllers: hot-plugging, the one mapping of buttons and stick to actions, the stick's dead zone.
#include "input/GamepadInput.h"

#include "input/Input.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

GamepadInput::~GamepadInput()
{
    if (!mStarted)
    {
        return;
    }
    mControllers.clear();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool GamepadInput::Start()
{
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) < 0)
    {
        return false;
    }
    mStarted = true;
    for (int index = 0; index < SDL_NumJoysticks(); ++index)
    {
        Open(index);
    }
    return true;
}

void GamepadInput::HandleEvent(const SDL_Event& event, Input& input)
{
    switch (event.type)
    {
    case SDL_CONTROLLERDEVICEADDED:
        Open(event.cdevice.which);
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        Close(event.cdevice.which, input);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
        Press(event.cbutton.which, event.cbutton.button, input);
        break;
    case SDL_CONTROLLERBUTTONUP:
        Release(event.cbutton.which, event.cbutton.button, input);
        break;
    case SDL_CONTROLLERAXISMOTION:
        Stick(event.caxis.which, event.caxis.axis, event.caxis.value, input);
        break;
    default:
        break;
    }
}

std::vector<Action> GamepadInput::ActionsFor(int control)
{
    switch (control)
    {
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
    case mStickLeft:
        return {Action::Left};
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
    case mStickRight:
        return {Action::Right};
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return {Action::Up, Action::Jump}; // the d-pad's up jumps, as up does on the keyboard
    case mStickUp:
        return {Action::Up};
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
    case mStickDown:
        return {Action::Down};
    case SDL_CONTROLLER_BUTTON_A:
        return {Action::Jump, Action::Accept};
    // B fires on every screen: were it also Back, a shot in play would leave the level.
    case SDL_CONTROLLER_BUTTON_B:
    case SDL_CONTROLLER_BUTTON_X:
        return {Action::Fire};
    case SDL_CONTROLLER_BUTTON_START:
        return {Action::Pause, Action::Accept};
    case SDL_CONTROLLER_BUTTON_BACK:
        return {Action::Back};
    case SDL_CONTROLLER_BUTTON_Y:
        return {Action::Tools}; // the editor's tool menu; nothing elsewhere
    default:
        return {};
    }
}

void GamepadInput::Open(int deviceIndex)
{
    if (!SDL_IsGameController(deviceIndex))
    {
        return;
    }
    // A controller present at start-up is also announced by an added event: open it once.
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (id < 0 || mControllers.count(id) != 0)
    {
        return;
    }
    if (SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex))
    {
        mControllers[id].reset(controller);
    }
}

template <typename Test> void GamepadInput::ReleaseWhere(Test test, Input& input)
{
    // Collected first: each release takes its control out of the list.
    std::vector<HeldControl> released;
    std::copy_if(mHeldControls.begin(), mHeldControls.end(), std::back_inserter(released), test);
    for (const HeldControl& held : released)
    {
        Release(held.mController, held.mControl, input);
    }
}

void GamepadInput::Close(SDL_JoystickID controller, Input& input)
{
    // Whatever the controller held is let go, so an unplugged pad leaves no one walking.
    ReleaseWhere([controller](const HeldControl& held) { return held.mController == controller; }, input);
    mControllers.erase(controller);
}

std::vector<GamepadInput::HeldControl>::const_iterator GamepadInput::FindHeld(SDL_JoystickID controller,
                                                                              int control) const
{
    return std::find_if(mHeldControls.begin(), mHeldControls.end(),
                        [&](const HeldControl& held)
                        { return held.mController == controller && held.mControl == control; });
}

bool GamepadInput::IsHeld(SDL_JoystickID controller, int control) const
{
    return FindHeld(controller, control) != mHeldControls.end();
}

void GamepadInput::Press(SDL_JoystickID controller, int control, Input& input)
{
    if (mControllers.count(controller) == 0 || IsHeld(controller, control))
    {
        return;
    }
    mHeldControls.push_back({controller, control});
    for (Action action : ActionsFor(control))
    {
        input.Hold(Input::Device::Controllers, action, true);
    }
}

void GamepadInput::Release(SDL_JoystickID controller, int control, Input& input)
{
    const auto found = FindHeld(controller, control);
    if (found == mHeldControls.end())
    {
        return;
    }
    mHeldControls.erase(found);
    for (Action action : ActionsFor(control))
    {
        input.Hold(Input::Device::Controllers, action, false);
    }
}

void GamepadInput::Stick(SDL_JoystickID controller, Uint8 axis, Sint16 value, Input& input)
{
    int negative = 0;
    int positive = 0;
    if (axis == SDL_CONTROLLER_AXIS_LEFTX)
    {
        negative = mStickLeft;
        positive = mStickRight;
    }
    else if (axis == SDL_CONTROLLER_AXIS_LEFTY)
    {
        negative = mStickUp;
        positive = mStickDown;
    }
    else
    {
        return;
    }
    // Past the dead zone a direction goes down; it lets go only well inside it, so a stick resting near
    // the edge of the dead zone does not chatter.
    const int direction = value < 0 ? negative : positive;
    const int threshold = IsHeld(controller, direction) ? mStickRelease : mStickPress;
    const int pushed = std::abs(static_cast<int>(value)) >= threshold ? direction : 0;
    for (int control : {negative, positive})
    {
        if (control != pushed)
        {
            Release(controller, control, input);
        }
    }
    if (pushed != 0)
    {
        Press(controller, pushed, input);
    }
}

bool GamepadInput::StillHeld(const HeldControl& held) const
{
    const auto found = mControllers.find(held.mController);
    if (found == mControllers.end())
    {
        return false;
    }
    SDL_GameController* controller = found->second.get();
    if (held.mControl < SDL_CONTROLLER_BUTTON_MAX)
    {
        return SDL_GameControllerGetButton(controller,
                                           static_cast<SDL_GameControllerButton>(held.mControl)) != 0;
    }
    const bool across = held.mControl == mStickLeft || held.mControl == mStickRight;
    const int value =
        SDL_GameControllerGetAxis(controller, across ? SDL_CONTROLLER_AXIS_LEFTX : SDL_CONTROLLER_AXIS_LEFTY);
    const bool negative = held.mControl == mStickLeft || held.mControl == mStickUp;
    return (negative ? -value : value) >= mStickRelease;
}

void GamepadInput::Sync(Input& input)
{
    // SDL keeps each controller's state even when its full queue drops the event that changed it.
    ReleaseWhere([this](const HeldControl& held) { return !StillHeld(held); }, input);
}
