// The play screen's input: the four game keys as flags (or a recorded input's), Escape, the pause, F12
// screenshots, the close request and the lost focus.
#include "states/PlayState.h"

#include "Game.h"
#include "entities/Player.h"
#include "graphics/Framework.h"
#include "input/Input.h"
#include "io/InputScript.h"
#include "platform/Platform.h"
#include "states/AssistState.h"
#include "states/Card.h"

#include <SDL_image.h>

#include <filesystem>
#include <string>
#include <utility>

void PlayState::HandleEvents(Game* game)
{
    // Events one by one, as the keyboard's presses, releases and repeats must be read.
    class Reader : public InputHandler
    {
      public:
        Reader(PlayState& play, Game* game) : mPlay(play), mGame(game) {}
        Next OnEvent(const SDL_Event& event) override
        {
            return mPlay.HandleEvent(mGame, event) ? Next::SkipActions : Next::Stop;
        }

      private:
        PlayState& mPlay;
        Game* mGame;
    };
    Reader reader(*this, game);
    game->mInput->Poll(reader);
    ApplyDevices(game);
}

bool PlayState::HandleEvent(Game* game, const SDL_Event& event)
{
    switch (event.type)
    {
    case SDL_QUIT:
        mQuitRequested = true;
        return true;
    case SDL_KEYDOWN:
        return HandleKeyDown(game, event.key);
    case SDL_KEYUP:
        // Releases during a card are dropped: the input was cleared when it opened.
        return IsCardUp() || HandleKeyUp(game, event.key);
    case SDL_WINDOWEVENT:
        // A player who switches windows, or away from the page's tab, does not come back to a suffocated
        // ship.
        if ((event.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
             (event.window.event == SDL_WINDOWEVENT_HIDDEN && Platform::HiddenMeansAway())) &&
            CanPause())
        {
            SetPaused(game, true);
        }
        return true;
    default:
        return true;
    }
}

bool PlayState::HandleKeyDown(Game* game, const SDL_KeyboardEvent& event)
{
    const SDL_Keysym& key = event.keysym;
    const bool repeat = event.repeat != 0;
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
        if (!repeat && mCard->Skip() && (KeyControls(game, key.scancode) & InputScript::Fire) && !mRaceSent &&
            !mFinishedRun.empty())
        {
            SendRaceFromCard(game);
            return true;
        }
        return HandleCardKey(repeat); // any key, Escape too, goes on to what follows the card
    }
    if (mStartCard && !repeat)
    {
        mStartCard.reset(); // and the key does what it does in play
    }
    if (key.scancode == SDL_SCANCODE_ESCAPE)
    {
        mFadeState = Fade::FadingOut; // with no end flag set the fade-out ends play as death does
        return true;
    }
    if (IsPauseKey(game, key.scancode))
    {
        if (!repeat)
        {
            TogglePause(game);
        }
        return true;
    }
    if (key.scancode == SDL_SCANCODE_RETURN && !repeat && !IsBound(game, key.scancode) && OpenAssist(game))
    {
        return false; // the assist screen reads what follows
    }
    // A recorded input steers alone: the keys and controllers only watch it.
    if (!mReplay.empty())
    {
        return true;
    }
    return PressGameKey(game, key.scancode, repeat);
}

bool PlayState::OpenAssist(Game* game)
{
    // The assist options are a key away while paused; play waits paused for the way back.
    if (!IsPaused() || game->mAssistState == nullptr)
    {
        return false;
    }
    game->mAssistState->Open(game, "Play");
    return true;
}

void PlayState::TogglePause(Game* game)
{
    if (mFadeState != Fade::FadingOut && (IsPaused() || (CanPause() && !IsEnding())))
    {
        SetPaused(game, !IsPaused());
    }
}

namespace
{
// The controllers and the touch controls, which steer through the actions; the keyboard steers through
// its bound keys, read event by event.
constexpr unsigned kSteeringDevices = Input::kAllDevices & ~Input::kKeyboard;
constexpr std::pair<unsigned, Action> kSteering[] = {{InputScript::Left, Action::Left},
                                                     {InputScript::Right, Action::Right},
                                                     {InputScript::Jump, Action::Jump},
                                                     {InputScript::Fire, Action::Fire}};

// The game controls whose bound key passes the test.
template <typename Test> unsigned BoundControls(const Game* game, Test test)
{
    const int bound[] = {game->mKeyLeft, game->mKeyRight, game->mKeyJump, game->mKeyFire};
    unsigned controls = 0;
    for (int i = 0; i < 4; ++i)
    {
        controls |= test(bound[i]) ? kSteering[i].first : 0;
    }
    return controls;
}

// The game controls whose action passes the test.
template <typename Test> unsigned ActionControls(Test test)
{
    unsigned controls = 0;
    for (const auto& [bit, action] : kSteering)
    {
        controls |= test(action) ? bit : 0;
    }
    return controls;
}
} // namespace

void PlayState::ApplyDevices(Game* game)
{
    const Input& input = *game->mInput;
    bool anyPressed = false;
    for (int index = 0; index < static_cast<int>(Action::Count); ++index)
    {
        anyPressed = anyPressed || input.Pressed(static_cast<Action>(index), kSteeringDevices);
    }
    if (IsCardUp())
    {
        if (input.Pressed(Action::Fire, kSteeringDevices) && mCard->Skip() && !mRaceSent &&
            !mFinishedRun.empty())
        {
            SendRaceFromCard(game);
        }
        else if (anyPressed)
        {
            HandleCardKey(false);
        }
        return;
    }
    if (mStartCard && anyPressed)
    {
        mStartCard.reset();
    }
    if (input.Pressed(Action::Back, kSteeringDevices))
    {
        mFadeState = Fade::FadingOut;
    }
    if (input.Pressed(Action::Pause, kSteeringDevices))
    {
        TogglePause(game);
    }
    if (input.Pressed(Action::Accept, kSteeringDevices) && OpenAssist(game))
    {
        return;
    }
    if (!mReplay.empty())
    {
        return;
    }
    const unsigned pressed =
        ActionControls([&](Action action) { return input.Pressed(action, kSteeringDevices); });
    if (pressed != 0 && !PressControls(pressed, false))
    {
        return;
    }
    const unsigned released =
        ActionControls([&](Action action) { return input.Released(action, kSteeringDevices); });
    if (released != 0)
    {
        // What the keyboard's bound keys still hold stays held.
        ReleaseControls(released & ~BoundControls(game, [&](int key) { return input.KeyHeld(key); }));
    }
}

unsigned PlayState::KeyControls(Game* game, int code)
{
    // Every binding that matches applies, so one key bound to several actions does them all.
    return BoundControls(game, [code](int key) { return key == code; });
}

bool PlayState::PressGameKey(Game* game, int code, bool repeat)
{
    return PressControls(KeyControls(game, code), repeat);
}

bool PlayState::PressControls(unsigned controls, bool repeat)
{
    if (const std::optional<bool> keepPolling = KeyBypassesPlayer())
    {
        return *keepPolling;
    }
    if (controls & InputScript::Left)
    {
        mMoveLeft = true;
    }
    if (controls & InputScript::Right)
    {
        mMoveRight = true;
    }
    // While paused the walking keys are followed, so that play resumes with the keys held then; a jump
    // or a shot is not kept for later.
    // The recording holds jump and fire from the presses that count, so that it plays back as it went.
    if ((controls & InputScript::Jump) && !repeat && !IsPaused())
    {
        mKeysDown |= InputScript::Jump;
        mDoJump = mDoJump || mPlayer->GetIsOnGround();
    }
    if ((controls & InputScript::Fire) && !IsPaused())
    {
        // Repeats count: a held fire key fires again once 10 updates have passed since the last shot.
        const bool fires = mPlayer->GetWeapon() && mFireTimer > 9;
        mDoFire = mDoFire || fires;
        if (repeat && fires && !mRecording.empty())
        {
            // A recorded input has no repeats: it lets go for the update before and presses again.
            mRecording.back() &= ~InputScript::Fire;
        }
        if (!repeat || fires)
        {
            mKeysDown |= InputScript::Fire;
        }
    }
    return true;
}

bool PlayState::HandleKeyUp(Game* game, const SDL_KeyboardEvent& event)
{
    if (!mReplay.empty())
    {
        return true;
    }
    // A control a controller or the touch screen still holds stays held.
    const unsigned devices =
        ActionControls([game](Action action) { return game->mInput->Held(action, kSteeringDevices); });
    return ReleaseControls(KeyControls(game, event.keysym.scancode) & ~devices);
}

bool PlayState::ReleaseControls(unsigned controls)
{
    if (const std::optional<bool> keepPolling = KeyBypassesPlayer())
    {
        return *keepPolling;
    }
    if (controls & InputScript::Left)
    {
        mMoveLeft = false;
    }
    if (controls & InputScript::Right)
    {
        mMoveRight = false;
    }
    if (controls & InputScript::Jump)
    {
        mDoJump = false;
        mKeysDown &= ~InputScript::Jump;
    }
    if (controls & InputScript::Fire)
    {
        mDoFire = false;
        mKeysDown &= ~InputScript::Fire;
    }
    return true;
}

void PlayState::StepReplay(Game* game)
{
    // Past its end the input holds nothing (play is ending then).
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
            steering = ReleaseControls(KeyControls(game, code));
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
