// The audio manager against SDL's dummy audio driver: list files, tables, playing and volumes.
#include "audio/AudioManager.h"

#include "TestSupport.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
// A mono 16-bit PCM WAV file of the given length filled with a quiet square wave.
std::string MakeWav(int milliseconds)
{
    const std::uint32_t rate = 22050;
    const std::uint32_t samples = rate * static_cast<std::uint32_t>(milliseconds) / 1000;
    const std::uint32_t dataSize = samples * 2;
    std::string wav;
    auto put32 = [&wav](std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
        {
            wav += static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    };
    auto put16 = [&wav](std::uint16_t v)
    {
        wav += static_cast<char>(v & 0xFF);
        wav += static_cast<char>(v >> 8);
    };
    wav += "RIFF";
    put32(36 + dataSize);
    wav += "WAVEfmt ";
    put32(16);
    put16(1); // PCM
    put16(1); // mono
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    wav += "data";
    put32(dataSize);
    for (std::uint32_t i = 0; i < samples; ++i)
    {
        put16((i / 50) % 2 == 0 ? 1000 : static_cast<std::uint16_t>(-1000));
    }
    return wav;
}

std::vector<std::string> Keys(const std::map<std::string, Mix_Chunk*>& table)
{
    std::vector<std::string> keys;
    for (const auto& entry : table)
    {
        keys.push_back(entry.first);
    }
    return keys;
}

class AudioManagerTest : public ::testing::Test
{
  protected:
    void TearDown() override
    {
        audio.CleanUp();
        SDL_Quit(); // Init opens the audio subsystem each time; start every test from scratch
    }

    void WriteSounds(const std::string& list, const std::vector<std::string>& files)
    {
        dir.WriteFile("data/sfx/sounds.cfg", list);
        for (const std::string& file : files)
        {
            dir.WriteFile("data/sfx/" + file, MakeWav(1000));
        }
    }

    void WriteMusic(const std::string& list, const std::vector<std::string>& files)
    {
        dir.WriteFile("data/music/music.cfg", list);
        for (const std::string& file : files)
        {
            dir.WriteFile("data/music/" + file, MakeWav(2000));
        }
    }

    test::TempDir dir;
    AudioManager audio;
};

TEST_F(AudioManagerTest, EveryOperationBeforeInitDoesNothing)
{
    WriteSounds("a.wav\n", {"a.wav"});
    WriteMusic("song.wav\n", {"song.wav"});

    // The lists are read, but nothing is loaded before the mixer is open.
    EXPECT_TRUE(audio.LoadAllAudioFiles());
    audio.LoadSound("a.wav");
    audio.LoadMusic("song.wav");
    EXPECT_TRUE(audio.mSounds.empty());
    EXPECT_TRUE(audio.mSongs.empty());

    audio.mSoundEnabled = true;
    audio.mMusicEnabled = true;
    audio.PlaySound("a.wav");
    audio.PlayMusic("song.wav", false);
    audio.StopMusic("song.wav", true);
    audio.StopSounds();
    audio.SetSoundVolume(10);
    audio.SetMusicVolume(10);
    audio.CleanUp();
    EXPECT_EQ(audio.mCurrentSoundVolume, 64);
    EXPECT_EQ(audio.mCurrentMusicVolume, 64);
    EXPECT_FALSE(audio.mIsInitialized);
}

TEST_F(AudioManagerTest, InitStoresFlagsAndVolumesUnclamped)
{
    ASSERT_TRUE(audio.Init(false, true, 200, -5));
    EXPECT_TRUE(audio.mIsInitialized);
    EXPECT_FALSE(audio.mSoundEnabled);
    EXPECT_TRUE(audio.mMusicEnabled);
    EXPECT_EQ(audio.mCurrentSoundVolume, 200);
    EXPECT_EQ(audio.mCurrentMusicVolume, -5);
    // The mixer limits the channel volume itself.
    EXPECT_EQ(Mix_Volume(0, -1), MIX_MAX_VOLUME);
}

TEST_F(AudioManagerTest, VolumesAreClampedStoredAndApplied)
{
    ASSERT_TRUE(audio.Init(true, true, 64, 64));
    audio.SetSoundVolume(129);
    EXPECT_EQ(audio.mCurrentSoundVolume, 128);
    EXPECT_EQ(Mix_Volume(0, -1), 128);
    audio.SetSoundVolume(-1);
    EXPECT_EQ(audio.mCurrentSoundVolume, 0);
    EXPECT_EQ(Mix_Volume(7, -1), 0);

    audio.SetMusicVolume(129);
    EXPECT_EQ(audio.mCurrentMusicVolume, 128);
    EXPECT_EQ(Mix_VolumeMusic(-1), 128);
    audio.SetMusicVolume(-1);
    EXPECT_EQ(audio.mCurrentMusicVolume, 0);
    EXPECT_EQ(Mix_VolumeMusic(-1), 0);

    // The enabled flags do not matter for volumes.
    audio.mSoundEnabled = false;
    audio.SetSoundVolume(100);
    EXPECT_EQ(audio.mCurrentSoundVolume, 100);
}

TEST_F(AudioManagerTest, ListLinesSplitAtEverySingleSpace)
{
    WriteSounds("// a comment naming x.wav\r\n"
                "a.wav  b.wav\r\n"
                "c.wav \n"
                "\n"
                "/d.wav\n"
                "e.wav//f.wav\n"
                "x\n",
                {"a.wav", "b.wav", "c.wav"});
    WriteMusic("", {});
    ASSERT_TRUE(audio.Init(true, true, 64, 64));
    ASSERT_TRUE(audio.LoadAllAudioFiles());

    // Two spaces give an empty name, a trailing space nothing, "//" counts only at the start.
    const std::vector<std::string> expected = {"", "/d.wav", "a.wav", "b.wav", "c.wav", "e.wav//f.wav", "x"};
    EXPECT_EQ(Keys(audio.mSounds), expected);
    EXPECT_NE(audio.mSounds["a.wav"], nullptr);
    EXPECT_NE(audio.mSounds["c.wav"], nullptr);
    // Names whose files cannot be loaded are registered as null.
    EXPECT_EQ(audio.mSounds[""], nullptr);
    EXPECT_EQ(audio.mSounds["x"], nullptr);
}

TEST_F(AudioManagerTest, NameListedTwiceKeepsItsFirstObject)
{
    WriteSounds("a.wav a.wav\n", {"a.wav"});
    WriteMusic("song.wav\nsong.wav\n", {"song.wav"});
    ASSERT_TRUE(audio.Init(true, true, 64, 64));
    ASSERT_TRUE(audio.LoadAllAudioFiles());
    ASSERT_EQ(audio.mSounds.size(), 1u);
    ASSERT_EQ(audio.mSongs.size(), 1u);

    Mix_Chunk* first = audio.mSounds["a.wav"];
    Mix_Music* firstSong = audio.mSongs["song.wav"];
    audio.LoadSound("a.wav");
    audio.LoadMusic("song.wav");
    EXPECT_EQ(audio.mSounds["a.wav"], first);
    EXPECT_EQ(audio.mSongs["song.wav"], firstSong);
}

TEST_F(AudioManagerTest, MissingSoundListSkipsTheMusicList)
{
    WriteMusic("song.wav\n", {"song.wav"});
    ASSERT_TRUE(audio.Init(true, true, 64, 64));
    EXPECT_FALSE(audio.LoadAllAudioFiles());
    EXPECT_TRUE(audio.mSongs.empty());
}

TEST_F(AudioManagerTest, MissingMusicListKeepsTheLoadedSounds)
{
    WriteSounds("a.wav\n", {"a.wav"});
    ASSERT_TRUE(audio.Init(true, true, 64, 64));
    EXPECT_FALSE(audio.LoadAllAudioFiles());
    ASSERT_EQ(audio.mSounds.count("a.wav"), 1u);
    EXPECT_NE(audio.mSounds["a.wav"], nullptr);
}

TEST_F(AudioManagerTest, SoundsPlayOnlyWhenEnabledAndKnown)
{
    WriteSounds("a.wav missing.wav\n", {"a.wav"});
    WriteMusic("", {});
    ASSERT_TRUE(audio.Init(false, true, 64, 64));
    ASSERT_TRUE(audio.LoadAllAudioFiles());

    audio.PlaySound("a.wav");
    EXPECT_EQ(Mix_Playing(-1), 0);

    audio.mSoundEnabled = true;
    audio.PlaySound("unknown.wav");
    audio.PlaySound("missing.wav");
    EXPECT_EQ(Mix_Playing(-1), 0);

    // Several requests play together on separate channels.
    audio.PlaySound("a.wav");
    audio.PlaySound("a.wav");
    EXPECT_EQ(Mix_Playing(-1), 2);

    // Switching effects off does not stop those already playing; StopSounds does.
    audio.mSoundEnabled = false;
    EXPECT_EQ(Mix_Playing(-1), 2);
    audio.StopSounds();
    EXPECT_EQ(Mix_Playing(-1), 0);
}

TEST_F(AudioManagerTest, MusicSwitchedOffNeitherStartsNorStopsMusic)
{
    WriteSounds("", {});
    WriteMusic("song.wav\nother.wav\n", {"song.wav", "other.wav"});
    ASSERT_TRUE(audio.Init(true, true, 64, 64));
    ASSERT_TRUE(audio.LoadAllAudioFiles());

    audio.PlayMusic("song.wav", false);
    EXPECT_EQ(Mix_PlayingMusic(), 1);

    audio.mMusicEnabled = false;
    audio.PlayMusic("other.wav", false);
    EXPECT_EQ(Mix_PlayingMusic(), 1);

    // An unknown name leaves the current music playing, also for StopMusic.
    audio.mMusicEnabled = true;
    audio.PlayMusic("unknown.ogg", false);
    audio.StopMusic("unknown.ogg", false);
    EXPECT_EQ(Mix_PlayingMusic(), 1);

    // StopMusic only needs a known name and works with music switched off.
    audio.mMusicEnabled = false;
    audio.StopMusic("other.wav", false);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

TEST_F(AudioManagerTest, MusicFadesInAndOut)
{
    WriteSounds("", {});
    WriteMusic("song.wav\n", {"song.wav"});
    ASSERT_TRUE(audio.Init(true, true, 64, 64));
    ASSERT_TRUE(audio.LoadAllAudioFiles());

    audio.PlayMusic("song.wav", true);
    EXPECT_EQ(Mix_FadingMusic(), MIX_FADING_IN);

    // The fade-out starts at once and the call returns without waiting for it to finish.
    audio.StopMusic("song.wav", true);
    EXPECT_EQ(Mix_FadingMusic(), MIX_FADING_OUT);
}

TEST_F(AudioManagerTest, UnavailableAudioDriverThrowsTheSubsystemMessage)
{
    const char* previous = SDL_getenv("SDL_AUDIODRIVER");
    const std::string saved = previous ? previous : "";
    SDL_setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    try
    {
        audio.Init(true, true, 64, 64);
        ADD_FAILURE() << "Init did not throw";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_EQ(std::string(error.what()).rfind("Unable to initialize SDL sub system: ", 0), 0u)
            << error.what();
    }
    SDL_setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    EXPECT_FALSE(audio.mIsInitialized);
}
} // namespace
