// Driving the real play screen update by update on fixture levels or on the game's own content.
#include "PlayFixtures.h"

#include "StateManager.h"
#include "WorldFixtures.h"
#include "audio/AudioManager.h"
#include "graphics/Font.h"
#include "graphics/Framework.h"
#include "graphics/Image.h"
#include "graphics/Utils.h"

#include <SDL_mixer.h>

#include <filesystem>
#include <memory>
#include <stdexcept>

namespace test
{
const std::vector<std::string> kPlaySounds{"jump.wav", "laser.wav", "hurt.wav", "pickup.wav", "keycard.wav"};

namespace
{
void PutLE(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
    {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// Two seconds of a quiet 16-bit mono square wave: long enough to be still playing when a test asks.
std::string WaveFile()
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

// 95 glyph cells of 8x8, 12 per row; the top row of a glyph spells its index, so no two glyphs match.
std::vector<std::uint32_t> FontPixels()
{
    const std::uint32_t key = 0x800080;
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < 64; ++y)
    {
        for (int x = 0; x < 96; ++x)
        {
            const int index = y / 8 * 12 + x / 8;
            const int gx = x % 8;
            const int gy = y % 8;
            bool lit = false;
            if (index > 0 && index < 95 && gx < 7 && gy < 7)
            {
                lit = gy == 0 ? ((index >> gx) & 1) != 0 : (gx + gy * index) % 3 == 0;
            }
            pixels.push_back(lit ? 0xFFFFFFu : key);
        }
    }
    return pixels;
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

void WritePlayData(const TempDir& dir, const std::vector<std::string>& levelList)
{
    WriteWorldData(dir);
    dir.WritePng("data/gfx/font.png", 96, 64, FontPixels());
    const std::string wave = WaveFile();
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

PlayHarness::PlayHarness()
{
    mGame.mFullscreen = false;
    mGame.mFramework = std::make_unique<Framework>();
    if (!mGame.mFramework->Init(false, false))
    {
        throw std::runtime_error("test harness: no window");
    }
    mGame.mScreen = std::make_unique<Image>();
    if (!mGame.mScreen->Load(mGame.mFramework->mSurface, 320, 240, false, Image::mKeyRed, Image::mKeyGreen,
                             Image::mKeyBlue))
    {
        throw std::runtime_error("test harness: no screen image");
    }
    mGame.mFont = std::make_unique<Font>();
    mGame.mFont->Init("font.png", mGame.mFramework->GetRendererInfo(), 8, 8);
    mGame.mAudioManager = std::make_unique<AudioManager>();
    try
    {
        mGame.mAudioManager->Init(true, true, 64, 64);
    }
    catch (const std::runtime_error&)
    {
        // No sound device: the game runs silently, as the real one does.
    }
    mGame.mAudioManager->LoadAllAudioFiles();
    // Music that could not be decoded is replaced by a ".wav" twin when the folder has one.
    for (auto& song : mGame.mAudioManager->mSongs)
    {
        const std::string& name = song.first;
        const std::string twin = "data/music/" + name.substr(0, name.rfind('.')) + ".wav";
        if (song.second == nullptr && std::filesystem::exists(twin))
        {
            song.second = Mix_LoadMUS(twin.c_str());
        }
    }

    mGame.mStateManager = std::make_unique<StateManager>();
    StateManager& states = *mGame.mStateManager;
    states.AddState("MainMenu", new IdleState());
    states.AddState("Settings", new IdleState());
    states.AddState("Story", new IdleState());
    states.AddState("Play", mGame.mPlayState = mPlay = new PlayState());
    states.AddState("Credits", new IdleState());
    states.ChangeState("MainMenu");
    mGame.mIsRunning = true;
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

PlayHarness::~PlayHarness()
{
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

bool PlayHarness::BeginGame()
{
    mGame.mStateManager->ChangeState("Play");
    mHeld = HeldKeys{};
    return mPlay->Init(&mGame);
}

void PlayHarness::Tick(int n)
{
    for (int i = 0; i < n; ++i)
    {
        if (State* current = mGame.mStateManager->mCurrentState)
        {
            current->Tick(&mGame);
        }
    }
}

void PlayHarness::RenderFrame()
{
    SDL_Surface* screen = Screen();
    SDL_FillRect(screen, nullptr, SDL_MapRGBA(screen->format, 0, 0, 0, 255));
    if (State* current = mGame.mStateManager->mCurrentState)
    {
        current->Render(&mGame, 0.0f);
    }
}

void PlayHarness::HandleEvents()
{
    if (State* current = mGame.mStateManager->mCurrentState)
    {
        current->HandleEvents(&mGame);
    }
}

void PlayHarness::Step(const HeldKeys& keys)
{
    const auto change = [this](bool before, bool now, int binding)
    {
        if (now && !before)
        {
            PushKeyDown(static_cast<SDL_Scancode>(binding));
        }
        else if (before && !now)
        {
            PushKeyUp(static_cast<SDL_Scancode>(binding));
        }
    };
    change(mHeld.left, keys.left, mGame.mKeyLeft);
    change(mHeld.right, keys.right, mGame.mKeyRight);
    change(mHeld.jump, keys.jump, mGame.mKeyJump);
    change(mHeld.fire, keys.fire, mGame.mKeyFire);
    mHeld = keys;
    HandleEvents();
    Tick();
    RenderFrame();
}

void PlayHarness::PushKeyDown(SDL_Scancode key, bool repeat)
{
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = key;
    event.key.keysym.sym = SDL_GetKeyFromScancode(key);
    if (SDL_PushEvent(&event) != 1)
    {
        throw std::runtime_error(std::string("test harness: cannot push a key: ") + SDL_GetError());
    }
}

void PlayHarness::PushKeyUp(SDL_Scancode key)
{
    SDL_Event event{};
    event.type = SDL_KEYUP;
    event.key.state = SDL_RELEASED;
    event.key.keysym.scancode = key;
    event.key.keysym.sym = SDL_GetKeyFromScancode(key);
    if (SDL_PushEvent(&event) != 1)
    {
        throw std::runtime_error(std::string("test harness: cannot push a key: ") + SDL_GetError());
    }
}

void PlayHarness::PushQuit()
{
    SDL_Event event{};
    event.type = SDL_QUIT;
    if (SDL_PushEvent(&event) != 1)
    {
        throw std::runtime_error(std::string("test harness: cannot push a close request: ") + SDL_GetError());
    }
}

std::string PlayHarness::CurrentState() const
{
    for (const auto& entry : mGame.mStateManager->mStates)
    {
        if (entry.second.get() == mGame.mStateManager->mCurrentState)
        {
            return entry.first;
        }
    }
    return "";
}

std::vector<std::string> PlayHarness::PlayingSounds() const
{
    std::vector<std::string> names;
    if (!mGame.mAudioManager->mIsInitialized)
    {
        return names;
    }
    const int channels = Mix_AllocateChannels(-1);
    for (int channel = 0; channel < channels; ++channel)
    {
        if (!Mix_Playing(channel))
        {
            continue;
        }
        Mix_Chunk* chunk = Mix_GetChunk(channel);
        for (const auto& sound : mGame.mAudioManager->mSounds)
        {
            if (sound.second != nullptr && sound.second == chunk)
            {
                names.push_back(sound.first);
            }
        }
    }
    return names;
}

void PlayHarness::QuietSounds()
{
    if (mGame.mAudioManager->mIsInitialized)
    {
        Mix_HaltChannel(-1);
    }
}

SDL_Color PlayHarness::Pixel(int x, int y) const
{
    SDL_Surface* screen = Screen();
    SDL_Color colour{};
    SDL_GetRGB(Utils::GetPixel(screen, x, y), screen->format, &colour.r, &colour.g, &colour.b);
    return colour;
}

SDL_Surface* PlayHarness::Screen() const
{
    return mGame.mScreen->mSurface;
}

ContentDir::ContentDir() : mContent(std::filesystem::absolute("data")), mDir(true)
{
    std::error_code error;
    // The level list is the last thing a complete content folder lacks.
    if (std::filesystem::exists(mContent / "maps" / "maps.lst", error))
    {
        std::filesystem::create_directory_symlink(mContent, mDir.Path() / "data");
        mHasContent = true;
    }
}
} // namespace test
