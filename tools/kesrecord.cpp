// Searches an input script that finishes one level of the built data, that the atlas check replays.
// Usage (in the build folder): kesrecord <level index> [--prefix=<script>] [--grounded] [column,row ...]
//                           or kesrecord --shot <level index> <updates> <out.png> "<script>"
//                           or kesrecord --trace <level index> <file.replay>
// The search may start from a fixed prefix (a hand-played stretch such as a stomp). --shot plays a script
// with drawing on and saves the 320x240 picture after that many updates; --trace plays a recorded input
// and prints what happens along it (kills, pick-ups, hurts, the lowest oxygen, the finishing update).
// The search plays the real play screen from the start for every candidate, so the script it prints is
// exactly what a player pressing those keys would do; waypoints steer it past detours such as keycards.
#include "PlayDriver.h"

#include "entities/Enemy.h"
#include "entities/Player.h"
#include "states/PlayState.h"
#include "world/Map.h"

#include <SDL_image.h>

#include "Game.h"
#include "graphics/Image.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <map>
#include <sstream>
#include <tuple>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace
{
using test::kFire;
using test::kJump;
using test::kLeft;
using test::kRight;

constexpr int kSegment = 6;
constexpr std::size_t kBeam = 6;
constexpr int kMaxSegments = 900; // 3 minutes, the longest par a level may have

// With --grounded a candidate is scored by where it last stood, not where its jump has carried it, so the
// search stands still for a lift to come rather than hopping under the shaft (a hop's height is no gain).
bool gGrounded = false;
double gStoodY = 0.0;

struct Outcome
{
    bool mFinished = false;
    int mUsed = 0; // updates played up to the one that left the level, that one included
    bool mDead = false;
    double mScore = 0.0;
    // Place (4 px), waypoints reached and health (10s): one candidate per key stays in the beam.
    int mKey[4] = {0, 0, 0, 0};
};

// Plays updates from where the driver stands; true when the level was left or the player died.
bool Play(content::PlayDriver& driver, const std::vector<std::pair<int, int>>& waypoints,
          const std::vector<unsigned>& updates, std::size_t& reached, Outcome& outcome)
{
    for (unsigned keys : updates)
    {
        driver.Step(keys);
        ++outcome.mUsed;
        if (driver.Finished())
            return outcome.mFinished = true;
        if (!driver.PlayerAlive())
            return outcome.mDead = true;
        const Player& player = *driver.Play().mPlayer;
        if (player.GetIsOnGround())
            gStoodY = player.GetY();
        while (reached < waypoints.size() && std::abs(player.GetX() - waypoints[reached].first * 16) < 10 &&
               std::abs(player.GetY() - waypoints[reached].second * 16) < 10)
            ++reached;
    }
    const Player& player = *driver.Play().mPlayer;
    // Past the last waypoint the exits lie to the right.
    double distance = -player.GetX();
    const double y = gGrounded ? gStoodY : player.GetY();
    if (reached < waypoints.size())
        distance =
            std::hypot(player.GetX() - waypoints[reached].first * 16, y - waypoints[reached].second * 16);
    outcome.mScore = reached * 100000.0 - distance + player.GetHealth() * 3.0 + player.mOxygen * 10.0;
    outcome.mKey[0] = static_cast<int>(player.GetX()) / 4;
    outcome.mKey[1] = static_cast<int>(player.GetY()) / 4;
    outcome.mKey[2] = static_cast<int>(reached);
    outcome.mKey[3] = player.GetHealth() / 10;
    return false;
}

// Plays the prefix once, then tries each action for one segment in a forked copy of the game, so a
// prefix is replayed once per segment rather than once per action.
std::vector<Outcome> EvaluateActions(content::PlayDriver& driver,
                                     const std::vector<std::pair<int, int>>& waypoints,
                                     const std::vector<unsigned>& prefix,
                                     const std::vector<unsigned>& actions)
{
    driver.Restart();
    gStoodY = driver.Play().mPlayer->GetY();
    std::size_t reached = 0;
    Outcome before;
    if (Play(driver, waypoints, prefix, reached, before))
    {
        before.mUsed -= static_cast<int>(prefix.size()); // counted, like a segment's, from the prefix's end
        return std::vector<Outcome>(actions.size(), before);
    }
    std::vector<Outcome> outcomes;
    for (unsigned action : actions)
    {
        int channel[2];
        if (pipe(channel) != 0)
            throw std::runtime_error("no pipe");
        const pid_t child = fork();
        if (child < 0)
            throw std::runtime_error("no fork");
        if (child == 0)
        {
            // The copy reports and leaves at once: its destructors would remove the driver's folder.
            close(channel[0]);
            Outcome outcome;
            Play(driver, waypoints, std::vector<unsigned>(kSegment, action), reached, outcome);
            const bool sent = write(channel[1], &outcome, sizeof outcome) == sizeof outcome;
            _exit(sent ? 0 : 1);
        }
        close(channel[1]);
        Outcome outcome;
        const bool received = read(channel[0], &outcome, sizeof outcome) == sizeof outcome;
        close(channel[0]);
        waitpid(child, nullptr, 0);
        if (!received)
            throw std::runtime_error("a search step failed");
        outcomes.push_back(outcome);
    }
    return outcomes;
}

int Trace(std::size_t level, const std::string& replay)
{
    const std::vector<unsigned> updates = InputScript::Load(replay);
    content::PlayDriver driver(level, false);
    double lowest = 10.0;
    int health = 100;
    std::size_t items = driver.Play().mMap->mItems.size();
    std::map<const Enemy*, int> states;
    for (std::size_t used = 0; used < updates.size(); ++used)
    {
        driver.Step(updates[used]);
        if (driver.Finished())
        {
            std::cout << "finished after " << used + 1 << " updates (" << (used + 1) / 30.0
                      << " s), lowest oxygen " << lowest << ", health " << health << "\n";
            return 0;
        }
        const Player& player = *driver.Play().mPlayer;
        const int x = static_cast<int>(player.GetX()) / 16;
        const int y = static_cast<int>(player.GetY()) / 16;
        lowest = std::min(lowest, player.mOxygen);
        for (const auto& [name, enemy] : driver.Play().mMap->mEnemies)
        {
            auto known = states.find(enemy.get());
            if (known != states.end() && known->second != Dying && enemy->GetState() == Dying)
                std::cout << used << ": " << name << " killed at " << x << "," << y
                          << (player.GetDY() < 0 && std::abs(player.GetY() + 16 - enemy->GetY()) < 1
                                  ? " (stomped)"
                                  : "")
                          << "\n";
            states[enemy.get()] = enemy->GetState();
        }
        if (driver.Play().mMap->mItems.size() != items)
            std::cout << used << ": picked up at " << x << "," << y << "\n";
        items = driver.Play().mMap->mItems.size();
        if (player.GetHealth() != health)
            std::cout << used << ": health " << player.GetHealth() << " at " << x << "," << y << "\n";
        health = player.GetHealth();
        if (!player.GetIsAlive())
        {
            std::cout << "died after " << used + 1 << " updates at " << x << "," << y << "\n";
            return 1;
        }
    }
    std::cout << "the input ran out at " << driver.Play().mPlayer->GetX() / 16 << ","
              << driver.Play().mPlayer->GetY() / 16 << ", lowest oxygen " << lowest << "\n";
    return 1;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 6 && std::string(argv[1]) == "--shot")
    {
        content::PlayDriver driver(std::stoul(argv[2]), true);
        std::vector<unsigned> updates = InputScript::Parse(argv[5]);
        updates.resize(std::stoul(argv[3]), 0u);
        for (unsigned keys : updates)
            driver.Step(keys);
        const std::string out = (driver.Folder() / argv[4]).string();
        // The driver works in a scratch folder; the picture goes where the caller asked.
        return IMG_SavePNG(driver.GetGame().mScreen->mSurface, argv[4][0] == '/' ? argv[4] : out.c_str()) == 0
                   ? 0
                   : 1;
    }
    if (argc == 4 && std::string(argv[1]) == "--trace")
        return Trace(std::stoul(argv[2]), argv[3]);
    if (argc < 2)
    {
        std::cerr << "usage: kesrecord <level index> [--prefix=<script>] [--grounded] [column,row ...]\n";
        return 2;
    }
    const std::size_t level = std::stoul(argv[1]);
    std::vector<std::pair<int, int>> waypoints;
    std::vector<unsigned> prefix;
    for (int i = 2; i < argc; ++i)
    {
        if (std::string(argv[i]).rfind("--prefix=", 0) == 0)
            prefix = InputScript::Parse(argv[i] + 9);
        if (std::string(argv[i]) == "--grounded")
            gGrounded = true;
        int column = 0;
        int row = 0;
        if (std::sscanf(argv[i], "%d,%d", &column, &row) == 2)
            waypoints.emplace_back(column, row);
    }
    const std::vector<unsigned> actions = {kRight,        kRight | kJump, 0u,           kLeft,
                                           kLeft | kJump, kRight | kFire, kLeft | kFire};
    content::PlayDriver driver(level, false);
    std::vector<std::vector<unsigned>> beam = {prefix};
    for (int segment = 0; segment < kMaxSegments; ++segment)
    {
        std::vector<std::pair<double, std::vector<unsigned>>> candidates;
        std::map<std::tuple<int, int, int, int>, double> seen;
        for (const std::vector<unsigned>& prefix : beam)
        {
            const std::vector<Outcome> outcomes = EvaluateActions(driver, waypoints, prefix, actions);
            for (std::size_t i = 0; i < actions.size(); ++i)
            {
                std::vector<unsigned> updates = prefix;
                updates.insert(updates.end(), kSegment, actions[i]);
                const Outcome& outcome = outcomes[i];
                if (outcome.mFinished)
                {
                    // The script ends with the update that leaves the level: its length is the level's par.
                    updates.resize(prefix.size() + static_cast<std::size_t>(outcome.mUsed));
                    std::cout << InputScript::Format(updates) << "\n";
                    return 0;
                }
                if (outcome.mDead)
                    continue;
                // One candidate per place and health: the beam stays spread over different routes.
                const auto key =
                    std::make_tuple(outcome.mKey[0], outcome.mKey[1], outcome.mKey[2], outcome.mKey[3]);
                auto known = seen.find(key);
                if (known != seen.end() && known->second >= outcome.mScore)
                    continue;
                seen[key] = outcome.mScore;
                candidates.emplace_back(outcome.mScore, updates);
            }
        }
        if (candidates.empty())
        {
            // The best script so far shows where the level asks too much (trace it).
            std::cerr << "kesrecord: every candidate died after\n"
                      << InputScript::Format(beam.front()) << "\n";
            return 1;
        }
        std::sort(candidates.begin(), candidates.end(),
                  [](const auto& a, const auto& b) { return a.first > b.first; });
        beam.clear();
        for (std::size_t i = 0; i < candidates.size() && beam.size() < kBeam; ++i)
            beam.push_back(candidates[i].second);
        std::cerr << "segment " << segment << " best " << candidates.front().first << "\n";
    }
    std::cerr << "kesrecord: no finishing script within the limit\n";
    return 1;
}
