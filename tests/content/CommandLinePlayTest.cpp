// A level given on the command line, through the real game and its own content: played alone from the
// level maker's folder, finished by its recorded input, or refused with one line and exit status 1.
#include "PlayFixtures.h"
#include "SpoiledData.h"

#include "Game.h"
#include "StateManager.h"
#include "io/InputScript.h"
#include "states/Card.h"
#include "states/CreditsState.h"
#include "states/PlayState.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace
{
// The player's settings: fullscreen, which a run asked to be windowed must not change.
const std::string kSettings = test::SettingsText("1 0 0", "80 79 82 44", "0 0 0 0");

class CommandLinePlayTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(mContent.HasContent()) << "run in the build folder, after the data target";
        std::ofstream("kesv.cfg") << kSettings;
    }

    std::string Settings() const
    {
        std::ifstream file("kesv.cfg");
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    // A game started as the program starts it with these arguments; Init's result.
    bool Start(const std::vector<std::string>& arguments)
    {
        mGame = std::make_unique<Game>();
        mGame->mCommandLine = CommandLine::Parse(arguments);
        return mGame->Init();
    }

    // One pass of the main loop without its waiting: events, one update, one frame.
    void Pass()
    {
        mGame->HandleEvents();
        mGame->Tick();
        mGame->Render(0.0f);
    }

    // Passes while play is on, at most limit; the number of them.
    int PassesInPlay(int limit)
    {
        int passes = 0;
        while (passes < limit && mGame->mStateManager->mCurrentState == mGame->mPlayState)
        {
            Pass();
            ++passes;
        }
        return passes;
    }

    test::ContentDir mContent;
    std::unique_ptr<Game> mGame;
};
} // namespace

TEST_F(CommandLinePlayTest, ALevelFileIsPlayedAloneFromItsOwnFolderInAWindowAndEndsThroughTheCredits)
{
    // The first shipped level under other names, in a folder of the level maker's.
    namespace fs = std::filesystem;
    fs::create_directory("mine");
    std::ofstream("mine/deck.map") << "deck_bg.png deck_col.png deck.ent\n";
    for (const char* part : {"_bg.png", "_col.png", ".ent"})
    {
        fs::copy_file(std::string("data/maps/level1") + part, std::string("mine/deck") + part);
    }
    ASSERT_TRUE(Start({"--windowed", "--level", "mine/deck.map"}));
    EXPECT_FALSE(mGame->mFullscreen);
    ASSERT_EQ(static_cast<State*>(mGame->mPlayState), mGame->mStateManager->mCurrentState);
    EXPECT_EQ(80, mGame->mPlayState->mMap->mWidth);

    // The keys steer as in any game; Escape ends it, and the program with it.
    test::PushKeyDown(SDL_SCANCODE_RIGHT);
    const double startX = mGame->mPlayState->mPlayer->GetX();
    Pass();
    Pass();
    EXPECT_GT(mGame->mPlayState->mPlayer->GetX(), startX);
    test::PushKeyDown(SDL_SCANCODE_ESCAPE);
    PassesInPlay(100);
    EXPECT_EQ(static_cast<State*>(mGame->mCreditsState), mGame->mStateManager->mCurrentState);
    EXPECT_EQ(0, mGame->mExitStatus);
    mGame.reset();
    EXPECT_EQ(kSettings, Settings());
}

TEST_F(CommandLinePlayTest, ARecordedInputFinishesAShippedLevelWhileTheKeysOnlyWatch)
{
    const std::string replay = std::string(KES_ASSETS_DIR) + "/maps/level1.replay";
    const std::size_t updates = InputScript::Load(replay).size();
    ASSERT_TRUE(Start({"--level", "data/maps/level1.map", "--replay", replay}));
    // The input holds Right all the way: a key that steered would let go of it and stop the player.
    int passes = PassesInPlay(10);
    test::PushKeyDown(SDL_SCANCODE_RIGHT);
    test::PushKeyUp(SDL_SCANCODE_RIGHT);
    test::PushKeyDown(SDL_SCANCODE_LEFT);
    passes += PassesInPlay(static_cast<int>(updates) + 100);
    const PlayState& play = *mGame->mPlayState;
    EXPECT_TRUE(play.mBackToMenu) << "the exit door was not reached";
    EXPECT_TRUE(play.mPlayer->GetIsAlive());
    EXPECT_EQ(static_cast<int>(updates), play.mLevelTime);
    EXPECT_LE(passes, static_cast<int>(updates) + Card::mLevelUpdates + 33)
        << "the door, its time, the fade-out";
    EXPECT_EQ(static_cast<State*>(mGame->mCreditsState), mGame->mStateManager->mCurrentState);
    EXPECT_EQ(0, mGame->mExitStatus);
}

TEST_F(CommandLinePlayTest, AnInputThatDoesNotFinishItsLevelEndsPlayWithStatusThree)
{
    const struct
    {
        const char* why;
        const char* input;
        SDL_Scancode key;
        double oxygen;
        int passes; // at most, to the credits
    } cases[] = {
        {"the input ends before the exit", "R10", SDL_SCANCODE_UNKNOWN, 10.0, 11 + 33},
        {"Escape", "-900", SDL_SCANCODE_ESCAPE, 10.0, 2 + 33},
        {"death", "-900", SDL_SCANCODE_UNKNOWN, 0.05, 40 + 33},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.why);
        std::ofstream("short.replay") << c.input << "\n";
        ASSERT_TRUE(Start({"--level", "data/maps/level1.map", "--replay", "short.replay"}));
        EXPECT_EQ(3, mGame->mExitStatus) << "until the level is finished";
        mGame->mPlayState->mPlayer->mOxygen = c.oxygen;
        Pass();
        if (c.key != SDL_SCANCODE_UNKNOWN)
        {
            test::PushKeyDown(c.key);
        }
        EXPECT_LE(PassesInPlay(1000) + 1, c.passes);
        EXPECT_EQ(static_cast<State*>(mGame->mCreditsState), mGame->mStateManager->mCurrentState);
        EXPECT_EQ(3, mGame->mExitStatus);
        mGame.reset();
    }
}

TEST_F(CommandLinePlayTest, ALevelOrInputThatCannotBePlayedSaysWhyOnOneLineWithStatusOne)
{
    std::ofstream("broken.map") << "nothing.png nothing.png nothing.ent\n";
    std::ofstream("bad.replay") << "R20 X4\n";
    std::ofstream("huge.replay") << std::string(InputScript::mMaxFileSize + 1, '/');
    const struct
    {
        std::vector<std::string> arguments;
        std::string line;
        bool windowOpened;
    } cases[] = {
        {{"--level", "missing.map"},
         "Unable to load level missing.map: the level file cannot be opened\n",
         true},
        {{"--level", "broken.map"}, "Unable to load level broken.map: Unable to load image: *", true},
        {{"--level", "data/maps/level1.map", "--replay", "bad.replay"},
         "Unable to load level data/maps/level1.map: bad.replay: unknown key in input script: X4\n",
         false},
        // Never read: they might never end, or fill the memory.
        {{"--level", "data/maps/level1.map", "--replay", "/dev/zero"},
         "Unable to load level data/maps/level1.map: /dev/zero: is not a regular file\n",
         false},
        {{"--level", "data/maps/level1.map", "--replay", "data"},
         "Unable to load level data/maps/level1.map: data: is not a regular file\n",
         false},
        {{"--level", "data/maps/level1.map", "--replay", "huge.replay"},
         "Unable to load level data/maps/level1.map: huge.replay: is larger than 1 MB\n",
         false},
    };
    for (const auto& bad : cases)
    {
        SCOPED_TRACE(bad.arguments.back());
        testing::internal::CaptureStderr();
        EXPECT_FALSE(Start(bad.arguments));
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(badinput::Matches(said, bad.line)) << said;
        EXPECT_EQ(said.size() - 1, said.find('\n')) << "one line: " << said;
        EXPECT_EQ(1, mGame->mExitStatus);
        EXPECT_EQ(bad.windowOpened, mGame->mFramework != nullptr) << "a bad input is found before the window";
        mGame.reset();
        EXPECT_EQ(kSettings, Settings());
    }
}
