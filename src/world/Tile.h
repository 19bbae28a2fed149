// One tile of a level: the colour key of a layer cell bound to its tile type.
#pragma once

#include "world/TileType.h"

#include <string>

class Tile
{
  public:
    Tile() = default;

    // type must not be null.
    void Init(const std::string& name, TileType* type, const std::string& data);

    // The shared type of colours the tile type table does not define: not drawn, not blocking, not harmful.
    static TileType mNonSolidTile;

    std::string mName = "-1";
    std::string mImage = "-1";
    std::string mData;
    TileType* mTileType = nullptr; // not owned
};
