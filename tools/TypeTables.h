// The tile and entity type tables as the game reads them, checked strictly so a typo fails the build.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

class TypeTables
{
  public:
    // Both files use the game's line rules: "//" comments, fields cut at every single space.
    // Throws on any line the game would skip or misread (short lines, double spaces, repeated keys).
    void Load(const std::string& tileTypesPath, const std::string& entityTypesPath);

    bool HasTileColor(std::uint32_t rgb) const { return mTileColors.count(rgb & 0xFFFFFF) != 0; }
    bool HasEntityType(const std::string& name) const { return mEntityBases.count(name) != 0; }
    // "Player", "Enemy", "Item" or "Entity".
    std::string EntityBase(const std::string& name) const;

    // Cuts a line at every single space, as the game does (two spaces make an empty field).
    static std::vector<std::string> GameFields(const std::string& line);

  private:
    std::set<std::uint32_t> mTileColors;
    std::map<std::string, std::string> mEntityBases;
};
