// Assist and ghosts on the shipped levels: game speed only stretches the time between updates, par ghosts
// finish at their par, a ghost changes nothing of the player's world, and a best run's recording
// replays to its time.
#include "PlayDriver.h"

#include "Game.h"
#include "StateManager.h"
#include "Timer.h"
#include "io/FieldReader.h"
#include "io/InputScript.h"
#include "states/Ghost.h"
#include "world/Map.h"

#include <gtest/gtest.h>

#include <tuple>

namespace
{
std::vector<unsigned> Par(const std::string& level)
{
    return InputScript::Load("data/maps/" + level + ".replay");
}

// What can be seen of the player's world after one update.
using Snapshot = std::tuple<double, double, int, double, std::size_t, std::size_t, std::size_t>;

Snapshot Look(PlayState& play)
{
    const Player& player = *play.mPlayer;
    return {player.GetX(),
            player.GetY(),
            player.GetHealth(),
            player.mOxygen,
            play.mMap->mItems.size(),
            play.mMap->mEnemies.size(),
            player.mBullets.size()};
}

// Plays level5's par (it shoots and stomps) through key events, choosing the ghost at update `chosen`; the
// world after every update. A par ghost, which plays the same input, must stand where the player stands,
// also when chosen mid-level.
std::vector<Snapshot> PlayLevel5(Assist::Ghost ghost, std::size_t chosen)
{
    content::PlayDriver driver(4, false);
    driver.GetGame().mAssist.mGhost = Assist::Ghost::Off;
    driver.Restart();
    std::vector<Snapshot> seen;
    for (unsigned keys : Par("level5"))
    {
        if (seen.size() == chosen)
        {
            driver.GetGame().mAssist.mGhost = ghost;
        }
        driver.Step(keys);
        seen.push_back(Look(driver.Play()));
        if (driver.Play().mGhost && !driver.Finished())
        {
            const Player& shadow = driver.Play().mGhost->ThePlayer();
            EXPECT_EQ(std::get<0>(seen.back()), shadow.GetX()) << "update " << seen.size();
            EXPECT_EQ(std::get<1>(seen.back()), shadow.GetY()) << "update " << seen.size();
        }
    }
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(ghost == Assist::Ghost::Par, driver.Play().mGhost != nullptr);
    return seen;
}
} // namespace

TEST(AssistContent, EveryParGhostReachesTheExitAtExactlyItsParsUpdate)
{
    content::PlayDriver driver(0, false);
    std::vector<std::string> levels;
    ASSERT_TRUE(FieldReader::ReadLines("data/maps/maps.lst", levels)) << "the game's level list";
    int checked = 0;
    for (const std::string& level : levels)
    {
        if (level.empty() || FieldReader::IsComment(level))
        {
            continue;
        }
        ++checked;
        const std::string name = level.substr(0, level.find('.'));
        const std::vector<unsigned> par = Par(name);
        const auto ghost = Ghost::Start(&driver.GetGame(), "data/maps/" + level, par);
        ASSERT_TRUE(ghost) << level;
        EXPECT_EQ(static_cast<int>(par.size()), ghost->RunToEnd(&driver.GetGame())) << level;
    }
    EXPECT_GE(checked, 2) << "levels in the list";
}

TEST(AssistContent, PlayWithTheGhostOnIsUpdateForUpdateTheSameAsWithItOff)
{
    const std::vector<Snapshot> alone = PlayLevel5(Assist::Ghost::Off, 0);
    const std::vector<Snapshot> raced = PlayLevel5(Assist::Ghost::Par, 100);
    ASSERT_EQ(alone.size(), raced.size());
    for (std::size_t update = 0; update < alone.size(); ++update)
    {
        ASSERT_EQ(alone[update], raced[update]) << "update " << update + 1;
    }
}

TEST(AssistContent, ABestRunPlayedWithKeysIsKeptAndItsRecordingFinishesInItsTime)
{
    content::PlayDriver driver(1, false);
    for (unsigned keys : Par("level2"))
    {
        driver.Step(keys);
    }
    ASSERT_TRUE(driver.Finished());
    const int time = driver.Play().mLevelTime;
    const std::vector<unsigned> kept =
        InputScript::Load("kesv.ghost." + driver.GetGame().mProgress.SetKey() + ".level2");
    EXPECT_EQ(static_cast<std::size_t>(time), kept.size());
    const auto ghost = Ghost::Start(&driver.GetGame(), "data/maps/level2.map", kept);
    EXPECT_EQ(time, ghost->RunToEnd(&driver.GetGame()));
}

TEST(AssistContent, GameSpeedStretchesTheTimeBetweenUpdatesButARecordedInputFinishesAtTheSameUpdate)
{
    test::ContentDir content;
    const std::string replay = "data/maps/level1.replay";
    int finished[2] = {};
    double seconds[2] = {};
    for (const int speed : {100, 50})
    {
        Game game;
        game.mCommandLine =
            CommandLine::Parse({"--windowed", "--level", "data/maps/level1.map", "--replay", replay});
        ASSERT_TRUE(game.Init());
        game.mAssist.mSpeed = speed;
        // The real loop on a clock that moves only while it sleeps; it stops once the exit is passed.
        double now = 0.0;
        game.mTimer->mClock = [&]
        {
            if (game.mPlayState->mBackToMenu && game.mIsRunning)
            {
                game.mIsRunning = false;
                seconds[speed == 50] = now / 1000.0;
            }
            return now;
        };
        game.mTimer->mSleep = [&] { now += 1.0; };
        game.mTimer->Init(30.0); // one frame per update at full speed: the fewest frames to draw
        game.Run();
        finished[speed == 50] = game.mPlayState->mLevelTime;
    }
    EXPECT_EQ(static_cast<int>(InputScript::Load(replay).size()), finished[0]);
    EXPECT_EQ(finished[0], finished[1]);
    EXPECT_NEAR(2.0, seconds[1] / seconds[0], 0.02);
}
