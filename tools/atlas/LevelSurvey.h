// One row of the level table: a level's size, what it holds, and how its recorded input fares.
#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

class Map;

namespace content
{
class PlayDriver;
}

class LevelSurvey
{
  public:
    // Counts of one kind of thing by name ("Blob1" -> 3), in name order.
    using Counts = std::map<std::string, int>;

    // Counts what a freshly loaded level holds; name is its file in maps.lst ("level1.map").
    LevelSurvey(const std::string& name, const Map& map);

    // The first comment lines of a level's source, joined into one paragraph: what the level is.
    static std::string Description(const std::filesystem::path& source);

    // Plays the recorded input from the level's start, stopping at the exit, at death or at its end, then
    // through the card and the fade-out: the level's clock and par must match the input, the next level must
    // begin, or after the last one the main menu return.
    void PlayInput(content::PlayDriver& driver, const std::vector<unsigned>& updates, bool lastLevel);

    // The file name without ".map": the picture and the recorded input share it.
    std::string Stem() const;

    // The least air a recorded input may leave at its tightest point (10 is a full tank, about 11 seconds):
    // the input plays tighter than a first-time player, who needs a margin.
    static constexpr double mOxygenMargin = 1.5;

    std::string mName;
    std::string mDescription; // the first comment line of the level's source, if any
    int mColumns = 0;
    int mRows = 0;
    Counts mEnemies;
    Counts mItems;                           // pick-ups
    Counts mHazards;                         // harmful tiles of the collision layer, by kind
    Counts mLocks;                           // keycard locks and the closed doors they open
    std::size_t mInputUpdates = 0;           // 0 while the level has no recorded input
    bool mFinished = false;                  // the input left the level through its exit, alive
    double mLowestOxygen = 10.0;             // as the countdown reads it: 10 is a full tank
    int mStomps = 0;                         // blobs killed by landing on them along the input
    std::set<std::string> mKilledSuccessors; // kinds killed that the level did not place (a shot Blob1's)
    std::string mProblem;                    // why the input is missing or falls short
};
