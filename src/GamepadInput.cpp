// Game controllers standing in for the keyboard: hot-plugging, the mapping per screen, stick and repeats.
#include "GamepadInput.h"

#include <algorithm>
#include <cstdlib>

GamepadInput::GamepadInput() = default;

GamepadInput::~GamepadInput()
{
    if (!mStarted)
    {
        return;
    }
    SDL_SetEventFilter(nullptr, nullptr);
    mControllers.clear();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool GamepadInput::Start()
{
    // The filter sees every controller event as SDL queues it, so none is lost to a screen's polling.
    // Setting it empties SDL's queue, harmless at start-up.
    SDL_SetEventFilter(&GamepadInput::Filter, this);
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) < 0)
    {
        SDL_SetEventFilter(nullptr, nullptr);
        return false;
    }
    mStarted = true;
    for (int index = 0; index < SDL_NumJoysticks(); ++index)
    {
        Open(index);
    }
    return true;
}

int SDLCALL GamepadInput::Filter(void* self, SDL_Event* event)
{
    GamepadInput& input = *static_cast<GamepadInput*>(self);
    std::lock_guard<std::mutex> lock(input.mLock);
    switch (event->type)
    {
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION:
        input.mGathered.push_back(*event);
        return 1;
    case SDL_KEYUP:
        // A key is up only when no device holds it: the keyboard letting go of a key a controller still
        // holds is dropped.
        return input.mKeysHeldByPads.count(event->key.keysym.scancode) == 0 ? 1 : 0;
    default:
        return 1;
    }
}

void GamepadInput::Update(Layout layout, const Bindings& bindings, Uint64 now)
{
    // Pumping first turns this pass's controller changes into keys the screen sees in the same pass.
    SDL_PumpEvents();
    std::vector<SDL_Event> events;
    {
        std::lock_guard<std::mutex> lock(mLock);
        events.swap(mGathered);
    }
    for (const SDL_Event& event : events)
    {
        switch (event.type)
        {
        case SDL_CONTROLLERDEVICEADDED:
            Open(event.cdevice.which);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            Close(event.cdevice.which);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            Press(event.cbutton.which, event.cbutton.button, layout, bindings, now);
            break;
        case SDL_CONTROLLERBUTTONUP:
            Release(event.cbutton.which, event.cbutton.button);
            break;
        case SDL_CONTROLLERAXISMOTION:
            Stick(event.caxis.which, event.caxis.axis, event.caxis.value, layout, bindings, now);
            break;
        default:
            break;
        }
    }
    if (layout != Layout::Muted)
    {
        for (auto& [key, held] : mHeldKeys)
        {
            if (held.mDirections > 0 && now >= held.mNextRepeat)
            {
                QueueKey(key, true, true);
                held.mNextRepeat = now + mRepeatInterval;
            }
        }
    }
    {
        // Updated before the keys go out, so the controllers' own releases pass the filter.
        std::lock_guard<std::mutex> lock(mLock);
        mKeysHeldByPads.clear();
        for (const auto& held : mHeldKeys)
        {
            mKeysHeldByPads.insert(held.first);
        }
    }
    SendQueuedKeys();
}

bool GamepadInput::Repeats(int control)
{
    switch (control)
    {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
    case mStickLeft:
    case mStickRight:
    case mStickUp:
    case mStickDown:
        return true;
    default:
        return false;
    }
}

SDL_Scancode GamepadInput::KeyFor(int control, Layout layout, const Bindings& bindings)
{
    if (layout == Layout::Play)
    {
        switch (control)
        {
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        case mStickLeft:
            return static_cast<SDL_Scancode>(bindings.mLeft);
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        case mStickRight:
            return static_cast<SDL_Scancode>(bindings.mRight);
        case SDL_CONTROLLER_BUTTON_A:
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return static_cast<SDL_Scancode>(bindings.mJump);
        case SDL_CONTROLLER_BUTTON_X:
        case SDL_CONTROLLER_BUTTON_B:
            return static_cast<SDL_Scancode>(bindings.mFire);
        case SDL_CONTROLLER_BUTTON_BACK:
            return SDL_SCANCODE_ESCAPE;
        case SDL_CONTROLLER_BUTTON_START:
            return SDL_SCANCODE_PAUSE; // the keyboard's own pause key, which no one binds by accident
        default:
            return SDL_SCANCODE_UNKNOWN;
        }
    }
    if (layout == Layout::Menu)
    {
        switch (control)
        {
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
        case mStickUp:
            return SDL_SCANCODE_UP;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        case mStickDown:
            return SDL_SCANCODE_DOWN;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        case mStickLeft:
            return SDL_SCANCODE_LEFT;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        case mStickRight:
            return SDL_SCANCODE_RIGHT;
        case SDL_CONTROLLER_BUTTON_A:
        case SDL_CONTROLLER_BUTTON_START:
            return SDL_SCANCODE_RETURN;
        case SDL_CONTROLLER_BUTTON_B:
        case SDL_CONTROLLER_BUTTON_BACK:
            return SDL_SCANCODE_ESCAPE;
        default:
            return SDL_SCANCODE_UNKNOWN;
        }
    }
    return SDL_SCANCODE_UNKNOWN;
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

void GamepadInput::Close(SDL_JoystickID controller)
{
    // Whatever the controller held is let go, so an unplugged pad leaves no one walking.
    std::vector<int> held;
    for (const HeldControl& control : mHeldControls)
    {
        if (control.mController == controller)
        {
            held.push_back(control.mControl);
        }
    }
    for (int control : held)
    {
        Release(controller, control);
    }
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

void GamepadInput::Press(SDL_JoystickID controller, int control, Layout layout, const Bindings& bindings,
                         Uint64 now)
{
    if (mControllers.count(controller) == 0 || IsHeld(controller, control))
    {
        return;
    }
    // The key is chosen when the control goes down and released with it, even if the screen changed.
    const SDL_Scancode key = KeyFor(control, layout, bindings);
    mHeldControls.push_back({controller, control, key});
    if (key == SDL_SCANCODE_UNKNOWN)
    {
        return;
    }
    HeldKey& held = mHeldKeys[key];
    if (held.mHolders++ == 0)
    {
        QueueKey(key, true, false);
    }
    if (Repeats(control) && held.mDirections++ == 0)
    {
        held.mNextRepeat = now + mRepeatDelay;
    }
}

void GamepadInput::Release(SDL_JoystickID controller, int control)
{
    const auto found = FindHeld(controller, control);
    if (found == mHeldControls.end())
    {
        return;
    }
    const SDL_Scancode key = found->mKey;
    mHeldControls.erase(found);
    const auto held = mHeldKeys.find(key);
    if (held == mHeldKeys.end())
    {
        return;
    }
    if (Repeats(control))
    {
        --held->second.mDirections;
    }
    if (--held->second.mHolders == 0)
    {
        mHeldKeys.erase(held);
        // Still held on the keyboard, the key stays down until the keyboard lets go.
        if (SDL_GetKeyboardState(nullptr)[key] == 0)
        {
            QueueKey(key, false, false);
        }
    }
}

void GamepadInput::Stick(SDL_JoystickID controller, Uint8 axis, Sint16 value, Layout layout,
                         const Bindings& bindings, Uint64 now)
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
            Release(controller, control);
        }
    }
    if (pushed != 0)
    {
        Press(controller, pushed, layout, bindings, now);
    }
}

void GamepadInput::QueueKey(SDL_Scancode key, bool down, bool repeat)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = key;
    event.key.keysym.sym = SDL_GetKeyFromScancode(key);
    mToSend.push_back(event);
}

void GamepadInput::SendQueuedKeys()
{
    // In order, stopping at the first refusal: what SDL's full queue refuses waits for the next pass,
    // repeats excepted, since the next repeat stands in for a lost one. A key-up the filter drops is done.
    auto next = mToSend.begin();
    while (next != mToSend.end() && SDL_PushEvent(&*next) >= 0)
    {
        ++next;
    }
    mToSend.erase(mToSend.begin(), next);
    mToSend.erase(std::remove_if(mToSend.begin(), mToSend.end(),
                                 [](const SDL_Event& event) { return event.key.repeat != 0; }),
                  mToSend.end());
}
