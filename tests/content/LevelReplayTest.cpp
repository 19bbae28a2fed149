// Every level stays completable: a recorded input, fed through the real play screen, reaches the exit alive.
#include "PlayDriver.h"
#include "TestSupport.h"

#include "entities/Enemy.h"
#include "entities/Player.h"
#include "states/Card.h"
#include "states/PlayState.h"
#include "world/Map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace
{
// Every level of the built list, by file name ("level1.map").
std::vector<std::string> LevelNames()
{
    std::ifstream list("data/maps/maps.lst");
    std::vector<std::string> names;
    for (std::string line; std::getline(list, line);)
        names.push_back(line);
    return names;
}

// The recorded input kept beside a level's source: "level1.map" plays assets/maps/level1.replay.
std::string ReplayPath(const std::string& levelName)
{
    return std::string(KES_ASSETS_DIR) + "/maps/" + std::filesystem::path(levelName).stem().string() +
           ".replay";
}

// The least air a recorded input may leave at its tightest point (10 is a full tank, about 11 seconds):
// the replay plays tighter than a first-time player, who needs a margin.
constexpr double kOxygenMargin = 1.5;

// What a replay did to the blobs: stomps, and the kinds killed that the level did not place itself
// (successors, so a Blob3 killed there ended a whole chain).
struct BlobWatch
{
    std::set<std::string> mPlaced;
    std::set<std::string> mKilledSuccessors;
    std::map<const Enemy*, EntityState> mStates;
    int mStomps = 0;

    explicit BlobWatch(const Map& map)
    {
        for (const auto& [name, enemy] : map.mEnemies)
            mPlaced.insert(name);
    }

    void Update(const Map& map, const Player& player)
    {
        for (const auto& [name, enemy] : map.mEnemies)
        {
            const auto known = mStates.find(enemy.get());
            if (known != mStates.end() && known->second != Dying && enemy->GetState() == Dying)
            {
                // A stomp leaves the bouncing player standing on the blob's head.
                mStomps += player.GetDY() < 0 && std::abs(player.GetY() + 16 - enemy->GetY()) < 1;
                if (!mPlaced.count(name))
                    mKilledSuccessors.insert(name);
            }
            mStates[enemy.get()] = enemy->GetState();
        }
    }
};
} // namespace

TEST(ContentScripts, ParseAndFormatAreInverse)
{
    const std::vector<unsigned> updates = InputScript::Parse("R3 RJ2 -1 LF1");
    const std::vector<unsigned> expected = {content::kRight,
                                            content::kRight,
                                            content::kRight,
                                            content::kRight | content::kJump,
                                            content::kRight | content::kJump,
                                            0u,
                                            content::kLeft | content::kFire};
    EXPECT_EQ(expected, updates);
    EXPECT_EQ("R3 RJ2 -1 LF1", InputScript::Format(updates));
    EXPECT_THROW(InputScript::Parse("R"), std::runtime_error);
    EXPECT_THROW(InputScript::Parse("X4"), std::runtime_error);
    EXPECT_THROW(InputScript::Parse("R4x"), std::runtime_error);
    // A count that would not fit in memory is refused before anything is allocated.
    EXPECT_THROW(InputScript::Parse("R3 L99999999999999999999999"), std::runtime_error);
}

TEST(ContentScripts, ReplayFilesJoinTheirLinesAndNameTheFileWhenBad)
{
    test::TempDir folder(false);
    const std::string root = folder.Path().string() + "/";
    folder.WriteFile("good.replay", "// recorded for a test\nR2 RJ1\n  // indented note\n-1\r\nLF1\n");
    folder.WriteFile("bad.replay", "R2 X1\n");
    folder.WriteFile("empty.replay", "// only a comment\n\n");
    EXPECT_EQ(InputScript::Parse("R2 RJ1 -1 LF1"), InputScript::Load(root + "good.replay"));
    for (const char* name : {"bad.replay", "empty.replay", "missing.replay"})
    {
        try
        {
            InputScript::Load(root + name);
            ADD_FAILURE() << name << " was accepted";
        }
        catch (const std::runtime_error& error)
        {
            EXPECT_NE(std::string::npos, std::string(error.what()).find(root + name)) << error.what();
        }
    }
}

TEST(ContentLevels, EveryLevelIsCompletedByItsRecordedInput)
{
    const std::vector<std::string> names = LevelNames();
    ASSERT_FALSE(names.empty()) << "no levels in data/maps/maps.lst";
    const std::size_t levels = names.size();
    int stomps = 0;
    bool wholeChain = false;
    for (std::size_t level = 0; level < levels; ++level)
    {
        SCOPED_TRACE("level " + std::to_string(level + 1) + ", " + names[level]);
        std::vector<unsigned> updates;
        try
        {
            updates = InputScript::Load(ReplayPath(names[level]));
        }
        catch (const std::runtime_error& error)
        {
            ADD_FAILURE() << "every level needs a recorded input beside its source; " << error.what();
            continue;
        }
        content::PlayDriver driver(level, true);
        BlobWatch blobs(*driver.Play().mMap);
        double lowestOxygen = driver.Play().mPlayer->mOxygen;
        std::size_t used = 0;
        while (used < updates.size() && !driver.Finished())
        {
            driver.Step(updates[used++]);
            if (driver.Finished())
                break;
            const Player& player = *driver.Play().mPlayer;
            blobs.Update(*driver.Play().mMap, player);
            lowestOxygen = std::min(lowestOxygen, player.mOxygen);
            ASSERT_TRUE(player.GetIsAlive())
                << "died after " << used << " updates at " << player.GetX() << "," << player.GetY()
                << " with health " << player.GetHealth() << " and oxygen " << player.mOxygen;
        }
        ASSERT_TRUE(driver.Finished()) << "the input ran out at " << driver.Play().mPlayer->GetX() << ","
                                       << driver.Play().mPlayer->GetY();
        EXPECT_GE(lowestOxygen, kOxygenMargin) << "the air runs too short along the recorded route";
        // The level's clock counts exactly the updates played, and its par is the input shipped beside it.
        EXPECT_EQ(updates.size(), static_cast<std::size_t>(driver.Play().mLevelTime));
        ASSERT_TRUE(driver.Play().mCard);
        const std::string time = Card::FormatTime(static_cast<int>(updates.size()));
        const std::vector<std::string>& card = driver.Play().mCard->mBody;
        // A first time is the best; the last level's card is the table of the run (its one level here).
        const std::string par =
            level + 1 < levels ? "Par    " + time : "    1  " + time + "  " + time + "  " + time;
        EXPECT_NE(card.end(), std::find(card.begin(), card.end(), par)) << "no par " << time;
        stomps += blobs.mStomps;
        wholeChain =
            wholeChain || (blobs.mKilledSuccessors.count("Blob2") && blobs.mKilledSuccessors.count("Blob3"));
        // Through the card and the fade-out: the next level is played, or after the last one the main menu
        // returns.
        const PlayState& play = driver.Play();
        for (int i = 0; i < Card::mRunUpdates + 40 && driver.CurrentStateName() == "Play" &&
                        (play.mNextLevel || play.mBackToMenu);
             ++i)
            driver.Step(0);
        if (level + 1 == levels)
            EXPECT_EQ("MainMenu", driver.CurrentStateName());
        else
        {
            EXPECT_EQ("Play", driver.CurrentStateName());
            EXPECT_EQ(1, driver.Play().mCurrentMap);
            EXPECT_FALSE(driver.Play().mNextLevel);
        }
    }
    // The inputs show the blob rules at work, so a change to them cannot pass unnoticed.
    EXPECT_GE(stomps, 1) << "no recorded input stomps a blob";
    EXPECT_TRUE(wholeChain) << "no recorded input kills a blob and both of its successors";
}
