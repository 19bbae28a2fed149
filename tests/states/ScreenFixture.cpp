// A small game for driving the menu screens tick by tick, with tiny fixture content.
#include "ScreenFixture.h"

#include "audio/AudioManager.h"
#include "graphics/Font.h"
#include "graphics/Framework.h"
#include "graphics/Image.h"
#include "graphics/Utils.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cstdint>
#include <functional>

namespace
{
const std::uint32_t kKey = 0x800080;

// Each glyph has its own pattern (the top row spells its index), so a wrong or shifted text never
// matches; the space stays empty.
bool GlyphPixel(int index, int x, int y)
{
    if (index <= 0 || x > 6 || y > 6)
    {
        return false;
    }
    return y == 0 ? ((index >> x) & 1) != 0 : (x + y * index) % 3 == 0;
}

bool ArrowPixel(int x, int y)
{
    return x <= y && x <= 7 - y; // a right-pointing triangle
}

std::vector<std::uint32_t> Picture(int width, int height,
                                   const std::function<std::uint32_t(int, int)>& colour)
{
    std::vector<std::uint32_t> pixels;
    for (int i = 0; i < width * height; ++i)
    {
        pixels.push_back(colour(i % width, i / width));
    }
    return pixels;
}

// Two seconds of a quiet 16-bit mono square wave: still playing when a test asks.
std::string WaveFile()
{
    std::vector<std::int16_t> samples(44100);
    for (std::size_t i = 0; i < samples.size(); ++i)
    {
        samples[i] = (i / 50) % 2 ? 1024 : -1024;
    }
    const std::uint32_t bytes = static_cast<std::uint32_t>(samples.size() * 2);
    const std::uint32_t header[] = {
        0x46464952, 36 + bytes, 0x45564157, 0x20746D66, 16,   0x00010001,
        22050,      44100,      0x00100002, 0x61746164, bytes}; // RIFF, WAVE, "fmt ", PCM mono 22050 Hz, data
    return std::string(reinterpret_cast<const char*>(header), sizeof(header)) +
           std::string(reinterpret_cast<const char*>(samples.data()), bytes);
}
} // namespace

void ScreenTest::StartGame(bool sound, bool music)
{
    mDir.WritePng("data/gfx/font.png", 96, 64,
                  Picture(96, 64,
                          [](int x, int y)
                          { return GlyphPixel(y / 8 * 12 + x / 8, x % 8, y % 8) ? 0xFFFFFFu : kKey; }));
    mDir.WritePng("data/gfx/arrow.png", 8, 8,
                  Picture(8, 8,
                          [](int x, int y)
                          {
                              return ArrowPixel(x, y) ? 0x20E020u : kKey; // drawn as a grey shape anyway
                          }));
    mDir.WritePng("data/gfx/bg.png", 320, 240, Picture(320, 240, [](int, int) { return 0u; }));
    mDir.WritePng("data/gfx/title.png", 16, 8, Picture(16, 8, [](int, int) { return 0x3040A0u; }));
    mDir.WritePng("data/gfx/settings.png", 24, 8, Picture(24, 8, [](int, int) { return 0x40A030u; }));
    mDir.WriteFile("data/sfx/sounds.cfg", "select.wav\n");
    mDir.WriteFile("data/sfx/select.wav", WaveFile());
    mDir.WriteFile("data/music/music.cfg", "");
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
    ASSERT_TRUE(mGame.mScreen->Load(mGame.mFramework->mSurface, 320, 240, false, Image::mKeyRed,
                                    Image::mKeyGreen, Image::mKeyBlue));
    mGame.mFont = std::make_unique<Font>();
    ASSERT_TRUE(mGame.mFont->Init("font.png", mGame.mFramework->GetRendererInfo(), 8, 8));
    mGame.mAudioManager = std::make_unique<AudioManager>();
    ASSERT_TRUE(mGame.mAudioManager->Init(sound, music, 64, 64));
    ASSERT_TRUE(mGame.mAudioManager->LoadAllAudioFiles());
    // The mixer decodes a ".ogg" name only as Ogg Vorbis, so a PCM piece stands in under the game's name.
    mGame.mAudioManager->mSongs["menu.ogg"] = Mix_LoadMUS("data/music/menu.wav");
    mGame.mAudioManager->PlayMusic("menu.ogg", false);

    StateManager& states = *(mGame.mStateManager = std::make_unique<StateManager>());
    states.AddState("MainMenu", mGame.mMainMenuState = mMenu = new MainMenuState());
    states.AddState("Settings", mGame.mSettingsState = mSettings = new SettingsState());
    states.AddState("Story", mGame.mStoryState = mStory = new StoryState());
    states.AddState("Play", mPlay = new FakePlayState());
    states.AddState("Credits", mGame.mCreditsState = mCredits = new CreditsState());
    for (const char* name : {"MainMenu", "Settings", "Story", "Credits"})
    {
        ASSERT_TRUE(states.mStates[name]->Init(&mGame)) << name;
    }
    Show("MainMenu");
    mGame.mIsRunning = true;
}

void ScreenTest::Push(SDL_Scancode key)
{
    SDL_Event event{};
    event.type = key == SDL_SCANCODE_UNKNOWN ? SDL_QUIT : SDL_KEYDOWN;
    event.key.keysym.scancode = key;
    event.key.keysym.sym = SDL_GetKeyFromScancode(key);
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

void ScreenTest::RenderFrame()
{
    SDL_FillRect(mGame.mScreen->mSurface, nullptr, 0);
    Current()->Render(&mGame, 0.0f);
}

SDL_Color ScreenTest::PixelColour(int x, int y)
{
    SDL_Surface* screen = mGame.mScreen->mSurface;
    SDL_Color colour{};
    SDL_GetRGB(Utils::GetPixel(screen, x, y), screen->format, &colour.r, &colour.g, &colour.b);
    return colour;
}

::testing::AssertionResult ScreenTest::LitExactly(const std::vector<SDL_Point>& points, int x, int y, int w,
                                                  int h)
{
    for (int j = y; j < y + h; ++j)
    {
        for (int i = x; i < x + w; ++i)
        {
            // Light grey within the rounding of the overlay's blend at opacity 0.
            const SDL_Color c = PixelColour(i, j);
            const bool lit = std::min({c.r, c.g, c.b}) >= 188 && std::max({c.r, c.g, c.b}) <= 192;
            const bool want = std::any_of(points.begin(), points.end(),
                                          [&](const SDL_Point& p) { return p.x == i && p.y == j; });
            if (lit != want)
            {
                return ::testing::AssertionFailure()
                       << "pixel (" << i << ", " << j << ") is " << (lit ? "lit" : "dark");
            }
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult ScreenTest::TextAt(const std::string& text, int x, int y)
{
    // The expected glyphs come from the fixture font's pattern, not from the font code.
    std::vector<SDL_Point> points;
    int dx = 0;
    int dy = 0;
    int width = 0;
    for (char c : text)
    {
        if (c == '\n')
        {
            dx = 0;
            dy += 8;
            continue;
        }
        for (int p = 0; p < 64; ++p)
        {
            if (GlyphPixel(c - 32, p % 8, p / 8))
            {
                points.push_back({x + dx + p % 8, y + dy + p / 8});
            }
        }
        width = std::max(width, dx += 8);
    }
    return LitExactly(points, x, y, width, dy + 8) << " in \"" << text << "\" at (" << x << ", " << y << ")";
}

::testing::AssertionResult ScreenTest::ArrowAt(int x, int y)
{
    std::vector<SDL_Point> points;
    for (int p = 0; p < 64; ++p)
    {
        if (ArrowPixel(p % 8, p / 8))
        {
            points.push_back({x + p % 8, y + p / 8});
        }
    }
    return LitExactly(points, x, y, 8, 8) << " in the arrow at (" << x << ", " << y << ")";
}
