// The settings file "kesv.cfg": the default file, the reader's line and field rules, and safe rewriting.
#include "Game.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace
{
const std::string kDefaultFile = "// Default config file\n"
                                 "// Fullscreen VSync Show FPS\n"
                                 "1 0 0\n"
                                 "// Controls\n"
                                 "// Left Right Jump Fire\n"
                                 "80 79 82 44\n"
                                 "// Sound Music Sound Volume Music Volume\n"
                                 "1 1 64 64";

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
    EXPECT_EQ(dir.ReadFile("kesv.cfg"), "// Default config file\n// Fullscreen VSync Show FPS\n0 1 1\n"
                                        "// Controls\n// Left Right Jump Fire\n4 7 26 224\n"
                                        "// Sound Music Sound Volume Music Volume\n0 0 0 128");

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

TEST_F(SettingsFile, FailedWriteLeavesTheOldFileWhole)
{
    dir.WriteFile("kesv.cfg", "0 0 0\n");
    // A folder where the new file would be prepared makes the write fail.
    std::filesystem::create_directory(dir.Path() / "kesv.cfg.tmp");
    game.mSoundVolume = 99;
    EXPECT_FALSE(game.WriteConfig());
    EXPECT_EQ(dir.ReadFile("kesv.cfg"), "0 0 0\n");
    std::filesystem::remove(dir.Path() / "kesv.cfg.tmp");
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
