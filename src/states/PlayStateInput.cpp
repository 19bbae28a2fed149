// The play screen's input: the four game keys as flags (or a recorded input's), Escape, the pause, F12
// screenshots, the close request and the lost focus.
#include "states/PlayState.h"

#include "Game.h"
#include "Platform.h"
#include "entities/Player.h"
#include "graphics/Framework.h"
#include "io/InputScript.h"

#include <SDL_image.h>

#include <filesystem>
#include <string>
#include <utility>

void PlayState::HandleEvents(Game* game)
{
    while (SDL_PollEvent(&mEvent))
    {
        bool keepPolling = true;
        switch (mEvent.type)
        {
        case SDL_QUIT:
            mQuitRequested = true;
            break;
        case SDL_KEYDOWN:
            keepPolling = HandleKeyDown(game);
            break;
        case SDL_KEYUP:
            // Releases during a card are dropped: the input was cleared when it opened.
            keepPolling = IsCardUp() || HandleKeyUp(game);
            break;
        case SDL_WINDOWEVENT:
            // A player who switches windows, or away from the page's tab, does not come back to a
            // suffocated ship.
            if ((mEvent.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
                 mEvent.window.event == SDL_WINDOWEVENT_HIDDEN) &&
                CanPause())
            {
                SetPaused(game, true);
            }
            break;
        default:
            break;
        }
        if (!keepPolling)
        {
            return; // the remaining events wait for the next pass
        }
    }
}

bool PlayState::HandleKeyDown(Game* game)
{
    const SDL_Keysym& key = mEvent.key.keysym;
    const bool repeat = mEvent.key.repeat != 0;
    if (key.scancode == SDL_SCANCODE_F12)
    {
        if (!repeat)
        {
            TakeScreenshot(game);
        }
        return true;
    }
    if (IsCardUp())
    {
        return HandleCardKey(repeat); // any key, Escape too, goes on to what follows the card
    }
    if (key.scancode == SDL_SCANCODE_ESCAPE)
    {
        mFadeState = Fade::FadingOut; // with no end flag set the fade-out ends play as death does
        return true;
    }
    if (IsPauseKey(game, key.scancode))
    {
        if (!repeat && mFadeState != Fade::FadingOut && (IsPaused() || (CanPause() && !IsEnding())))
        {
            SetPaused(game, !IsPaused());
        }
        return true;
    }
    // A recorded input steers alone: the keys (and controllers, which press keys) only watch it.
    if (!mReplay.empty())
    {
        return true;
    }
    return PressGameKey(game, key.scancode, repeat);
}

bool PlayState::PressGameKey(Game* game, int code, bool repeat)
{
    if (const std::optional<bool> keepPolling = KeyBypassesPlayer())
    {
        return *keepPolling;
    }
    // Every binding that matches applies, so one key bound to several actions does them all.
    if (code == game->mKeyLeft)
    {
        mMoveLeft = true;
    }
    if (code == game->mKeyRight)
    {
        mMoveRight = true;
    }
    // While paused the walking keys are followed, so that play resumes with the keys held then; a jump
    // or a shot is not kept for later.
    if (code == game->mKeyJump && mPlayer->GetIsOnGround() && !repeat && !IsPaused())
    {
        mDoJump = true;
    }
    // Repeats count: a held fire key fires again once 10 updates have passed since the last shot.
    if (code == game->mKeyFire && mPlayer->GetWeapon() && mFireTimer > 9 && !IsPaused())
    {
        mDoFire = true;
    }
    return true;
}

bool PlayState::HandleKeyUp(Game* game)
{
    return mReplay.empty() ? ReleaseGameKey(game, mEvent.key.keysym.scancode) : true;
}

bool PlayState::ReleaseGameKey(Game* game, int code)
{
    if (const std::optional<bool> keepPolling = KeyBypassesPlayer())
    {
        return *keepPolling;
    }
    if (code == game->mKeyLeft)
    {
        mMoveLeft = false;
    }
    if (code == game->mKeyRight)
    {
        mMoveRight = false;
    }
    if (code == game->mKeyJump)
    {
        mDoJump = false;
    }
    if (code == game->mKeyFire)
    {
        mDoFire = false;
    }
    return true;
}

void PlayState::StepReplay(Game* game)
{
    // Past its end the input holds nothing, and the player stands until the air runs out or Escape.
    const unsigned keys = mReplayUpdate < mReplay.size() ? mReplay[mReplayUpdate++] : 0;
    // In the order the recording tools press and release them, so an input plays as it was recorded.
    const std::pair<unsigned, int> bindings[] = {{InputScript::Left, game->mKeyLeft},
                                                 {InputScript::Right, game->mKeyRight},
                                                 {InputScript::Jump, game->mKeyJump},
                                                 {InputScript::Fire, game->mKeyFire}};
    bool steering = true;
    for (const auto& [bit, code] : bindings)
    {
        if (steering && (keys & bit) && !(mReplayHeld & bit))
        {
            steering = PressGameKey(game, code, false);
        }
        else if (steering && !(keys & bit) && (mReplayHeld & bit))
        {
            steering = ReleaseGameKey(game, code);
        }
    }
    mReplayHeld = keys;
}

// Keys steer the player only while a level runs and the player lives. Otherwise this is the handler's
// answer: stop polling while play is ending (the fade-out takes over), or ignore the key.
std::optional<bool> PlayState::KeyBypassesPlayer()
{
    if (IsEnding())
    {
        mFadeState = Fade::FadingOut;
        return false;
    }
    if (!mLevelReady)
    {
        return true;
    }
    if (!mPlayer->GetIsAlive())
    {
        ClearInput();
        return true;
    }
    return std::nullopt;
}

void PlayState::TakeScreenshot(Game* game)
{
    // Shared by every game of one run, so screenshots of later games continue the numbering.
    static unsigned long currGrab = 0;
    std::string name;
    std::error_code error;
    // Never overwrites: numbers already used by files in the folder (from earlier runs) are skipped.
    do
    {
        name = "kesv" + std::to_string(currGrab) + ".png";
        ++currGrab;
    } while (std::filesystem::exists(name, error));
    if (game->mFramework && game->mFramework->mSurface)
    {
        // A shot that cannot be written is lost.
        if (IMG_SavePNG(game->mFramework->mSurface, name.c_str()) == 0)
        {
            Platform::ScreenshotWritten(name);
        }
    }
}
