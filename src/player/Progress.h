// How far the player has come in each set of levels: the levels entered and each level's best time, kept
// in "kesv.sav".
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

class Progress
{
  public:
    // Beside the settings file, in the working directory.
    static constexpr const char* mFileName = "kesv.sav";
    // The last file that read cleanly, kept before one that did not is replaced.
    static constexpr const char* mBackupName = "kesv.sav.bak";
    // The level list whose real place (links followed) names the set of levels being played.
    static constexpr const char* mLevelList = "data/maps/maps.lst";
    // Times are counted in updates; the longest one kept is just under 100 minutes, the clock's limit.
    static constexpr int mMaxTime = 100 * 60 * 30 - 1;
    // Far beyond any real progress (a line per level entered and per best time): a larger file is refused
    // without being read.
    static constexpr std::uintmax_t mMaxFileSize = 1 << 20;

    // Reads the file for the set of levels data/maps/maps.lst makes. A missing file is no progress yet;
    // a bad line is skipped, and one line on stderr says how many were. Returns why the file cannot be
    // used at all (not a regular file, too large, unreadable), "" when it could; the file is then left
    // alone and the game does not start. Never throws.
    std::string Load();
    // Writes the file whole, every set's progress in it. False when it cannot be written: SaveFailure()
    // says why, stderr says so in one line, and the progress is kept for this run only.
    bool Save();
    // Forgets the current set's progress (the file is not touched).
    void Clear();

    // A short token naming the current set of levels, safe in a file name ("data-1a2b3c4d"): the name of
    // the folder holding the level list's folder, and a hash of the list's real path. Set by Load, or
    // found at the first call when nothing was loaded.
    const std::string& SetKey() const;
    // Index in levels of the furthest level entered; 0 when none is. A level listed twice counts at its
    // later place, and a recorded level no longer listed leaves the furthest one still listed.
    std::size_t Furthest(const std::vector<std::string>& levels) const;
    // Records that levels[index] was entered; when it was not before, saves and returns true.
    bool Reach(const std::vector<std::string>& levels, std::size_t index);
    // A level's best time in updates; 0 when it has none.
    int Best(const std::string& level) const;
    // Records a finished level's time; when it beats the best (or is the first), saves and returns true.
    bool RecordTime(const std::string& level, int updates);
    // Why the last save failed ("kesv.sav: No space left on device"); "" when it succeeded or none was
    // tried.
    const std::string& SaveFailure() const { return mSaveFailure; }

    // The current set's progress, keyed by the levels' names in the list, so a list that grows or is
    // reordered still finds them. A level with a best time counts as entered.
    std::set<std::string> mReached;
    std::map<std::string, int> mBest;

  private:
    struct Record
    {
        std::set<std::string> mReached;
        std::map<std::string, int> mBest;
    };
    // Why a data line cannot be taken into record, or "" when it was taken.
    static std::string TakeLine(const std::vector<std::string>& fields, Record& record);
    static void Write(std::string& text, const Record& record);
    // Keeps the file as it is on disk as the backup, when it read cleanly.
    void BackUp() const;

    mutable std::string mSetKey;
    // The other sets found in the file, kept as read. Key "": lines written before progress was kept
    // per set; the game's own levels (in a folder named data) take them over once they list one of them.
    std::map<std::string, Record> mOtherSets;
    bool mFileClean = true; // the file loaded (or missing) read without a bad line
    std::string mSaveFailure;
};
