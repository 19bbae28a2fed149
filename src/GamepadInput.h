// Game controllers play and navigate by standing in for the keyboard: their buttons and sticks become the
// key events every screen already handles, so a screen never needs to know a controller exists.
#pragma once

#include <SDL.h>

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

class GamepadInput
{
  public:
    // What the controls mean on the current screen. Muted while a key binding waits for a key: rebinding
    // is for the keyboard only, and a button must neither bind nor end the capture.
    enum class Layout
    {
        Play,
        Menu,
        Muted
    };

    // The game keys a controller plays with, as SDL scancodes.
    struct Bindings
    {
        int mLeft = SDL_SCANCODE_LEFT;
        int mRight = SDL_SCANCODE_RIGHT;
        int mJump = SDL_SCANCODE_UP;
        int mFire = SDL_SCANCODE_SPACE;
    };

    // The left stick's dead zone and the hysteresis below which a pushed direction lets go again.
    static constexpr Sint16 mStickPress = 16000;
    static constexpr Sint16 mStickRelease = 12000;
    // A held direction repeats its key like a held keyboard key: after a pause, then steadily (ms).
    static constexpr Uint64 mRepeatDelay = 400;
    static constexpr Uint64 mRepeatInterval = 100;

    GamepadInput();
    ~GamepadInput();
    GamepadInput(const GamepadInput&) = delete;
    GamepadInput& operator=(const GamepadInput&) = delete;

    // Starts SDL's controller support and opens every controller present; later ones open as they are
    // plugged in. False when the subsystem cannot start: the game then plays on with the keyboard alone.
    bool Start();

    // Turns the controller events gathered since the last call into key events at the end of SDL's queue,
    // and sends the repeats that are due at `now` (ms). Called once per pass, before the screen polls.
    // Key events SDL's full queue refused are sent again first, so no release is lost.
    void Update(Layout layout, const Bindings& bindings, Uint64 now);

    // Only directions repeat when held, as on consoles; every button (A, B, X, Start, Back) acts once per
    // press however long it is held.
    static bool Repeats(int control);

    // The key a control stands for on a screen of the given layout; SDL_SCANCODE_UNKNOWN for none.
    // Controls are the controller's buttons and the four directions of the left stick.
    static SDL_Scancode KeyFor(int control, Layout layout, const Bindings& bindings);
    static constexpr int mStickLeft = SDL_CONTROLLER_BUTTON_MAX;
    static constexpr int mStickRight = SDL_CONTROLLER_BUTTON_MAX + 1;
    static constexpr int mStickUp = SDL_CONTROLLER_BUTTON_MAX + 2;
    static constexpr int mStickDown = SDL_CONTROLLER_BUTTON_MAX + 3;

    std::size_t OpenControllers() const { return mControllers.size(); }

  private:
    struct ControllerCloser
    {
        void operator()(SDL_GameController* controller) const { SDL_GameControllerClose(controller); }
    };
    // One control held down on one controller, and the key it pressed when it went down.
    struct HeldControl
    {
        SDL_JoystickID mController;
        int mControl;
        SDL_Scancode mKey;
    };
    // A key held by one or more controls; released when the last of them lets go. It repeats while a
    // direction is among them.
    struct HeldKey
    {
        int mHolders = 0;
        int mDirections = 0;
        Uint64 mNextRepeat = 0;
    };

    // SDL's event filter, called on whichever thread queues an event.
    static int SDLCALL Filter(void* self, SDL_Event* event);
    void Open(int deviceIndex);
    void Close(SDL_JoystickID controller);
    void Press(SDL_JoystickID controller, int control, Layout layout, const Bindings& bindings, Uint64 now);
    void Release(SDL_JoystickID controller, int control);
    void Stick(SDL_JoystickID controller, Uint8 axis, Sint16 value, Layout layout, const Bindings& bindings,
               Uint64 now);
    std::vector<HeldControl>::const_iterator FindHeld(SDL_JoystickID controller, int control) const;
    bool IsHeld(SDL_JoystickID controller, int control) const;
    void QueueKey(SDL_Scancode key, bool down, bool repeat);
    void SendQueuedKeys();

    bool mStarted = false;
    // Shared with the filter, so guarded: the controller events gathered since the last update, and the keys
    // the controllers hold, whose release by the keyboard is kept from the screens. SDL calls the filter
    // under a lock of its own, so no SDL call is made while mLock is held.
    std::mutex mLock;
    std::vector<SDL_Event> mGathered;
    std::set<SDL_Scancode> mKeysHeldByPads;
    // Key events made this pass or refused by a full queue, sent in order at the end of an update.
    std::vector<SDL_Event> mToSend;
    std::map<SDL_JoystickID, std::unique_ptr<SDL_GameController, ControllerCloser>> mControllers;
    std::vector<HeldControl> mHeldControls;
    std::map<SDL_Scancode, HeldKey> mHeldKeys;
};
