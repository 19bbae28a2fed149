// Turns a level drawn as two character grids (backdrop and foreground) into the game's level files.
#pragma once

#include "TypeTables.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class TextSource;

class LevelCompiler
{
  public:
    // One meaning of a grid character: a tile colour, or (foreground only) an entity placed on an empty cell.
    struct Symbol
    {
        std::uint32_t mColor = 0;
        bool mIsEntity = false;
        std::string mType;
        bool mDirection = true;
        std::string mID;
    };

    explicit LevelCompiler(const TypeTables& tables) : mTables(tables) {}

    // The shared legend: "back <char> <RRGGBB>", "fore <char> <RRGGBB>", "fore <char> entity <type> <0|1>
    // <id>".
    void LoadLegend(const std::string& path);
    // Reads a level source (its own legend lines may add to or replace the shared ones) and checks it.
    void Compile(const std::string& sourcePath);
    // Writes <name>.map, <name>_bg.png, <name>_col.png and <name>.ent into the folder.
    void Write(const std::string& folder, const std::string& name) const;

    int Width() const { return mWidth; }
    int Height() const { return mHeight; }

    // Levels smaller than the 320x240 screen would leave the camera outside them.
    static constexpr int mMinWidth = 20;
    static constexpr int mMinHeight = 15;

  private:
    void ReadLegendLine(TextSource& source, const std::vector<std::string>& fields);
    // "music <name>.ogg": the level plays that tune instead of the usual one.
    void ReadMusicLine(TextSource& source, const std::vector<std::string>& fields);
    const Symbol& Lookup(const std::map<char, Symbol>& legend, char symbol, const std::string& layer) const;

    const TypeTables& mTables;
    std::map<char, Symbol> mBack;
    std::map<char, Symbol> mFore;
    std::vector<std::string> mBackdrop;
    std::vector<std::string> mForeground;
    std::string mSourceName;
    std::string mMusic;
    int mWidth = 0;
    int mHeight = 0;
};
