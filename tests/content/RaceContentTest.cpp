// Races on the shipped levels: every level's par travels as a race link whose ghost finishes at the par, a
// made level travels whole, and a race that lies about its time or its level is refused.
#include "PlayDriver.h"

#include "editor/ScratchLevel.h"
#include "io/FieldReader.h"
#include "io/InputScript.h"
#include "player/Progress.h"
#include "states/Race.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{
std::vector<unsigned> Par(const std::string& level)
{
    return InputScript::Load("data/maps/" + std::filesystem::path(level).stem().string() + ".replay");
}

// Opens the race and replays its run; the error's text, or "" when it opened on the expected level file.
std::string Refusal(Game& game, const RaceLink& race, const std::string& levelFile)
{
    ScratchLevel scratch;
    try
    {
        const RaceLink opened = RaceLink::Unpack(race.Pack());
        const std::string file = Race::Open(opened, scratch);
        Race::Check(&game, opened, file);
        EXPECT_EQ(levelFile, file);
        return "";
    }
    catch (const std::runtime_error& error)
    {
        return error.what();
    }
}
} // namespace

TEST(RaceContent, EveryShippedLevelsParOpensAsARaceWhoseGhostFinishesAtThePar)
{
    content::PlayDriver driver(0, false);
    Game& game = driver.GetGame();
    std::vector<std::string> levels;
    ASSERT_TRUE(FieldReader::ReadLines(Progress::mLevelList, levels));
    for (const std::string& level : levels)
    {
        if (level.empty())
        {
            continue;
        }
        const std::vector<unsigned> par = Par(level);
        const RaceLink race = Race::Make(&game, "data/maps/" + level, par, Assist());
        EXPECT_EQ(level, race.mFile);
        EXPECT_FALSE(race.mLevel) << "a shipped level is named, not carried";
        // The check replays the run and takes it only when it passes the exit at the update it claims.
        EXPECT_EQ(par.size(), static_cast<std::size_t>(race.mTime)) << level;
        EXPECT_EQ("", Refusal(game, race, "data/maps/" + level)) << level;
    }
}

TEST(RaceContent, ATamperedTimeOrAnotherVersionsLevelIsRefusedAndAMadeLevelTravelsWhole)
{
    content::PlayDriver driver(0, false);
    Game& game = driver.GetGame();
    const RaceLink race = Race::Make(&game, "data/maps/level1.map", Par("level1.map"), Assist());
    const std::string otherVersion = "This race is for another version of the game";
    RaceLink early = race;
    --early.mTime;
    RaceLink changed = race;
    changed.mHash[0] = changed.mHash[0] == '0' ? '1' : '0';
    RaceLink missing = race;
    missing.mFile = "level99.map";
    RaceLink otherSet = race;
    otherSet.mSet = "bonus";
    const std::pair<const RaceLink*, std::string> cases[] = {
        {&early, "This race's run does not reach the exit at the time it claims"},
        {&changed, otherVersion},
        {&missing, otherVersion},
        {&otherSet, otherVersion},
    };
    for (const auto& [bad, says] : cases)
    {
        EXPECT_EQ(says, Refusal(game, *bad, "")) << bad->Text();
    }

    // The same level under a name of the maker's own is carried whole, and races the same.
    std::filesystem::create_directory("mine");
    for (const char* file : {"level1.map", "level1_bg.png", "level1_col.png", "level1.ent"})
    {
        std::filesystem::copy_file(std::string("data/maps/") + file, std::string("mine/") + file);
    }
    const RaceLink made = Race::Make(&game, "mine/level1.map", Par("level1.map"), Assist());
    ASSERT_TRUE(made.mLevel);
    EXPECT_EQ(race.mTime, made.mTime);
    ScratchLevel scratch;
    const std::string written = Race::Open(RaceLink::Unpack(made.Pack()), scratch);
    EXPECT_EQ("level.map", std::filesystem::path(written).filename());
    Race::Check(&game, made, written);
    // A later time claimed, with a run long enough for it.
    RaceLink lying = made;
    lying.mRun.resize(lying.mRun.size() + 30, 0);
    lying.mTime += 10;
    EXPECT_EQ("This race's run does not reach the exit at the time it claims", Refusal(game, lying, ""));
}
