// Checks the built sounds and music: listed, loadable by the mixer, clean, long enough, looping and repeatable.
#include "TestSupport.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace
{
const std::vector<std::string> mGameSounds = {"select.wav", "pickup.wav", "keycard.wav",
                                              "jump.wav",   "laser.wav",  "hurt.wav"};
const std::vector<std::string> mGameMusic = {"menu.ogg", "level.ogg"};

// Names in a list file, read the way the game reads them: "//" lines skipped, fields cut at single spaces.
std::vector<std::string> ReadList(const std::string& path)
{
    std::ifstream in(path);
    EXPECT_TRUE(in.good()) << path << " is missing";
    std::vector<std::string> names;
    std::string line;
    while (std::getline(in, line))
    {
        if (!line.empty() && line.back() == '\r')
        {
            line.pop_back();
        }
        if (line.empty() || line.rfind("//", 0) == 0)
        {
            continue;
        }
        std::size_t from = 0;
        while (from < line.size())
        {
            const std::size_t space = std::min(line.find(' ', from), line.size());
            names.push_back(line.substr(from, space - from));
            from = space + 1;
        }
    }
    return names;
}

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The audio tools and source folders of this build, as the build recorded them.
std::map<std::string, std::string> ToolPaths()
{
    std::map<std::string, std::string> paths;
    std::ifstream in("audio-tools.txt");
    std::string key, value;
    while (in >> key && std::getline(in >> std::ws, value))
    {
        paths[key] = value;
    }
    return paths;
}

// Runs a command line, returning its exit status; stderr goes to errors.
int RunCommand(const std::string& command, const std::filesystem::path& errors)
{
    const int status = std::system((command + " 2> '" + errors.string() + "'").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quote(const std::filesystem::path& path)
{
    return "'" + path.string() + "'";
}

struct ChunkFree
{
    void operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
};
using ChunkPtr = std::unique_ptr<Mix_Chunk, ChunkFree>;

// Signed 16-bit samples of a chunk in the mixer's format (stereo, interleaved).
std::vector<std::int16_t> Samples(const Mix_Chunk& chunk)
{
    std::vector<std::int16_t> samples(chunk.alen / 2);
    std::memcpy(samples.data(), chunk.abuf, samples.size() * 2);
    return samples;
}

// The mixer opened as the game opens it.
class AudioContent : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048), 0) << Mix_GetError();
    }
    void TearDown() override
    {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
};
} // namespace

TEST_F(AudioContent, ListsNameEverySoundTheGamePlaysAndEachLoads)
{
    const auto sounds = ReadList("data/sfx/sounds.cfg");
    const auto music = ReadList("data/music/music.cfg");
    for (const auto& name : mGameSounds)
    {
        EXPECT_NE(std::find(sounds.begin(), sounds.end(), name), sounds.end()) << name << " is not listed";
    }
    for (const auto& name : mGameMusic)
    {
        EXPECT_NE(std::find(music.begin(), music.end(), name), music.end()) << name << " is not listed";
    }
    // An empty name (a stray double space) would load as nothing, like a missing file.
    for (const auto& name : sounds)
    {
        ChunkPtr chunk(Mix_LoadWAV(("data/sfx/" + name).c_str()));
        EXPECT_TRUE(chunk != nullptr) << "'" << name << "': " << Mix_GetError();
    }
    for (const auto& name : music)
    {
        Mix_Music* loaded = Mix_LoadMUS(("data/music/" + name).c_str());
        EXPECT_TRUE(loaded != nullptr) << "'" << name << "': " << Mix_GetError();
        Mix_FreeMusic(loaded);
    }
}

TEST_F(AudioContent, EffectsAreShortDistinctAndPeakJustBelowFullScale)
{
    std::map<std::string, std::string> seen;
    for (const auto& name : mGameSounds)
    {
        const std::string path = "data/sfx/" + name;
        SDL_AudioSpec spec;
        Uint8* buffer = nullptr;
        Uint32 length = 0;
        ASSERT_NE(SDL_LoadWAV(path.c_str(), &spec, &buffer, &length), nullptr) << path << ": " << SDL_GetError();
        const std::vector<std::int16_t> samples(reinterpret_cast<std::int16_t*>(buffer),
                                                reinterpret_cast<std::int16_t*>(buffer) + length / 2);
        SDL_FreeWAV(buffer);
        EXPECT_EQ(spec.freq, 44100) << name;
        EXPECT_EQ(spec.format, AUDIO_S16LSB) << name;
        ASSERT_FALSE(samples.empty()) << name;

        const double seconds = static_cast<double>(samples.size()) / spec.channels / spec.freq;
        EXPECT_GT(seconds, 0.05) << name;
        EXPECT_LT(seconds, 0.8) << name << " is too long for an effect";
        int peak = 0;
        int clipped = 0;
        for (std::int16_t sample : samples)
        {
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
            clipped += sample >= 32767 || sample <= -32767;
        }
        EXPECT_EQ(clipped, 0) << name;
        // Normalised: loud enough to be heard over the music, with a little headroom.
        EXPECT_LT(peak, 32767 * 0.95) << name;
        EXPECT_GT(peak, 32767 * 0.7) << name;
        // Starting or stopping away from zero would click.
        EXPECT_LT(std::abs(samples.front()), 300) << name;
        EXPECT_LT(std::abs(samples.back()), 300) << name;

        const std::string bytes = ReadBytes(path);
        const auto [other, fresh] = seen.emplace(bytes, name);
        EXPECT_TRUE(fresh) << name << " is the same sound as " << other->second;
    }
}

TEST_F(AudioContent, MusicLastsAtLeastFortyFiveSecondsAndLoopsWithoutAClick)
{
    for (const auto& name : mGameMusic)
    {
        const std::string path = "data/music/" + name;
        Mix_Music* music = Mix_LoadMUS(path.c_str());
        ASSERT_NE(music, nullptr) << path << ": " << Mix_GetError();
        const double duration = Mix_MusicDuration(music);
        Mix_FreeMusic(music);
        EXPECT_GE(duration, 45.0) << name;

        // The mixer decodes the whole tune into a chunk: 44100 Hz stereo, as the game hears it.
        ChunkPtr chunk(Mix_LoadWAV(path.c_str()));
        ASSERT_TRUE(chunk != nullptr) << path << ": " << Mix_GetError();
        const std::vector<std::int16_t> samples = Samples(*chunk);
        const std::size_t frames = samples.size() / 2;
        ASSERT_GT(frames, 44100u * 45u) << name;
        EXPECT_NEAR(static_cast<double>(frames) / 44100.0, duration, 0.05) << name;

        int peak = 0;
        for (std::int16_t sample : samples)
        {
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        }
        EXPECT_LT(peak, 32767) << name << " clips";
        EXPECT_GT(peak, 32767 / 4) << name << " is far too quiet";

        // When the tune starts over, its last sample is followed by its first: that jump must be an
        // ordinary step of the music, not a click. "Ordinary" is the 99th percentile of all steps.
        for (int channel = 0; channel < 2; ++channel)
        {
            std::vector<int> steps;
            steps.reserve(frames);
            for (std::size_t i = 1; i < frames; ++i)
            {
                steps.push_back(std::abs(samples[2 * i + channel] - samples[2 * (i - 1) + channel]));
            }
            std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
            const int ordinary = steps[steps.size() * 99 / 100];
            const int seam = std::abs(samples[channel] - samples[2 * (frames - 1) + channel]);
            EXPECT_LE(seam, ordinary) << name << " channel " << channel;
        }
    }
}

TEST(AudioTools, RenderingEffectsTwiceGivesTheBuiltBytes)
{
    auto paths = ToolPaths();
    ASSERT_FALSE(paths["sfx-tool"].empty()) << "audio-tools.txt is missing from the build folder";
    const test::TempDir first(false), second(false);
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(paths["sfx-sources"]))
    {
        if (entry.path().extension() != ".sfx")
        {
            continue;
        }
        const std::string wav = entry.path().stem().string() + ".wav";
        for (const test::TempDir* dir : {&first, &second})
        {
            ASSERT_EQ(RunCommand(Quote(paths["sfx-tool"]) + " " + Quote(entry.path()) + " " + Quote(dir->Path() / wav),
                          dir->Path() / "errors.txt"),
                      0)
                << wav << ": " << dir->ReadFile("errors.txt");
        }
        const std::string bytes = first.ReadFile(wav);
        EXPECT_EQ(bytes, second.ReadFile(wav)) << wav;
        EXPECT_EQ(bytes, ReadBytes("data/sfx/" + wav)) << wav << " in data/ is not what its source renders";
        ++count;
    }
    EXPECT_GE(count, 6);
}

TEST(AudioTools, RenderingMusicTwiceGivesTheBuiltBytes)
{
    auto paths = ToolPaths();
    ASSERT_FALSE(paths["music-tool"].empty()) << "audio-tools.txt is missing from the build folder";
    const test::TempDir first(false), second(false);
    for (const auto& name : mGameMusic)
    {
        const std::string stem = name.substr(0, name.size() - 4);
        const std::filesystem::path source = std::filesystem::path(paths["music-sources"]) / (stem + ".song");
        for (const test::TempDir* dir : {&first, &second})
        {
            ASSERT_EQ(RunCommand(Quote(paths["music-tool"]) + " " + Quote(source) + " " + Quote(dir->Path() / name),
                          dir->Path() / "errors.txt"),
                      0)
                << name << ": " << dir->ReadFile("errors.txt");
        }
        const std::string bytes = first.ReadFile(name);
        EXPECT_EQ(bytes, second.ReadFile(name)) << name;
        EXPECT_EQ(bytes, ReadBytes("data/music/" + name)) << name << " in data/ is not what its source renders";
    }
}

TEST(AudioTools, TuneIsExactlyItsBarsLongAndItsLastNoteRingsOnIntoTheStart)
{
    auto paths = ToolPaths();
    ASSERT_FALSE(paths["music-tool"].empty()) << "audio-tools.txt is missing from the build folder";
    const test::TempDir dir(false);
    // 120 beats a minute, four steps a beat: 5512.5 samples a step, rounded to 5513. The one note starts on the
    // last beat and takes a second to fade, so most of its fade belongs at the start of the loop.
    dir.WriteFile("tail.song", "tempo 120\nsteps 4\nbeats 4\ntail 2\n"
                               "instrument tone\nwave sine\nenvelope 0.01 0.1 1 1\n"
                               "pattern last\ntone . . . . . . . . . . . . A4 -*3\n"
                               "play 2 last\n");
    ASSERT_EQ(RunCommand(Quote(paths["music-tool"]) + " " + Quote(dir.Path() / "tail.song") + " " +
                      Quote(dir.Path() / "tail.wav"),
                  dir.Path() / "errors.txt"),
              0)
        << dir.ReadFile("errors.txt");
    const std::string bytes = dir.ReadFile("tail.wav");
    ASSERT_GT(bytes.size(), 44u);
    std::vector<std::int16_t> samples((bytes.size() - 44) / 2);
    std::memcpy(samples.data(), bytes.data() + 44, samples.size() * 2);
    ASSERT_EQ(samples.size(), 2u * 32u * 5513u);

    auto loudest = [&](std::size_t from, std::size_t to)
    {
        int peak = 0;
        for (std::size_t i = 2 * from; i < 2 * to; ++i)
        {
            peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
        }
        return peak;
    };
    // The first bar's note still rings into the second bar's quiet start, and the second bar's into the first's.
    EXPECT_GT(loudest(0, 2000), 3000);
    EXPECT_GT(loudest(16 * 5513, 16 * 5513 + 2000), 3000);
    // Across the loop point the tone runs on: a 440 Hz sine moves at most 6.3% of full scale per sample.
    const std::size_t last = samples.size() / 2 - 1;
    EXPECT_LT(std::abs(samples[0] - samples[2 * last]), 2100);
}

TEST(AudioTools, MistakesInSourcesAreReportedWithTheirLineAndWriteNothing)
{
    auto paths = ToolPaths();
    ASSERT_FALSE(paths["music-tool"].empty()) << "audio-tools.txt is missing from the build folder";
    const test::TempDir dir(false);
    const std::string header = "tempo 100\ninstrument tone\nwave sine\n";
    const struct
    {
        const char* source;
        const char* message;
    } songs[] = {
        // A lane one step short would shift every later note.
        {"pattern a\ntone A4 -*15\ntone C5 -*14\nplay 1 a\n", "song.song:4: pattern 'a'"},
        {"pattern a\ntone A4 -*15\nbass A2 -*15\nplay 1 a\n", "song.song:6: 'bass' is not an instrument"},
        {"pattern a\ntone H4 -*15\nplay 1 a\n", "song.song:5: 'H4' is not a note"},
        {"pattern a\ntone A4 -*15\nplay 1 b\n", "song.song:6: 'b' is not a pattern"},
        {"pattern a\ntone A4 -*15\n", "at least one 'play' line"},
    };
    for (const auto& song : songs)
    {
        dir.WriteFile("song.song", header + song.source);
        EXPECT_NE(RunCommand(Quote(paths["music-tool"]) + " " + Quote(dir.Path() / "song.song") + " " +
                          Quote(dir.Path() / "song.ogg"),
                      dir.Path() / "errors.txt"),
                  0)
            << song.source;
        EXPECT_NE(dir.ReadFile("errors.txt").find(song.message), std::string::npos)
            << dir.ReadFile("errors.txt");
        EXPECT_FALSE(dir.Exists("song.ogg"));
    }

    dir.WriteFile("beep.sfx", "length 0.2\nlayer\nwave sine\npich 440\n");
    EXPECT_NE(RunCommand(Quote(paths["sfx-tool"]) + " " + Quote(dir.Path() / "beep.sfx") + " " + Quote(dir.Path() / "beep.wav"),
                  dir.Path() / "errors.txt"),
              0);
    EXPECT_NE(dir.ReadFile("errors.txt").find("beep.sfx:4: unknown setting 'pich'"), std::string::npos)
        << dir.ReadFile("errors.txt");
    EXPECT_FALSE(dir.Exists("beep.wav"));
}
