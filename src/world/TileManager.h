// The tile types of a level (from "data/maps/tiletypes.cfg") and the tiles its images use, by key.
#pragma once

#include "world/Tile.h"
#include "world/TileType.h"

#include <map>
#include <memory>
#include <string>

class TileManager
{
  public:
    TileManager() = default;
    ~TileManager();
    TileManager(const TileManager&) = delete;
    TileManager& operator=(const TileManager&) = delete;

    // Adds the types of the file; scale is the tile size in pixels. False only when the file cannot be
    // opened.
    bool InitTileTypes(const std::string& file, unsigned scale);
    TileType* GetTileType(const std::string& key);

    // Keeps the first tile made under a name; later calls with the same name change nothing.
    void AddTile(const std::string& name, TileType* type);
    Tile* GetTile(const std::string& name);
    void RemoveTile(const std::string& name);
    void ClearTiles();
    void ClearTileTypes();

    // Advances every type's animation, in key order; once per logic update.
    void Tick();

    // Tiles point at the types, so tiles are always cleared first.
    std::map<std::string, std::unique_ptr<Tile>> mTiles;
    std::map<std::string, std::unique_ptr<TileType>> mTileTypes;
};
