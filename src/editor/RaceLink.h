// A race as a link: a level and a run through it passed on together. One of the game's own levels is
// named by its set and file with a hash of its files; a made level travels whole, as a level link.
#pragma once

#include "editor/LevelDocument.h"
#include "player/Assist.h"

#include <optional>
#include <string>
#include <vector>

class RaceLink
{
  public:
    // Every race link starts so; a level link never holds its ".".
    static constexpr const char* mPrefix = "race.";
    // The longest run a link carries, in updates: ten minutes, longer than any level's air lasts.
    static constexpr std::size_t mMaxUpdates = 10 * 60 * 30;

    // Whether the text (a link, or a whole address holding one after its "#") is a race link rather than a
    // level link.
    static bool IsRace(const std::string& link);
    // The link of this race.
    std::string Pack() const;
    // Throws std::runtime_error with a message for the player when the link is not a whole race link or its
    // run is longer than mMaxUpdates. Neither the level nor the run is played here.
    static RaceLink Unpack(const std::string& link);

    // The run's part as text, and back (exposed for the tests and the fuzzer).
    std::string Text() const;
    static RaceLink FromText(const std::string& text);

    bool Assisted() const { return mRules.IsOn(); }

    // One of the game's own levels: the set of levels (the level list's name), the level's file in it and
    // the hash of its files. Empty for a made level.
    std::string mSet;
    std::string mFile;
    std::string mHash;
    // A made level, carried whole.
    std::optional<LevelDocument> mLevel;
    // The keys held in each update (InputScript bits), and the update the exit was passed in.
    std::vector<unsigned> mRun;
    int mTime = 0;
    // The assists the run was made with (their strongest over the run); none for a plain run.
    Assist mRules;
};
