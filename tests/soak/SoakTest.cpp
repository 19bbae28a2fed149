// A long run of random input on every screen of the real game: quits lead through the credits, the game
// is started again each time it ends, and the heap must stop growing once the first third has passed.
// KES_SOAK_UPDATES sets the length in updates (10000 by default, about 20 s here), KES_SOAK_SEED the random
// sequence: the same two replay a run exactly, however busy the machine is.
#include "PlayFixtures.h"
#include "SpoiledData.h"

#include "Game.h"
#include "StateManager.h"
#include "graphics/Framework.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KES_SOAK_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define KES_SOAK_ASAN 1
#endif

#ifdef KES_SOAK_ASAN
// Part of every sanitizer runtime; declared here because GCC ships no header for it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace
{
// Bytes the program holds on the heap right now.
long long LiveHeapBytes()
{
#ifdef KES_SOAK_ASAN
    return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#else
    return static_cast<long long>(mallinfo2().uordblks);
#endif
}

long long ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long long pages = 0;
    long long resident = 0;
    statm >> pages >> resident;
    return resident * 4096;
}

struct StartFigures
{
    long long heap = 0;
    long long resident = 0;
};

double EnvNumber(const char* name, double fallback)
{
    const char* value = std::getenv(name);
    return value ? std::atof(value) : fallback;
}

void PushKey(SDL_Scancode code, bool down, bool repeat)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = code;
    event.key.keysym.sym = SDL_GetKeyFromScancode(code);
    SDL_PushEvent(&event);
}

// Random input, mostly the keys the screens react to, now and then a quit request.
class Monkey
{
  public:
    explicit Monkey(unsigned seed) : mRandom(seed) {}

    void Act(const std::string& screen, int& screenshotsLeft)
    {
        static const SDL_Scancode keys[] = {SDL_SCANCODE_LEFT,   SDL_SCANCODE_RIGHT, SDL_SCANCODE_UP,
                                            SDL_SCANCODE_DOWN,   SDL_SCANCODE_SPACE, SDL_SCANCODE_RETURN,
                                            SDL_SCANCODE_ESCAPE, SDL_SCANCODE_A,     SDL_SCANCODE_F12};
        const int roll = Roll(3000);
        if (roll < 2)
        {
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
            return;
        }
        if (screen == "MainMenu" && roll < 60)
        {
            // Leave the menu often, for whichever entry the cursor is on.
            PushKey(SDL_SCANCODE_RETURN, true, false);
            PushKey(SDL_SCANCODE_RETURN, false, false);
            return;
        }
        if (roll < 900)
        {
            SDL_Scancode key = keys[Roll(sizeof keys / sizeof keys[0])];
            // Escape and Return end screens; keep them rarer so that play and the settings get time.
            if ((key == SDL_SCANCODE_ESCAPE || key == SDL_SCANCODE_RETURN) && Roll(8) != 0)
            {
                key = SDL_SCANCODE_RIGHT;
            }
            if (key == SDL_SCANCODE_F12 && (screenshotsLeft <= 0 || Roll(20) != 0))
            {
                key = SDL_SCANCODE_SPACE;
            }
            if (key == SDL_SCANCODE_F12)
            {
                --screenshotsLeft;
            }
            const bool held = mHeld[key];
            if (held && Roll(3) == 0)
            {
                PushKey(key, true, true); // a key repeat
            }
            else
            {
                PushKey(key, !held, false);
                mHeld[key] = !held;
            }
        }
    }

    int Roll(int n) { return std::uniform_int_distribution<int>(0, n - 1)(mRandom); }

  private:
    std::mt19937 mRandom;
    std::map<SDL_Scancode, bool> mHeld;
};

TEST(Soak, RandomInputOnEveryScreenRunsWithoutFailureOrGrowingMemory)
{
    const long long budget = static_cast<long long>(EnvNumber("KES_SOAK_UPDATES", 10000.0));
    const unsigned seed = static_cast<unsigned>(EnvNumber("KES_SOAK_SEED", 20261207.0));
    // The game's own content when the build made it, otherwise the small fixture game.
    test::ContentDir content;
    std::unique_ptr<test::TempDir> fixture;
    if (!content.HasContent())
    {
        fixture = std::make_unique<test::TempDir>();
        badinput::WriteGame(*fixture);
    }
    std::ofstream("kesv.cfg") << badinput::kWindowedSettings;

    Monkey monkey(seed);
    int screenshotsLeft = 50;
    std::map<std::string, long long> updatesOn;
    int games = 0;
    long long updates = 0;
    // Measured each time a fresh game has started, per window size: the settings screen toggles
    // fullscreen, the choice carries over to the next game, and a fullscreen window on the dummy
    // display holds a larger frame buffer (1024x768 instead of 640x480).
    std::map<std::pair<int, int>, std::vector<StartFigures>> startsBySize;

    const long long warmUp = budget / 3;
    // A seed whose games are few and long goes on (up to four times the budget) until the run has seen
    // enough to judge, so it does not fail for want of games.
    auto seenEnough = [&]
    {
        const bool restarted = std::any_of(startsBySize.begin(), startsBySize.end(),
                                           [](const auto& entry) { return entry.second.size() >= 2; });
        return restarted && updatesOn["Credits"] > 0 && updatesOn["Settings"] > 0;
    };
    auto goOn = [&] { return updates < budget || (!seenEnough() && updates < 4 * budget); };
    while (goOn())
    {
        auto game = std::make_unique<Game>();
        ASSERT_TRUE(game->Init());
        ++games;
        if (updates >= warmUp)
        {
            std::pair<int, int> size;
            SDL_GetWindowSize(game->mFramework->mWindow, &size.first, &size.second);
            startsBySize[size].push_back({LiveHeapBytes(), ResidentBytes()});
        }
        // One game: until the credits end it, or the time is up.
        while (game->mIsRunning && goOn())
        {
            std::string screen;
            for (const auto& entry : game->mStateManager->mStates)
            {
                if (entry.second.get() == game->mStateManager->mCurrentState)
                {
                    screen = entry.first;
                }
            }
            ++updatesOn[screen];
            monkey.Act(screen, screenshotsLeft);
            game->HandleEvents();
            game->Tick();
            ++updates;
            if (updates % 2 == 0)
            {
                game->Render(0.5f);
            }
        }
    }

    std::printf("soak: seed %u, %d games, %lld updates:", seed, games, updates);
    for (const auto& entry : updatesOn)
    {
        std::printf(" %s %lld", entry.first.c_str(), entry.second);
    }
    std::printf("\n");
    EXPECT_GT(games, 1);
    EXPECT_GT(updatesOn["Play"], 0);
    EXPECT_GT(updatesOn["Settings"], 0);
    EXPECT_GT(updatesOn["Credits"], 0);

    int judgedSizes = 0;
    for (const auto& [size, starts] : startsBySize)
    {
        if (starts.size() < 2)
        {
            continue;
        }
        ++judgedSizes;
        const StartFigures& first = starts.front();
        const StartFigures& last = starts.back();
        std::printf("soak: %zu game starts in a %dx%d window after the warm-up; heap %lld -> %lld bytes, "
                    "resident %lld -> %lld bytes\n",
                    starts.size(), size.first, size.second, first.heap, last.heap, first.resident,
                    last.resident);
        // The same starting point every time: a freshly started game on its main menu.
        EXPECT_LT(last.heap - first.heap, 1ll << 20) << size.first << "x" << size.second;
#ifndef KES_SOAK_ASAN
        // Under AddressSanitizer the resident size also holds its quarantine of freed blocks (up to
        // 256 MB), so there only the heap itself is judged.
        EXPECT_LT(last.resident - first.resident, 64ll << 20) << size.first << "x" << size.second;
#endif
    }
    EXPECT_GT(judgedSizes, 0) << "no window size was started twice after the warm-up";
}
} // namespace
