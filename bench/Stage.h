// The one scene the benchmarks currently measure, kept between runs of a benchmark and replaced by the next.
#pragma once

#include "ContentFolder.h"
#include "PlayScene.h"
#include "ViewLoad.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace bench
{
// What the shipped levels hold, measured once per process.
struct LevelSurvey
{
    std::string level;
    int cells = 0;    // width x height in tiles
    int entities = 0; // enemies, items and plain entities placed at the start
    int fittings = 0; // lifts and air vent cells: the machinery that works every update
    ViewLoad busiest; // the view with the most to draw
};

struct Stage
{
    std::unique_ptr<ContentFolder> folder;
    std::unique_ptr<PlayScene> scene; // absent for stages that need no game
    std::string level;
    ViewLoad view;
};

// The stage under key, built by build() unless it is the current one. The previous stage is closed
// first: only one game (and one SDL video set-up) exists at a time.
Stage& CurrentStage(const std::string& key, const std::function<void(Stage&)>& build);
// Closes the current stage; called before the program ends.
void CloseStage();

// Every shipped level, in the order of the level list. Closes the current stage on first use.
const std::vector<LevelSurvey>& SurveyShippedLevels();
// The level with the most pixels to draw in one view, the one with the most entities, the largest one.
const LevelSurvey& BusiestScreenLevel();
const LevelSurvey& MostEntitiesLevel();
const LevelSurvey& LargestLevel();
// The level with the most lifts and vents (then the most entities); its fittings are 0 when none has any.
const LevelSurvey& MostFittingsLevel();

// A game on the shipped level with the most entities, as it starts.
Stage& MostEntitiesStage();
// A game on the shipped level with the most lifts and vents, as it starts.
Stage& MostFittingsStage();
// The busiest screen of the shipped levels, shown as ShowBusyView does.
void BuildBusiestScreen(Stage& built);
// Puts the player, armed and walking, in the middle of the stage's view with a screen of shots ahead of
// it (one every 10 updates, as a held fire key), and draws one frame. Throws std::runtime_error when the
// camera does not land on the view.
void ShowBusyView(Stage& stage);
} // namespace bench
