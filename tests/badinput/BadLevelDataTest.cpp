// Starting play with one spoiled level file, picture or story: its exact error, a quiet fall-back to the
// main menu, or play with the file's defaults. Never a crash or a screen that cannot be left.
#include "SpoiledData.h"

#include "PlayFixtures.h"
#include "StateManager.h"
#include "states/StoryState.h"
#include "world/Map.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace
{
using badinput::Spoil;

// "plays" when play set up and runs; "menu" when set-up failed quietly and play led back to the main
// menu by itself; otherwise the error text that the game would show in its error box.
std::string BeginPlay()
{
    test::PlayHarness harness;
    try
    {
        if (harness.BeginGame())
        {
            harness.SkipFadeIn();
            for (int step = 0; step < 30; ++step)
            {
                harness.Step((step % 2 == 0 ? test::kRight : 0u) | (step == 3 ? test::kJump : 0u));
            }
            harness.RenderFrame();
            return harness.CurrentState() == "Play" ? "plays" : "left play for " + harness.CurrentState();
        }
        for (int update = 0; update < 40; ++update)
        {
            harness.Tick();
            harness.RenderFrame();
        }
        return harness.CurrentState() == "MainMenu" ? "menu" : "stuck on " + harness.CurrentState();
    }
    catch (const std::runtime_error& error)
    {
        return error.what();
    }
}

struct Case
{
    const char* file;
    const char* missing;
    const char* empty;
    const char* truncated;
    const char* garbage;
};

TEST(BadLevelData, EverySpoiledFileOfALevelHasItsDefinedOutcome)
{
    const std::string image = "Unable to load image: *";
    const Case cases[] = {
        {"data/maps/maps.lst", "Unable to load maps.lst!", "No maps were found!", "menu", "menu"},
        {"data/maps/tiletypes.cfg", "Unable to initialize tile types: data/maps/tiletypes.cfg", "plays",
         "plays", "plays"},
        {"data/maps/entitytypes.cfg", "Unable to initialize entity types: data/maps/entitytypes.cfg",
         "Player not on map found!", "plays", "Player not on map found!"},
        {"data/maps/level", "menu", image.c_str(), image.c_str(), image.c_str()},
        {"data/maps/level_bg.png", image.c_str(), image.c_str(), image.c_str(), image.c_str()},
        {"data/maps/level_col.png", image.c_str(), image.c_str(), image.c_str(), image.c_str()},
        {"data/maps/level.ent", "menu", "Player not on map found!", "plays", "Player not on map found!"},
        {"data/gfx/tiles.png", image.c_str(), image.c_str(), image.c_str(), image.c_str()},
        {"data/gfx/sprites.png", image.c_str(), image.c_str(), image.c_str(), image.c_str()},
        {"data/gfx/hud.png", image.c_str(), image.c_str(), image.c_str(), image.c_str()},
    };
    for (const Case& c : cases)
    {
        const char* expected[] = {c.missing, c.empty, c.truncated, c.garbage};
        for (Spoil spoil : badinput::kAllSpoils)
        {
            SCOPED_TRACE(std::string(c.file) + " " + badinput::Name(spoil));
            test::TempDir dir;
            badinput::WriteGame(dir);
            badinput::SpoilFile(dir, c.file, spoil);
            const std::string outcome = BeginPlay();
            EXPECT_TRUE(badinput::Matches(outcome, expected[static_cast<int>(spoil)])) << outcome;
        }
    }
}

TEST(BadLevelData, AbsurdlyLargeLayerImagesAreRefusedWithAClearError)
{
    test::TempDir dir;
    badinput::WriteGame(dir);
    // The header alone would make the loader allocate gigabytes.
    badinput::WritePngHeaderOnly(dir, "data/maps/level_bg.png", 100000, 100000);
    EXPECT_EQ(BeginPlay(),
              "Unable to load image: data/maps/level_bg.png is too large (100000x100000 pixels)");

    // A real picture, but a level of two million tiles: refused before its cells are read.
    dir.WritePng("data/maps/level_bg.png", 2000, 1000, std::vector<std::uint32_t>(2000 * 1000, 0x808080));
    EXPECT_EQ(BeginPlay(), "Unable to open map: level_bg.png is too large (2000x1000 tiles)");

    // Other picture formats are not decoded at all: their decoders allocate whatever their headers claim
    // (this GIMP header, found by fuzzing, asked for petabytes).
    dir.WriteFile("data/maps/level_bg.png", std::string("gimp xcf \n\x1a\n\0\0\0\x0dIHDR\0\0\0\x01\0\0\0\x01"
                                                        "\x08\x02\x0d\x31\x1a\0\0\0\x90\x77\x53\xde",
                                                        36));
    EXPECT_EQ(BeginPlay(), "Unable to load image: data/maps/level_bg.png is not a PNG picture");

    // The largest level that is still allowed loads and plays.
    dir.WritePng("data/maps/level_bg.png", 1024, 1024, std::vector<std::uint32_t>(1024 * 1024, 0x000000));
    dir.WritePng("data/maps/level_col.png", 1024, 1024, std::vector<std::uint32_t>(1024 * 1024, 0x808080));
    EXPECT_EQ(BeginPlay(), "plays");
}

TEST(BadLevelData, AbsurdPositionsAndSpeedsInTheTablesArePlayedWithoutFailure)
{
    test::TempDir dir;
    badinput::WriteGame(dir);
    // Columns and rows at the ends of int, far outside the level.
    dir.WriteFile("data/maps/level.ent", "Player 1 1 2\nBlob1 0 2147483647 -2147483648 a\n"
                                         "OxygenTank 1 -2147483648 2147483647 b\nBlob1 1 -2147483648 0 c\n");
    EXPECT_EQ(BeginPlay(), "plays");
    {
        // Entities outside the level are never met: they are skipped, and nothing is drawn far away.
        Map map;
        ASSERT_TRUE(map.Load("data/maps/level", test::ArgbRendererInfo()));
        EXPECT_EQ(map.GetEntity("Enemy", "Blob1"), nullptr);
        EXPECT_EQ(map.GetEntity("Item", "OxygenTank"), nullptr);
    }

    // A player start outside the level is no level to play, and says so.
    dir.WriteFile("data/maps/level.ent", "Player 1 2147483647 -2147483648\n");
    {
        Map map;
        EXPECT_FALSE(map.Load("data/maps/level", test::ArgbRendererInfo()));
        EXPECT_EQ(map.mLoadFailure, "its player start 2147483647,-2147483648 lies outside the level");
        test::PlayHarness harness;
        EXPECT_FALSE(harness.BeginGame());
    }

    // Jump speeds beyond double's range read as its largest value: the player leaves upwards at once.
    std::string types = dir.ReadFile("data/maps/entitytypes.cfg");
    types.replace(types.find("Player Player 0 0 0 1 0 -8"), 26, "Player Player 0 0 0 1 0 -1e999");
    dir.WriteFile("data/maps/entitytypes.cfg", types);
    dir.WriteFile("data/maps/level.ent", "Player 1 1 2\nBlob1 0 5 2 a\n");
    test::PlayHarness harness;
    ASSERT_TRUE(harness.BeginGame());
    harness.SkipFadeIn();
    for (int step = 0; step < 60; ++step)
    {
        harness.Step((step % 3 == 0 ? test::kRight : 0u) | (step % 2 == 0 ? test::kJump : 0u));
    }
    harness.RenderFrame();
}

TEST(BadLevelData, LevelListEntriesThatAreNotLevelsLeadBackToTheMenu)
{
    // A folder, the list itself, a path out of the data folder, an absurdly long name.
    for (const std::string& name : {std::string(""), std::string("."), std::string("maps.lst"),
                                    std::string("../../../../../../etc/passwd"), std::string(5000, 'x')})
    {
        SCOPED_TRACE(name.substr(0, 40));
        test::TempDir dir;
        badinput::WriteGame(dir);
        dir.WriteFile("data/maps/maps.lst", name + "\n");
        const std::string outcome = BeginPlay();
        EXPECT_TRUE(outcome == "menu" || badinput::Matches(outcome, "Unable to load image: *")) << outcome;
    }
}

TEST(BadLevelData, SpoiledStoryIsTypedOutOrReplacedWithNotAvailable)
{
    for (Spoil spoil : badinput::kAllSpoils)
    {
        SCOPED_TRACE(badinput::Name(spoil));
        test::TempDir dir;
        badinput::WriteGame(dir);
        dir.WriteFile("data/story.txt", "// story\n" + std::string(300, 'a') + "\n\tb\x01\xff\n\n" +
                                            std::string(200, '\n') + "last");
        badinput::SpoilFile(dir, "data/story.txt", spoil);
        test::PlayHarness harness;
        StoryState story;
        ASSERT_TRUE(story.Init(&harness.mGame));
        ASSERT_FALSE(story.mLines.empty());
        if (spoil == Spoil::Missing || spoil == Spoil::Empty)
        {
            EXPECT_EQ(story.mLines, std::vector<std::string>{"Not available!"});
        }
        // Type everything out (300 characters take 1204 updates), drawing as the screen does.
        for (int tick = 0; tick < 2500; ++tick)
        {
            story.Tick(&harness.mGame);
            if (tick % 50 == 0)
            {
                story.Render(&harness.mGame, 0.0f);
            }
        }
        story.Render(&harness.mGame, 0.0f);
    }
}
} // namespace
