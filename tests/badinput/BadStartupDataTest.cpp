// Start-up with a spoiled picture, settings, progress or sound file: the load error or the quiet default,
// never worse, and the settings file is always written at the end.
#include "SpoiledData.h"

#include "Game.h"
#include "StateManager.h"
#include "audio/AudioManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>

namespace
{
using badinput::Spoil;

// Starts the game; "" when it started (then it runs a few passes), else the error text or "false".
std::string StartAndRun()
{
    Game game;
    try
    {
        if (!game.Init())
        {
            return "false";
        }
        for (int pass = 0; pass < 5; ++pass)
        {
            game.HandleEvents();
            game.Tick();
            game.Render(0.5f);
        }
    }
    catch (const std::runtime_error& error)
    {
        return error.what();
    }
    return "";
}

TEST(BadStartupData, EverySpoiledPictureStopsStartUpWithTheLoadErrorAndTheSettingsAreWritten)
{
    for (const char* picture : {"font.png", "bg.png", "arrow.png", "title.png", "settings.png"})
    {
        for (Spoil spoil : badinput::kAllSpoils)
        {
            SCOPED_TRACE(std::string(picture) + " " + badinput::Name(spoil));
            test::TempDir dir;
            badinput::WriteGame(dir);
            badinput::SpoilFile(dir, std::string("data/gfx/") + picture, spoil);
            const std::string outcome = StartAndRun();
            EXPECT_TRUE(badinput::Matches(outcome, "Unable to load image: *")) << outcome;
            EXPECT_EQ(dir.ReadFile("kesv.cfg"), badinput::kWindowedSettings);
        }
    }
}

TEST(BadStartupData, AnAbsurdlyLargeFontIsRefusedBeforeItIsRead)
{
    test::TempDir dir;
    badinput::WriteGame(dir);
    badinput::WritePngHeaderOnly(dir, "data/gfx/font.png", 20000, 20000);
    EXPECT_EQ(StartAndRun(), "Unable to load image: data/gfx/font.png is too large (20000x20000 pixels)");
    EXPECT_EQ(dir.ReadFile("kesv.cfg"), badinput::kWindowedSettings);
}

TEST(BadStartupData, SpoiledSettingsFilesStartWithTheRulesValuesAndAreRewrittenInFull)
{
    for (Spoil spoil : badinput::kAllSpoils)
    {
        SCOPED_TRACE(badinput::Name(spoil));
        test::TempDir dir;
        badinput::WriteGame(dir);
        badinput::SpoilFile(dir, "kesv.cfg", spoil);
        EXPECT_EQ(StartAndRun(), "");
        // Whatever was read is written back in the full layout, and reads back as the same record.
        const std::string written = dir.ReadFile("kesv.cfg");
        EXPECT_EQ(written.rfind("// Default config file\n// Fullscreen VSync Show FPS\n", 0), 0u) << written;
        Game first;
        ASSERT_TRUE(first.ReadConfig());
        first.WriteConfig();
        EXPECT_EQ(dir.ReadFile("kesv.cfg"), written);
    }

    // A line of a megabyte without a line end, and values far outside int; keys SDL has none for fall back
    // to their defaults.
    test::TempDir dir;
    badinput::WriteGame(dir);
    dir.WriteFile("kesv.cfg", "0 1 0\n99999999999999 -99999999999999 x 44\n1 1 " + std::string(1 << 20, '7'));
    EXPECT_EQ(StartAndRun(), "");
    EXPECT_EQ(dir.ReadFile("kesv.cfg"), test::SettingsText("0 1 0", "80 79 82 44", "1 1 2147483647 64"));
}

TEST(BadStartupData, ASettingsPathThatIsAFolderGivesTheDefaultsAndIsLeftAlone)
{
    test::TempDir dir;
    badinput::WriteGame(dir);
    std::filesystem::remove(dir.Path() / "kesv.cfg");
    std::filesystem::create_directory(dir.Path() / "kesv.cfg");
    {
        Game game;
        game.mFullscreen = false; // only to keep the window small; the folder gives no values
        EXPECT_TRUE(game.Init());
        EXPECT_TRUE(game.mSound);
        EXPECT_EQ(game.mKeyFire, 44);
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "kesv.cfg"));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "kesv.cfg.tmp"));
}

TEST(BadStartupData, ABadProgressFileKeepsItsGoodLinesSaysSoInOneLineAndCostsNothingElse)
{
    // Each is read into a game that starts; the good lines give progress.
    const struct
    {
        const char* name;
        const char* text;
        const char* reached;
        int best;
    } files[] = {{"empty", "", "", 0},
                 {"only a comment", "// nothing yet\n", "", 0},
                 {"garbage", "reached level\nbest 90 level\n", "", 0}, // spoiled below
                 {"an unknown line", "reached level\nlevels 3\n", "level", 0},
                 {"no number", "best 9O level\nreached level\n", "level", 0},
                 {"a time past the clock", "best 180000 level\nbest 90 level\n", "", 90},
                 {"good", "// kept by the game\r\nreached level\nbest 90 level\n", "level", 90}};
    for (const auto& file : files)
    {
        SCOPED_TRACE(file.name);
        test::TempDir dir;
        badinput::WriteGame(dir);
        dir.WriteFile("kesv.sav", file.text);
        if (std::string(file.name) == "garbage")
        {
            badinput::SpoilFile(dir, "kesv.sav", Spoil::Garbage);
        }
        const std::string before = dir.ReadFile("kesv.sav");
        const bool good = std::string(file.name) == "good";
        {
            Game game;
            testing::internal::CaptureStderr();
            ASSERT_TRUE(game.Init());
            const std::string said = testing::internal::GetCapturedStderr();
            EXPECT_EQ(good ? "" : "Kestrovane: progress file kesv.sav: ", said.substr(0, good ? 0 : 36));
            EXPECT_EQ(good ? 0 : 1, std::count(said.begin(), said.end(), '\n')) << said;
            EXPECT_EQ(*file.reached ? std::set<std::string>{file.reached} : std::set<std::string>{},
                      game.mProgress.mReached);
            EXPECT_EQ(file.best, game.mProgress.Best("level"));
        }
        EXPECT_EQ(dir.ReadFile("kesv.cfg"), badinput::kWindowedSettings);
        EXPECT_EQ(dir.ReadFile("kesv.sav"), before) << "left as it was until there is progress to write";
    }

    // One that is no file at all stops the start before the window opens, and is left alone.
    test::TempDir dir;
    badinput::WriteGame(dir);
    std::filesystem::create_directory(dir.Path() / "kesv.sav");
    Game game;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(game.Init());
    EXPECT_EQ("Kestrovane: not started: the progress file kesv.sav is not a regular file\n",
              testing::internal::GetCapturedStderr());
    EXPECT_EQ(1, game.mExitStatus);
    EXPECT_EQ(nullptr, game.mFramework);
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "kesv.sav"));
}

TEST(BadStartupData, SpoiledSoundListsAndFilesLeaveAGameThatRunsSilently)
{
    const char* files[] = {"data/sfx/sounds.cfg", "data/music/music.cfg", "data/sfx/jump.wav",
                           "data/music/menu.ogg"};
    for (const char* file : files)
    {
        for (Spoil spoil : badinput::kAllSpoils)
        {
            SCOPED_TRACE(std::string(file) + " " + badinput::Name(spoil));
            test::TempDir dir;
            badinput::WriteGame(dir);
            badinput::SpoilFile(dir, file, spoil);
            EXPECT_EQ(StartAndRun(), "");
            EXPECT_EQ(dir.ReadFile("kesv.cfg"), badinput::kWindowedSettings);
        }
    }
}

TEST(BadStartupData, SpoiledAudioFilesAreRegisteredSilentAndPlayingThemIsHarmless)
{
    test::TempDir dir;
    badinput::WriteGame(dir);
    for (Spoil spoil : {Spoil::Empty, Spoil::Truncated, Spoil::Garbage})
    {
        const std::string name = std::string(badinput::Name(spoil)) + ".wav";
        dir.WriteFile("data/sfx/" + name, dir.ReadFile("data/sfx/jump.wav"));
        badinput::SpoilFile(dir, "data/sfx/" + name, spoil);
        dir.WriteFile("data/music/" + std::string(badinput::Name(spoil)) + ".ogg",
                      dir.ReadFile("data/sfx/" + name));
    }
    dir.WriteFile("data/sfx/sounds.cfg", "missing.wav empty.wav truncated.wav garbage.wav\n");
    dir.WriteFile("data/music/music.cfg", "missing.ogg empty.ogg truncated.ogg garbage.ogg\n");

    AudioManager audio;
    try
    {
        audio.Init(true, true, 128, 128);
    }
    catch (const std::runtime_error&)
    {
        GTEST_SKIP() << "no audio driver at all";
    }
    ASSERT_TRUE(audio.LoadAllAudioFiles());
    ASSERT_EQ(audio.mSounds.size(), 4u);
    ASSERT_EQ(audio.mSongs.size(), 4u);
    for (const char* name : {"missing", "empty", "garbage"})
    {
        EXPECT_EQ(audio.mSounds[std::string(name) + ".wav"], nullptr) << name;
        EXPECT_EQ(audio.mSongs[std::string(name) + ".ogg"], nullptr) << name;
    }
    // Whatever loaded is played while the mixer runs for a moment, one piece of music after another.
    for (const auto& song : audio.mSongs)
    {
        for (const auto& sound : audio.mSounds)
        {
            audio.PlaySound(sound.first);
        }
        audio.PlayMusic(song.first, false);
        SDL_Delay(150);
    }
    audio.CleanUp();
}
} // namespace

TEST(BadStartupData, ABrokenLinkIsRefusedBeforeTheWindowOpens)
{
    for (const bool editing : {false, true})
    {
        test::TempDir dir;
        badinput::WriteGame(dir);
        Game game;
        game.mCommandLine.mLinkText = "#not-a-level";
        game.mCommandLine.mEditFile = editing ? "mine.map" : "";
        testing::internal::CaptureStderr();
        EXPECT_FALSE(game.Init());
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.rfind(editing ? "kestrovane: the level cannot be edited: The link "
                                     : "kestrovane: the link cannot be played: The link ",
                             0),
                  0u)
            << said;
        EXPECT_EQ(1, game.mExitStatus);
        EXPECT_EQ(nullptr, game.mFramework);
        EXPECT_EQ(nullptr, game.mAudioManager);
    }
}
