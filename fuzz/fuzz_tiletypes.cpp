// Fuzzes the tile type table reader: every key is the decimal text of a 24-bit colour and names its type.
#include "FuzzSupport.h"

#include "world/TileManager.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::WriteBytes("fuzz_tiletypes.cfg", data, size);
    TileManager tiles;
    if (!tiles.InitTileTypes("fuzz_tiletypes.cfg", 16))
    {
        fuzz::Fail("an existing tile type file could not be opened");
    }
    for (const auto& [key, type] : tiles.mTileTypes)
    {
        if (key.empty() || key.find_first_not_of("0123456789") != std::string::npos ||
            std::strtoul(key.c_str(), nullptr, 10) > 0xFFFFFFul || key != type->mName ||
            (key.size() > 1 && key[0] == '0'))
        {
            fuzz::Fail("bad tile type key " + key);
        }
        if (type->mSourceX % 16 != 0 || type->mSourceY % 16 != 0)
        {
            fuzz::Fail("picture position not on the tile grid for " + key);
        }
        tiles.AddTile(key, type.get());
        if (tiles.GetTile(key) == nullptr || tiles.GetTile(key)->mTileType != type.get())
        {
            fuzz::Fail("tile not bound to its type " + key);
        }
    }
    tiles.Tick();
    return 0;
}
