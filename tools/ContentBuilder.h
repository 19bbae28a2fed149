// Builds the game's whole content tree (pictures, tables, levels, story) from the sources in assets/.
#pragma once

#include "TypeTables.h"

#include <string>
#include <vector>

class ContentBuilder
{
  public:
    ContentBuilder(std::string assetsFolder, std::string dataFolder);

    // Writes gfx/*.png, maps/* and story.txt under the data folder; throws on the first fault in a source.
    void Build();
    // Compiles one level source "<level>.txt", listed in maps.lst or not, with the tile and entity tables
    // and legend of the assets folder, into <level>.map, <level>_bg.png, <level>_col.png and <level>.ent in
    // folder (what --level reads); the names written, in that order.
    std::vector<std::string> BuildLevel(const std::string& source, const std::string& folder) const;
    // Every file Build writes, relative to the data folder, in a fixed order.
    const std::vector<std::string>& Written() const { return mWritten; }

    // The story screen neither wraps nor scrolls: 39 columns from x = 8 and 29 lines from y = 8.
    static constexpr std::size_t mStoryColumns = 39;
    static constexpr std::size_t mStoryLines = 29;

  private:
    TypeTables LoadTables() const;
    std::vector<std::string> CompileLevel(const TypeTables& tables, const std::string& source,
                                          const std::string& folder) const;
    void BuildPictures();
    void BuildMaps();
    void BuildStory();
    void Copy(const std::string& from, const std::string& to);

    std::string mAssets;
    std::string mData;
    std::vector<std::string> mWritten;
};
