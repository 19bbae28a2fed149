// Builds the content tree from the asset sources.
#include "ContentBuilder.h"

#include "ArtCompiler.h"
#include "LevelCompiler.h"
#include "TextSource.h"
#include "TypeTables.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

ContentBuilder::ContentBuilder(std::string assetsFolder, std::string dataFolder)
    : mAssets(std::move(assetsFolder)), mData(std::move(dataFolder))
{
}

void ContentBuilder::Build()
{
    mWritten.clear();
    BuildPictures();
    BuildMaps();
    BuildStory();
}

void ContentBuilder::BuildPictures()
{
    fs::create_directories(fs::path(mData) / "gfx");
    std::vector<fs::path> sources;
    for (const auto& entry : fs::directory_iterator(fs::path(mAssets) / "gfx"))
        if (entry.path().extension() == ".art")
            sources.push_back(entry.path());
    std::sort(sources.begin(), sources.end());
    for (const fs::path& source : sources)
    {
        ArtCompiler compiler;
        compiler.Compile(source.string());
        std::string relative = "gfx/" + source.stem().string() + ".png";
        compiler.GetPicture().Save((fs::path(mData) / relative).string());
        mWritten.push_back(relative);
    }
}

TypeTables ContentBuilder::LoadTables() const
{
    const fs::path assets = fs::path(mAssets) / "maps";
    TypeTables tables;
    tables.Load((assets / "tiletypes.cfg").string(), (assets / "entitytypes.cfg").string());
    for (const char* name : {"Player", "Bullet", "Blob1", "Blob2", "Blob3", "OxygenTank", "Health", "Keycard",
                             "KeycardLock", "Weapon", "ShipDoor1", "ShipDoor2"})
        if (!tables.HasEntityType(name))
            throw std::runtime_error(std::string("entitytypes.cfg must define ") + name);
    return tables;
}

std::vector<std::string> ContentBuilder::CompileLevel(const TypeTables& tables, const std::string& source,
                                                      const std::string& folder) const
{
    LevelCompiler level(tables);
    level.LoadLegend((fs::path(mAssets) / "maps" / "legend.txt").string());
    level.Compile(source);
    const std::string name = fs::path(source).stem().string();
    fs::create_directories(folder);
    level.Write(folder, name);
    std::vector<std::string> written;
    for (const char* suffix : {".map", "_bg.png", "_col.png", ".ent"})
        written.push_back(name + suffix);
    return written;
}

std::vector<std::string> ContentBuilder::BuildLevel(const std::string& source,
                                                    const std::string& folder) const
{
    if (fs::path(source).extension() != ".txt")
        throw std::runtime_error(source + ": a level source is named <level>.txt");
    return CompileLevel(LoadTables(), source, folder);
}

void ContentBuilder::BuildMaps()
{
    fs::path assets = fs::path(mAssets) / "maps";
    fs::path out = fs::path(mData) / "maps";
    fs::create_directories(out);
    const TypeTables tables = LoadTables();
    Copy((assets / "tiletypes.cfg").string(), "maps/tiletypes.cfg");
    Copy((assets / "entitytypes.cfg").string(), "maps/entitytypes.cfg");

    // Every level of the list is compiled from "<name>.txt" to the files its description "<name>.map" names.
    TextSource list((assets / "maps.lst").string());
    std::string line;
    std::ostringstream names;
    int count = 0;
    while (list.NextLine(line))
    {
        fs::path entry(line);
        if (line.empty() || entry.extension() != ".map" || entry.has_parent_path())
            throw list.Error("expected a level name such as level1.map");
        const std::string name = entry.stem().string();
        for (const std::string& file :
             CompileLevel(tables, (assets / (name + ".txt")).string(), out.string()))
            mWritten.push_back("maps/" + file);
        // The recorded input that finishes the level ships beside it: its length is the level's par.
        const fs::path replay = assets / (name + ".replay");
        if (fs::exists(replay))
            Copy(replay.string(), "maps/" + name + ".replay");
        names << line << '\n';
        ++count;
    }
    if (count == 0)
        throw std::runtime_error("maps.lst names no level");
    std::ofstream listOut(out / "maps.lst", std::ios::binary);
    listOut << names.str();
    if (!listOut)
        throw std::runtime_error("cannot write maps.lst");
    mWritten.push_back("maps/maps.lst");
}

void ContentBuilder::BuildStory()
{
    TextSource source((fs::path(mAssets) / "story.txt").string());
    std::string line;
    std::size_t shown = 0;
    bool ending = false;
    while (source.NextLine(line))
    {
        if (TextSource::IsComment(line))
            continue;
        // The ending page after its mark is a screen of its own.
        if (line == "[ending]" && !ending)
        {
            if (shown == 0 || shown > mStoryLines)
                throw source.Error("the story must show 1 to 29 lines before its ending");
            ending = true;
            shown = 0;
            continue;
        }
        ++shown;
        if (line.size() > mStoryColumns)
            throw source.Error("story line longer than 39 columns");
        for (char c : line)
            if (c < 32 || c > 126)
                throw source.Error("story holds a character the font does not have");
    }
    if (shown == 0 || shown > mStoryLines)
        throw std::runtime_error(ending ? "the story's ending must show 1 to 29 lines"
                                        : "the story must show 1 to 29 lines");
    Copy(source.Path(), "story.txt");
}

void ContentBuilder::Copy(const std::string& from, const std::string& to)
{
    // The game knows nothing of byte-order marks, so a copy leaves one out.
    const std::string bytes = TextSource::ReadBytes(from);
    std::ofstream out(fs::path(mData) / to, std::ios::binary);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write " + to);
    mWritten.push_back(to);
}
