// The options screen driven tick by tick: browsing, key capture, switches, volumes and leaving.
#include "ScreenFixture.h"

#include "VirtualPad.h"
#include "audio/AudioManager.h"
#include "graphics/Framework.h"

#include <SDL_mixer.h>

class Settings : public ScreenTest
{
  protected:
    void Open(bool sound = true, bool music = true)
    {
        StartGame(sound, music);
        Show("Settings");
        Ticks(32);
    }
    void Select(int option) { mSettings->mSelectedOption = option; }
    void RenderWithBlink(bool visible)
    {
        mSettings->mArrowVisible = visible;
        RenderFrame();
    }
};

TEST_F(Settings, CursorWrapsWithSelectUntilSoundIsSwitchedOff)
{
    Open();
    Press(SDL_SCANCODE_UP);
    EXPECT_EQ(13, mSettings->mSelectedOption) << "the last row is the language";
    Press(SDL_SCANCODE_DOWN);
    Press(SDL_SCANCODE_RIGHT); // no meaning while browsing
    EXPECT_EQ(0, mSettings->mSelectedOption);
    EXPECT_EQ(2, Mix_Playing(-1));

    Select(7);
    Press(SDL_SCANCODE_RETURN);
    EXPECT_FALSE(mGame.mSound);
    EXPECT_FALSE(mGame.mAudioManager->mSoundEnabled);
    Press(SDL_SCANCODE_DOWN);
    EXPECT_EQ(8, mSettings->mSelectedOption);
    EXPECT_EQ(2, Mix_Playing(-1));
}

TEST_F(Settings, CapturesAFreshKeyWithABlinkingQuestionMarkIgnoringF12AndEscapeCancels)
{
    Open();
    Press(SDL_SCANCODE_RETURN);
    RenderWithBlink(true);
    EXPECT_TRUE(TextAt("Move Left: ?", 92, 60));
    EXPECT_TRUE(Dark(84, 60, 8, 8)); // no arrow while editing
    RenderWithBlink(false);
    EXPECT_TRUE(TextAt("Move Left:", 92, 60));
    EXPECT_TRUE(Dark(172, 60, 16, 8));

    Press(SDL_SCANCODE_F12);
    mRig.PushKeyDown(SDL_SCANCODE_RETURN, true); // Return held past the repeat delay binds nothing
    HandleEvents();
    EXPECT_TRUE(mSettings->mEditing);
    Press(SDL_SCANCODE_UP);
    EXPECT_FALSE(mSettings->mEditing);
    EXPECT_EQ(SDL_SCANCODE_UP, mGame.mKeyLeft);
    EXPECT_EQ(0, mSettings->mSelectedOption); // the captured key does not move the cursor
    RenderWithBlink(true);
    EXPECT_TRUE(TextAt("Move Left: Up", 92, 60));

    // Two actions may share a key; Escape during a capture keeps the old key and stays here.
    Select(3);
    Press(SDL_SCANCODE_RETURN);
    Press(SDL_SCANCODE_UP);
    EXPECT_EQ(SDL_SCANCODE_UP, mGame.mKeyFire);
    Select(1);
    Press(SDL_SCANCODE_RETURN);
    Press(SDL_SCANCODE_ESCAPE);
    EXPECT_FALSE(mSettings->mEditing);
    EXPECT_EQ(SDL_SCANCODE_RIGHT, mGame.mKeyRight);
    EXPECT_EQ(-1, mSettings->mFadeState);
}

TEST_F(Settings, VolumeStepsByOneClampsAndShowsTruncatedPercent)
{
    Open();
    Select(8);
    Press(SDL_SCANCODE_RETURN);
    Press(SDL_SCANCODE_RIGHT);
    EXPECT_EQ(65, mGame.mSoundVolume);
    RenderWithBlink(false);
    EXPECT_TRUE(TextAt("Sound Volume: 50%", 92, 140));
    RenderWithBlink(true);
    EXPECT_TRUE(ArrowAt(196, 140)); // the volume cursor, over the space before the number
    EXPECT_TRUE(Dark(84, 140, 8, 8));
    Press(SDL_SCANCODE_UP);
    EXPECT_EQ(66, Mix_Volume(0, -1));
    RenderWithBlink(false);
    EXPECT_TRUE(TextAt("Sound Volume: 51%", 92, 140));

    mGame.mAudioManager->SetSoundVolume(127);
    Press(SDL_SCANCODE_RIGHT);
    Press(SDL_SCANCODE_RIGHT);
    EXPECT_EQ(128, mGame.mSoundVolume);
    RenderWithBlink(false);
    EXPECT_TRUE(TextAt("Sound Volume: 100%", 92, 140));
    mGame.mAudioManager->SetSoundVolume(1);
    Press(SDL_SCANCODE_LEFT);
    Press(SDL_SCANCODE_DOWN);
    EXPECT_EQ(0, mGame.mSoundVolume);

    // Return ends the edit and the arrows browse again; another key also ends it.
    Press(SDL_SCANCODE_RETURN);
    Press(SDL_SCANCODE_DOWN);
    Press(SDL_SCANCODE_DOWN);
    EXPECT_EQ(0, mGame.mSoundVolume);
    Press(SDL_SCANCODE_RETURN);
    Press(SDL_SCANCODE_DOWN);
    EXPECT_EQ(63, Mix_VolumeMusic(-1));
    Press(SDL_SCANCODE_B);
    Press(SDL_SCANCODE_DOWN);
    EXPECT_EQ(63, mGame.mMusicVolume);
    EXPECT_EQ(11, mSettings->mSelectedOption) << "the assist row follows the music volume";
}

TEST_F(Settings, WithoutASoundDeviceVolumesStillChangeAndAreKept)
{
    Open();
    mGame.mAudioManager->CleanUp(); // as when the game runs silently
    Select(10);
    Press(SDL_SCANCODE_RETURN);
    Press(SDL_SCANCODE_LEFT);
    EXPECT_EQ(63, mGame.mMusicVolume);
    mGame.mAudioManager->mCurrentMusicVolume = 128;
    Press(SDL_SCANCODE_RIGHT);
    EXPECT_EQ(128, mGame.mMusicVolume);
}

TEST_F(Settings, MusicSwitchPausesAndResumesThePiece)
{
    Open();
    ASSERT_EQ(1, Mix_PlayingMusic());
    Select(9);
    Press(SDL_SCANCODE_RETURN);
    EXPECT_EQ(1, Mix_PausedMusic());
    EXPECT_FALSE(mGame.mMusic);
    Press(SDL_SCANCODE_RETURN);
    EXPECT_EQ(0, Mix_PausedMusic());
    EXPECT_TRUE(mGame.mAudioManager->mMusicEnabled);
    EXPECT_EQ(MIX_NO_FADING, Mix_FadingMusic()); // resumed, not restarted
}

TEST_F(Settings, MusicOffSinceStartUpStartsTheMenuMusicWithAFadeIn)
{
    Open(true, false);
    ASSERT_EQ(0, Mix_PlayingMusic());
    Select(9);
    Press(SDL_SCANCODE_RETURN);
    EXPECT_TRUE(mGame.mMusic);
    EXPECT_EQ(MIX_FADING_IN, Mix_FadingMusic());
}

TEST_F(Settings, DrawsEveryOptionLineWithTheRealWindowStateAndTheHints)
{
    Open();
    for (int option : {4, 5, 6})
    {
        Select(option);
        Press(SDL_SCANCODE_RETURN);
    }
    EXPECT_TRUE(mGame.mFullscreen && mGame.mVSync && mGame.mShowFPS);
    // Fullscreen and vertical sync are read back from the window and the renderer.
    const bool fullscreen =
        (SDL_GetWindowFlags(mGame.mFramework->mWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
    const bool vsync = (mGame.mFramework->GetRendererInfo().flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    RenderWithBlink(true);
    const std::string lines[] = {"Move Left: Left",
                                 "Move Right: Right",
                                 "Jump: Up",
                                 "Fire: Space",
                                 fullscreen ? "Fullscreen: On" : "Fullscreen: Off",
                                 vsync ? "VSync: On" : "VSync: Off",
                                 "Display FPS: On",
                                 "Sound: On",
                                 "Sound Volume: 50%",
                                 "Music: On",
                                 "Music Volume: 50%",
                                 "Assist",
                                 "Scaling: Fit"};
    const int ys[] = {60, 68, 76, 84, 100, 108, 116, 132, 140, 156, 164, 180, 188};
    for (int i = 0; i < 13; ++i)
    {
        EXPECT_TRUE(TextAt(lines[i], 92, ys[i]));
    }
    EXPECT_TRUE(ArrowAt(84, 116));
    EXPECT_TRUE(TextAt("Arrow Keys = Change current option", 24, 204));
    EXPECT_TRUE(TextAt("Enter Key = Select current option", 28, 212));
    EXPECT_TRUE(TextAt("Escape = Back to the main menu", 40, 220));
    EXPECT_EQ(0xA0, PixelColour(148, 16).g); // the 24x8 heading, centred
    EXPECT_EQ(0, PixelColour(147, 16).g);

    Select(4);
    Press(SDL_SCANCODE_RETURN);
    EXPECT_FALSE(mGame.mFullscreen);

    // Return steps the scaling round its three choices, each shown at once.
    Select(12);
    for (const char* line : {"Scaling: Stretch", "Scaling: Sharp", "Scaling: Fit"})
    {
        Press(SDL_SCANCODE_RETURN);
        RenderWithBlink(false);
        EXPECT_TRUE(TextAt(line, 92, 188));
    }
    Press(SDL_SCANCODE_RETURN);
    EXPECT_EQ(Scaling::Mode::Stretch, mGame.mFramework->mScaling);
}

TEST_F(Settings, EscapeFadesBackToTheMenuWhileOtherKeysWaitAndClosingLeavesAtOnce)
{
    Open();
    Push(SDL_SCANCODE_ESCAPE);
    Push(SDL_SCANCODE_DOWN);
    Push(SDL_SCANCODE_RETURN);
    HandleEvents();
    EXPECT_EQ(0, mSettings->mSelectedOption);
    EXPECT_EQ(1, QueuedEvents());
    Ticks(31);
    EXPECT_EQ(mSettings, Current());
    Ticks(1);
    EXPECT_EQ(mMenu, Current());

    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    Show("Settings");
    Ticks(33);
    Push(kCloseWindow);
    HandleEvents();
    EXPECT_EQ(mCredits, Current());
    EXPECT_EQ(0, mSettings->mAlpha); // no fade-out
}

TEST_F(Settings, ByTouchTheKeyRowsNeedAKeyboardWhileEveryOtherRowWorks)
{
    Open();
    const auto tap = [this](Action action)
    {
        test::Touch(action, true);
        HandleEvents();
        test::Touch(action, false);
        HandleEvents();
    };
    tap(Action::Jump); // on "Move Left:"
    EXPECT_FALSE(mSettings->mEditing);
    RenderWithBlink(true);
    EXPECT_TRUE(TextAt("Rebinding a key needs a keyboard", 32, 212));
    EXPECT_FALSE(TextAt("Arrow Keys = Change current option", 24, 204)) << "no keyboard hints";

    Select(9);
    tap(Action::Down); // onto "Music Volume:"
    tap(Action::Jump);
    tap(Action::Right);
    EXPECT_EQ(65, mGame.mMusicVolume);
    tap(Action::Back);
    EXPECT_FALSE(mSettings->mEditing);
    EXPECT_EQ(-1, mSettings->mFadeState);

    Press(SDL_SCANCODE_DOWN); // a key: the keyboard is in use again
    RenderWithBlink(true);
    EXPECT_TRUE(TextAt("Enter Key = Select current option", 28, 212));
}
