// A small game for driving the menu screens tick by tick, with tiny fixture content.
#include "ScreenFixture.h"

#include "StateManager.h"
#include "audio/AudioManager.h"
#include "graphics/Font.h"
#include "graphics/Framework.h"
#include "graphics/Image.h"
#include "graphics/Utils.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace
{
const std::uint32_t kKey = 0x800080;

// Each glyph has its own pattern (the top row spells its index), so a wrong or shifted text never
// matches; the space stays empty.
bool GlyphPixel(int index, int x, int y)
{
    if (index == 0 || x > 6 || y > 6)
    {
        return false;
    }
    return y == 0 ? ((index >> x) & 1) != 0 : (x + y * index) % 3 == 0;
}

std::vector<std::uint32_t> Picture(int width, int height, const std::function<std::uint32_t(int, int)>& colour)
{
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            pixels.push_back(colour(x, y));
        }
    }
    return pixels;
}

void PutLE(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
    {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// Two seconds of a quiet 16-bit mono square wave: still playing when a test asks.
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
} // namespace

void ScreenTest::StartGame(bool sound, bool music)
{
    mDir.WritePng("data/gfx/font.png", 96, 64, Picture(96, 64, [](int x, int y) {
                      const int index = y / 8 * 12 + x / 8;
                      return index < 95 && GlyphPixel(index, x % 8, y % 8) ? 0xFFFFFFu : kKey;
                  }));
    // A right-pointing triangle; its own colour does not matter, it is drawn as a grey shape.
    mDir.WritePng("data/gfx/arrow.png", 8, 8,
                  Picture(8, 8, [](int x, int y) { return x <= y && x <= 7 - y ? 0x20E020u : kKey; }));
    mDir.WritePng("data/gfx/bg.png", 320, 240, Picture(320, 240, [](int, int) { return 0u; }));
    mDir.WritePng("data/gfx/title.png", 16, 8, Picture(16, 8, [](int, int) { return 0x3040A0u; }));
    mDir.WritePng("data/gfx/settings.png", 24, 8, Picture(24, 8, [](int, int) { return 0x40A030u; }));
    mDir.WriteFile("data/sfx/sounds.cfg", "select.wav\n");
    mDir.WriteFile("data/sfx/select.wav", WaveFile());
    mDir.WriteFile("data/music/music.cfg", "// the menu music is added below\n");
    mDir.WriteFile("data/music/menu.wav", WaveFile());
    if (!mDir.Exists("data/story.txt"))
    {
        mDir.WriteFile("data/story.txt", "0123456789\nab\n");
    }

    mGame.mFullscreen = false;
    mGame.mSound = sound;
    mGame.mMusic = music;
    mGame.mFramework = std::make_unique<Framework>();
    ASSERT_TRUE(mGame.mFramework->Init(false, false));
    mGame.mScreen = std::make_unique<Image>();
    ASSERT_TRUE(mGame.mScreen->Load(mGame.mFramework->mSurface, 320, 240, false, 128, 0, 128));
    mGame.mFont = std::make_unique<Font>();
    ASSERT_TRUE(mGame.mFont->Init("font.png", mGame.mFramework->GetRendererInfo(), 8, 8));
    mGame.mAudioManager = std::make_unique<AudioManager>();
    ASSERT_TRUE(mGame.mAudioManager->Init(sound, music, 64, 64));
    ASSERT_TRUE(mGame.mAudioManager->LoadAllAudioFiles());
    // The mixer decodes a ".ogg" name only as Ogg Vorbis, so a PCM piece stands in under the game's name.
    mGame.mAudioManager->mSongs["menu.ogg"] = Mix_LoadMUS("data/music/menu.wav");
    ASSERT_NE(nullptr, mGame.mAudioManager->mSongs["menu.ogg"]) << Mix_GetError();
    mGame.mAudioManager->PlayMusic("menu.ogg", false);

    mGame.mStateManager = std::make_unique<StateManager>();
    StateManager& states = *mGame.mStateManager;
    states.AddState("MainMenu", mGame.mMainMenuState = mMenu = new MainMenuState());
    states.AddState("Settings", mGame.mSettingsState = mSettings = new SettingsState());
    states.AddState("Story", mGame.mStoryState = mStory = new StoryState());
    states.AddState("Play", mPlay = new FakePlayState());
    states.AddState("Credits", mGame.mCreditsState = mCredits = new CreditsState());
    for (const char* name : {"MainMenu", "Settings", "Story", "Credits"})
    {
        ASSERT_TRUE(states.mStates[name]->Init(&mGame)) << name;
    }
    states.ChangeState("MainMenu");
    mGame.mIsRunning = true;
}

void ScreenTest::Show(const char* name)
{
    mGame.mStateManager->ChangeState(name);
}

void ScreenTest::PushKey(SDL_Scancode key)
{
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.scancode = key;
    event.key.keysym.sym = SDL_GetKeyFromScancode(key);
    ASSERT_EQ(1, SDL_PushEvent(&event)) << SDL_GetError();
}

void ScreenTest::PushQuit()
{
    SDL_Event event{};
    event.type = SDL_QUIT;
    ASSERT_EQ(1, SDL_PushEvent(&event)) << SDL_GetError();
}

int ScreenTest::QueuedEvents()
{
    SDL_PumpEvents();
    return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_QUIT, SDL_QUIT) +
           SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYDOWN);
}

void ScreenTest::Ticks(int n)
{
    for (int i = 0; i < n; ++i)
    {
        Current()->Tick(&mGame);
    }
}

State* ScreenTest::Current()
{
    return mGame.mStateManager->mCurrentState;
}

void ScreenTest::RenderFrame()
{
    SDL_Surface* screen = mGame.mScreen->mSurface;
    SDL_FillRect(screen, nullptr, SDL_MapRGBA(screen->format, 0, 0, 0, 255));
    Current()->Render(&mGame, 0.0f);
}

SDL_Color ScreenTest::PixelColour(int x, int y)
{
    SDL_Surface* screen = mGame.mScreen->mSurface;
    SDL_Color colour{};
    SDL_GetRGB(Utils::GetPixel(screen, x, y), screen->format, &colour.r, &colour.g, &colour.b);
    return colour;
}

::testing::AssertionResult ScreenTest::Matches(const std::function<void(SDL_Surface*)>& draw, int x, int y,
                                               int width, int height)
{
    SDL_Surface* screen = mGame.mScreen->mSurface;
    test::SurfacePtr expected(SDL_CreateRGBSurfaceWithFormat(0, screen->w, screen->h,
                                                             screen->format->BitsPerPixel, screen->format->format));
    const Uint32 grey = SDL_MapRGBA(screen->format, 192, 192, 192, 255);
    draw(expected.get());
    for (int j = y; j < y + height; ++j)
    {
        for (int i = x; i < x + width; ++i)
        {
            // Within rounding of the overlay's blend at opacity 0.
            const SDL_Color c = PixelColour(i, j);
            const bool lit = c.r >= 188 && c.r <= 192 && c.g >= 188 && c.g <= 192 && c.b >= 188 && c.b <= 192;
            if (lit != (Utils::GetPixel(expected.get(), i, j) == grey))
            {
                return ::testing::AssertionFailure() << "pixel (" << i << ", " << j << ") should be "
                                                     << (lit ? "dark" : "lit");
            }
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult ScreenTest::TextAt(const std::string& text, int x, int y)
{
    // The expected glyphs come from the fixture font's own pattern, not from the font code.
    int dx = 0;
    int dy = 0;
    int width = 0;
    std::vector<SDL_Point> lit;
    for (char c : text)
    {
        if (c == '\n')
        {
            dx = 0;
            dy += 8;
            continue;
        }
        for (int j = 0; j < 8; ++j)
        {
            for (int i = 0; i < 8; ++i)
            {
                if (GlyphPixel(c - 32, i, j))
                {
                    lit.push_back({x + dx + i, y + dy + j});
                }
            }
        }
        dx += 8;
        width = std::max(width, dx);
    }
    const auto draw = [&](SDL_Surface* s) {
        for (const SDL_Point& p : lit)
        {
            Utils::PutPixel(s, p.x, p.y, SDL_MapRGBA(s->format, 192, 192, 192, 255));
        }
    };
    return Matches(draw, x, y, width, dy + 8) << " in \"" << text << "\" at (" << x << ", " << y << ")";
}

::testing::AssertionResult ScreenTest::ArrowAt(int x, int y)
{
    return Matches(
               [&](SDL_Surface* s) {
                   for (int j = 0; j < 8; ++j)
                   {
                       for (int i = 0; i < 8; ++i)
                       {
                           if (i <= j && i <= 7 - j)
                           {
                               Utils::PutPixel(s, x + i, y + j, SDL_MapRGBA(s->format, 192, 192, 192, 255));
                           }
                       }
                   }
               },
               x, y, 8, 8)
           << " in the arrow at (" << x << ", " << y << ")";
}

::testing::AssertionResult ScreenTest::Dark(int x, int y, int width, int height)
{
    return Matches([](SDL_Surface*) {}, x, y, width, height);
}
