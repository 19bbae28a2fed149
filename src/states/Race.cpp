// Making a race link from a finished run, and opening one: its level found or written, its run replayed.
#include "states/Race.h"

#include "editor/EditorCatalogue.h"
#include "editor/LevelCheck.h"
#include "editor/ScratchLevel.h"
#include "io/FieldReader.h"
#include "player/Progress.h"
#include "states/Ghost.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace
{
const char* const kMapFolder = "data/maps/";
// Far beyond any level's picture: a larger file is not read for its hash.
constexpr std::uintmax_t kMaxLevelFile = 64u << 20;

// The game's own level list, as names.
std::vector<std::string> OwnLevels()
{
    std::vector<std::string> levels;
    FieldReader::ReadLines(Progress::mLevelList, levels);
    return levels;
}

// The name of a level file in the game's own list, or "" when it is not one of them.
std::string OwnLevelName(const std::string& levelFile)
{
    std::error_code error;
    for (const std::string& name : OwnLevels())
    {
        if (!name.empty() && std::filesystem::equivalent(levelFile, kMapFolder + name, error))
        {
            return name;
        }
    }
    return "";
}

void HashBytes(std::uint64_t& hash, const std::string& bytes)
{
    for (char c : bytes)
    {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull; // FNV-1a
    }
}

std::string ReadWhole(const std::string& path)
{
    const std::string refusal = FieldReader::Refusal(path, kMaxLevelFile);
    std::ifstream file(path, std::ios::binary);
    if (!refusal.empty() || !file)
    {
        throw std::runtime_error("the level file " + path + " cannot be read");
    }
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The update a run passes the exit in, replayed in a world of its own; 0 when it never does.
int Finish(Game* game, const std::string& levelFile, const std::vector<unsigned>& run, const Assist& rules)
{
    const std::unique_ptr<Ghost> ghost = Ghost::Start(game, levelFile, run, rules);
    return ghost ? ghost->RunToEnd(game) : 0;
}
} // namespace

std::string Race::PlayProblems(const LevelDocument& level)
{
    EditorCatalogue catalogue;
    catalogue.Load(kMapFolder);
    std::string all;
    for (const LevelCheck::Problem& problem : LevelCheck::Run(level, catalogue))
    {
        all += (all.empty() ? "" : "; ") + problem.mText;
    }
    return all;
}

const std::string& Race::OwnSet()
{
    static const std::string set = std::filesystem::path(Progress::mLevelList).stem().string();
    return set;
}

std::string Race::LevelHash(const std::string& levelFile)
{
    const std::string description = ReadWhole(levelFile);
    std::uint64_t hash = 14695981039346656037ull;
    HashBytes(hash, description);
    // The files are named as the game reads them: the last line of three names.
    std::vector<std::string> names;
    std::vector<std::string> fields;
    std::size_t from = 0;
    while (from < description.size())
    {
        std::size_t end = description.find('\n', from);
        end = end == std::string::npos ? description.size() : end;
        std::string line = description.substr(from, end - from);
        if (!line.empty() && line.back() == '\r')
        {
            line.pop_back();
        }
        FieldReader::Split(line, fields);
        if (!FieldReader::IsComment(line) && fields.size() >= 3)
        {
            names.assign(fields.begin(), fields.begin() + 3);
        }
        from = end + 1;
    }
    const std::filesystem::path folder = std::filesystem::path(levelFile).parent_path();
    for (const std::string& name : names)
    {
        HashBytes(hash, std::string(1, '\0') + name + '\0');
        HashBytes(hash, ReadWhole((folder / name).string()));
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}

RaceLink Race::Make(Game* game, const std::string& levelFile, std::vector<unsigned> run, const Assist& rules,
                    int time)
{
    const std::unique_ptr<Ghost> ghost = Ghost::Start(game, levelFile, run, rules);
    if (!ghost)
    {
        throw std::runtime_error("the level cannot be played");
    }
    const int finish = ghost->RunToEnd(game);
    if (finish == 0)
    {
        throw NotFinished("the run does not reach the exit");
    }
    if (time != 0 && finish != time)
    {
        throw NotFinished("the run does not replay to its time");
    }
    if (static_cast<std::size_t>(finish) > RaceLink::mMaxUpdates)
    {
        throw std::runtime_error("the run is too long: a race link carries at most 10 minutes");
    }
    RaceLink race;
    race.mRun = std::move(run);
    race.mRun.resize(static_cast<std::size_t>(finish)); // what follows the exit is never played
    race.mTime = finish;
    race.mRules = rules;
    race.mRules.mGhost = Assist().mGhost;
    const std::string own = OwnLevelName(levelFile);
    if (!own.empty())
    {
        race.mSet = OwnSet();
        race.mFile = own;
        race.mHash = LevelHash(levelFile);
        return race;
    }
    LevelDocument level;
    level.Load(levelFile);
    const std::string problems = PlayProblems(level);
    if (!problems.empty())
    {
        throw std::runtime_error("the level cannot be played: " + problems);
    }
    race.mLevel = std::move(level);
    return race;
}

std::string Race::Open(const RaceLink& race, ScratchLevel& scratch)
{
    std::string levelFile;
    if (race.mLevel)
    {
        const std::string problems = PlayProblems(*race.mLevel);
        if (!problems.empty())
        {
            throw std::runtime_error("The race's level cannot be played: " + problems);
        }
        levelFile = scratch.Write(*race.mLevel);
    }
    else
    {
        // Only a name of the game's own list is ever read, and only when its files hash as the sender's did.
        const std::vector<std::string> own = OwnLevels();
        bool listed = race.mSet == OwnSet() && std::find(own.begin(), own.end(), race.mFile) != own.end();
        levelFile = kMapFolder + race.mFile;
        try
        {
            listed = listed && LevelHash(levelFile) == race.mHash;
        }
        catch (const std::runtime_error&)
        {
            listed = false;
        }
        if (!listed)
        {
            throw std::runtime_error("This race is for another version of the game");
        }
    }
    return levelFile;
}

void Race::Check(Game* game, const RaceLink& race, const std::string& levelFile)
{
    if (Finish(game, levelFile, race.mRun, race.mRules) != race.mTime)
    {
        throw std::runtime_error("This race's run does not reach the exit at the time it claims");
    }
}

std::string Race::LevelName(const RaceLink& race)
{
    if (!race.mLevel)
    {
        const std::vector<std::string> own = OwnLevels();
        const auto at = std::find(own.begin(), own.end(), race.mFile);
        return at == own.end() ? race.mFile : "Level " + std::to_string(at - own.begin() + 1);
    }
    const std::string& words = race.mLevel->mDescription;
    const std::string first = words.substr(0, words.find('\n'));
    return first.empty() ? "A made level" : first.substr(0, 36);
}
