// Fuzzes play itself: a level made of fuzzed description, grid and placement is begun as the story screen
// begins a game and played for a few hundred updates with fuzzed keys. The input is four parts split by
// lines holding only "%%": the description, the grid (rows of the tile legend . # ^ ~ w ? and the vents
// Y y), the placement (lifts too) and an input script ("R30 RJ6 -4 LF2", repeated to the end).
#include "FuzzSupport.h"
#include "WorldFixtures.h"

#include "io/InputScript.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
constexpr int kUpdates = 300;
// Large enough for a level wider and taller than the screen, small enough to stay quick.
constexpr std::size_t kMaxColumns = 64;
constexpr std::size_t kMaxRows = 48;

std::vector<std::string> Parts(const std::string& text)
{
    std::vector<std::string> parts(1);
    std::size_t start = 0;
    while (start <= text.size() && parts.size() <= 4)
    {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        if (line == "%%")
            parts.emplace_back();
        else
            parts.back() += line + "\n";
        start = end + 1;
    }
    parts.resize(4);
    return parts;
}

// Rows of legend characters, padded to one width; any other byte stands for one of them.
std::vector<std::string> GridRows(const std::string& text)
{
    static const std::string legend = ".#^~w?Yy";
    std::vector<std::string> rows;
    std::size_t width = 1;
    for (std::size_t start = 0; start < text.size() && rows.size() < kMaxRows;)
    {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string row = text.substr(start, std::min(end - start, kMaxColumns));
        for (char& cell : row)
            if (legend.find(cell) == std::string::npos)
                cell = legend[static_cast<unsigned char>(cell) % legend.size()];
        width = std::max(width, row.size());
        rows.push_back(row);
        start = end + 1;
    }
    if (rows.empty())
        rows.emplace_back(".");
    for (std::string& row : rows)
        row.resize(width, '.');
    return rows;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    test::PlayHarness& harness = fuzz::Harness();
    const std::vector<std::string> parts = Parts(std::string(reinterpret_cast<const char*>(data), size));
    test::LevelFiles level;
    level.background = GridRows(parts[1]);
    level.placement = parts[2];
    test::WriteLevel(fuzz::Work(), level);
    fuzz::WriteBytes("data/maps/level", reinterpret_cast<const std::uint8_t*>(parts[0].data()),
                     parts[0].size());
    std::vector<unsigned> keys;
    try
    {
        keys = InputScript::Parse(parts[3]);
    }
    catch (const std::runtime_error&)
    {
        // Not a script: play on without keys.
    }

    try
    {
        // Play runs on after a set-up that returned false, as it does when the story screen starts it.
        harness.BeginGame();
    }
    catch (const std::runtime_error&)
    {
        return 0; // the game would show this in its error box
    }
    for (int update = 0; update < kUpdates && harness.CurrentState() == "Play"; ++update)
    {
        // Every update is simulated; every eighth is drawn, which is where the time goes.
        harness.Step(keys.empty() ? 0u : keys[update % keys.size()], update % 8 == 0);
        const Player* player = harness.Play().mPlayer.get();
        if (player != nullptr && !(std::isfinite(player->GetX()) && std::isfinite(player->GetY())))
            fuzz::Fail("the player left the numbers behind");
    }
    const std::string screen = harness.CurrentState();
    if (screen != "Play" && screen != "MainMenu")
        fuzz::Fail("play led to " + screen);
    harness.RenderFrame();
    // Back to a known screen for the next input.
    harness.mGame.mStateManager->ChangeState("MainMenu");
    return 0;
}
