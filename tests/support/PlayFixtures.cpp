// Driving the real play screen update by update on fixture levels or on the game's own content.
#include "PlayFixtures.h"

#include "StateManager.h"
#include "WorldFixtures.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace test
{
const std::vector<std::string> kPlaySounds{"jump.wav",    "laser.wav", "hurt.wav", "pickup.wav",
                                           "keycard.wav", "lift.wav",  "vent.wav"};

namespace
{
void PutLE(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
    {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

std::string Lines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
    {
        text += line + "\n";
    }
    return text;
}
} // namespace

std::string QuietWave()
{
    const std::uint32_t rate = 22050;
    std::string data;
    for (std::uint32_t i = 0; i < rate * 2; ++i)
    {
        PutLE(data, (i / 50) % 2 ? 0x0400 : 0xFC00, 2);
    }
    std::string wave = "RIFF";
    PutLE(wave, static_cast<std::uint32_t>(36 + data.size()), 4);
    wave += "WAVEfmt ";
    PutLE(wave, 16, 4);       // format chunk size
    PutLE(wave, 1, 2);        // PCM
    PutLE(wave, 1, 2);        // mono
    PutLE(wave, rate, 4);     // frames per second
    PutLE(wave, rate * 2, 4); // bytes per second
    PutLE(wave, 2, 2);        // bytes per frame
    PutLE(wave, 16, 2);       // bits per sample
    wave += "data";
    PutLE(wave, static_cast<std::uint32_t>(data.size()), 4);
    return wave + data;
}

bool GlyphPixel(int index, int x, int y)
{
    if (index <= 0 || index >= 95 || x > 6 || y > 6)
    {
        return false;
    }
    return y == 0 ? ((index >> x) & 1) != 0 : (x + y * index) % 3 == 0;
}

void WriteFixtureFont(const TempDir& dir)
{
    // 95 glyph cells of 8x8, 12 per row, on the colour key.
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < 64; ++y)
    {
        for (int x = 0; x < 96; ++x)
        {
            pixels.push_back(GlyphPixel(y / 8 * 12 + x / 8, x % 8, y % 8) ? 0xFFFFFFu : 0x800080u);
        }
    }
    dir.WritePng("data/gfx/font.png", 96, 64, pixels);
}

bool ArrowPixel(int x, int y)
{
    return x <= y && x <= 7 - y;
}

void WriteMenuPictures(const TempDir& dir)
{
    std::vector<std::uint32_t> arrow;
    for (int p = 0; p < 64; ++p)
    {
        arrow.push_back(ArrowPixel(p % 8, p / 8) ? 0x20E020u : 0x800080u); // drawn as a grey shape anyway
    }
    dir.WritePng("data/gfx/arrow.png", 8, 8, arrow);
    dir.WritePng("data/gfx/bg.png", 320, 240, std::vector<std::uint32_t>(320 * 240, 0));
    dir.WritePng("data/gfx/title.png", 16, 8, std::vector<std::uint32_t>(16 * 8, 0x3040A0));
    dir.WritePng("data/gfx/settings.png", 24, 8, std::vector<std::uint32_t>(24 * 8, 0x40A030));
}

void WritePlayData(const TempDir& dir, const std::vector<std::string>& levelList)
{
    WriteWorldData(dir);
    WriteFixtureFont(dir);
    const std::string wave = QuietWave();
    for (const std::string& sound : kPlaySounds)
    {
        dir.WriteFile("data/sfx/" + sound, wave);
    }
    dir.WriteFile("data/sfx/sounds.cfg", Lines(kPlaySounds));
    // The mixer decodes a ".ogg" name only as Ogg Vorbis: the harness plays these PCM twins instead.
    dir.WriteFile("data/music/level.wav", wave);
    dir.WriteFile("data/music/menu.wav", wave);
    dir.WriteFile("data/music/music.cfg", "level.ogg\nmenu.ogg\n");
    dir.WriteFile("data/maps/maps.lst", Lines(levelList));
}

PlayHarness::PlayHarness(bool silent)
{
    if (silent)
    {
        mGame.mSound = false;
        mGame.mMusic = false;
        mGame.mSoundVolume = 0;
        mGame.mMusicVolume = 0;
    }
    Start(!silent);
    mGame.mStateManager->AddState("Play", mGame.mPlayState = mPlay = new PlayState());
    AddIdleScreens();
    Show("MainMenu");
    mGame.mIsRunning = true;
}

bool PlayHarness::BeginGame()
{
    Show("Play");
    Keys().Forget();
    return mPlay->Init(&mGame);
}

void PlayHarness::Step(unsigned keys, bool draw)
{
    Keys().Hold(keys);
    HandleEvents();
    Tick();
    if (draw)
    {
        RenderFrame();
    }
    else if (mGame.mStateManager->mCurrentState == mPlay && mPlay->mMap && mPlay->mPlayer)
    {
        mPlay->mMap->CameraCheck(mPlay->mPlayer->GetX(), mPlay->mPlayer->GetY(), Screen());
    }
}

ContentDir::ContentDir(std::size_t firstLevel) : mContent(std::filesystem::absolute("data")), mDir(true)
{
    namespace fs = std::filesystem;
    std::error_code error;
    // The level list is the last thing a complete content folder lacks.
    if (!fs::exists(mContent / "maps" / "maps.lst", error))
    {
        return;
    }
    // Everything is linked but the level list, which is written shortened.
    std::vector<std::string> levels;
    std::ifstream list(mContent / "maps" / "maps.lst");
    for (std::string line; std::getline(list, line);)
    {
        levels.push_back(line);
    }
    if (firstLevel >= levels.size())
    {
        throw std::runtime_error("no level " + std::to_string(firstLevel + 1) + " in data/maps/maps.lst");
    }
    const fs::path data = mDir.Path() / "data";
    fs::create_directories(data / "maps");
    for (const auto& entry : fs::directory_iterator(mContent))
    {
        if (entry.path().filename() != "maps")
        {
            fs::create_symlink(entry.path(), data / entry.path().filename());
        }
    }
    for (const auto& entry : fs::directory_iterator(mContent / "maps"))
    {
        if (entry.path().filename() != "maps.lst")
        {
            fs::create_symlink(entry.path(), data / "maps" / entry.path().filename());
        }
    }
    std::ofstream shortened(data / "maps" / "maps.lst");
    for (std::size_t i = firstLevel; i < levels.size(); ++i)
    {
        shortened << levels[i] << '\n';
    }
    mHasContent = true;
}
} // namespace test
