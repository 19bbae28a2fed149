// Tiles of a level and the shared type of undefined colours.
#include "world/Tile.h"

TileType Tile::mNonSolidTile;

void Tile::Init(const std::string& name, TileType* type, const std::string& data)
{
    mName = name;
    mData = data;
    mTileType = type;
    mImage = type->mImage;
}
