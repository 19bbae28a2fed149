// Key and close events pushed into SDL's queue, and held keys turned into presses and releases.
#include "KeyInput.h"

#include "Game.h"

#include <stdexcept>
#include <string>

namespace test
{
namespace
{
void Push(SDL_Event& event, const char* what)
{
    if (SDL_PushEvent(&event) != 1)
    {
        throw std::runtime_error(std::string("test input: cannot push ") + what + ": " + SDL_GetError());
    }
}

void PushKey(Uint32 type, SDL_Scancode key, bool repeat)
{
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = key;
    event.key.keysym.sym = SDL_GetKeyFromScancode(key);
    Push(event, "a key");
}
} // namespace

void PushKeyDown(SDL_Scancode key, bool repeat)
{
    PushKey(SDL_KEYDOWN, key, repeat);
}

void PushKeyUp(SDL_Scancode key)
{
    PushKey(SDL_KEYUP, key, false);
}

void PushQuit()
{
    SDL_Event event{};
    event.type = SDL_QUIT;
    Push(event, "a close request");
}

void KeyInput::Hold(unsigned keys)
{
    const std::pair<unsigned, int> bindings[] = {
        {kLeft, mGame.mKeyLeft}, {kRight, mGame.mKeyRight}, {kJump, mGame.mKeyJump}, {kFire, mGame.mKeyFire}};
    for (const auto& [bit, scancode] : bindings)
    {
        const SDL_Scancode key = static_cast<SDL_Scancode>(scancode);
        if ((keys & bit) && !(mHeld & bit))
        {
            PushKeyDown(key);
        }
        else if (!(keys & bit) && (mHeld & bit))
        {
            PushKeyUp(key);
        }
    }
    mHeld = keys;
}
} // namespace test
