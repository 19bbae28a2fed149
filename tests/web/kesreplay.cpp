// Plays every shipped level's recorded input through the real play screen inside the browser and prints
// one line per level, "level1.map finished after 595 updates, par 595, lowest air 3.79" (or "... not
// finished"), then "done"; the par is the length of the level's recorded input, as the level card gives it.
// The browser tests compare it with the desktop's figures in docs/levels.md.
#include "PlayDriver.h"

#include "entities/Player.h"
#include "io/InputScript.h"
#include "states/PlayState.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

int main()
{
    chdir("/game");
    std::vector<std::string> levels;
    std::ifstream list("data/maps/maps.lst");
    for (std::string line; std::getline(list, line);)
        levels.push_back(line);
    try
    {
        for (std::size_t index = 0; index < levels.size(); ++index)
        {
            const std::string stem = std::filesystem::path(levels[index]).stem().string();
            const std::vector<unsigned> updates = InputScript::Load("replays/" + stem + ".replay");
            content::PlayDriver driver(index, false);
            // The lowest air is read as the level atlas reads it: after every update the player lives.
            double lowest = driver.Play().mPlayer->mOxygen;
            std::size_t played = 0;
            while (played < updates.size() && !driver.Finished())
            {
                driver.Step(updates[played++]);
                if (!driver.PlayerAlive())
                    break;
                lowest = std::min(lowest, driver.Play().mPlayer->mOxygen);
            }
            std::printf("%s %s after %zu updates, par %zu, lowest air %.2f\n", levels[index].c_str(),
                        driver.Finished() ? "finished" : "not finished", played, updates.size(), lowest);
        }
    }
    catch (const std::exception& error)
    {
        std::printf("error: %s\n", error.what());
    }
    std::printf("done\n");
    return 0;
}
