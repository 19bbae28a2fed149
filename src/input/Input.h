// The one input layer: keyboard, controllers and touch each hold actions, and the screens read them merged.
#pragma once

#include "input/Action.h"
#include "input/InputHandler.h"

#include <SDL.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class GamepadInput;
class KeyboardInput;
class TouchInput;

class Input
{
  public:
    // The devices as bits, for the few readers that take some devices only (play reads the keyboard's
    // bound keys itself).
    enum Devices : unsigned
    {
        kKeyboard = 1,
        kControllers = 2,
        kTouch = 4,
        kAllDevices = 7
    };
    enum class Device
    {
        Keyboard,
        Controllers,
        Touch
    };

    // A held direction repeats after this pause, then steadily (ms); buttons never repeat.
    static constexpr Uint64 mRepeatDelay = 400;
    static constexpr Uint64 mRepeatInterval = 100;

    // The settings record's game keys, read at each key press: a key bound to play (P, say) does not pause.
    Input(const int& keyLeft, const int& keyRight, const int& keyJump, const int& keyFire);
    ~Input();
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;

    // The state after the last pass. Held: some device holds it now. Pressed: it went down during the pass.
    // Released: it went up during the pass and nothing holds it now. Triggered: how often a menu acts on
    // it this pass (presses, and the repeats of a held direction).
    bool Held(Action action, unsigned devices = kAllDevices) const;
    bool Pressed(Action action, unsigned devices = kAllDevices) const;
    bool Released(Action action, unsigned devices = kAllDevices) const;
    int Triggered(Action action) const;
    // Whether the keyboard holds this key (an SDL scancode) down.
    bool KeyHeld(int scancode) const;
    // The last device the player pressed something on (the keyboard until anything is pressed).
    Device LastDevice() const { return mLastDevice; }
    bool UsingTouch() const { return mLastDevice == Device::Touch; }

    // One pass: the touch changes made since the last, the repeats due at `now` (ms), then every queued
    // SDL event, each seen by its device and then by the handler. False when the handler stopped it.
    bool Poll(InputHandler& handler, Uint64 now);
    bool Poll(InputHandler& handler) { return Poll(handler, mClock()); }
    // The clock repeats are timed by (ms); tests move it on.
    Uint64 (*mClock)() = &SDL_GetTicks64;

    // Starts the controllers; false when SDL cannot, and the game plays on without them.
    bool StartControllers();
    // Closes them, before SDL shuts down.
    void StopControllers();
    std::size_t OpenControllers() const;
    // The touch controls' entry: held or let go, taken at the next pass.
    void Touch(int action, bool held);
    // The page's text field was answered: kept (the text) or cancelled. The screen that asked takes it once
    // with TakeAnswer, which is false while there is none.
    void Answer(const std::string& text, bool kept);
    bool TakeAnswer(std::string& text, bool& kept);
    // The input of the running game, for the browser page's entry; null when there is none.
    static Input* Running() { return sRunning; }

    // For the devices: one control more (or one less) of the device holds the action; a held key's own
    // repeat, which only the directions take (any other action, Action::Count too, is ignored).
    void Hold(Device device, Action action, bool down);
    void Repeat(Action action);

  private:
    static constexpr int kActions = static_cast<int>(Action::Count);
    static constexpr int kDeviceCount = 3;
    static constexpr int kMasks = kAllDevices + 1;
    static int Index(Action action) { return static_cast<int>(action); }
    static bool Repeats(Action action);
    int HeldCount(Action action, unsigned devices) const;
    void Trigger(Action action, bool repeat);
    void BeginPass(Uint64 now);
    void Route(const SDL_Event& event);
    // Gives the handler each step in order; false as soon as it stops.
    bool HandSteps(InputHandler& handler) const;

    static Input* sRunning;
    std::unique_ptr<KeyboardInput> mKeyboard;
    std::unique_ptr<GamepadInput> mGamepads; // null until started
    std::unique_ptr<TouchInput> mTouch;

    // Controls holding each action, per device.
    std::array<std::array<int, kActions>, kDeviceCount> mHolds{};
    // This pass's edges, for every set of devices: went down, went up.
    std::array<std::array<bool, kActions>, kMasks> mPressed{};
    std::array<std::array<bool, kActions>, kMasks> mReleased{};
    std::array<int, kActions> mTriggered{};
    // When each held direction repeats next, for the devices that have no repeat of their own.
    std::array<Uint64, kActions> mNextRepeat{};
    Uint64 mNow = 0;
    Device mLastDevice = Device::Keyboard;
    std::optional<std::string> mAnswer; // the page's text field's answer not yet taken
    bool mAnswerKept = false;
    // The actions the event being routed triggered, handed to the screen after the event.
    struct Step
    {
        Action mAction;
        bool mRepeat;
    };
    std::vector<Step> mSteps;
};
