// Searches an input script that finishes one level of the built data, for the level replay tests.
// Usage (in the build folder): kesrecord <level index> <waypoints "column,row column,row ...">
//                           or kesrecord --shot <level index> <updates> <out.png> "<script>"
// (the second form plays a script with drawing on and saves the 320x240 picture after that many updates).
// The search plays the real play screen from the start for every candidate, so the script it prints is
// exactly what a player pressing those keys would do; waypoints steer it past detours such as keycards.
#include "PlayDriver.h"

#include "entities/Player.h"
#include "states/PlayState.h"

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

namespace
{
using content::kFire;
using content::kJump;
using content::kLeft;
using content::kRight;

constexpr int kSegment = 6;
constexpr std::size_t kBeam = 6;
constexpr int kMaxSegments = 500;

struct Outcome
{
    bool mFinished = false;
    bool mDead = false;
    double mScore = 0.0;
    std::tuple<int, int, int, int> mKey;
};

Outcome Evaluate(content::PlayDriver& driver, const std::vector<std::pair<int, int>>& waypoints,
                 const std::vector<unsigned>& updates)
{
    driver.Restart();
    std::size_t reached = 0;
    Outcome outcome;
    for (unsigned keys : updates)
    {
        driver.Step(keys);
        if (driver.Finished())
        {
            outcome.mFinished = true;
            return outcome;
        }
        if (!driver.PlayerAlive())
        {
            outcome.mDead = true;
            return outcome;
        }
        const Player& player = *driver.Play().mPlayer;
        while (reached < waypoints.size() && std::abs(player.GetX() - waypoints[reached].first * 16) < 10 &&
               std::abs(player.GetY() - waypoints[reached].second * 16) < 10)
            ++reached;
    }
    const Player& player = *driver.Play().mPlayer;
    // Past the last waypoint the exits lie to the right.
    double distance = -player.GetX();
    if (reached < waypoints.size())
        distance = std::hypot(player.GetX() - waypoints[reached].first * 16,
                              player.GetY() - waypoints[reached].second * 16);
    outcome.mScore = reached * 100000.0 - distance + player.GetHealth() * 3.0 + player.mOxygen * 10.0;
    outcome.mKey = {static_cast<int>(player.GetX()) / 4, static_cast<int>(player.GetY()) / 4,
                    static_cast<int>(reached), player.GetHealth() / 10};
    return outcome;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 6 && std::string(argv[1]) == "--shot")
    {
        content::PlayDriver driver(std::stoul(argv[2]), true);
        std::vector<unsigned> updates = content::ParseScript(argv[5]);
        updates.resize(std::stoul(argv[3]), 0u);
        for (unsigned keys : updates)
            driver.Step(keys);
        const std::string out = (driver.Folder() / argv[4]).string();
        // The driver works in a scratch folder; the picture goes where the caller asked.
        return IMG_SavePNG(driver.GetGame().mScreen->mSurface, argv[4][0] == '/' ? argv[4] : out.c_str()) == 0
                   ? 0
                   : 1;
    }
    if (argc < 2)
    {
        std::cerr << "usage: kesrecord <level index> [column,row ...]\n";
        return 2;
    }
    const std::size_t level = std::stoul(argv[1]);
    std::vector<std::pair<int, int>> waypoints;
    for (int i = 2; i < argc; ++i)
    {
        int column = 0;
        int row = 0;
        if (std::sscanf(argv[i], "%d,%d", &column, &row) == 2)
            waypoints.emplace_back(column, row);
    }
    const std::vector<unsigned> actions = {kRight, kRight | kJump, 0u, kLeft, kLeft | kJump, kRight | kFire};
    content::PlayDriver driver(level, false);
    std::vector<std::vector<unsigned>> beam = {{}};
    for (int segment = 0; segment < kMaxSegments; ++segment)
    {
        std::vector<std::pair<double, std::vector<unsigned>>> candidates;
        std::map<std::tuple<int, int, int, int>, double> seen;
        for (const std::vector<unsigned>& prefix : beam)
        {
            for (unsigned action : actions)
            {
                std::vector<unsigned> updates = prefix;
                updates.insert(updates.end(), kSegment, action);
                const Outcome outcome = Evaluate(driver, waypoints, updates);
                if (outcome.mFinished)
                {
                    std::cout << content::FormatScript(updates) << "\n";
                    return 0;
                }
                if (outcome.mDead)
                    continue;
                // One candidate per place and health: the beam stays spread over different routes.
                auto known = seen.find(outcome.mKey);
                if (known != seen.end() && known->second >= outcome.mScore)
                    continue;
                seen[outcome.mKey] = outcome.mScore;
                candidates.emplace_back(outcome.mScore, updates);
            }
        }
        if (candidates.empty())
        {
            std::cerr << "kesrecord: every candidate died\n";
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
