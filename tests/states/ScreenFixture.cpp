// A small game for driving the menu screens tick by tick, with tiny fixture content.
#include "ScreenFixture.h"

#include "PlayFixtures.h"

#include "audio/AudioManager.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cstdint>

void ScreenTest::StartGame(bool sound, bool music)
{
    test::WriteFixtureFont(mDir);
    test::WriteMenuPictures(mDir);
    mDir.WriteFile("data/sfx/sounds.cfg", "select.wav\n");
    mDir.WriteFile("data/sfx/select.wav", test::QuietWave());
    mDir.WriteFile("data/music/music.cfg", "");
    mDir.WriteFile("data/music/menu.wav", test::QuietWave());
    if (!mDir.Exists("data/story.txt"))
    {
        mDir.WriteFile("data/story.txt", "0123456789\nab\n");
    }

    mGame.mSound = sound;
    mGame.mMusic = music;
    ASSERT_NO_THROW(mRig.Start());
    ASSERT_TRUE(mRig.FontLoaded());
    ASSERT_TRUE(mRig.AudioStarted());
    ASSERT_TRUE(mRig.AudioLoaded());
    // The mixer decodes a ".ogg" name only as Ogg Vorbis, so a PCM piece stands in under the game's name.
    mGame.mAudioManager->mSongs["menu.ogg"] = Mix_LoadMUS("data/music/menu.wav");
    mGame.mAudioManager->PlayMusic("menu.ogg", false);

    StateManager& states = *mGame.mStateManager;
    states.AddState("MainMenu", mGame.mMainMenuState = mMenu = new MainMenuState());
    states.AddState("Settings", mGame.mSettingsState = mSettings = new SettingsState());
    states.AddState("Story", mGame.mStoryState = mStory = new StoryState());
    states.AddState("Play", mPlay = new FakePlayState());
    states.AddState("Credits", mGame.mCreditsState = mCredits = new CreditsState());
    states.AddState("Assist", mGame.mAssistState = mAssist = new AssistState());
    for (const char* name : {"MainMenu", "Settings", "Story", "Credits", "Assist"})
    {
        ASSERT_TRUE(states.mStates[name]->Init(&mGame)) << name;
    }
    Show("MainMenu");
    mGame.mIsRunning = true;
}

void ScreenTest::Push(SDL_Scancode key)
{
    if (key == kCloseWindow)
    {
        ASSERT_NO_THROW(mRig.PushQuit());
    }
    else
    {
        ASSERT_NO_THROW(mRig.PushKeyDown(key));
    }
}

int ScreenTest::QueuedEvents()
{
    SDL_PumpEvents();
    return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_QUIT, SDL_QUIT) +
           SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYDOWN);
}

void ScreenTest::Ticks(int n)
{
    mRig.Tick(n);
}

void ScreenTest::RenderFrame()
{
    mRig.RenderFrame();
}

SDL_Color ScreenTest::PixelColour(int x, int y)
{
    return mRig.Pixel(x, y);
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
            if (test::GlyphPixel(c - 32, p % 8, p / 8))
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
        if (test::ArrowPixel(p % 8, p / 8))
        {
            points.push_back({x + p % 8, y + p / 8});
        }
    }
    return LitExactly(points, x, y, 8, 8) << " in the arrow at (" << x << ", " << y << ")";
}
