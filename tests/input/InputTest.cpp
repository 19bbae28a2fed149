// The input layer: devices merged into actions, the edges of a pass, repeats, and what a screen's handler
// sees in order.
#include "KeyInput.h"
#include "VirtualPad.h"

#include "input/Input.h"
#include "input/TouchInput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// Records what the poll loop hands a screen; stops or skips as told.
class Recorder : public InputHandler
{
  public:
    Next OnEvent(const SDL_Event& event) override
    {
        return event.type == SDL_KEYDOWN && event.key.keysym.scancode == mStopAt ? Next::Stop : mAfterEvent;
    }
    bool OnAction(Action action, bool repeat) override
    {
        mSeen.push_back(std::to_string(static_cast<int>(action)) + (repeat ? "r" : ""));
        return true;
    }
    std::vector<std::string> mSeen;
    Next mAfterEvent = Next::Actions;
    SDL_Scancode mStopAt = SDL_SCANCODE_UNKNOWN;
};

class InputLayer : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_EVENTS));
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override
    {
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        SDL_QuitSubSystem(SDL_INIT_EVENTS);
    }
    void Pass(Uint64 now = 0) { mInput.Poll(mSeen, now); }

    int mLeft = SDL_SCANCODE_LEFT, mRight = SDL_SCANCODE_RIGHT, mJump = SDL_SCANCODE_UP,
        mFire = SDL_SCANCODE_SPACE;
    Input mInput{mLeft, mRight, mJump, mFire};
    Recorder mSeen;
};

// One device's change before a pass: the keyboard's Down arrow, or the touch screen's Down.
enum Change
{
    None,
    KeyDown,
    KeyUp,
    TouchDown,
    TouchUp,
    KeyTap // down and up again within one pass
};

TEST_F(InputLayer, AnActionIsHeldWhileAnyDeviceHoldsItAndReleasedWhenTheLastLetsGo)
{
    const struct
    {
        std::vector<Change> changes;
        bool held, pressed, released;
    } passes[] = {
        {{KeyDown}, true, true, false},
        {{None}, true, false, false},
        {{TouchDown}, true, false, false}, // already down: no second press
        {{KeyUp}, true, false, false},     // the touch screen still holds it
        {{TouchUp}, false, false, true},
        {{KeyTap}, false, true, true}, // a tap inside one pass is both
        {{TouchDown, KeyDown, TouchUp}, true, true, false},
        {{KeyUp}, false, false, true},
    };
    for (const auto& pass : passes)
    {
        for (Change change : pass.changes)
        {
            if (change == KeyDown || change == KeyTap)
            {
                test::PushKeyDown(SDL_SCANCODE_DOWN);
            }
            if (change == KeyUp || change == KeyTap)
            {
                test::PushKeyUp(SDL_SCANCODE_DOWN);
            }
            if (change == TouchDown || change == TouchUp)
            {
                test::Touch(Action::Down, change == TouchDown);
            }
        }
        Pass();
        const int index = static_cast<int>(&pass - passes);
        EXPECT_EQ(pass.held, mInput.Held(Action::Down)) << "pass " << index;
        EXPECT_EQ(pass.pressed, mInput.Pressed(Action::Down)) << "pass " << index;
        EXPECT_EQ(pass.released, mInput.Released(Action::Down)) << "pass " << index;
    }
}

TEST_F(InputLayer, EachSetOfDevicesHasItsOwnEdges)
{
    test::PushKeyDown(SDL_SCANCODE_LEFT);
    Pass();
    test::Touch(Action::Left, true);
    Pass();
    const unsigned touch = Input::kTouch;
    EXPECT_FALSE(mInput.Pressed(Action::Left)) << "the keyboard already held it";
    EXPECT_TRUE(mInput.Pressed(Action::Left, touch));
    test::PushKeyUp(SDL_SCANCODE_LEFT);
    Pass();
    EXPECT_FALSE(mInput.Released(Action::Left));
    EXPECT_FALSE(mInput.Released(Action::Left, touch));
    EXPECT_FALSE(mInput.Held(Action::Left, Input::kKeyboard));
    EXPECT_TRUE(mInput.Held(Action::Left, touch));
}

TEST_F(InputLayer, OnlyDirectionsRepeatAfterADelayThenSteadily)
{
    test::Touch(Action::Up, true);
    test::Touch(Action::Jump, true);
    const struct
    {
        Uint64 now;
        int up, jump;
    } passes[] = {{1000, 1, 1}, {1399, 0, 0}, {1400, 1, 0}, {1450, 0, 0}, {1500, 1, 0}, {5000, 1, 0}};
    for (const auto& pass : passes)
    {
        Pass(pass.now);
        EXPECT_EQ(pass.up, mInput.Triggered(Action::Up)) << pass.now;
        EXPECT_EQ(pass.jump, mInput.Triggered(Action::Jump)) << pass.now;
    }
    test::Touch(Action::Up, false);
    test::Touch(Action::Jump, false);
    Pass(9000);
    EXPECT_EQ(0, mInput.Triggered(Action::Up)) << "a released direction stops repeating";

    // The keyboard's repeats are the system's: a held arrow's count, never Return's.
    test::PushKeyDown(SDL_SCANCODE_DOWN);
    test::PushKeyDown(SDL_SCANCODE_DOWN, true);
    test::PushKeyDown(SDL_SCANCODE_RETURN);
    test::PushKeyDown(SDL_SCANCODE_RETURN, true);
    Pass(9001);
    EXPECT_EQ(2, mInput.Triggered(Action::Down));
    EXPECT_EQ(1, mInput.Triggered(Action::Accept));
}

TEST_F(InputLayer, TheKeyboardsFixedKeysAndAPauseKeyBoundToPlay)
{
    const struct
    {
        SDL_Scancode key;
        Action action;
    } keys[] = {{SDL_SCANCODE_UP, Action::Up},       {SDL_SCANCODE_RETURN, Action::Accept},
                {SDL_SCANCODE_ESCAPE, Action::Back}, {SDL_SCANCODE_P, Action::Pause},
                {SDL_SCANCODE_PAUSE, Action::Pause}, {SDL_SCANCODE_F12, Action::Screenshot}};
    for (const auto& key : keys)
    {
        test::PushKeyDown(key.key);
        Pass();
        EXPECT_TRUE(mInput.Pressed(key.action)) << SDL_GetScancodeName(key.key);
        test::PushKeyUp(key.key);
        Pass();
    }
    // A player who plays with P jumps with it, as ever.
    mJump = SDL_SCANCODE_P;
    test::PushKeyDown(SDL_SCANCODE_P);
    Pass();
    EXPECT_FALSE(mInput.Held(Action::Pause));
    EXPECT_TRUE(mInput.KeyHeld(SDL_SCANCODE_P));
}

TEST_F(InputLayer, AScreenSeesActionsAfterTheirEventUnlessItTookTheEventOrStopped)
{
    test::PushKeyDown(SDL_SCANCODE_DOWN);
    test::PushKeyDown(SDL_SCANCODE_RETURN);
    Pass();
    EXPECT_EQ((std::vector<std::string>{"3", "6"}), mSeen.mSeen);

    mSeen.mSeen.clear();
    mSeen.mAfterEvent = InputHandler::Next::SkipActions;
    test::PushKeyDown(SDL_SCANCODE_UP);
    Pass();
    EXPECT_TRUE(mSeen.mSeen.empty());
    EXPECT_TRUE(mInput.Pressed(Action::Up)) << "the layer still saw it";

    mSeen.mAfterEvent = InputHandler::Next::Actions;
    mSeen.mStopAt = SDL_SCANCODE_ESCAPE;
    test::PushKeyDown(SDL_SCANCODE_ESCAPE);
    test::PushKeyDown(SDL_SCANCODE_LEFT);
    Pass();
    EXPECT_EQ(1, SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYDOWN)) << "Left waits";
}

TEST_F(InputLayer, TouchMarksTheLastDeviceAndItsJumpAlsoChooses)
{
    test::Touch(Action::Jump, true);
    kes_touch(42, 1); // no such control
    test::Touch(Action::Screenshot, true);
    Pass();
    EXPECT_TRUE(mInput.UsingTouch());
    EXPECT_TRUE(mInput.Pressed(Action::Accept));
    EXPECT_FALSE(mInput.Held(Action::Screenshot));
    test::PushKeyDown(SDL_SCANCODE_A); // no action, still the keyboard
    Pass();
    EXPECT_FALSE(mInput.UsingTouch());
}
} // namespace
