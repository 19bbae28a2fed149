// The application object on the dummy video driver: start-up, the main loop's hand-offs and one frame.
#include "Game.h"

#include "PlayFixtures.h"
#include "StateManager.h"
#include "Timer.h"
#include "audio/AudioManager.h"
#include "graphics/Font.h"
#include "graphics/Framework.h"
#include "graphics/Image.h"
#include "states/AssistState.h"
#include "states/MainMenuState.h"
#include "states/PlayState.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
const std::string kDefaultSettings = test::SettingsText();

// A screen that records what the loop asks of it and runs a test-given action on each update.
class ScriptedState : public State
{
  public:
    ScriptedState(std::string name, std::vector<std::string>& log) : mName(std::move(name)), mLog(log) {}
    bool Init(Game*) override { return true; }
    void CleanUp() override {}
    void Pause() override {}
    void Resume() override {}
    void HandleEvents(Game*) override { mLog.push_back(mName + ".events"); }
    void Tick(Game* game) override
    {
        mLog.push_back(mName + ".tick");
        if (mOnTick)
        {
            mOnTick(game);
        }
    }
    void Render(Game* game, const float&) override
    {
        mLog.push_back(mName + ".render");
        if (mOnRender)
        {
            mOnRender(game);
        }
    }

    std::function<void(Game*)> mOnTick;
    std::function<void(Game*)> mOnRender;

  private:
    std::string mName;
    std::vector<std::string>& mLog;
};

// The pictures the four menu screens load at start-up, in a temporary working folder.
class GameTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        // Font glyphs draw only their left column, so neighbouring copies of a text stay apart.
        std::vector<std::uint32_t> font(96 * 64, 0x800080);
        for (int y = 0; y < 64; ++y)
        {
            for (int x = 0; x < 96; x += 8)
            {
                font[static_cast<std::size_t>(y * 96 + x)] = 0xFFFFFF;
            }
        }
        dir.WritePng("data/gfx/font.png", 96, 64, font);
        test::WriteMenuPictures(dir);
        dir.WriteFile("kesv.cfg", "0 0 0\n"); // windowed
    }

    // Adds a scripted screen under a name of its own; the game's state manager owns it.
    ScriptedState* AddScripted(Game& game, const std::string& name)
    {
        auto* state = new ScriptedState(name, log);
        game.mStateManager->AddState(name, state);
        return state;
    }

    Uint32 ScreenPixel(Game& game, int x, int y)
    {
        SDL_Surface* surface = game.mScreen->mSurface;
        return *reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * 4);
    }

    test::TempDir dir;
    std::vector<std::string> log;
};

TEST_F(GameTest, InitBuildsEverythingAndStartsOnTheMainMenu)
{
    Game game;
    ASSERT_TRUE(game.Init());
    EXPECT_TRUE(game.mIsRunning);
    ASSERT_NE(game.mStateManager, nullptr);
    // The screens, the assist options and the level editor beside them.
    EXPECT_EQ(game.mStateManager->mStates.size(), 7u);
    for (const char* name : {"MainMenu", "Settings", "Story", "Play", "Credits", "Assist", "Editor"})
    {
        EXPECT_EQ(game.mStateManager->mStates.count(name), 1u) << name;
    }
    EXPECT_EQ(game.mStateManager->mStates["Play"].get(), static_cast<State*>(game.mPlayState));
    EXPECT_EQ(game.mStateManager->mStates["Assist"].get(), static_cast<State*>(game.mAssistState));
    EXPECT_EQ(game.mStateManager->mCurrentState, game.mMainMenuState);
    ASSERT_NE(game.mScreen, nullptr);
    EXPECT_EQ(game.mScreen->mSurface->w, 320);
    EXPECT_EQ(game.mScreen->mSurface->h, 240);
    EXPECT_EQ(game.mScreen->mSurface->format->format, game.mFramework->mSurface->format->format);

    // A display without a refresh rate is paced as 60 Hz, so updates are never starved.
    const int refresh = game.mFramework->mDisplayMode.refresh_rate;
    EXPECT_DOUBLE_EQ(game.mTimer->mFrameRate, refresh > 0 ? refresh : 60.0);
    EXPECT_GE(game.mTimer->mMaxUpdatesPerFrame, 1);
}

TEST_F(GameTest, MissingSettingsFileIsWrittenWithTheDefaultsBeforeTheWindowOpens)
{
    std::remove("kesv.cfg");
    dir.WriteFile("data/gfx/font.png", "not a picture");
    {
        Game game;
        EXPECT_THROW(game.Init(), std::runtime_error);
        EXPECT_EQ(dir.ReadFile("kesv.cfg"), kDefaultSettings);
        EXPECT_TRUE(game.mFullscreen);
    }
}

TEST_F(GameTest, FailingScreenStopsStartUpAndTheSettingsAreStillSaved)
{
    std::remove("data/gfx/bg.png");
    {
        Game game;
        game.mMusicVolume = 7; // as if changed while starting
        try
        {
            game.Init();
            FAIL() << "Init succeeded without a background picture";
        }
        catch (const std::runtime_error&)
        {
        }
        EXPECT_FALSE(game.mIsRunning);
    }
    EXPECT_EQ(dir.ReadFile("kesv.cfg").substr(0, 23), "// Default config file\n");
    EXPECT_NE(dir.ReadFile("kesv.cfg").find("\n1 1 64 7"), std::string::npos);
}

TEST_F(GameTest, WithoutAnAudioDeviceTheGameRunsSilentlyAndKeepsTheChoices)
{
    dir.WriteFile("kesv.cfg", "0 0 0\n80 79 82 44\n0 1 30 90\n");
    const char* previous = SDL_getenv("SDL_AUDIODRIVER");
    const std::string saved = previous ? previous : "";
    SDL_setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    {
        Game game;
        const bool started = game.Init();
        SDL_setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
        ASSERT_TRUE(started);
        EXPECT_TRUE(game.mIsRunning);
        EXPECT_FALSE(game.mAudioManager->mIsInitialized);
        EXPECT_FALSE(game.mAudioManager->mSoundEnabled);
        EXPECT_TRUE(game.mAudioManager->mMusicEnabled);
        EXPECT_EQ(game.mAudioManager->mCurrentSoundVolume, 30);
        EXPECT_EQ(game.mAudioManager->mCurrentMusicVolume, 90);
    }
    SDL_setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
}

TEST_F(GameTest, SwitchInsideAnUpdateSendsTheNextUpdateToTheNewScreenAndThePassCompletes)
{
    Game game;
    ASSERT_TRUE(game.Init());
    ScriptedState* first = AddScripted(game, "First");
    ScriptedState* second = AddScripted(game, "Second");
    game.mStateManager->ChangeState("First");
    first->mOnTick = [](Game* g) { g->mStateManager->ChangeState("Second"); };
    second->mOnTick = [](Game* g) { g->mIsRunning = false; };

    // A fake clock two and a half steps past the last update: this pass owes two updates.
    double now = 10000.0;
    game.mTimer->mClock = [&now] { return now; };
    game.mTimer->mSleep = [&now] { now += 1.0; };
    game.mTimer->Init(60);
    now += 2.5 * Timer::mTimeBetweenUpdates;

    game.Run();
    const std::vector<std::string> expected = {"First.events", "First.tick", "Second.tick", "Second.render"};
    EXPECT_EQ(log, expected);
    EXPECT_NEAR(game.mTimer->mInterpolation, 0.5f, 1e-4);
}

TEST_F(GameTest, FrameRateTextIsWhiteWithABlackCopyOnePixelRight)
{
    Game game;
    ASSERT_TRUE(game.Init());
    ScriptedState* grey = AddScripted(game, "Grey");
    game.mStateManager->ChangeState("Grey");
    SDL_Surface* screen = game.mScreen->mSurface;
    const Uint32 greyPixel = SDL_MapRGBA(screen->format, 100, 100, 100, 255);
    grey->mOnRender = [screen, greyPixel](Game*) { SDL_FillRect(screen, nullptr, greyPixel); };

    game.mShowFPS = true;
    game.mTimer->mFramesPerSecond = 30; // "30 fps": 6 characters
    const int framesBefore = game.mTimer->mFrameCount;
    game.Render(0.0f);

    const Uint32 white = SDL_MapRGBA(screen->format, 255, 255, 255, 255);
    const Uint32 black = SDL_MapRGBA(screen->format, 0, 0, 0, 255);
    EXPECT_EQ(ScreenPixel(game, 263, 4), greyPixel);
    EXPECT_EQ(ScreenPixel(game, 264, 4), white);
    EXPECT_EQ(ScreenPixel(game, 265, 4), black);
    EXPECT_EQ(ScreenPixel(game, 266, 4), greyPixel);
    EXPECT_EQ(ScreenPixel(game, 264, 3), greyPixel);
    EXPECT_EQ(ScreenPixel(game, 264, 11), white);
    EXPECT_EQ(ScreenPixel(game, 264, 12), greyPixel);
    // The last of the six characters; the space (third) has a glyph in this font too.
    EXPECT_EQ(ScreenPixel(game, 304, 4), white);
    EXPECT_EQ(ScreenPixel(game, 305, 4), black);
    EXPECT_EQ(ScreenPixel(game, 312, 4), greyPixel);
    EXPECT_EQ(game.mTimer->mFrameCount, framesBefore + 1);

    // The whole picture is doubled onto the window surface.
    SDL_Surface* window = game.mFramework->mSurface;
    auto windowPixel = [window](int x, int y)
    { return *reinterpret_cast<Uint32*>(static_cast<Uint8*>(window->pixels) + y * window->pitch + x * 4); };
    EXPECT_EQ(windowPixel(528, 8), white);
    EXPECT_EQ(windowPixel(529, 9), white);
    EXPECT_EQ(windowPixel(530, 8), black);
    EXPECT_EQ(windowPixel(639, 479), greyPixel);
}
} // namespace
