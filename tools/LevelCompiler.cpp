// Compiles a level source into its layer images, placement file and description.
#include "LevelCompiler.h"

#include "Picture.h"
#include "TextSource.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

void LevelCompiler::LoadLegend(const std::string& path)
{
    TextSource source(path);
    std::vector<std::string> fields;
    while (source.NextFields(fields))
        ReadLegendLine(source, fields);
}

void LevelCompiler::ReadLegendLine(TextSource& source, const std::vector<std::string>& fields)
{
    if ((fields[0] != "back" && fields[0] != "fore") || fields.size() < 3 || fields[1].size() != 1)
        throw source.Error("expected back|fore <char> ...");
    Symbol symbol;
    if (fields[2] == "entity")
    {
        if (fields[0] != "fore" || fields.size() != 6)
            throw source.Error("expected fore <char> entity <type> <0|1> <id>");
        if (!mTables.HasEntityType(fields[3]))
            throw source.Error("entity type not in entitytypes.cfg: " + fields[3]);
        if (fields[4] != "0" && fields[4] != "1")
            throw source.Error("direction must be 0 (left) or 1 (right)");
        symbol.mIsEntity = true;
        symbol.mType = fields[3];
        symbol.mDirection = fields[4] == "1";
        symbol.mID = fields[5];
    }
    else
    {
        if (fields.size() != 3 || fields[2].size() != 6)
            throw source.Error("expected a colour RRGGBB");
        std::size_t used = 0;
        try
        {
            symbol.mColor = static_cast<std::uint32_t>(std::stoul(fields[2], &used, 16));
        }
        catch (const std::exception&)
        {
        }
        if (used != 6)
            throw source.Error("not a colour: " + fields[2]);
        if (!mTables.HasTileColor(symbol.mColor))
            throw source.Error("colour not in tiletypes.cfg: " + fields[2]);
    }
    (fields[0] == "back" ? mBack : mFore)[fields[1][0]] = symbol;
}

void LevelCompiler::ReadMusicLine(TextSource& source, const std::vector<std::string>& fields)
{
    const std::string suffix = ".ogg";
    const std::string& name = fields.size() == 2 ? fields[1] : std::string();
    bool plain =
        name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    for (char c : name)
        plain =
            plain && ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.');
    if (!plain)
        throw source.Error("expected music <name>.ogg, a tune of music/ in lower case");
    mMusic = name;
}

void LevelCompiler::Compile(const std::string& sourcePath)
{
    mSourceName = std::filesystem::path(sourcePath).filename().string();
    TextSource source(sourcePath);
    std::vector<std::string> fields;
    while (source.NextFields(fields))
    {
        if (fields[0] == "backdrop" && fields.size() == 1)
            mBackdrop = source.ReadGrid("");
        else if (fields[0] == "foreground" && fields.size() == 1)
            mForeground = source.ReadGrid("");
        else if (fields[0] == "music")
            ReadMusicLine(source, fields);
        else
            ReadLegendLine(source, fields);
    }
    if (mBackdrop.empty() || mForeground.empty())
        throw std::runtime_error(sourcePath + ": needs a backdrop and a foreground grid");
    mWidth = static_cast<int>(mForeground[0].size());
    mHeight = static_cast<int>(mForeground.size());
    if (static_cast<int>(mBackdrop[0].size()) != mWidth || static_cast<int>(mBackdrop.size()) != mHeight)
        throw std::runtime_error(sourcePath + ": backdrop and foreground differ in size");
    if (mWidth < mMinWidth || mHeight < mMinHeight)
        throw std::runtime_error(sourcePath + ": a level must be at least 20 x 15 tiles");

    if (!mTables.HasTileColor(0))
        throw std::runtime_error("tiletypes.cfg must define 000000, the empty cell under entities");
    int players = 0;
    for (int y = 0; y < mHeight; ++y)
    {
        for (int x = 0; x < mWidth; ++x)
        {
            Lookup(mBack, mBackdrop[y][x], sourcePath + " backdrop");
            const Symbol& symbol = Lookup(mFore, mForeground[y][x], sourcePath + " foreground");
            if (symbol.mIsEntity && mTables.EntityBase(symbol.mType) == "Player")
                ++players;
        }
    }
    if (players != 1)
        throw std::runtime_error(sourcePath + ": needs exactly one player start, found " +
                                 std::to_string(players));
}

const LevelCompiler::Symbol& LevelCompiler::Lookup(const std::map<char, Symbol>& legend, char symbol,
                                                   const std::string& layer) const
{
    auto found = legend.find(symbol);
    if (found == legend.end())
        throw std::runtime_error(layer + ": character not in the legend: '" + std::string(1, symbol) + "'");
    return found->second;
}

void LevelCompiler::Write(const std::string& folder, const std::string& name) const
{
    std::filesystem::path out(folder);
    Picture background(mWidth, mHeight, 0);
    Picture collision(mWidth, mHeight, 0);
    std::ofstream placement(out / (name + ".ent"), std::ios::binary);
    placement << "// Generated from " << mSourceName << ": type, facing (1 right), column, row, identifier\n";
    for (int y = 0; y < mHeight; ++y)
    {
        for (int x = 0; x < mWidth; ++x)
        {
            background.Set(x, y, mBack.at(mBackdrop[y][x]).mColor);
            const Symbol& symbol = mFore.at(mForeground[y][x]);
            if (!symbol.mIsEntity)
            {
                collision.Set(x, y, symbol.mColor);
                continue;
            }
            // The cell under an entity stays empty.
            placement << symbol.mType << ' ' << (symbol.mDirection ? 1 : 0) << ' ' << x << ' ' << y;
            if (mTables.EntityBase(symbol.mType) != "Player")
                placement << ' ' << symbol.mID;
            placement << '\n';
        }
    }
    if (!placement)
        throw std::runtime_error("cannot write " + (out / (name + ".ent")).string());
    background.Save((out / (name + "_bg.png")).string());
    collision.Save((out / (name + "_col.png")).string());
    std::ofstream description(out / (name + ".map"), std::ios::binary);
    description << "// Generated from " << mSourceName << ": background layer, collision layer, placement\n";
    description << name << "_bg.png " << name << "_col.png " << name << ".ent\n";
    if (!mMusic.empty())
        description << "music " << mMusic << "\n";
    if (!description)
        throw std::runtime_error("cannot write " + (out / (name + ".map")).string());
}
