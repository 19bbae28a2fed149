// Races between players: the link of a finished run on its level, and a received race's level found and
// its run checked in a world of its own before anyone races it.
#pragma once

#include "editor/RaceLink.h"

#include <stdexcept>
#include <string>
#include <vector>

class Game;
class ScratchLevel;

class Race
{
  public:
    Race() = delete;

    // A run that does not pass the exit where it should, as Make says it.
    struct NotFinished : std::runtime_error
    {
        using std::runtime_error::runtime_error;
    };

    // The set the game's own levels form in a race link: the level list's name.
    static const std::string& OwnSet();
    // A hash of a level's files (its description and the pictures and placement file it names), as 16 hex
    // digits. Throws std::runtime_error when one cannot be read.
    static std::string LevelHash(const std::string& levelFile);

    // The race of a run on a level file: one of the game's own levels by name and hash, any other carried
    // whole. The run is replayed first, and ends with the update it passes the exit in. Throws
    // std::runtime_error saying why when it never passes the exit, passes it at another update than time
    // (0: wherever it does) with NotFinished, and when the level cannot be played or travel in a link.
    static RaceLink Make(Game* game, const std::string& levelFile, std::vector<unsigned> run,
                         const Assist& rules, int time = 0);

    // The level file a race is played on: one of the game's own, found by name and checked by its hash, or
    // a made level, checked for play and written into scratch. Throws std::runtime_error with the player's
    // message.
    static std::string Open(const RaceLink& race, ScratchLevel& scratch);
    // Replays a race's run on its level file in a world of its own: it must pass the exit at the update it
    // claims. Throws std::runtime_error with the player's message when it does not.
    static void Check(Game* game, const RaceLink& race, const std::string& levelFile);

    // The problems that keep a made level from play, as one line; "" when there are none.
    static std::string PlayProblems(const LevelDocument& level);

    // How a race's level is named to the player: "Level 7", or a made level's first line of description.
    static std::string LevelName(const RaceLink& race);
};
