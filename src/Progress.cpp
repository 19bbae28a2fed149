// Reading and writing the player's progress file: one line for the furthest level, one per best time.
#include "Progress.h"

#include "io/FieldReader.h"
#include "io/PlayerFile.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <sstream>

namespace
{
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
} // namespace

void Progress::Load()
{
    Clear();
    if (!PlayerFile::Exists(mFileName))
    {
        return;
    }
    FieldReader reader(mFileName);
    std::string problem = reader.IsOpen() ? "" : "it cannot be read";
    int dataLines = 0;
    std::vector<std::string> fields;
    while (problem.empty() && reader.NextLine(fields))
    {
        if (fields.empty())
        {
            continue;
        }
        ++dataLines;
        problem = TakeLine(fields);
        if (!problem.empty())
        {
            problem = "data line " + std::to_string(dataLines) + " " + problem;
        }
    }
    if (problem.empty() && dataLines == 0)
    {
        problem = "it is empty";
    }
    if (!problem.empty())
    {
        // The file stays as it is until there is progress to write over it.
        Clear();
        std::cerr << "Kestrovane: progress file " << mFileName << " not used: " << problem << std::endl;
    }
}

std::string Progress::TakeLine(const std::vector<std::string>& fields)
{
    if (fields[0] == "reached" && fields.size() >= 2)
    {
        if (!mReached.empty())
        {
            return "names a second furthest level";
        }
        mReached = Rest(fields, 1);
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
        if (!mBest.emplace(Rest(fields, 2), time).second)
        {
            return "names a level a second time";
        }
        return "";
    }
    return "is not understood";
}

bool Progress::Save() const
{
    std::ostringstream text;
    text << "// Kestrovane progress: the furthest level reached, then each level's best time in updates "
            "(30 a second)\n";
    if (!mReached.empty())
    {
        text << "reached " << mReached << '\n';
    }
    for (const auto& [level, time] : mBest)
    {
        text << "best " << time << ' ' << level << '\n';
    }
    return PlayerFile::Write(mFileName, text.str());
}

void Progress::Clear()
{
    mReached.clear();
    mBest.clear();
}

std::size_t Progress::Furthest(const std::vector<std::string>& levels) const
{
    const auto found = std::find(levels.begin(), levels.end(), mReached);
    return mReached.empty() || found == levels.end() ? 0 : static_cast<std::size_t>(found - levels.begin());
}

bool Progress::Reach(const std::vector<std::string>& levels, std::size_t index)
{
    if (index >= levels.size() || levels[index].empty())
    {
        return false;
    }
    const bool known = !mReached.empty() && std::find(levels.begin(), levels.end(), mReached) != levels.end();
    if (known && index <= Furthest(levels))
    {
        return false;
    }
    mReached = levels[index];
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
