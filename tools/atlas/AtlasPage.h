// The level table page: one row per level, then each level's picture under its own heading.
#pragma once

#include "LevelSurvey.h"

#include <string>
#include <vector>

class AtlasPage
{
  public:
    explicit AtlasPage(const std::vector<LevelSurvey>& levels) : mLevels(levels) {}

    // The whole page in Markdown; pictures are linked as levels/<stem>.png beside it.
    std::string Text() const;

  private:
    const std::vector<LevelSurvey>& mLevels;
};
