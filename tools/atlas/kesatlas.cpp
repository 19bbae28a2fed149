// Writes docs/levels.md, the table of every level, and docs/levels/<name>.png, a picture of each whole
// level, from the built data and the recorded inputs; --check compares them with what is there instead
// (and checks that the level pictures the README shows still exist). Either way each level's recorded
// input is played once through the real play screen and must finish it with air to spare; this is the
// test that keeps every level completable.
// Usage (in the build folder): kesatlas [--check] <assets folder> <docs folder>
#include "AtlasCheck.h"
#include "AtlasPage.h"
#include "LevelPicture.h"
#include "LevelSurvey.h"
#include "PlayDriver.h"

#include "Game.h"
#include "entities/Player.h"
#include "graphics/Image.h"
#include "states/PlayState.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
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

// "kesatlas [--check] <assets folder> <docs folder>"; false for anything else, so a slip can never run the
// writing mode by mistake.
bool ReadArguments(int argc, char** argv, bool& check, fs::path& assets, fs::path& docs)
{
    std::vector<std::string> words(argv + 1, argv + argc);
    check = !words.empty() && words.front() == "--check";
    if (check)
        words.erase(words.begin());
    if (words.size() != 2 || words[0].empty() || words[1].empty() || words[0][0] == '-' || words[1][0] == '-')
        return false;
    // Absolute now: the play driver works in a scratch folder of its own.
    assets = fs::absolute(words[0]).lexically_normal();
    docs = fs::absolute(words[1]).lexically_normal();
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    bool check = false;
    fs::path assets;
    fs::path docs;
    if (!ReadArguments(argc, argv, check, assets, docs))
    {
        std::cerr << "usage: kesatlas [--check] <assets folder> <docs folder>\n";
        return 2;
    }
    const fs::path pictures = docs / "levels";
    const AtlasCheck compare(std::cerr);
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
            level.mDescription = LevelSurvey::Description(assets / "maps" / (level.Stem() + ".txt"));

            const LevelPicture picture(*play.mMap, *play.mPlayer,
                                       driver.GetGame().mScreen->mSurface->format->format);
            const fs::path picturePath = pictures / (level.Stem() + ".png");
            if (check)
                good = compare.PictureMatches(picturePath, picture.Surface()) && good;
            else if (!picture.Save(picturePath.string()))
                throw std::runtime_error("cannot write " + picturePath.string() + ": " + SDL_GetError());

            const fs::path replay = assets / "maps" / (level.Stem() + ".replay");
            if (fs::exists(replay))
                level.PlayInput(driver, InputScript::Load(replay.string()), index + 1 == names.size());
            else
                level.mProblem = "no recorded input";
            if (!level.mProblem.empty())
            {
                std::cerr << "kesatlas: " << level.mName << ": " << level.mProblem << "\n";
                good = false;
            }
        }
        // The inputs show the blob rules at work, so a change to them cannot pass unnoticed.
        int stomps = 0;
        bool wholeChain = false;
        for (const LevelSurvey& level : levels)
        {
            stomps += level.mStomps;
            wholeChain = wholeChain ||
                         (level.mKilledSuccessors.count("Blob2") && level.mKilledSuccessors.count("Blob3"));
        }
        if (stomps == 0 || !wholeChain)
        {
            std::cerr << "kesatlas: no recorded input "
                      << (stomps == 0 ? "stomps a blob" : "kills a blob and both of its successors") << "\n";
            good = false;
        }

        const std::string page = AtlasPage(levels).Text();
        const fs::path pagePath = docs / "levels.md";
        if (check)
        {
            good = compare.PageMatches(pagePath, page) && good;
            good = compare.ReadmePicturesExist(docs.parent_path() / "README.md", docs) && good;
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
