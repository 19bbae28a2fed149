// A private working folder holding a copy of the game's generated content, whose level list can be rewritten.
#pragma once

#include "TestSupport.h"

#include <filesystem>
#include <string>
#include <vector>

namespace bench
{
class ContentFolder
{
  public:
    // Copies the content into a fresh temporary folder and makes it the working directory until
    // destruction. Throws std::runtime_error when the build has generated no content.
    ContentFolder();

    // The folder the build generates the content into (or ./data when run from elsewhere).
    static std::filesystem::path Source();
    // True when the build has generated content to measure.
    static bool Available();

    // The level names of the shipped level list, in order, without empty lines.
    static std::vector<std::string> ShippedLevels();
    // Rewrites "data/maps/maps.lst" so that a game begins with the first of these levels.
    void SetLevelList(const std::vector<std::string>& levels) const;

    const test::TempDir& Dir() const { return mDir; }

  private:
    test::TempDir mDir;
};
} // namespace bench
