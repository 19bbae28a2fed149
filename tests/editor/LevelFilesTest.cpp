// Levels read and written in the game's formats: shipped levels come back byte for byte, and the text grid
// compiles to the same level.
#include "LevelCompiler.h"
#include "TestSupport.h"
#include "TypeTables.h"
#include "editor/EditorCatalogue.h"
#include "editor/LevelDocument.h"
#include "editor/LevelGrid.h"
#include "editor/ScratchLevel.h"

#include <gtest/gtest.h>

#include <SDL_image.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace
{
// The tests run in the build folder, beside the built content.
const std::filesystem::path kMaps = std::filesystem::absolute("data/maps");

std::string Bytes(const std::filesystem::path& file)
{
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

std::vector<std::string> ShippedLevels()
{
    std::vector<std::string> levels;
    std::ifstream list(kMaps / "maps.lst");
    std::string name;
    while (std::getline(list, name))
    {
        levels.push_back(name);
    }
    return levels;
}

std::vector<PlacedEntity> Sorted(std::vector<PlacedEntity> entities)
{
    for (PlacedEntity& placed : entities)
    {
        placed.mLinesBefore.clear();
    }
    std::sort(entities.begin(), entities.end(),
              [](const PlacedEntity& a, const PlacedEntity& b)
              { return std::tie(a.mY, a.mX) < std::tie(b.mY, b.mX); });
    return entities;
}
} // namespace

TEST(LevelFiles, EveryShippedLevelSavedUnchangedIsIdentical)
{
    ASSERT_EQ(IMG_Init(IMG_INIT_PNG) & IMG_INIT_PNG, IMG_INIT_PNG);
    const std::vector<std::string> levels = ShippedLevels();
    ASSERT_EQ(levels.size(), 20u);
    test::TempDir out(false);
    for (const std::string& name : levels)
    {
        LevelDocument level;
        level.Load((kMaps / name).string());
        level.Save((out.Path() / name).string());
        for (const std::string& file :
             {name, level.mBackgroundName, level.mCollisionName, level.mEntitiesName})
        {
            EXPECT_EQ(Bytes(out.Path() / file), Bytes(kMaps / file)) << file;
        }
    }
}

TEST(LevelFiles, TextGridCompilesBackToTheSameLevel)
{
    EditorCatalogue catalogue;
    catalogue.Load(kMaps.string() + "/");
    TypeTables tables;
    tables.Load((kMaps / "tiletypes.cfg").string(), (kMaps / "entitytypes.cfg").string());
    test::TempDir out(false);
    for (const std::string& name : {std::string("level4.map"), std::string("level9.map")})
    {
        LevelDocument level;
        level.Load((kMaps / name).string());
        // Without a shared legend the grid carries every line it needs.
        std::ofstream(out.Path() / "made.txt") << LevelGrid::Text(level, catalogue, "");
        LevelCompiler compiler(tables);
        compiler.Compile((out.Path() / "made.txt").string());
        compiler.Write(out.Path().string(), "made");

        LevelDocument compiled;
        compiled.Load((out.Path() / "made.map").string());
        EXPECT_EQ(compiled.Layer(0), level.Layer(0)) << name;
        EXPECT_EQ(compiled.Layer(1), level.Layer(1)) << name;
        EXPECT_EQ(Sorted(compiled.mEntities), Sorted(level.mEntities)) << name;
    }

    // A level's own tune goes into its grid and comes back.
    test::TempDir tuned(false);
    for (const char* file : {"level4_bg.png", "level4_col.png", "level4.ent"})
    {
        std::filesystem::copy_file(kMaps / file, tuned.Path() / file);
    }
    std::ofstream(tuned.Path() / "level4.map", std::ios::binary)
        << Bytes(kMaps / "level4.map") << "music homeward.ogg\n";
    LevelDocument level;
    level.Load((tuned.Path() / "level4.map").string());
    EXPECT_EQ("homeward.ogg", level.Music());
    std::ofstream(out.Path() / "tuned.txt") << LevelGrid::Text(level, catalogue, "");
    LevelCompiler compiler(tables);
    compiler.Compile((out.Path() / "tuned.txt").string());
    compiler.Write(out.Path().string(), "tuned");
    LevelDocument compiled;
    compiled.Load((out.Path() / "tuned.map").string());
    EXPECT_EQ("homeward.ogg", compiled.Music());
}

TEST(LevelFiles, NewLevelTakesItsFileNamesFromItsDescriptionAndKeepsItsWords)
{
    test::TempDir out(false);
    LevelDocument level(24, 16);
    level.SetCell(LevelDocument::Foreground, 3, 15, 0x808890);
    level.mEntities.push_back({"Player", false, 2, 14, "", {}});
    level.mDescription = "A first try\nwith two lines";
    level.Save((out.Path() / "mine.map").string());
    EXPECT_EQ(out.ReadFile("mine.map"),
              "// A first try\n// with two lines\nmine_bg.png mine_col.png mine.ent\n");
    EXPECT_EQ(out.ReadFile("mine.ent"), "Player 0 2 14\n");

    LevelDocument read;
    read.Load((out.Path() / "mine.map").string());
    EXPECT_EQ(read.Width(), 24);
    EXPECT_EQ(read.Height(), 16);
    EXPECT_EQ(read.Cell(LevelDocument::Foreground, 3, 15), 0x808890u);
    EXPECT_EQ(read.mDescription, level.mDescription);
    ASSERT_EQ(read.mEntities.size(), 1u);
    EXPECT_EQ(read.mEntities[0], level.mEntities[0]);
}

TEST(LevelFiles, GridRefusesWhatItCannotSayNamingTheCell)
{
    EditorCatalogue catalogue;
    catalogue.Load(kMaps.string() + "/");
    LevelDocument level;
    level.mEntities.push_back({"Keycard", true, 4, 5, "item", {}});
    level.SetCell(LevelDocument::Foreground, 4, 5, 0x808890);
    try
    {
        LevelGrid::Text(level, catalogue, "");
        FAIL() << "an entity on a tile was written";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_NE(std::string(error.what()).find("4,5"), std::string::npos) << error.what();
    }
}

TEST(LevelFiles, TestPlayWritesInAPrivateFolderOfItsOwn)
{
    namespace fs = std::filesystem;
    const LevelDocument level(20, 15);
    fs::path first;
    {
        // Two at once, made in the same millisecond, still get a folder each, new and for this user alone.
        ScratchLevel one;
        ScratchLevel two;
        EXPECT_TRUE(one.Folder().empty());
        one.Write(level);
        two.Write(level);
        first = one.Folder();
        EXPECT_NE(one.Folder(), two.Folder());
        EXPECT_EQ(fs::status(first).permissions() & (fs::perms::group_all | fs::perms::others_all),
                  fs::perms::none);
        EXPECT_TRUE(fs::exists(first / "level.map"));
    }
    EXPECT_FALSE(fs::exists(first));
}
