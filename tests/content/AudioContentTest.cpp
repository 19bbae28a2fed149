// Checks the built sounds and music: listed, loadable by the mixer, clean, long enough, looping and
// repeatable.
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
        ASSERT_NE(SDL_LoadWAV(path.c_str(), &spec, &buffer, &length), nullptr)
            << path << ": " << SDL_GetError();
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

namespace
{
// Runs the audio tools of this build on sources written into a scratch folder.
class AudioTools : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        mPaths = ToolPaths();
        ASSERT_FALSE(mPaths["sfx-tool"].empty()) << "audio-tools.txt is missing from the build folder";
    }

    // Runs the tool ("sfx" or "music") from source to output inside the scratch folder; 0 means success.
    int Tool(const std::string& tool, const std::filesystem::path& source,
             const std::filesystem::path& output)
    {
        return RunCommand(Quote(mPaths[tool + "-tool"]) + " " + Quote(source) + " " + Quote(output),
                          mDir.Path() / "errors.txt");
    }

    // Renders source text to a WAV with the tool and returns its samples (interleaved when stereo).
    std::vector<double> Render(const std::string& tool, const std::string& text)
    {
        const std::string source = tool == "sfx" ? "sound.sfx" : "tune.song";
        mDir.WriteFile(source, text);
        if (Tool(tool, mDir.Path() / source, mDir.Path() / "out.wav") != 0)
        {
            ADD_FAILURE() << mDir.ReadFile("errors.txt");
            return {};
        }
        const std::string bytes = mDir.ReadFile("out.wav");
        std::vector<double> samples((bytes.size() - 44) / 2);
        for (std::size_t i = 0; i < samples.size(); ++i)
        {
            std::int16_t value;
            std::memcpy(&value, bytes.data() + 44 + 2 * i, 2);
            samples[i] = value / 32767.0;
        }
        return samples;
    }

    std::map<std::string, std::string> mPaths;
    const test::TempDir mDir{false};
};

// Every second sample from first: one channel of interleaved stereo.
std::vector<double> Side(const std::vector<double>& stereo, int channel)
{
    std::vector<double> side;
    for (std::size_t i = channel; i < stereo.size(); i += 2)
    {
        side.push_back(stereo[i]);
    }
    return side;
}

// The pitch in Hz of a steady tone between two sample positions, from its upward zero crossings.
double Pitch(const std::vector<double>& samples, double fromSeconds, double toSeconds)
{
    const auto from = static_cast<std::size_t>(fromSeconds * 44100);
    const auto to = std::min(samples.size(), static_cast<std::size_t>(toSeconds * 44100));
    double first = -1.0, last = -1.0;
    int crossings = 0;
    for (std::size_t i = from + 1; i < to; ++i)
    {
        if (samples[i - 1] < 0.0 && samples[i] >= 0.0)
        {
            const double at = i - 1 + samples[i - 1] / (samples[i - 1] - samples[i]);
            first = first < 0.0 ? at : first;
            last = at;
            ++crossings;
        }
    }
    return crossings > 1 ? (crossings - 1) * 44100.0 / (last - first) : 0.0;
}

double Peak(const std::vector<double>& samples, double fromSeconds, double toSeconds, int stride = 1)
{
    double peak = 0.0;
    const auto to = std::min(samples.size(), static_cast<std::size_t>(toSeconds * 44100) * stride);
    for (std::size_t i = static_cast<std::size_t>(fromSeconds * 44100) * stride; i < to; ++i)
    {
        peak = std::max(peak, std::fabs(samples[i]));
    }
    return peak;
}

const std::string mOneTone = "tempo 120\nsteps 4\nbeats 4\ntail 1\ninstrument tone\nwave sine\n"
                             "envelope 0.01 0.1 1 0.05\n";
} // namespace

TEST_F(AudioTools, RenderingEffectsTwiceGivesTheBuiltBytes)
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(mPaths["sfx-sources"]))
    {
        if (entry.path().extension() != ".sfx")
        {
            continue;
        }
        const std::string wav = entry.path().stem().string() + ".wav";
        ASSERT_EQ(Tool("sfx", entry.path(), mDir.Path() / ("1-" + wav)), 0) << mDir.ReadFile("errors.txt");
        ASSERT_EQ(Tool("sfx", entry.path(), mDir.Path() / ("2-" + wav)), 0) << mDir.ReadFile("errors.txt");
        const std::string bytes = mDir.ReadFile("1-" + wav);
        EXPECT_EQ(bytes, mDir.ReadFile("2-" + wav)) << wav;
        EXPECT_EQ(bytes, ReadBytes("data/sfx/" + wav)) << wav << " in data/ is not what its source renders";
        ++count;
    }
    EXPECT_GE(count, 6);
}

TEST_F(AudioTools, RenderingMusicTwiceGivesTheBuiltBytes)
{
    for (const auto& name : mGameMusic)
    {
        const std::string stem = name.substr(0, name.size() - 4);
        const std::filesystem::path source =
            std::filesystem::path(mPaths["music-sources"]) / (stem + ".song");
        ASSERT_EQ(Tool("music", source, mDir.Path() / ("1-" + name)), 0) << mDir.ReadFile("errors.txt");
        ASSERT_EQ(Tool("music", source, mDir.Path() / ("2-" + name)), 0) << mDir.ReadFile("errors.txt");
        const std::string bytes = mDir.ReadFile("1-" + name);
        EXPECT_EQ(bytes, mDir.ReadFile("2-" + name)) << name;
        EXPECT_EQ(bytes, ReadBytes("data/music/" + name))
            << name << " in data/ is not what its source renders";
    }
}

TEST_F(AudioTools, TuneIsExactlyItsBarsLongAndItsLastNoteRingsOnIntoTheStart)
{
    // 120 beats a minute, four steps a beat: 5512.5 samples a step, rounded to 5513. The note starts on each
    // bar's last beat and takes a second to fade, so the second bar's fade belongs at the start of the loop.
    const auto left = Side(Render("music", "tempo 120\nsteps 4\nbeats 4\ntail 2\n"
                                           "instrument tone\nwave sine\nenvelope 0.01 0.1 1 1\n"
                                           "pattern last\ntone . . . . . . . . . . . . A4 -*3\n"
                                           "play 2 last\n"),
                           0);
    ASSERT_EQ(left.size(), 32u * 5513u);
    EXPECT_GT(Peak(left, 0.0, 0.05), 0.1);
    EXPECT_GT(Peak(left, 16 * 5513 / 44100.0, 16 * 5513 / 44100.0 + 0.05), 0.1);
    // Across the loop point the tone runs on: a 440 Hz sine moves at most 6.3% of full scale per sample.
    EXPECT_LT(std::fabs(left.front() - left.back()), 0.064);
}

TEST_F(AudioTools, NotesSoundAtTheirPitch)
{
    const struct
    {
        const char* token;
        double hertz;
    } notes[] = {{"A4", 440.0},   {"C#5", 554.365}, {"Db5", 554.365}, {"Bb2", 116.541},
                 {"C4", 261.626}, {"x", 82.407}}; // "x" plays the instrument's own note, E2 here
    for (const auto& note : notes)
    {
        const auto left = Side(
            Render("music", mOneTone + "note E2\npattern a\ntone " + note.token + " -*15\nplay 1 a\n"), 0);
        EXPECT_NEAR(Pitch(left, 0.2, 1.8), note.hertz, note.hertz * 0.002) << note.token;
    }

    const auto glide = Render("sfx", "length 0.6\nlayer\nwave sine\ntime 0 0.6\npitch 220 880 0.3\n");
    EXPECT_NEAR(Pitch(glide, 0.0, 0.02), 235.0, 20.0); // just begun, a little above the start
    EXPECT_NEAR(Pitch(glide, 0.35, 0.55), 880.0, 2.0);
    const auto arpeggio =
        Render("sfx", "length 0.4\nlayer\nwave sine\ntime 0 0.4\npitch A4\nsteps 0.2 0 7\n");
    EXPECT_NEAR(Pitch(arpeggio, 0.02, 0.18), 440.0, 1.0);
    EXPECT_NEAR(Pitch(arpeggio, 0.22, 0.38), 659.255, 1.5);
}

TEST_F(AudioTools, ShorthandsMeanTheSameAsWrittenOut)
{
    const std::string drum = "instrument drum\nwave noise\nnote C2\nenvelope 0.001 0.1 0 0.05\n";
    const struct
    {
        const char* shorthand;
        const char* longhand;
    } pairs[] = {
        {"tone A4 -*7 C5 -*7", "tone A4 - - - - - - - C5 - - - - - - -"},
        {"drum X .*3 x? .*3 x! .*7", "drum x! . . . x? . . . X . . . . . . ."},
    };
    for (const auto& pair : pairs)
    {
        const auto shorthand =
            Render("music", mOneTone + drum + "pattern a\n" + pair.shorthand + "\nplay 1 a\n");
        const auto longhand =
            Render("music", mOneTone + drum + "pattern a\n" + pair.longhand + "\nplay 1 a\n");
        ASSERT_FALSE(shorthand.empty());
        EXPECT_EQ(shorthand, longhand) << pair.shorthand;
    }
}

TEST_F(AudioTools, LevelsFollowPeakAccentsAndPanning)
{
    // An effect is exactly its length, its loudest sample exactly at its peak.
    const auto effect = Render("sfx", "length 0.25\npeak -6\nlayer\nwave saw\ntime 0 0.2\npitch 300\n");
    EXPECT_EQ(effect.size(), 11025u);
    EXPECT_NEAR(Peak(effect, 0.0, 1.0), 0.5012, 0.0001);

    // An accented hit is louder than a soft one by the ratio of their strengths (1 to 0.45); the tune as a
    // whole is normalised to its peak. Panned hard left, the right side stays silent.
    const auto tune =
        Render("music", "tempo 120\nsteps 4\nbeats 4\npeak -3\ninstrument tone\nwave sine\npan -1\n"
                        "pattern a\ntone A4! -*3 . . . . A4? -*3 . . . .\nplay 1 a\n");
    ASSERT_EQ(tune.size(), 2u * 16u * 5513u);
    const auto left = Side(tune, 0), right = Side(tune, 1);
    EXPECT_NEAR(Peak(left, 0.0, 2.0), 0.7079, 0.0002);
    EXPECT_NEAR(Peak(left, 0.0, 0.9) / Peak(left, 1.0, 1.9), 1.0 / 0.45, 0.02);
    EXPECT_LT(Peak(right, 0.0, 2.0), 0.001);

    // An echo repeats the effect after its delay, at its feedback level, while the first sound has died away.
    const auto echoed = Render("sfx", "length 0.3\necho 0.1 0.5\nlayer\nwave sine\ntime 0 0.04\npitch 500\n"
                                      "envelope 0.002 0.01 1 0.01\n");
    EXPECT_NEAR(Peak(echoed, 0.1, 0.15) / Peak(echoed, 0.0, 0.05), 0.5, 0.01);
    EXPECT_LT(Peak(echoed, 0.06, 0.095), 0.001);
}

TEST_F(AudioTools, MistakesInSourcesAreReportedWithTheirLineAndWriteNothing)
{
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
        mDir.WriteFile("song.song", header + song.source);
        EXPECT_NE(Tool("music", mDir.Path() / "song.song", mDir.Path() / "song.ogg"), 0) << song.source;
        EXPECT_NE(mDir.ReadFile("errors.txt").find(song.message), std::string::npos)
            << mDir.ReadFile("errors.txt");
        EXPECT_FALSE(mDir.Exists("song.ogg"));
    }

    mDir.WriteFile("beep.sfx", "length 0.2\nlayer\nwave sine\npich 440\n");
    EXPECT_NE(Tool("sfx", mDir.Path() / "beep.sfx", mDir.Path() / "beep.wav"), 0);
    EXPECT_NE(mDir.ReadFile("errors.txt").find("beep.sfx:4: unknown setting 'pich'"), std::string::npos)
        << mDir.ReadFile("errors.txt");
    EXPECT_FALSE(mDir.Exists("beep.wav"));
}
