// Playing with a controller: plugged in during play, walking, the stick's dead zone, jumping, firing,
// Start to pause, Back to the menu, unplugging while a direction is held, keys no device may lose, and the
// touch controls.
#include "PlayTest.h"

#include "VirtualPad.h"
#include "input/Input.h"

#include <memory>

class PlayGamepad : public PlayTest
{
  protected:
    // Play among every screen of the game, the assist options included, as a pad meets them.
    void StartPlaying()
    {
        mAllScreens = true;
        BeginPlaying(Level("room", "Player 1 5 11 p\n"));
        ASSERT_TRUE(TickUntilGrounded());
        ASSERT_TRUE(test::StartControllers(*G()));
    }
    // One pass of event handling as the main loop runs it.
    void Pass() { G()->HandleEvents(); }
};

TEST_F(PlayGamepad, PadsPluggedInDuringPlayWalkJumpAndFire)
{
    StartPlaying();
    const double x = Pl().GetX();
    auto pad = std::make_unique<test::VirtualPad>();
    test::VirtualPad second;
    Pass();
    EXPECT_EQ(2u, G()->mInput->OpenControllers());
    H().Tick();
    EXPECT_EQ(x, Pl().GetX()) << "plugging in moves nothing";

    pad->Press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    Pass();
    H().Tick();
    EXPECT_EQ(x + 2, Pl().GetX());
    pad->Release(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    Pass();
    H().Tick();
    EXPECT_EQ(x + 2, Pl().GetX());

    second.Press(SDL_CONTROLLER_BUTTON_A);
    Pass();
    EXPECT_TRUE(P().mDoJump) << "the second pad plays too";
    H().Tick();
    EXPECT_EQ(Jumping, Pl().GetState());
    second.Release(SDL_CONTROLLER_BUTTON_A);
    ASSERT_TRUE(TickUntilGrounded());

    Pl().SetWeapon(true);
    H().Tick(10);
    for (SDL_GameControllerButton fire : {SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_B})
    {
        pad->Press(fire);
        Pass();
        EXPECT_TRUE(P().mDoFire) << "button " << fire;
        H().Tick(12); // the shot, then the wait before the next
        pad->Release(fire);
        Pass();
    }
}

TEST_F(PlayGamepad, StickWalksOnlyPastItsDeadZoneAndUnpluggingLetsGo)
{
    StartPlaying();
    test::VirtualPad pad;
    Pass();

    pad.Stick(SDL_CONTROLLER_AXIS_LEFTX, 8000);
    Pass();
    EXPECT_FALSE(P().mMoveRight) << "a resting stick drifts inside the dead zone";
    pad.Stick(SDL_CONTROLLER_AXIS_LEFTX, 30000);
    Pass();
    EXPECT_TRUE(P().mMoveRight);
    pad.Stick(SDL_CONTROLLER_AXIS_LEFTX, 14000);
    Pass();
    EXPECT_TRUE(P().mMoveRight) << "easing off near the edge keeps walking";
    pad.Stick(SDL_CONTROLLER_AXIS_LEFTX, -30000);
    Pass();
    EXPECT_TRUE(P().mMoveLeft);
    EXPECT_FALSE(P().mMoveRight);

    pad.Unplug();
    Pass();
    EXPECT_EQ(0u, G()->mInput->OpenControllers());
    EXPECT_FALSE(P().mMoveLeft) << "an unplugged pad leaves no one walking";
    const double x = Pl().GetX();
    H().Tick();
    EXPECT_EQ(x, Pl().GetX());
}

TEST_F(PlayGamepad, APadPresentAtStartUpIsOpenedStartPausesAndResumesAOpensAssistBackLeaves)
{
    test::VirtualPad pad;
    StartPlaying();
    EXPECT_EQ(1u, G()->mInput->OpenControllers());
    Pass();
    EXPECT_EQ(1u, G()->mInput->OpenControllers()) << "its announcement does not open it twice";
    const Assist chosen = G()->mAssist;
    for (const bool paused : {true, false, true})
    {
        pad.Tap(SDL_CONTROLLER_BUTTON_START, *G());
        H().Tick(10);
        EXPECT_EQ(paused, P().IsPaused());
        EXPECT_EQ("Play", H().CurrentState()) << "Start never opens the assist options";
    }
    EXPECT_EQ(chosen.mSpeed, G()->mAssist.mSpeed);
    pad.Tap(SDL_CONTROLLER_BUTTON_A, *G());
    EXPECT_EQ("Assist", H().CurrentState()) << "A on the pause card";
    H().Tick(40);
    pad.Tap(SDL_CONTROLLER_BUTTON_BACK, *G());
    H().Tick(40);
    ASSERT_EQ("Play", H().CurrentState());
    EXPECT_TRUE(P().IsPaused()) << "play waits paused for the way back";
    pad.Tap(SDL_CONTROLLER_BUTTON_START, *G());
    EXPECT_FALSE(P().IsPaused());

    pad.Press(SDL_CONTROLLER_BUTTON_BACK);
    Pass();
    H().Tick(40);
    EXPECT_EQ("MainMenu", H().CurrentState());
}

TEST_F(PlayGamepad, AKeyIsUpOnlyWhenNoDeviceHoldsItAndARefusedReleaseIsSentAgain)
{
    StartPlaying();
    test::VirtualPad pad;
    Pass();
    pad.Press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    Pass();
    H().PushKeyDown(SDL_SCANCODE_RIGHT);
    H().PushKeyUp(SDL_SCANCODE_RIGHT);
    Pass();
    EXPECT_TRUE(P().mMoveRight) << "the pad still holds Right";
    pad.Release(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    Pass();
    EXPECT_FALSE(P().mMoveRight);

    // With SDL's queue full the release cannot go out in its pass; it goes out in the next.
    pad.Press(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    Pass();
    SDL_Event filler{};
    filler.type = SDL_USEREVENT;
    for (int pushed = 0; pushed < 100000 && SDL_PushEvent(&filler) == 1; ++pushed)
    {
    }
    pad.Release(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    Pass();
    ASSERT_TRUE(P().mMoveLeft);
    Pass();
    EXPECT_FALSE(P().mMoveLeft);
}

TEST_F(PlayGamepad, TouchWalksAndJumpsWithTwoFingersOutlastsAKeyUpAndBackLeaves)
{
    BeginPlaying(Level("room", "Player 1 5 11 p\n"));
    ASSERT_TRUE(TickUntilGrounded());
    const double x = Pl().GetX();
    test::Touch(Action::Right, true);
    Pass();
    H().Tick();
    test::Touch(Action::Jump, true);
    Pass();
    H().Tick();
    EXPECT_EQ(Jumping, Pl().GetState()) << "the second finger jumps";
    EXPECT_EQ(x + 4, Pl().GetX()) << "while the first still walks";

    H().PushKeyDown(SDL_SCANCODE_RIGHT);
    H().PushKeyUp(SDL_SCANCODE_RIGHT);
    Pass();
    EXPECT_TRUE(P().mMoveRight) << "the finger still holds Right";
    test::Touch(Action::Right, false);
    test::Touch(Action::Jump, false);
    Pass();
    EXPECT_FALSE(P().mMoveRight);

    test::Touch(Action::Back, true);
    Pass();
    H().Tick(40);
    EXPECT_EQ("MainMenu", H().CurrentState());
}
