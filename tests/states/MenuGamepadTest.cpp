// The menus with a controller alone: moving the cursor, choosing, going back, held controls (only
// directions repeat), and a key capture that buttons and repeats leave alone.
#include "ScreenFixture.h"

#include "VirtualPad.h"
#include "input/Input.h"

#include <memory>

class MenuGamepad : public ScreenTest
{
  protected:
    void StartWithPad()
    {
        StartGame();
        ASSERT_TRUE(test::StartControllers(mGame));
        mPad = std::make_unique<test::VirtualPad>();
        mGame.HandleEvents(); // the pad is opened as it is announced
        Ticks(32);
    }
    // Presses and releases a button, each with one pass of event handling as the main loop runs it.
    void Tap(SDL_GameControllerButton button) { mPad->Tap(button, mGame); }
    // One pass long after the last, when every held control that repeats is due to.
    void PassMuchLater()
    {
        test::MoveClockOn(10 * Input::mRepeatDelay);
        HandleEvents();
    }
    std::unique_ptr<test::VirtualPad> mPad;
};

TEST_F(MenuGamepad, CursorMovesChoosesAndGoesBack)
{
    StartWithPad();
    Tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    EXPECT_EQ(1, mMenu->mSelectedOption);
    mPad->Stick(SDL_CONTROLLER_AXIS_LEFTY, 32767);
    mGame.HandleEvents();
    EXPECT_EQ(2, mMenu->mSelectedOption);
    mPad->Stick(SDL_CONTROLLER_AXIS_LEFTY, 0);
    mGame.HandleEvents();
    Tap(SDL_CONTROLLER_BUTTON_DPAD_UP);
    EXPECT_EQ(1, mMenu->mSelectedOption);

    Tap(SDL_CONTROLLER_BUTTON_A);
    Ticks(40);
    ASSERT_EQ(mSettings, Current());
    Tap(SDL_CONTROLLER_BUTTON_B);
    Ticks(40);
    ASSERT_EQ(mMenu, Current());

    Tap(SDL_CONTROLLER_BUTTON_DPAD_UP);
    Tap(SDL_CONTROLLER_BUTTON_START);
    Ticks(40);
    EXPECT_EQ(mStory, Current()) << "Start chooses New Game";
}

TEST_F(MenuGamepad, OnlyHeldDirectionsRepeatButtonsActOncePerPress)
{
    StartWithPad();
    mPad->Press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    mGame.HandleEvents();
    EXPECT_EQ(1, mMenu->mSelectedOption);
    PassMuchLater();
    EXPECT_EQ(2, mMenu->mSelectedOption);
    mPad->Release(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    mGame.HandleEvents();
    PassMuchLater();
    EXPECT_EQ(2, mMenu->mSelectedOption) << "a released direction stops repeating";

    // Start held on New Game does not go on to skip the story.
    mMenu->mSelectedOption = 0;
    mPad->Press(SDL_CONTROLLER_BUTTON_START);
    mGame.HandleEvents();
    Ticks(40);
    ASSERT_EQ(mStory, Current());
    PassMuchLater();
    Ticks(40);
    EXPECT_EQ(mStory, Current());
    mPad->Release(SDL_CONTROLLER_BUTTON_START);
    mGame.HandleEvents();

    // A held on a switch flips it once.
    Show("Settings");
    Ticks(32);
    mSettings->mSelectedOption = 6; // Display FPS
    const bool shown = mGame.mShowFPS;
    mPad->Press(SDL_CONTROLLER_BUTTON_A);
    mGame.HandleEvents();
    EXPECT_NE(shown, mGame.mShowFPS);
    PassMuchLater();
    EXPECT_NE(shown, mGame.mShowFPS);
}

TEST_F(MenuGamepad, ButtonsNeitherBindNorEndAKeyCapture)
{
    StartWithPad();
    Show("Settings");
    Ticks(32);
    const int left = mGame.mKeyLeft;
    Tap(SDL_CONTROLLER_BUTTON_A);
    ASSERT_TRUE(mSettings->IsCapturingKey());
    for (auto button : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_BACK,
                        SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_START})
    {
        Tap(button);
    }
    EXPECT_TRUE(mSettings->IsCapturingKey());
    EXPECT_EQ(left, mGame.mKeyLeft);
    Press(SDL_SCANCODE_A);
    EXPECT_FALSE(mSettings->IsCapturingKey());
    EXPECT_EQ(SDL_SCANCODE_A, mGame.mKeyLeft);

    // A held direction's repeat, due in the pass whose Return begins the capture, is no fresh press.
    mPad->Press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    mGame.HandleEvents();
    Push(SDL_SCANCODE_RETURN);
    PassMuchLater();
    EXPECT_TRUE(mSettings->IsCapturingKey());
    EXPECT_EQ(SDL_SCANCODE_A, mGame.mKeyLeft);
}

// The cursor hints name the controls of the device last used: the keyboard's until another is pressed, and
// the keyboard's again after any key.
TEST_F(MenuGamepad, HintsNameTheControlsOfTheDeviceLastUsed)
{
    StartWithPad();
    const auto shows = [this](const std::string& change, const std::string& select)
    {
        RenderFrame();
        const int centre = 160;
        return TextAt(change, centre - 4 * static_cast<int>(change.size()), 204) &&
               TextAt(select, centre - 4 * static_cast<int>(select.size()), 212);
    };
    EXPECT_TRUE(shows("Arrow Keys = Change current option", "Enter Key = Select current option"));
    Tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    EXPECT_TRUE(shows("D-Pad = Change current option", "A Button = Select current option"));
    test::Touch(Action::Up, true);
    HandleEvents();
    test::Touch(Action::Up, false);
    HandleEvents();
    EXPECT_TRUE(shows("Arrows = Change current option", "Jump = Select current option"));
    Press(SDL_SCANCODE_DOWN);
    EXPECT_TRUE(shows("Arrow Keys = Change current option", "Enter Key = Select current option"));
}
