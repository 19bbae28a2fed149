// Writes docs/levels.md, the table of every level, and docs/levels/<name>.png, a picture of each whole
// level, from the built data and the recorded inputs; --check compares them with what is there instead
// (and checks that the level pictures the README shows still exist).
// Usage (in the build folder): kesatlas [--check] <assets folder> <docs folder>
#include "AtlasPage.h"
#include "LevelPicture.h"
#include "LevelSurvey.h"
#include "PlayDriver.h"

#include "Game.h"
#include "entities/Player.h"
#include "graphics/Image.h"
#include "states/PlayState.h"

#include <SDL_image.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{
// The level list as play reads it, from a game started at the first level.
std::vector<std::string> LevelNames()
{
    if (!fs::exists("data/maps/maps.lst"))
        throw std::runtime_error("no data/maps/maps.lst here: run kesatlas in the build folder");
    content::PlayDriver driver(0, false);
    return driver.Play().mMaps;
}

// The comment lines that open a level's source say what the level is; joined into one paragraph.
std::string Description(const fs::path& source)
{
    std::ifstream file(source);
    std::string text;
    for (std::string line; std::getline(file, line) && line.compare(0, 2, "//") == 0;)
    {
        const std::size_t start = line.find_first_not_of(" /");
        const std::size_t end = line.find_last_not_of(" \r");
        if (start != std::string::npos)
            text += (text.empty() ? "" : " ") + line.substr(start, end + 1 - start);
    }
    return text;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The committed picture must be there and show the whole level.
bool PictureMatches(const fs::path& path, const LevelPicture& picture)
{
    SDL_Surface* saved = IMG_Load(path.string().c_str());
    if (saved == nullptr)
    {
        std::cerr << "kesatlas: no picture " << path << "\n";
        return false;
    }
    const bool same = saved->w == picture.Width() && saved->h == picture.Height();
    if (!same)
        std::cerr << "kesatlas: " << path << " is " << saved->w << " x " << saved->h << ", the level "
                  << picture.Width() << " x " << picture.Height() << "\n";
    SDL_FreeSurface(saved);
    return same;
}

// Pictures of levels that are no longer listed go, so the folder matches the table.
void RemoveOtherPictures(const fs::path& folder, const std::vector<LevelSurvey>& levels)
{
    std::set<std::string> wanted;
    for (const LevelSurvey& level : levels)
        wanted.insert(level.Stem() + ".png");
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".png" && wanted.count(entry.path().filename().string()) == 0)
            fs::remove(entry.path());
}

// Every level picture the README shows must still be there: levels get renamed.
bool ReadmePicturesExist(const fs::path& readme, const fs::path& docs)
{
    const std::string text = ReadFile(readme);
    const std::string prefix = "docs/levels/";
    bool good = true;
    for (std::size_t at = text.find(prefix); at != std::string::npos; at = text.find(prefix, at + 1))
    {
        const std::size_t end = text.find(".png", at);
        if (end == std::string::npos)
            break;
        const std::string name = text.substr(at + prefix.size(), end + 4 - at - prefix.size());
        if (!fs::exists(docs / "levels" / name))
        {
            std::cerr << "kesatlas: README.md shows docs/levels/" << name << ", which is gone\n";
            good = false;
        }
    }
    return good;
}

// Shows where a stale page first differs from the fresh one.
void ReportDifference(const std::string& committed, const std::string& fresh)
{
    std::istringstream old(committed);
    std::istringstream now(fresh);
    std::string oldLine;
    std::string newLine;
    for (int number = 1;; ++number)
    {
        const bool hasOld = static_cast<bool>(std::getline(old, oldLine));
        const bool hasNew = static_cast<bool>(std::getline(now, newLine));
        if (!hasOld && !hasNew)
            return;
        if (!hasOld || !hasNew || oldLine != newLine)
        {
            std::cerr << "kesatlas: docs/levels.md is stale from line " << number
                      << ":\n  committed: " << (hasOld ? oldLine : "(end)")
                      << "\n  fresh:     " << (hasNew ? newLine : "(end)")
                      << "\nRegenerate it with: make atlas\n";
            return;
        }
    }
}
} // namespace

int main(int argc, char** argv)
{
    const bool check = argc == 4 && std::string(argv[1]) == "--check";
    if (argc != 3 && !check)
    {
        std::cerr << "usage: kesatlas [--check] <assets folder> <docs folder>\n";
        return 2;
    }
    // Absolute now: the play driver works in a scratch folder of its own.
    const fs::path assets = fs::absolute(argv[check ? 2 : 1]).lexically_normal();
    const fs::path docs = fs::absolute(argv[check ? 3 : 2]).lexically_normal();
    const fs::path pictures = docs / "levels";
    bool good = true;
    try
    {
        const std::vector<std::string> names = LevelNames();
        if (!check)
            fs::create_directories(pictures);
        std::vector<LevelSurvey> levels;
        for (std::size_t index = 0; index < names.size(); ++index)
        {
            content::PlayDriver driver(index, true);
            PlayState& play = driver.Play();
            LevelSurvey& level = levels.emplace_back(names[index], *play.mMap);
            level.mDescription = Description(assets / "maps" / (level.Stem() + ".txt"));

            const LevelPicture picture(*play.mMap, *play.mPlayer,
                                       driver.GetGame().mScreen->mSurface->format->format);
            const fs::path picturePath = pictures / (level.Stem() + ".png");
            if (check)
                good = PictureMatches(picturePath, picture) && good;
            else if (!picture.Save(picturePath.string()))
                throw std::runtime_error("cannot write " + picturePath.string() + ": " + SDL_GetError());

            const fs::path replay = assets / "maps" / (level.Stem() + ".replay");
            if (fs::exists(replay))
                level.PlayInput(driver, InputScript::Load(replay.string()));
            else
                level.mProblem = "no recorded input";
            if (!level.mProblem.empty())
            {
                std::cerr << "kesatlas: " << level.mName << ": " << level.mProblem << "\n";
                good = false;
            }
        }

        const std::string page = AtlasPage(levels).Text();
        const fs::path pagePath = docs / "levels.md";
        if (check)
        {
            const std::string committed = ReadFile(pagePath);
            if (committed != page)
            {
                ReportDifference(committed, page);
                good = false;
            }
            good = ReadmePicturesExist(docs.parent_path() / "README.md", docs) && good;
        }
        else
        {
            std::ofstream out(pagePath, std::ios::binary);
            if (!(out << page))
                throw std::runtime_error("cannot write " + pagePath.string());
            RemoveOtherPictures(pictures, levels);
            std::cout << "kesatlas: wrote " << pagePath.string() << " and " << levels.size() << " pictures\n";
        }
    }
    catch (const std::exception& error)
    {
        std::cerr << "kesatlas: " << error.what() << "\n";
        return 1;
    }
    return good ? 0 : 1;
}
