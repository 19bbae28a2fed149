// The progress file: bad lines skipped, its limits, round trips, one record per set of levels, the backup.
#include "player/Progress.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{
// The game's own levels lie in a folder named data, wherever it is installed.
const std::string kGame = "install/data";

class ProgressTest : public ::testing::Test
{
  protected:
    // A set of levels in folder/maps, which data/ then leads to (as a mod linked in its place does).
    void UseSet(const std::string& folder, const std::string& list)
    {
        mDir.WriteFile(folder + "/maps/maps.lst", list);
        fs::remove(mDir.Path() / "data");
        fs::create_directory_symlink(mDir.Path() / folder, mDir.Path() / "data");
    }
    // Loads as start-up does; what stderr was told.
    std::string Load(Progress& progress)
    {
        testing::internal::CaptureStderr();
        EXPECT_EQ("", progress.Load());
        return testing::internal::GetCapturedStderr();
    }
    std::string Reached(const Progress& progress)
    {
        std::string names;
        for (const std::string& name : progress.mReached)
        {
            names += (names.empty() ? "" : ",") + name;
        }
        return names;
    }

    test::TempDir mDir;
    const std::vector<std::string> mLevels = {"one", "two", "three"};
};

TEST_F(ProgressTest, EveryGoodLineIsKeptAndTheBadOnesAreCountedOnOneLine)
{
    UseSet(kGame, "one\ntwo\nthree\n");
    const struct
    {
        const char* text;
        const char* reached;
        int bestOfOne;
        const char* said;
    } cases[] = {
        {"// kept\r\nreached one\nbest 90 one\n", "one", 90, ""},
        {"reached one\nbest  90 one\n", "one", 0, "1 line skipped (data line 2 has no time in updates)"},
        {"levels 3\nreached two\nbest 90 one\n", "two", 90, "1 line skipped (data line 1 is not understood)"},
        {"best 0 one\nbest 180000 one\nbest 179999 one\nbest 95 one\nbest 94 one x\n", "", 95,
         "2 lines skipped (data line 1 has a time out of range)"},
        {"reached one\nreached my level\nbest 9", "my level,one", 0,
         "1 line skipped (data line 3 is not understood)"},
        {"", "", 0, "1 line skipped (it holds no progress)"},
        {"set\nreached one\n", "one", 0, "1 line skipped (data line 1 names no set of levels)"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        mDir.WriteFile(Progress::mFileName, c.text);
        Progress progress;
        const std::string said = Load(progress);
        EXPECT_EQ(*c.said ? std::string("Kestrovane: progress file kesv.sav: ") + c.said + "\n" : "", said);
        EXPECT_EQ(c.reached, Reached(progress));
        EXPECT_EQ(c.bestOfOne, progress.Best("one"));
        EXPECT_EQ(c.text, mDir.ReadFile(Progress::mFileName)) << "reading never writes";
    }
}

TEST_F(ProgressTest, TimesAreKeptWithinTheClockAndComeBackAsWritten)
{
    UseSet(kGame, "one\ntwo\nthree\n");
    Progress progress;
    Load(progress);
    EXPECT_FALSE(progress.RecordTime("one", 0));
    EXPECT_FALSE(progress.RecordTime("", 30));
    EXPECT_FALSE(mDir.Exists(Progress::mFileName)) << "nothing recorded, nothing written";
    EXPECT_TRUE(progress.RecordTime("one", 500000));
    EXPECT_EQ(179999, progress.Best("one")) << "held at the clock's limit";
    EXPECT_TRUE(progress.RecordTime("one", 1));
    EXPECT_FALSE(progress.RecordTime("one", 1)) << "only a better time is a new best";
    EXPECT_TRUE(progress.RecordTime("a level with spaces", 42));
    EXPECT_TRUE(progress.Reach(mLevels, 1));
    EXPECT_FALSE(progress.Reach(mLevels, 1)) << "entered before: nothing new to write";
    EXPECT_FALSE(progress.Reach(mLevels, 3));

    Progress reread;
    EXPECT_EQ("", Load(reread));
    EXPECT_EQ(progress.mBest, reread.mBest);
    EXPECT_EQ("two", Reached(reread));
    EXPECT_EQ(1, reread.Best("one"));
    EXPECT_EQ(42, reread.Best("a level with spaces"));
}

TEST_F(ProgressTest, TheFurthestLevelCountsADuplicateAtItsLaterPlaceAndOutlivesARemovedLevel)
{
    const struct
    {
        std::vector<std::string> list;
        const char* file;
        std::size_t furthest;
    } cases[] = {
        {{"one", "two", "three"}, "reached two\n", 1},
        {{"one", "two", "one", "three"}, "reached one\n", 2},
        {{"one", "two", "four"}, "reached one\nreached two\nreached three\n", 1},
        // A file of an earlier version names only the furthest level; the best times show the others.
        {{"one", "two", "four"}, "reached three\nbest 90 one\nbest 80 two\n", 1},
        {{"one", "two"}, "reached gone\nbest 90 one\n", 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.file);
        std::string list;
        for (const std::string& level : c.list)
        {
            list += level + "\n";
        }
        UseSet(kGame, list);
        mDir.WriteFile(Progress::mFileName, c.file);
        Progress progress;
        Load(progress);
        EXPECT_EQ(c.furthest, progress.Furthest(c.list));
    }
}

TEST_F(ProgressTest, EachSetOfLevelsKeepsItsOwnProgressAndAnEarlierFileBelongsToTheSetThatListsIt)
{
    // Written by an earlier version, before sets: taken over by the game's own levels once they list one
    // of its levels, and never by a mod's, though it has a level of the same name.
    mDir.WriteFile(Progress::mFileName, "// old\nreached two\nbest 90 one\n");
    UseSet("mod", "one\nspace\n");
    Progress mod;
    Load(mod);
    EXPECT_EQ("", Reached(mod));
    EXPECT_EQ(0, mod.Best("one")) << "a mod's level1.map is not the game's";
    EXPECT_TRUE(mod.Reach({"one", "space"}, 1));
    EXPECT_TRUE(mod.RecordTime("one", 30));

    UseSet(kGame, "one\ntwo\nthree\n");
    Progress game;
    Load(game);
    EXPECT_EQ(1u, game.Furthest(mLevels));
    EXPECT_EQ(90, game.Best("one"));
    EXPECT_TRUE(game.Reach(mLevels, 2));
    const std::string gameKey = game.SetKey();

    UseSet("mod", "one\nspace\n");
    Load(mod);
    EXPECT_EQ("space", Reached(mod));
    EXPECT_EQ(30, mod.Best("one"));
    EXPECT_NE(gameKey, mod.SetKey());
    for (const std::string& key : {gameKey, mod.SetKey()})
    {
        EXPECT_EQ(std::string::npos, key.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-")) << key;
        EXPECT_LE(key.size(), 33u) << key;
    }
    EXPECT_EQ("mod-", mod.SetKey().substr(0, 4));
    EXPECT_EQ("data-", gameKey.substr(0, 5));

    UseSet(kGame, "one\ntwo\nthree\n");
    Load(game);
    EXPECT_EQ(gameKey, game.SetKey()) << "the same folder is the same set";
    EXPECT_EQ("three,two", Reached(game));
    EXPECT_EQ(90, game.Best("one"));
}

TEST_F(ProgressTest, TheBackupKeepsTheLastFileThatReadCleanly)
{
    UseSet(kGame, "one\ntwo\nthree\n");
    const std::string clean = "reached one\nbest 90 one\n";
    mDir.WriteFile(Progress::mFileName, clean);
    Progress progress;
    Load(progress);
    ASSERT_TRUE(progress.Reach(mLevels, 1));
    EXPECT_EQ(clean, mDir.ReadFile(Progress::mBackupName));

    // A damaged file is replaced with its good lines, and the backup stays as the last clean one.
    mDir.WriteFile(Progress::mFileName, "reached one\nbest 80 one\nbest x two\n");
    Load(progress);
    ASSERT_TRUE(progress.Reach(mLevels, 2));
    EXPECT_EQ(clean, mDir.ReadFile(Progress::mBackupName));
    ASSERT_TRUE(progress.Save());
    EXPECT_EQ(clean, mDir.ReadFile(Progress::mBackupName)) << "nor after a second save of the run";
    Progress reread;
    EXPECT_EQ("", Load(reread));
    EXPECT_EQ("one,three", Reached(reread));
    EXPECT_EQ(80, reread.Best("one"));
}

TEST_F(ProgressTest, AFileThatIsNoFileOrTooLargeIsRefusedUnreadAndAFailedSaveSaysWhy)
{
    UseSet(kGame, "one\ntwo\nthree\n");
    Progress progress;
    fs::create_directory(mDir.Path() / Progress::mFileName);
    EXPECT_EQ("the progress file kesv.sav is not a regular file", progress.Load());

    testing::internal::CaptureStderr();
    EXPECT_TRUE(progress.RecordTime("one", 30)) << "a new best, though not saved";
    EXPECT_EQ("Kestrovane: progress not saved: kesv.sav: Is a directory\n",
              testing::internal::GetCapturedStderr());
    EXPECT_EQ("kesv.sav: Is a directory", progress.SaveFailure());
    EXPECT_EQ(30, progress.Best("one")) << "kept for this run";

    fs::remove(mDir.Path() / Progress::mFileName);
    fs::create_symlink("/dev/zero", mDir.Path() / Progress::mFileName);
    EXPECT_EQ("the progress file kesv.sav is not a regular file", progress.Load());
    fs::remove(mDir.Path() / Progress::mFileName);
    mDir.WriteFile(Progress::mFileName, "reached one\n" + std::string(Progress::mMaxFileSize, '/'));
    EXPECT_EQ("the progress file kesv.sav is larger than 1 MB", progress.Load());
}
} // namespace
