// The settings file "kesv.cfg": the default file, the reader's line and field rules, and safe rewriting.
#include "Game.h"

#include "TestSupport.h"
#include "io/PlayerFile.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace
{
const std::string kDefaultFile = test::SettingsText();

// The default file with another last line (sound, music and their volumes).
std::string WithAudioLine(const std::string& line)
{
    return test::SettingsText("1 0 0", "80 79 82 44", line);
}

void ExpectDefaults(const Game& game)
{
    EXPECT_TRUE(game.mFullscreen);
    EXPECT_FALSE(game.mVSync);
    EXPECT_FALSE(game.mShowFPS);
    EXPECT_EQ(game.mKeyLeft, 80);
    EXPECT_EQ(game.mKeyRight, 79);
    EXPECT_EQ(game.mKeyJump, 82);
    EXPECT_EQ(game.mKeyFire, 44);
    EXPECT_TRUE(game.mSound);
    EXPECT_TRUE(game.mMusic);
    EXPECT_EQ(game.mSoundVolume, 64);
    EXPECT_EQ(game.mMusicVolume, 64);
}

// The game is declared after the folder, so its clean-up writes into the folder before it goes.
class SettingsFile : public ::testing::Test
{
  protected:
    test::TempDir dir;
    Game game;
};

TEST_F(SettingsFile, MissingFileIsNotReadAndIsWrittenExactlyWithTheDefaults)
{
    EXPECT_FALSE(game.ReadConfig());
    ASSERT_TRUE(game.WriteConfig());
    EXPECT_EQ(dir.ReadFile("kesv.cfg"), kDefaultFile);
    EXPECT_TRUE(game.ReadConfig());
    ExpectDefaults(game);
    // Nothing but the settings file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST_F(SettingsFile, ValuesSurviveAWriteAndARead)
{
    game.mFullscreen = false;
    game.mVSync = true;
    game.mShowFPS = true;
    game.mKeyLeft = 4;
    game.mKeyRight = 7;
    game.mKeyJump = 26;
    game.mKeyFire = 224;
    game.mSound = false;
    game.mMusic = false;
    game.mSoundVolume = 0;
    game.mMusicVolume = 128;
    ASSERT_TRUE(game.WriteConfig());
    EXPECT_EQ(dir.ReadFile("kesv.cfg"), test::SettingsText("0 1 1", "4 7 26 224", "0 0 0 128"));

    Game other;
    ASSERT_TRUE(other.ReadConfig());
    EXPECT_FALSE(other.mFullscreen);
    EXPECT_TRUE(other.mVSync);
    EXPECT_TRUE(other.mShowFPS);
    EXPECT_EQ(other.mKeyLeft, 4);
    EXPECT_EQ(other.mKeyRight, 7);
    EXPECT_EQ(other.mKeyJump, 26);
    EXPECT_EQ(other.mKeyFire, 224);
    EXPECT_FALSE(other.mSound);
    EXPECT_FALSE(other.mMusic);
    EXPECT_EQ(other.mSoundVolume, 0);
    EXPECT_EQ(other.mMusicVolume, 128);
}

TEST_F(SettingsFile, CommentsAndEmptyLinesDoNotShiftTheDataLines)
{
    dir.WriteFile("kesv.cfg", "// only\n//comments\n/\n");
    ASSERT_TRUE(game.ReadConfig());
    // A single "/" is not a comment: it is the first data line, whose field reads as false.
    EXPECT_FALSE(game.mFullscreen);

    Game other;
    dir.WriteFile("kesv.cfg", "// first\n"
                              "//\n"
                              "0 1 1\n"
                              "\n"
                              "// between\n"
                              "// 9 9 9 9\n"
                              "10 11 12 13\n"
                              "//\n"
                              "0 1 100 30 // a note");
    ASSERT_TRUE(other.ReadConfig());
    EXPECT_FALSE(other.mFullscreen);
    EXPECT_TRUE(other.mVSync);
    EXPECT_TRUE(other.mShowFPS);
    EXPECT_EQ(other.mKeyLeft, 10);
    EXPECT_EQ(other.mKeyFire, 13);
    EXPECT_FALSE(other.mSound);
    EXPECT_TRUE(other.mMusic);
    EXPECT_EQ(other.mSoundVolume, 100);
    EXPECT_EQ(other.mMusicVolume, 30);
}

TEST_F(SettingsFile, EachSpaceEndsOneFieldSoTwoSpacesMakeAnEmptyField)
{
    game.mVSync = true;
    game.mShowFPS = true;
    dir.WriteFile("kesv.cfg", "1  0 0\n");
    ASSERT_TRUE(game.ReadConfig());
    EXPECT_TRUE(game.mFullscreen);
    EXPECT_FALSE(game.mVSync);   // the empty field reads as 0
    EXPECT_FALSE(game.mShowFPS); // the third field; the fourth is ignored

    // A leading space gives an empty first field, and a line starting " //" is data.
    dir.WriteFile("kesv.cfg", " // 1\n");
    game.mFullscreen = true;
    game.mVSync = true;
    game.mShowFPS = false;
    ASSERT_TRUE(game.ReadConfig());
    EXPECT_FALSE(game.mFullscreen);
    EXPECT_FALSE(game.mVSync);
    EXPECT_TRUE(game.mShowFPS);
}

TEST_F(SettingsFile, ValuesAreTakenAsWrittenWithoutRangeChecks)
{
    dir.WriteFile("kesv.cfg", "2 0 0\n80 79 82 44\n1 1 500 -3\n");
    ASSERT_TRUE(game.ReadConfig());
    EXPECT_TRUE(game.mFullscreen); // any number but 0 is true
    EXPECT_EQ(game.mSoundVolume, 500);
    EXPECT_EQ(game.mMusicVolume, -3);

    ASSERT_TRUE(game.WriteConfig());
    const std::string written = dir.ReadFile("kesv.cfg");
    EXPECT_NE(written.find("\n1 0 0\n"), std::string::npos) << written;
    EXPECT_NE(written.find("\n1 1 500 -3"), std::string::npos) << written;
}

TEST_F(SettingsFile, FourthDataLineIsIgnoredAndLostOnRewrite)
{
    dir.WriteFile("kesv.cfg", "1 0 0\n80 79 82 44\n1 1 64 64\n0 1 1\n");
    ASSERT_TRUE(game.ReadConfig());
    ExpectDefaults(game);
    ASSERT_TRUE(game.WriteConfig());
    EXPECT_EQ(dir.ReadFile("kesv.cfg"), kDefaultFile);
}

TEST_F(SettingsFile, ShortLinesKeepTheValuesOfTheirMissingFields)
{
    game.mShowFPS = true;
    dir.WriteFile("kesv.cfg", "0 1\n10 11\n0\n");
    ASSERT_TRUE(game.ReadConfig());
    EXPECT_FALSE(game.mFullscreen);
    EXPECT_TRUE(game.mVSync);
    EXPECT_TRUE(game.mShowFPS);
    EXPECT_EQ(game.mKeyLeft, 10);
    EXPECT_EQ(game.mKeyRight, 11);
    EXPECT_EQ(game.mKeyJump, 82);
    EXPECT_EQ(game.mKeyFire, 44);
    EXPECT_FALSE(game.mSound);
    EXPECT_TRUE(game.mMusic);
    EXPECT_EQ(game.mSoundVolume, 64);
    EXPECT_EQ(game.mMusicVolume, 64);
}

TEST_F(SettingsFile, WindowsLineEndingsReadLikeUnixOnes)
{
    // Were the carriage returns kept, the blank line would count as a data line.
    dir.WriteFile("kesv.cfg",
                  "// Default config file\r\n0 1 0\r\n\r\n// Controls\r\n4 5 6 7\r\n1 0 12 34\r\n");
    ASSERT_TRUE(game.ReadConfig());
    EXPECT_FALSE(game.mFullscreen);
    EXPECT_TRUE(game.mVSync);
    EXPECT_EQ(game.mKeyLeft, 4);
    EXPECT_EQ(game.mKeyFire, 7);
    EXPECT_TRUE(game.mSound);
    EXPECT_FALSE(game.mMusic);
    EXPECT_EQ(game.mSoundVolume, 12);
    EXPECT_EQ(game.mMusicVolume, 34);
}

// Root writes whatever the permissions say, so permission rules are checked in a child process that runs
// as an ordinary user; its exit code says whether the check held.
template <typename Check> void AsOrdinaryUser(Check check)
{
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0)
    {
        const uid_t nobody = 65534;
        if (geteuid() == 0 && (setgid(nobody) != 0 || setuid(nobody) != 0))
        {
            _exit(2);
        }
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

void SetMode(const std::filesystem::path& path, std::filesystem::perms mode)
{
    std::filesystem::permissions(path, mode, std::filesystem::perm_options::replace);
}

TEST_F(SettingsFile, FailedWriteLeavesTheOldFileWhole)
{
    // A read-only file is not replaced, though the folder would let a new file be renamed over it.
    dir.WriteFile("kesv.cfg", "0 0 0\n");
    SetMode(dir.Path(), std::filesystem::perms::all);
    SetMode(dir.Path() / "kesv.cfg", std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                         std::filesystem::perms::others_read);
    game.mSoundVolume = 99;
    AsOrdinaryUser([this] { return !game.WriteConfig(); });
    EXPECT_EQ(dir.ReadFile("kesv.cfg"), "0 0 0\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST_F(SettingsFile, WithoutATemporaryFileTheFileIsRewrittenInPlace)
{
    dir.WriteFile("kesv.cfg", "0 0 0\n");
    game.mSoundVolume = 99;
    // A folder standing where the new file would be prepared.
    std::filesystem::create_directory(dir.Path() / "kesv.cfg.tmp");
    EXPECT_TRUE(game.WriteConfig());
    EXPECT_EQ(dir.ReadFile("kesv.cfg"), WithAudioLine("1 1 99 64"));
    std::filesystem::remove(dir.Path() / "kesv.cfg.tmp");

    // A folder that takes no new file at all.
    SetMode(dir.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                            std::filesystem::perms::others_read | std::filesystem::perms::others_exec);
    SetMode(dir.Path() / "kesv.cfg", std::filesystem::perms::all);
    game.mSoundVolume = 42;
    AsOrdinaryUser([this] { return game.WriteConfig(); });
    EXPECT_EQ(dir.ReadFile("kesv.cfg"), WithAudioLine("1 1 42 64"));
    SetMode(dir.Path(), std::filesystem::perms::owner_all);
}

TEST_F(SettingsFile, ALinkedFileIsWrittenThroughTheLinkWhichStays)
{
    std::filesystem::create_directory(dir.Path() / "saved");
    std::filesystem::create_symlink("saved/settings", dir.Path() / "kesv.cfg");
    EXPECT_FALSE(Game::ConfigFileExists()); // the link leads nowhere yet
    ASSERT_TRUE(game.WriteConfig());
    game.mSoundVolume = 7;
    ASSERT_TRUE(game.WriteConfig()); // the second write replaces an existing target
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() / "kesv.cfg"));
    EXPECT_EQ(dir.ReadFile("saved/settings"), WithAudioLine("1 1 7 64"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path() / "saved"), {}), 1);
}

TEST_F(SettingsFile, WhereFilesAreKeptElsewhereEachWriteLandsThereAndIsHandedOn)
{
    // As in a browser tab: the working folder is forgotten, the kept folder is stored after every write.
    std::filesystem::create_directory(dir.Path() / "kept");
    std::vector<std::string> stored;
    PlayerFile::KeepIn(dir.Path() / "kept", [&stored](const std::string& path) { stored.push_back(path); });
    const bool settingsWritten = game.WriteConfig();
    game.mProgress.mReached.insert("level2.map");
    const bool progressWritten = game.mProgress.Save();
    // A folder standing where a kept file would go: no one, not even root, can write it.
    std::filesystem::create_directory(dir.Path() / "kept" / "kesv.odd");
    const bool oddWritten = PlayerFile::Write("kesv.odd", "x");
    PlayerFile::KeepIn({}, nullptr);

    EXPECT_TRUE(settingsWritten && progressWritten);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() / "kesv.cfg"));
    EXPECT_EQ(dir.ReadFile("kept/kesv.cfg"), kDefaultFile);
    EXPECT_TRUE(dir.Exists("kept/kesv.sav"));
    // A write that failed hands nothing on.
    EXPECT_FALSE(oddWritten);
    const auto kept = std::filesystem::canonical(dir.Path() / "kept");
    EXPECT_EQ(stored, (std::vector<std::string>{(kept / "kesv.cfg").string(), (kept / "kesv.sav").string()}));
}

TEST_F(SettingsFile, FilesWrittenTogetherInTheKeptFolderAreHandedOnAndSoAreTheirRemovals)
{
    // A level kept in a browser tab: its folder in the kept one, reached through a link of its name.
    std::filesystem::create_directories(dir.Path() / "kept" / "levels");
    std::filesystem::create_directory_symlink(dir.Path() / "kept" / "levels", dir.Path() / "levels");
    std::vector<std::string> stored;
    std::vector<std::string> removed;
    PlayerFile::KeepIn(
        dir.Path() / "kept", [&stored](const std::string& path) { stored.push_back(path); },
        [&removed](const std::string& path) { removed.push_back(path); });
    const bool written =
        PlayerFile::WriteAll({{"levels/a.ent", "x"}, {"levels/a.map", "y"}, {"elsewhere", "z"}});
    PlayerFile::Remove("levels/a.ent");
    PlayerFile::Remove("elsewhere");
    PlayerFile::KeepIn({}, nullptr);

    EXPECT_TRUE(written);
    EXPECT_EQ(dir.ReadFile("kept/levels/a.map"), "y");
    EXPECT_FALSE(dir.Exists("kept/levels/a.ent"));
    EXPECT_FALSE(dir.Exists("elsewhere"));
    // Only what lies in the kept folder reaches the keeper; nothing is left half-written beside it.
    const auto levels = std::filesystem::canonical(dir.Path() / "kept" / "levels");
    EXPECT_EQ(stored, (std::vector<std::string>{(levels / "a.ent").string(), (levels / "a.map").string()}));
    EXPECT_EQ(removed, (std::vector<std::string>{(levels / "a.ent").string()}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(levels), {}), 1);
}

TEST_F(SettingsFile, AnUnreadableFileIsKeptAndStartUpSaysWhyWithStatusOne)
{
    dir.WriteFile("kesv.cfg", "0 0 0\n");
    SetMode(dir.Path(), std::filesystem::perms::all);
    SetMode(dir.Path() / "kesv.cfg", std::filesystem::perms::none);
    AsOrdinaryUser(
        []
        {
            // The child's own game; it is never destroyed, so nothing is written at its exit.
            auto* child = new Game();
            return std::freopen("why.txt", "w", stderr) != nullptr && !child->Init() &&
                   child->mExitStatus == 1;
        });
    EXPECT_EQ(dir.ReadFile("kesv.cfg"), "0 0 0\n");
    EXPECT_NE(dir.ReadFile("why.txt").find("kesv.cfg exists but cannot be read"), std::string::npos);
}
TEST_F(SettingsFile, AByteOrderMarkBeforeTheFileIsNoPartOfItsFirstLine)
{
    // The game's own file as an editor saves it: the mark must not turn the first comment into data.
    game.mFullscreen = false;
    game.mShowFPS = true;
    game.mKeyFire = SDL_SCANCODE_Z;
    ASSERT_TRUE(game.WriteConfig());
    const std::string written = dir.ReadFile("kesv.cfg");
    dir.WriteFile("kesv.cfg", "\xEF\xBB\xBF" + written);
    game.mShowFPS = false;
    game.mKeyFire = 44;
    ASSERT_TRUE(game.ReadConfig());
    ASSERT_TRUE(game.WriteConfig());
    EXPECT_EQ(dir.ReadFile("kesv.cfg"), written);

    // Nor glue itself to the first value of a file that starts with data.
    dir.WriteFile("kesv.cfg", "\xEF\xBB\xBF"
                              "1 1 1\n");
    ASSERT_TRUE(game.ReadConfig());
    EXPECT_TRUE(game.mFullscreen);
}
} // namespace

// A key code SDL has no key for would index past SDL's tables of keys wherever it is used.
TEST_F(SettingsFile, KeyCodesOutsideSdlsScancodesFallBackToTheirDefaultsWithOneLineEach)
{
    const struct
    {
        const char* line;
        int left, right, jump, fire;
        int complaints;
    } cases[] = {
        {"100000 80 82 44", 80, 80, 82, 44, 1},
        {"0 -1 512 511", 80, 79, 82, 511, 3},
        {"4 5 6 x", 4, 5, 6, 44, 1}, // a field with no number reads as 0, which is no key either
        {"1 511 82 44", 1, 511, 82, 44, 0},
    };
    for (const auto& c : cases)
    {
        Game read;
        dir.WriteFile("kesv.cfg", std::string("1 0 0\n") + c.line + "\n1 1 64 64\n");
        testing::internal::CaptureStderr();
        ASSERT_TRUE(read.ReadConfig());
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(c.left, read.mKeyLeft) << c.line;
        EXPECT_EQ(c.right, read.mKeyRight) << c.line;
        EXPECT_EQ(c.jump, read.mKeyJump) << c.line;
        EXPECT_EQ(c.fire, read.mKeyFire) << c.line;
        EXPECT_EQ(c.complaints, std::count(said.begin(), said.end(), '\n')) << said;
    }
}
