// The input layer: merges what each device holds into actions, with the pass's edges and repeats.
#include "input/Input.h"

#include "input/GamepadInput.h"
#include "input/KeyboardInput.h"
#include "input/TouchInput.h"

Input* Input::sRunning = nullptr;

Input::Input(const int& keyLeft, const int& keyRight, const int& keyJump, const int& keyFire)
    : mKeyboard(std::make_unique<KeyboardInput>(keyLeft, keyRight, keyJump, keyFire)),
      mTouch(std::make_unique<TouchInput>())
{
    sRunning = this;
}

Input::~Input()
{
    if (sRunning == this)
    {
        sRunning = nullptr;
    }
}

void Input::Answer(const std::string& text, bool kept)
{
    mAnswer = text;
    mAnswerKept = kept;
}

bool Input::TakeAnswer(std::string& text, bool& kept)
{
    if (!mAnswer)
    {
        return false;
    }
    text = *mAnswer;
    kept = mAnswerKept;
    mAnswer.reset();
    return true;
}

bool Input::Repeats(Action action)
{
    return action == Action::Left || action == Action::Right || action == Action::Up ||
           action == Action::Down;
}

int Input::HeldCount(Action action, unsigned devices) const
{
    int count = 0;
    for (unsigned device = 0; device < mHolds.size(); ++device)
    {
        if (devices & (1u << device))
        {
            count += mHolds[device][Index(action)];
        }
    }
    return count;
}

bool Input::Held(Action action, unsigned devices) const
{
    return HeldCount(action, devices) > 0;
}

bool Input::Pressed(Action action, unsigned devices) const
{
    return mPressed[devices & kAllDevices][Index(action)];
}

bool Input::Released(Action action, unsigned devices) const
{
    return mReleased[devices & kAllDevices][Index(action)] && !Held(action, devices);
}

int Input::Triggered(Action action) const
{
    return mTriggered[Index(action)];
}

bool Input::KeyHeld(int scancode) const
{
    return mKeyboard->IsDown(scancode);
}

void Input::Hold(Device device, Action action, bool down)
{
    const unsigned bit = 1u << static_cast<unsigned>(device);
    int& holds = mHolds[static_cast<int>(device)][Index(action)];
    if (!down && holds == 0)
    {
        return;
    }
    // Every set of devices has its own edges: an action goes down for a set when the set's first holder
    // takes it, and up when its last lets go.
    for (unsigned mask = 1; mask < kMasks; ++mask)
    {
        if ((mask & bit) != 0 && HeldCount(action, mask) == (down ? 0 : 1) && (down || holds == 1))
        {
            (down ? mPressed : mReleased)[mask][Index(action)] = true;
        }
    }
    const bool wasHeld = Held(action);
    holds += down ? 1 : -1;
    if (!down)
    {
        return;
    }
    mLastDevice = device;
    if (device != Device::Keyboard && holds == 1)
    {
        mNextRepeat[Index(action)] = mNow + mRepeatDelay;
    }
    if (!wasHeld)
    {
        Trigger(action, false);
    }
}

void Input::Repeat(Action action)
{
    if (Repeats(action))
    {
        Trigger(action, true);
    }
}

void Input::Trigger(Action action, bool repeat)
{
    ++mTriggered[Index(action)];
    mSteps.push_back({action, repeat});
}

void Input::Touch(int action, bool held)
{
    mTouch->Queue(action, held);
}

bool Input::StartControllers()
{
    mGamepads = std::make_unique<GamepadInput>();
    if (!mGamepads->Start())
    {
        mGamepads.reset();
        return false;
    }
    return true;
}

void Input::StopControllers()
{
    mGamepads.reset();
}

std::size_t Input::OpenControllers() const
{
    return mGamepads ? mGamepads->OpenControllers() : 0;
}

void Input::BeginPass(Uint64 now)
{
    mNow = now;
    for (auto& edges : mPressed)
    {
        edges.fill(false);
    }
    for (auto& edges : mReleased)
    {
        edges.fill(false);
    }
    mTriggered.fill(0);
    mSteps.clear();
    mTouch->Apply(*this);
    if (mGamepads)
    {
        mGamepads->Sync(*this);
    }
    // Controllers and touch have no repeat of their own: their held directions repeat here.
    for (int index = 0; index < kActions; ++index)
    {
        const Action action = static_cast<Action>(index);
        if (Repeats(action) && Held(action, kControllers | kTouch) && now >= mNextRepeat[index])
        {
            Trigger(action, true);
            mNextRepeat[index] = now + mRepeatInterval;
        }
    }
}

void Input::Route(const SDL_Event& event)
{
    switch (event.type)
    {
    case SDL_KEYDOWN:
        mLastDevice = Device::Keyboard; // any key, an action's or not
        [[fallthrough]];
    case SDL_KEYUP:
        mKeyboard->HandleEvent(event, *this);
        break;
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION:
        if (mGamepads)
        {
            mGamepads->HandleEvent(event, *this);
        }
        break;
    default:
        break;
    }
}

bool Input::HandSteps(InputHandler& handler) const
{
    for (const Step& step : mSteps)
    {
        if (!handler.OnAction(step.mAction, step.mRepeat))
        {
            return false;
        }
    }
    return true;
}

bool Input::Poll(InputHandler& handler, Uint64 now)
{
    BeginPass(now);
    if (!HandSteps(handler))
    {
        return false;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event))
    {
        mSteps.clear();
        Route(event);
        const InputHandler::Next next = handler.OnEvent(event);
        if (next == InputHandler::Next::Stop)
        {
            return false;
        }
        if (next == InputHandler::Next::SkipActions)
        {
            continue;
        }
        if (!HandSteps(handler))
        {
            return false;
        }
    }
    return true;
}
