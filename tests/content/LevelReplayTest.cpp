// Every level stays completable: a recorded input, fed through the real play screen, reaches the exit alive.
#include "PlayDriver.h"
#include "TestSupport.h"

#include "entities/Player.h"
#include "states/PlayState.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

TEST(ContentScripts, ReplayFilesJoinTheirLinesAndNameTheFileWhenBad)
{
    test::TempDir folder(false);
    const std::string root = folder.Path().string() + "/";
    folder.WriteFile("good.replay", "// recorded for a test\nR2 RJ1\n  // indented note\n-1\r\nLF1\n");
    folder.WriteFile("bad.replay", "R2 X1\n");
    folder.WriteFile("empty.replay", "// only a comment\n\n");
    EXPECT_EQ(content::ParseScript("R2 RJ1 -1 LF1"), content::LoadReplay(root + "good.replay"));
    for (const char* name : {"bad.replay", "empty.replay", "missing.replay"})
    {
        try
        {
            content::LoadReplay(root + name);
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
    for (std::size_t level = 0; level < levels; ++level)
    {
        SCOPED_TRACE("level " + std::to_string(level + 1) + ", " + names[level]);
        std::vector<unsigned> updates;
        try
        {
            updates = content::LoadReplay(ReplayPath(names[level]));
        }
        catch (const std::runtime_error& error)
        {
            ADD_FAILURE() << "every level needs a recorded input beside its source; " << error.what();
            continue;
        }
        content::PlayDriver driver(level, true);
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
