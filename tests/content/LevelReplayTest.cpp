// Every level stays completable: a recorded input, fed through the real play screen, reaches the exit alive.
#include "PlayDriver.h"

#include "entities/Player.h"
#include "states/PlayState.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace
{
// Recorded with tools/kesrecord; re-record a level's line whenever its layout changes.
const std::vector<std::string> kReplays = {
    "R24 RJ6 R24 RJ6 R24 RJ6 R30 RJ6 R30 RJ6 R24 RJ6 R24 RJ6 R60",
    "R42 RJ6 R30 RJ6 R60 RJ6 R24 RJ6 R24 RJ6 R24 RJ6 R24 RJ6 R48 RJ6 R24 RJ6 R24 RJ6 R18 RJ6 R54",
    "R18 RJ6 R30 RJ6 R60 RJ6 R24 RF6 RJ6 R18 RJ6 R24 RJ6 R48 RJ6 R18 RJ6 R42 RJ6 R12 RJ6 R48 RF6 R18 "
    "RJ6 R54",
    "R18 RJ6 R30 RJ6 R24 RJ6 R12 -12 RJ6 R18 RJ6 R54 RJ6 R18 -6 R6 -6 R6 RJ6 R18 L6 RJ6 R24 RJ6 R24 "
    "RJ6 R24 RJ6 R30 RJ6 R24 RJ6 R36 RJ6 R12 RJ6 R66 RJ6 R30 RJ6 R30",
    "R6 -6 R6 RJ6 R24 RJ6 R30 RJ6 R30 RJ6 R48 RJ6 R24 RJ6 R24 RJ6 R24 RJ6 R24 RJ6 R30 RJ6 R30 RJ6 "
    "R24 RJ6 R30 RJ6 R24 RJ6 R24 RJ6 R18 RJ6 R84 RJ6 R30 RJ6 R54",
};

std::size_t LevelCount()
{
    std::ifstream list("data/maps/maps.lst");
    std::size_t count = 0;
    for (std::string line; std::getline(list, line);)
        ++count;
    return count;
}
} // namespace

TEST(ContentScripts, ParseAndFormatAreInverse)
{
    const std::vector<unsigned> updates = content::ParseScript("R3 RJ2 -1 LF1");
    const std::vector<unsigned> expected = {content::kRight,
                                            content::kRight,
                                            content::kRight,
                                            content::kRight | content::kJump,
                                            content::kRight | content::kJump,
                                            0u,
                                            content::kLeft | content::kFire};
    EXPECT_EQ(expected, updates);
    EXPECT_EQ("R3 RJ2 -1 LF1", content::FormatScript(updates));
    EXPECT_THROW(content::ParseScript("R"), std::runtime_error);
    EXPECT_THROW(content::ParseScript("X4"), std::runtime_error);
}

TEST(ContentLevels, EveryLevelIsCompletedByItsRecordedInput)
{
    const std::size_t levels = LevelCount();
    ASSERT_EQ(levels, kReplays.size()) << "every level of maps.lst needs a recorded input";
    for (std::size_t level = 0; level < levels; ++level)
    {
        SCOPED_TRACE("level " + std::to_string(level + 1));
        content::PlayDriver driver(level, true);
        const std::vector<unsigned> updates = content::ParseScript(kReplays[level]);
        std::size_t used = 0;
        while (used < updates.size() && !driver.Finished())
        {
            driver.Step(updates[used++]);
            const Player& player = *driver.Play().mPlayer;
            ASSERT_TRUE(player.GetIsAlive())
                << "died after " << used << " updates at " << player.GetX() << "," << player.GetY()
                << " with health " << player.GetHealth() << " and oxygen " << player.mOxygen;
        }
        ASSERT_TRUE(driver.Finished()) << "the input ran out at " << driver.Play().mPlayer->GetX() << ","
                                       << driver.Play().mPlayer->GetY();
        // Through the fade-out: the next level is played, or after the last one the main menu returns.
        for (int i = 0; i < 40; ++i)
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
}
