// How far the player has come: the furthest level reached and each level's best time, kept in "kesv.sav".
#pragma once

#include <map>
#include <string>
#include <vector>

class Progress
{
  public:
    // Beside the settings file, in the working directory.
    static constexpr const char* mFileName = "kesv.sav";
    // Times are counted in updates; the longest one kept is just under 100 minutes, the clock's limit.
    static constexpr int mMaxTime = 100 * 60 * 30 - 1;

    // Reads the file. A missing file is no progress yet; an empty, garbled or out-of-range one is no
    // progress too, and says so in one line on stderr. Never throws.
    void Load();
    // Writes the file whole; false when it cannot be written (the progress is then kept for this run only).
    bool Save() const;
    void Clear();

    // Index in levels of the furthest level reached; 0 when none is recorded or it is not in the list.
    std::size_t Furthest(const std::vector<std::string>& levels) const;
    // Records that levels[index] was entered; when that is further than before, saves and returns true.
    bool Reach(const std::vector<std::string>& levels, std::size_t index);
    // A level's best time in updates; 0 when it has none.
    int Best(const std::string& level) const;
    // Records a finished level's time; when it beats the best (or is the first), saves and returns true.
    bool RecordTime(const std::string& level, int updates);

    // Keyed by the level's name in the level list, so a list that grows or is reordered still finds them.
    std::string mReached;
    std::map<std::string, int> mBest;

  private:
    // Why a data line cannot be taken, or "" when it was taken.
    std::string TakeLine(const std::vector<std::string>& fields);
};
