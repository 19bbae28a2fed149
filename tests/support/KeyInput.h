// The one keyboard of tests, tools and benchmarks: single key events and a close request, and held keys
// that become presses and releases with the game's key bindings.
#pragma once

#include "io/InputScript.h"

#include <SDL.h>

class Game;

namespace test
{
// The keys held during one update, as bits: the recorded inputs' own.
enum Keys : unsigned
{
    kLeft = InputScript::Left,
    kRight = InputScript::Right,
    kJump = InputScript::Jump,
    kFire = InputScript::Fire
};

// Each push throws std::runtime_error when SDL's event queue refuses the event.
void PushKeyDown(SDL_Scancode key, bool repeat = false);
void PushKeyUp(SDL_Scancode key);
void PushQuit();

class KeyInput
{
  public:
    explicit KeyInput(const Game& game) : mGame(game) {}

    // Pushes a press for each key held now but not before and a release for each key let go, with the
    // bindings the game has at that moment. A key held on sends no repeats.
    void Hold(unsigned keys);
    // Forgets the held keys without sending anything, for when the event queue was emptied.
    void Forget() { mHeld = 0; }

  private:
    const Game& mGame;
    unsigned mHeld = 0;
};
} // namespace test
