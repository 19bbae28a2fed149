// Reading and writing the player's progress file: for each set of levels, a line per level entered and one
// per best time.
#include "player/Progress.h"

#include "io/FieldReader.h"
#include "io/PlayerFile.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;

namespace
{
constexpr std::size_t kMaxSetName = 24;

// A level name may hold spaces: it is the rest of the line after the fields before it.
std::string Rest(const std::vector<std::string>& fields, std::size_t first)
{
    std::string name;
    for (std::size_t i = first; i < fields.size(); ++i)
    {
        name += (i > first ? " " : "") + fields[i];
    }
    return name;
}

// The list's real place decides: a mod linked as data/ is a set of its own, while the shipped game keeps
// its progress through an update that installs over the same place. The readable part is the folder
// holding the list's folder ("data", or the mod's folder); the hash tells apart folders of one name.
std::string SetKeyOf(const fs::path& list)
{
    std::error_code error;
    fs::path real = fs::weakly_canonical(fs::absolute(list, error), error);
    if (error)
    {
        real = list;
    }
    const std::string name =
        PlayerFile::SafeName(real.parent_path().parent_path().filename().string().substr(0, kMaxSetName));
    std::uint32_t hash = 2166136261u; // FNV-1a
    for (const char c : real.generic_string())
    {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(hash));
    return (name.empty() ? "levels" : name) + "-" + hex;
}

bool NamesAny(const std::vector<std::string>& levels, const std::set<std::string>& reached,
              const std::map<std::string, int>& best)
{
    return std::any_of(levels.begin(), levels.end(),
                       [&](const std::string& level)
                       { return reached.count(level) != 0 || best.count(level) != 0; });
}
} // namespace

std::string Progress::Load()
{
    Clear();
    mOtherSets.clear();
    mSaveFailure.clear();
    mFileClean = true;
    mSetKey = SetKeyOf(mLevelList);
    if (!PlayerFile::Exists(mFileName))
    {
        return "";
    }
    // Checked before opening: opening a pipe waits for a writer.
    const std::string refusal = FieldReader::Refusal(mFileName, mMaxFileSize);
    if (!refusal.empty())
    {
        return std::string("the progress file ") + mFileName + " " + refusal;
    }
    FieldReader reader(mFileName);
    if (!reader.IsOpen())
    {
        return std::string("the progress file ") + mFileName + " exists but cannot be read";
    }

    // Lines before the first "set" line were written before progress was kept per set.
    std::string set;
    int dataLines = 0;
    int badLines = 0;
    std::string firstProblem;
    std::vector<std::string> fields;
    while (reader.NextLine(fields))
    {
        if (fields.empty())
        {
            continue;
        }
        ++dataLines;
        std::string problem;
        if (fields[0] == "set")
        {
            problem = fields.size() == 2 && !fields[1].empty() ? "" : "names no set of levels";
            set = problem.empty() ? fields[1] : set;
        }
        else
        {
            problem = TakeLine(fields, mOtherSets[set]);
        }
        if (!problem.empty() && badLines++ == 0)
        {
            firstProblem = "data line " + std::to_string(dataLines) + " " + problem;
        }
    }
    if (dataLines == 0)
    {
        ++badLines;
        firstProblem = "it holds no progress";
    }

    // This set's own record, or else the lines from before sets, which were the game's own: its levels
    // lie in a folder named data (a mod linked as data/ lies in its own folder), and list one of theirs.
    auto own = mOtherSets.find(mSetKey);
    const auto old = mOtherSets.find("");
    if (own == mOtherSets.end() && old != mOtherSets.end() && mSetKey.size() == 13 &&
        mSetKey.compare(0, 5, "data-") == 0)
    {
        std::vector<std::string> levels;
        FieldReader::ReadLines(mLevelList, levels);
        own = NamesAny(levels, old->second.mReached, old->second.mBest) ? old : own;
    }
    if (own != mOtherSets.end())
    {
        mReached = std::move(own->second.mReached);
        mBest = std::move(own->second.mBest);
        mOtherSets.erase(own);
    }
    for (auto empty = mOtherSets.begin(); empty != mOtherSets.end();)
    {
        const bool nothing = empty->second.mReached.empty() && empty->second.mBest.empty();
        empty = nothing ? mOtherSets.erase(empty) : std::next(empty);
    }

    if (badLines > 0)
    {
        // Every good line is kept; the file stays as it is until there is progress to write over it.
        mFileClean = false;
        std::cerr << "Kestrovane: progress file " << mFileName << ": " << badLines
                  << (badLines == 1 ? " line" : " lines") << " skipped (" << firstProblem << ")" << std::endl;
    }
    return "";
}

std::string Progress::TakeLine(const std::vector<std::string>& fields, Record& record)
{
    if (fields[0] == "reached" && fields.size() >= 2)
    {
        record.mReached.insert(Rest(fields, 1));
        return "";
    }
    if (fields[0] == "best" && fields.size() >= 3)
    {
        const std::string& digits = fields[1];
        int time = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), time);
        if (error != std::errc() || end != digits.data() + digits.size())
        {
            return "has no time in updates";
        }
        if (time < 1 || time > mMaxTime)
        {
            return "has a time out of range";
        }
        // A level named twice keeps its better time.
        const auto [found, added] = record.mBest.emplace(Rest(fields, 2), time);
        found->second = std::min(found->second, time);
        return "";
    }
    return "is not understood";
}

void Progress::Write(std::string& text, const Record& record)
{
    for (const std::string& level : record.mReached)
    {
        text += "reached " + level + '\n';
    }
    for (const auto& [level, time] : record.mBest)
    {
        text += "best " + std::to_string(time) + ' ' + level + '\n';
    }
}

const std::string& Progress::SetKey() const
{
    if (mSetKey.empty())
    {
        mSetKey = SetKeyOf(mLevelList);
    }
    return mSetKey;
}

bool Progress::Save()
{
    SetKey();
    std::string text = "// Kestrovane progress. For each set of levels (named by its folder): every level "
                       "entered, then each level's best time in updates (30 a second)\n";
    std::map<std::string, Record> sets = mOtherSets;
    sets[mSetKey] = {mReached, mBest};
    // Lines from before sets come first: no set line stands above them.
    if (const auto old = sets.find(""); old != sets.end())
    {
        Write(text, old->second);
    }
    for (const auto& [set, record] : sets)
    {
        if (!set.empty())
        {
            text += "set " + set + '\n';
            Write(text, record);
        }
    }

    BackUp();
    std::string why;
    if (!PlayerFile::Write(mFileName, text, &why))
    {
        mSaveFailure = std::string(mFileName) + ": " + why;
        std::cerr << "Kestrovane: progress not saved: " << mSaveFailure << std::endl;
        return false;
    }
    mSaveFailure.clear();
    return true;
}

void Progress::BackUp() const
{
    // After a file that did not read cleanly, no save of the run backs up (the first would copy the damaged
    // file, a later one the stripped file written in its place): the backup keeps the last clean one.
    if (!mFileClean || !PlayerFile::Exists(mFileName) ||
        !FieldReader::Refusal(mFileName, mMaxFileSize).empty())
    {
        return;
    }
    std::ifstream file(mFileName, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    if (file)
    {
        PlayerFile::Write(mBackupName, text.str());
    }
}

void Progress::Clear()
{
    mReached.clear();
    mBest.clear();
}

std::size_t Progress::Furthest(const std::vector<std::string>& levels) const
{
    // From the end, so a name listed twice counts at its later place.
    for (std::size_t i = levels.size(); i-- > 1;)
    {
        if (mReached.count(levels[i]) != 0 || mBest.count(levels[i]) != 0)
        {
            return i;
        }
    }
    return 0;
}

bool Progress::Reach(const std::vector<std::string>& levels, std::size_t index)
{
    if (index >= levels.size() || levels[index].empty() || !mReached.insert(levels[index]).second)
    {
        return false;
    }
    Save();
    return true;
}

int Progress::Best(const std::string& level) const
{
    const auto found = mBest.find(level);
    return found == mBest.end() ? 0 : found->second;
}

bool Progress::RecordTime(const std::string& level, int updates)
{
    if (level.empty() || updates < 1)
    {
        return false;
    }
    updates = std::min(updates, mMaxTime);
    const int best = Best(level);
    if (best != 0 && best <= updates)
    {
        return false;
    }
    mBest[level] = updates;
    Save();
    return true;
}
