// A Game put together piece by piece for tests, tools and benchmarks: its services built as start-up
// builds them, screens registered by hand, and the main loop's steps taken one at a time.
#pragma once

#include "Game.h"
#include "KeyInput.h"

#include <SDL.h>

#include <string>
#include <vector>

class State;

namespace test
{
class GameRig
{
  public:
    GameRig() = default;
    ~GameRig();
    GameRig(const GameRig&) = delete;
    GameRig& operator=(const GameRig&) = delete;

    // Builds a window (never fullscreen), the 320x240 screen, the font "font.png", the audio with the
    // settings record's choices and volumes, and an empty screen manager, reading data/ under the working
    // directory, then empties the event queue. With loadAudio the sound and music lists are loaded; music
    // that cannot be decoded is replaced by a ".wav" file of the same name when there is one (the mixer
    // decodes a ".ogg" name only as Ogg Vorbis). Throws std::runtime_error when there is no window or
    // screen; the other services report through the checks below, as some fixtures go without them.
    void Start(bool loadAudio = true);
    bool FontLoaded() const { return mFontLoaded; }
    // False without a sound device: the game then runs silently, as the real one does.
    bool AudioStarted() const { return mAudioStarted; }
    bool AudioLoaded() const { return mAudioLoaded; }

    // Idle stand-ins under the names of the game's five screens that are not registered yet.
    void AddIdleScreens();
    void Show(const std::string& name);
    // The name under which the current screen is registered, or "" when none is current.
    std::string CurrentState() const;

    // The main loop's steps, each given to the screen current at that moment.
    void HandleEvents();
    void Tick(int n = 1);
    // Draws one frame the way the main loop does, before enlarging: screen cleared to black, then Render.
    void RenderFrame();

    KeyInput& Keys() { return mKeys; }
    void PushKeyDown(SDL_Scancode key, bool repeat = false) { test::PushKeyDown(key, repeat); }
    void PushKeyUp(SDL_Scancode key) { test::PushKeyUp(key); }
    void PushQuit() { test::PushQuit(); }
    // A key press handled at once by the current screen.
    void PressKey(SDL_Scancode key)
    {
        PushKeyDown(key);
        HandleEvents();
    }

    // Names of the sounds still playing, in channel order: after QuietSounds, the order they started in.
    std::vector<std::string> PlayingSounds() const;
    void QuietSounds();
    // Colour of a pixel of the 320x240 screen.
    SDL_Color Pixel(int x, int y) const;
    SDL_Surface* Screen() const;

    Game mGame;

  private:
    KeyInput mKeys{mGame};
    bool mFontLoaded = false;
    bool mAudioStarted = false;
    bool mAudioLoaded = false;
};
} // namespace test
