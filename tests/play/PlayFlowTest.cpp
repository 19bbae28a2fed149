// The ways out of play: death by lack of oxygen, Escape, the window's close request; input while ending;
// screenshots.
#include "PlayTest.h"

#include <SDL_image.h>
#include <SDL_mixer.h>

#include <set>

TEST_F(PlayTest, RunningOutOfAirEndsInTheMainMenuAfterTheDeathAndTheFade)
{
    BeginPlaying(Level("room", "Player 1 5 11 p\n"));
    Pl().mOxygen = 0.05;
    int dyingAt = -1;
    int deadAt = -1;
    int menuAt = -1;
    for (int update = 1; update <= 120 && menuAt < 0; ++update)
    {
        H().Tick();
        if (dyingAt < 0 && Pl().GetState() == Dying)
        {
            dyingAt = update;
            EXPECT_EQ(0.0, Pl().mOxygen);
        }
        if (H().CurrentState() == "MainMenu")
        {
            menuAt = update;
        }
        H().RenderFrame();
        if (deadAt < 0 && Pl().GetState() == Dead)
        {
            deadAt = update;
            Mix_HaltMusic(); // so that music playing at the end was started by the way out
        }
    }
    EXPECT_EQ(2, dyingAt) << "0.05, 0.02, then out";
    EXPECT_EQ(dyingAt + 19, deadAt) << "the third death frame shows in the 20th update";
    // The update after the death starts the fade-out; 32 more updates of it.
    EXPECT_EQ(deadAt + 33, menuAt);
    if (G()->mAudioManager->mIsInitialized)
    {
        EXPECT_TRUE(Mix_PlayingMusic()) << "the menu music starts";
    }
}

TEST_F(PlayTest, KeysWhileDyingClearTheInputInsteadOfSteering)
{
    BeginPlaying(Level("room", "Player 1 5 11 p\n"));
    P().mMoveLeft = true;
    P().mDoJump = true;
    Pl().SetState(Dying);
    H().PushKeyDown(static_cast<SDL_Scancode>(G()->mKeyRight));
    H().HandleEvents();
    EXPECT_FALSE(P().mMoveLeft || P().mMoveRight || P().mDoJump || P().mDoFire);
    P().mMoveRight = true;
    H().PushKeyUp(static_cast<SDL_Scancode>(G()->mKeyJump));
    H().HandleEvents();
    EXPECT_FALSE(P().mMoveRight);
}

TEST_F(PlayTest, EscapeFadesOutWhileTheWorldRunsOn)
{
    BeginPlaying(Level("room", "Player 1 2 11 p\nBlob1 1 10 5 e\n"));
    Entity* blob = Find("Enemy", "Blob1");
    H().PressKey(SDL_SCANCODE_ESCAPE);
    EXPECT_EQ(2, P().mFadeState);
    const double x = blob->GetX();
    H().Tick(31);
    EXPECT_NE(x, blob->GetX()) << "the enemy kept walking";
    EXPECT_EQ("Play", H().CurrentState());
    H().Tick();
    EXPECT_EQ("MainMenu", H().CurrentState());
    EXPECT_EQ(255, P().mAlpha);
}

TEST_F(PlayTest, ClosingTheWindowFreezesTheWorldAndFadesToTheCredits)
{
    BeginPlaying(Level("room", "Player 1 2 11 p\nBlob1 1 10 5 e\n"));
    Entity* blob = Find("Enemy", "Blob1");
    P().mMoveRight = true;
    H().PushQuit();
    H().HandleEvents();
    EXPECT_TRUE(P().mQuitRequested);
    const double x = blob->GetX();
    const double playerX = Pl().GetX();
    H().Tick();
    EXPECT_EQ(x, blob->GetX());
    EXPECT_EQ(playerX, Pl().GetX());
    EXPECT_FALSE(P().mMoveRight) << "the input is dropped";
    H().Tick(31);
    EXPECT_EQ("Play", H().CurrentState());
    H().Tick();
    EXPECT_EQ("Credits", H().CurrentState());
}

TEST_F(PlayTest, AfterAnEndFlagTheFirstKeyStartsTheFadeAndTheRestWaits)
{
    BeginPlaying(Level("room", "Player 1 2 11 p\n"));
    P().mNextLevel = true;
    H().PushKeyUp(SDL_SCANCODE_LEFT);
    H().PressKey(SDL_SCANCODE_RIGHT);
    EXPECT_EQ(2, P().mFadeState);
    EXPECT_FALSE(P().mMoveRight) << "polling stopped at the first key";
    SDL_PumpEvents();
    EXPECT_EQ(1, SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYDOWN));
}

TEST_F(PlayTest, F12SavesNumberedScreenshotsWithoutOverwriting)
{
    BeginPlaying(Level("room", "Player 1 2 11 p\n"));
    const auto shots = []
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator("."))
        {
            const std::string name = entry.path().filename().string();
            if (name.rfind("kesv", 0) == 0 && name.size() > 8 && name.substr(name.size() - 4) == ".png")
            {
                names.insert(name);
            }
        }
        return names;
    };
    // The counter is shared by every game of a run, so the first number here depends on earlier tests.
    H().PressKey(SDL_SCANCODE_F12);
    ASSERT_EQ(1u, shots().size());
    const std::string first = *shots().begin();
    const unsigned long number = std::stoul(first.substr(4, first.size() - 8));

    SDL_Surface* picture = IMG_Load(first.c_str());
    ASSERT_NE(nullptr, picture);
    EXPECT_EQ(640, picture->w);
    EXPECT_EQ(480, picture->h);
    SDL_FreeSurface(picture);

    // A file already there under the next number is kept, and the number after it is used.
    const std::string taken = "kesv" + std::to_string(number + 1) + ".png";
    mDir.WriteFile(taken, "mine");
    H().PushKeyDown(SDL_SCANCODE_F12, true); // repeats take no picture
    H().PressKey(SDL_SCANCODE_F12);
    EXPECT_EQ(3u, shots().size());
    EXPECT_EQ("mine", mDir.ReadFile(taken));
    EXPECT_TRUE(mDir.Exists("kesv" + std::to_string(number + 2) + ".png"));

    // A later game goes on counting; F12 also works while fading.
    H().PressKey(SDL_SCANCODE_ESCAPE);
    H().Tick(32);
    ASSERT_TRUE(H().BeginGame());
    H().PressKey(SDL_SCANCODE_F12);
    EXPECT_TRUE(mDir.Exists("kesv" + std::to_string(number + 3) + ".png"));
}
